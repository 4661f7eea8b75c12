#include "pictures/pngdecode.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>
#include <QPointF>
#include <QtGlobal>

// Lets zlib take the input as pointers to const, as it is.
#define ZLIB_CONST
#include <zlib.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace
{
constexpr unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// The largest picture decoded here, far below what loadPicture refuses (and reports with the size).
constexpr quint64 maxFastPixelBytes = 16 * 1024 * 1024;

// The decoder under Qt's reader refuses a wider or taller picture, however few its pixels; taking
// one here would show what the launcher has always refused.
constexpr quint32 maxSide = 1000000;

// Length, type and CRC around each chunk's data.
constexpr size_t chunkFrame = 12;

// A chunk's data may not be longer than 2^31 - 1 bytes.
constexpr quint32 maxChunkLength = 0x7FFFFFFF;

constexpr quint32 chunkType(const char (&name)[5])
{
    return quint32(quint8(name[0])) << 24 | quint32(quint8(name[1])) << 16
        | quint32(quint8(name[2])) << 8 | quint32(quint8(name[3]));
}

constexpr quint32 headerType = chunkType("IHDR");
constexpr quint32 imageDataType = chunkType("IDAT");
constexpr quint32 endType = chunkType("IEND");

constexpr quint32 gammaType = chunkType("gAMA");
constexpr quint32 chromaticitiesType = chunkType("cHRM");
constexpr quint32 standardRgbType = chunkType("sRGB");
constexpr quint32 profileType = chunkType("iCCP");

// The ancillary chunks Qt's reader takes without changing a pixel it gives. A transparency chunk
// is not among them: it gives RGB an alpha channel. Any chunk not listed, known or not, sends the
// file to Qt's reader.
constexpr std::array<quint32, 14> harmlessChunks = {
    chunkType("tEXt"), chunkType("zTXt"),  chunkType("iTXt"), chunkType("tIME"), chunkType("pHYs"),
    gammaType,         chromaticitiesType, standardRgbType,   profileType,       chunkType("bKGD"),
    chunkType("sBIT"), chunkType("hIST"),  chunkType("sPLT"), chunkType("eXIf"),
};

// The white point and primaries of sRGB in a cHRM chunk, in units of 1/100000, as the usual
// writers put them beside gAMA.
constexpr std::array<quint32, 8> standardChromaticities
    = {31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000};

// The colour chunks before the image data. The pixels never depend on them, but the colour space
// Qt's reader gives the image does, and QImage's operator== compares colour spaces.
struct ColourChunks {
    int gammaChunks = 0;
    bool gammaValid = false;
    quint32 gamma = 0;
    int chromaticitiesChunks = 0;
    bool standardChromaticities = false;
    int standardRgbChunks = 0;
    bool standardRgbValid = false;
    bool profile = false;
};

quint32 bigEndian32(const unsigned char *at)
{
    return quint32(at[0]) << 24 | quint32(at[1]) << 16 | quint32(at[2]) << 8 | quint32(at[3]);
}

struct Header {
    quint32 width = 0;
    quint32 height = 0;
    int channels = 0;
};

std::optional<Header> readHeader(const unsigned char *data)
{
    Header header;
    header.width = bigEndian32(data);
    header.height = bigEndian32(data + 4);
    const unsigned bitDepth = data[8];
    const unsigned colourType = data[9];
    const unsigned compression = data[10];
    const unsigned filterMethod = data[11];
    const unsigned interlace = data[12];
    constexpr unsigned rgb = 2;
    constexpr unsigned rgba = 6;
    if (bitDepth != 8 || (colourType != rgb && colourType != rgba) || compression != 0
        || filterMethod != 0 || interlace != 0) {
        return std::nullopt;
    }
    if (header.width == 0 || header.height == 0 || header.width > maxSide
        || header.height > maxSide) {
        return std::nullopt;
    }
    // Both sides are at most 10^6, so the product fits in 64 bits. A picture far larger than a
    // button needs is left to Qt's reader, which decodes row by row instead of holding all the
    // rows and the image at once.
    if (quint64(header.width) * header.height > maxFastPixelBytes / 4) {
        return std::nullopt;
    }
    header.channels = colourType == rgba ? 4 : 3;
    return header;
}

void noteColourChunk(ColourChunks &colour, quint32 name, const unsigned char *body, quint32 length)
{
    if (name == gammaType) {
        ++colour.gammaChunks;
        colour.gammaValid = length == 4;
        colour.gamma = colour.gammaValid ? bigEndian32(body) : 0;
    } else if (name == chromaticitiesType) {
        ++colour.chromaticitiesChunks;
        colour.standardChromaticities = length == 32;
        for (size_t i = 0; colour.standardChromaticities && i < standardChromaticities.size();
             ++i) {
            colour.standardChromaticities = bigEndian32(body + 4 * i) == standardChromaticities[i];
        }
    } else if (name == standardRgbType) {
        ++colour.standardRgbChunks;
        // The rendering intent: perceptual, relative colorimetric, saturation or absolute.
        colour.standardRgbValid = length == 1 && body[0] <= 3;
    } else if (name == profileType) {
        colour.profile = true;
    }
}

// The colour space Qt's reader gives an image with these chunks (a null QColorSpace for none), or
// nothing where working it out here would mean redoing the decoder's checks of colour data: an ICC
// profile, a chunk twice, values out of range or at odds with each other, which that decoder
// ignores one by one or altogether. Those files are left to Qt's reader.
std::optional<QColorSpace> colourSpaceOf(const ColourChunks &colour)
{
    if (colour.profile || colour.gammaChunks > 1 || colour.chromaticitiesChunks > 1
        || colour.standardRgbChunks > 1) {
        return std::nullopt;
    }
    const bool gamma = colour.gammaChunks == 1;
    const bool chromaticities = colour.chromaticitiesChunks == 1;
    // sRGB's own gamma, 1/2.2, in units of 1/100000.
    constexpr quint32 standardGamma = 45455;
    if (colour.standardRgbChunks == 1) {
        if (!colour.standardRgbValid || (gamma && colour.gamma != standardGamma)
            || (chromaticities && !colour.standardChromaticities)) {
            return std::nullopt;
        }
        return QColorSpace(QColorSpace::SRgb);
    }
    if (!gamma) {
        // Chromaticities alone give no colour space, whatever they are.
        return QColorSpace();
    }
    // Qt's reader takes what its decoder accepts: a gamma from 16 to 625000000 (units of 1/100000).
    if (!colour.gammaValid || colour.gamma < 16 || colour.gamma > 625000000
        || (chromaticities && !colour.standardChromaticities)) {
        return std::nullopt;
    }
    // The file's gamma is the exponent that encoded the samples; the colour space's is its inverse.
    // Both computed as Qt's reader computes them, so that the two colour spaces compare equal.
    const float fileGamma = float(.00001 * colour.gamma);
    QColorSpace space;
    if (chromaticities) {
        const auto point = [](size_t i) {
            return QPointF(.00001 * standardChromaticities[i],
                           .00001 * standardChromaticities[i + 1]);
        };
        space = QColorSpace(point(0), point(2), point(4), point(6),
                            QColorSpace::TransferFunction::Gamma, 1.0f / fileGamma);
    } else {
        space = QColorSpace(QColorSpace::Primaries::SRgb, QColorSpace::TransferFunction::Gamma,
                            1.0f / fileGamma);
    }
    return space.isValid() ? space : QColorSpace();
}

int paeth(int left, int up, int upLeft)
{
    const int towardsLeft = std::abs(up - upLeft);
    const int towardsUp = std::abs(left - upLeft);
    const int towardsUpLeft = std::abs(left + up - 2 * upLeft);
    if (towardsLeft <= towardsUp && towardsLeft <= towardsUpLeft) {
        return left;
    }
    return towardsUp <= towardsUpLeft ? up : upLeft;
}

// Undoes a row's filter in place. `previous` is the row above, already unfiltered, or null for the
// first row, which the filters see as a row of zeros.
template<size_t Bpp>
bool unfilter(unsigned char filter, unsigned char *row, const unsigned char *previous,
              size_t length)
{
    enum : unsigned char { None, Sub, Up, Average, Paeth };
    switch (filter) {
    case None:
        return true;
    case Sub:
        for (size_t i = Bpp; i < length; ++i) {
            row[i] = static_cast<unsigned char>(row[i] + row[i - Bpp]);
        }
        return true;
    case Up:
        if (previous) {
            for (size_t i = 0; i < length; ++i) {
                row[i] = static_cast<unsigned char>(row[i] + previous[i]);
            }
        }
        return true;
    case Average:
        if (previous) {
            for (size_t i = 0; i < Bpp; ++i) {
                row[i] = static_cast<unsigned char>(row[i] + (previous[i] >> 1));
            }
            for (size_t i = Bpp; i < length; ++i) {
                row[i] = static_cast<unsigned char>(row[i] + ((row[i - Bpp] + previous[i]) >> 1));
            }
        } else {
            for (size_t i = Bpp; i < length; ++i) {
                row[i] = static_cast<unsigned char>(row[i] + (row[i - Bpp] >> 1));
            }
        }
        return true;
    case Paeth:
        if (previous) {
            // With nothing to the left, the predictor is the byte above.
            for (size_t i = 0; i < Bpp; ++i) {
                row[i] = static_cast<unsigned char>(row[i] + previous[i]);
            }
            for (size_t i = Bpp; i < length; ++i) {
                row[i] = static_cast<unsigned char>(
                    row[i] + paeth(row[i - Bpp], previous[i], previous[i - Bpp]));
            }
        } else {
            // With nothing above, the predictor is the byte to the left, as for Sub.
            for (size_t i = Bpp; i < length; ++i) {
                row[i] = static_cast<unsigned char>(row[i] + row[i - Bpp]);
            }
        }
        return true;
    default:
        return false;
    }
}

// One row of RGBA or RGB bytes as QRgb values, A (or 0xFF) R G B from the high byte down. The
// two rows never overlap.
template<size_t Bpp>
void toQRgb(const unsigned char *__restrict in, QRgb *__restrict out, size_t width)
{
    size_t x = 0;
    if constexpr (Bpp == 4 && Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        // Two pixels at a time: R G B A R G B A read as one word, and in each half only R and B
        // change places.
        for (; x + 2 <= width; x += 2) {
            quint64 pixels;
            std::memcpy(&pixels, in + x * 4, sizeof pixels);
            pixels = (pixels & 0xFF00FF00FF00FF00u) | ((pixels << 16) & 0x00FF000000FF0000u)
                | ((pixels >> 16) & 0x000000FF000000FFu);
            std::memcpy(out + x, &pixels, sizeof pixels);
        }
    }
    for (; x < width; ++x) {
        const unsigned char *const pixel = in + x * Bpp;
        const QRgb alpha = Bpp == 4 ? QRgb(pixel[3]) : 0xFFu;
        out[x] = alpha << 24 | QRgb(pixel[0]) << 16 | QRgb(pixel[1]) << 8 | QRgb(pixel[2]);
    }
}

template<size_t Bpp>
bool unfilterInto(QImage &image, unsigned char *raw, size_t rowBytes)
{
    const size_t pixelBytes = rowBytes - 1;
    const size_t width = size_t(image.width());
    const size_t height = size_t(image.height());
    uchar *const bits = image.bits();
    const size_t stride = size_t(image.bytesPerLine());
    const unsigned char *previous = nullptr;
    for (size_t y = 0; y < height; ++y) {
        unsigned char *const filtered = raw + y * rowBytes;
        unsigned char *const row = filtered + 1;
        if (!unfilter<Bpp>(filtered[0], row, previous, pixelBytes)) {
            return false;
        }
        // The scan line is aligned for QRgb.
        toQRgb<Bpp>(row, reinterpret_cast<QRgb *>(bits + y * stride), width);
        previous = row;
    }
    return true;
}
} // namespace

std::optional<QImage> decodeSimplePng(const QByteArray &bytes)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    const size_t size = size_t(bytes.size());
    if (size < sizeof signature || std::memcmp(data, signature, sizeof signature) != 0) {
        return std::nullopt;
    }

    std::optional<Header> header;
    enum class Stage { BeforeImageData, InImageData, AfterImageData };
    Stage stage = Stage::BeforeImageData;
    // The compressed stream: the data of the only IDAT chunk where it is in one, as it usually is;
    // else the data of all of them joined.
    const unsigned char *stream = nullptr;
    size_t streamSize = 0;
    std::vector<unsigned char> joined;
    int imageDataChunks = 0;
    ColourChunks colour;
    bool ended = false;

    size_t at = sizeof signature;
    while (at < size) {
        if (size - at < chunkFrame) {
            return std::nullopt;
        }
        const quint32 length = bigEndian32(data + at);
        if (length > maxChunkLength || length > size - at - chunkFrame) {
            return std::nullopt;
        }
        const unsigned char *const type = data + at + 4;
        const unsigned char *const body = type + 4;
        // Type and data together are at most 2^31 + 3 bytes, within zlib's 32-bit length.
        if (crc32(0, type, uInt(length) + 4) != bigEndian32(body + length)) {
            return std::nullopt;
        }
        at += chunkFrame + length;
        const quint32 name = bigEndian32(type);

        if (!header) {
            if (name != headerType || length != 13) {
                return std::nullopt;
            }
            header = readHeader(body);
            if (!header) {
                return std::nullopt;
            }
        } else if (name == imageDataType) {
            if (stage == Stage::AfterImageData) {
                return std::nullopt;
            }
            stage = Stage::InImageData;
            if (++imageDataChunks == 1) {
                stream = body;
                streamSize = length;
            } else {
                if (imageDataChunks == 2) {
                    joined.assign(stream, stream + streamSize);
                }
                joined.insert(joined.end(), body, body + length);
            }
        } else if (name == endType) {
            // Nothing may follow IEND: the loop ends here and `at` must be the end of the file.
            if (length != 0 || stage == Stage::BeforeImageData || at != size) {
                return std::nullopt;
            }
            ended = true;
            break;
        } else if (std::find(harmlessChunks.begin(), harmlessChunks.end(), name)
                   != harmlessChunks.end()) {
            if (stage == Stage::BeforeImageData) {
                // Qt's reader takes the colour space from the chunks before the image data only.
                noteColourChunk(colour, name, body, length);
            } else if (stage == Stage::InImageData) {
                stage = Stage::AfterImageData;
            }
        } else {
            return std::nullopt;
        }
    }
    if (!ended) {
        return std::nullopt;
    }
    const std::optional<QColorSpace> colourSpace = colourSpaceOf(colour);
    if (!colourSpace) {
        return std::nullopt;
    }
    if (imageDataChunks > 1) {
        stream = joined.data();
        streamSize = joined.size();
    }

    // At most 10^6 rows of 1 + 4 * 10^6 bytes, and width * height is at most 2^22: the rows take at
    // most 2^24 + 10^6 bytes, within zlib's 32-bit lengths.
    const size_t rowBytes = 1 + size_t(header->width) * size_t(header->channels);
    const size_t rawSize = rowBytes * header->height;
    if (streamSize > UINT_MAX || rawSize > UINT_MAX) {
        return std::nullopt;
    }
    const auto raw = std::make_unique_for_overwrite<unsigned char[]>(rawSize);
    z_stream inflater{};
    if (inflateInit(&inflater) != Z_OK) {
        return std::nullopt;
    }
    // One call into a buffer that takes every row: zlib then keeps no window and copies nothing
    // into one, and with Z_STREAM_END it has checked the Adler-32 of the rows.
    inflater.next_in = stream;
    inflater.avail_in = uInt(streamSize);
    inflater.next_out = raw.get();
    inflater.avail_out = uInt(rawSize);
    const int status = inflate(&inflater, Z_FINISH);
    const bool complete
        = status == Z_STREAM_END && inflater.avail_out == 0 && inflater.avail_in == 0;
    inflateEnd(&inflater);
    if (!complete) {
        return std::nullopt;
    }

    const bool alpha = header->channels == 4;
    QImage image(int(header->width), int(header->height),
                 alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) {
        return std::nullopt;
    }
    const bool unfiltered = alpha ? unfilterInto<4>(image, raw.get(), rowBytes)
                                  : unfilterInto<3>(image, raw.get(), rowBytes);
    if (!unfiltered) {
        return std::nullopt;
    }
    if (colourSpace->isValid()) {
        image.setColorSpace(*colourSpace);
    }
    return image;
}

QImage decodePicture(const QByteArray &bytes)
{
    if (std::optional<QImage> image = decodeSimplePng(bytes)) {
        return *std::move(image);
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (bytes.startsWith(QByteArrayView(reinterpret_cast<const char *>(signature), 8))) {
        reader.setFormat("png");
    }
    return reader.read();
}
