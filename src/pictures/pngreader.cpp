#include "pictures/pngreader.h"

#include <QIODevice>
#include <QtEndian>

#include <spng.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace
{
// The limits of the usual PNG readers, so that what they refuse is refused here too: no side of
// more than a million pixels, and no ancillary chunk larger than what any button picture carries,
// so that a chunk that announces gigabytes costs nothing before it is refused.
constexpr uint32_t maxSide = 1000000;
constexpr size_t maxChunkBytes = 4 * 1024 * 1024;
constexpr size_t maxCachedChunkBytes = 8 * 1024 * 1024;

// The usual readers give a picture of 16-bit samples 8 bytes a pixel and refuse one that would
// take more than this.
constexpr qint64 maxDeepImageBytes = 128 * 1024 * 1024;

struct ContextDeleter {
    void operator()(spng_ctx *context) const { spng_ctx_free(context); }
};
using Context = std::unique_ptr<spng_ctx, ContextDeleter>;

// The PNG's bytes: in memory, or in a file that is read as the decoder goes.
class Source
{
public:
    explicit Source(const QByteArray &bytes)
        : m_bytes(&bytes)
    {
    }
    explicit Source(QIODevice &file)
        : m_file(&file)
    {
    }

    qint64 size() const { return m_bytes ? m_bytes->size() : m_file->size(); }

    bool readAt(qint64 at, char *to, qint64 length) const
    {
        if (m_bytes) {
            if (at < 0 || length > m_bytes->size() - at) {
                return false;
            }
            std::memcpy(to, m_bytes->constData() + at, size_t(length));
            return true;
        }
        return m_file->seek(at) && m_file->read(to, length) == length;
    }

    // Hands the bytes to libspng, from the start.
    bool feed(spng_ctx *png)
    {
        if (m_bytes) {
            return spng_set_png_buffer(png, m_bytes->constData(), size_t(m_bytes->size())) == 0;
        }
        return m_file->seek(0) && spng_set_png_stream(png, readFile, m_file) == 0;
    }

private:
    static int readFile(spng_ctx *, void *user, void *destination, size_t length)
    {
        auto *file = static_cast<QIODevice *>(user);
        char *to = static_cast<char *>(destination);
        while (length > 0) {
            const qint64 got = file->read(to, qint64(length));
            if (got <= 0) {
                return got == 0 ? SPNG_IO_EOF : SPNG_IO_ERROR;
            }
            to += got;
            length -= size_t(got);
        }
        return 0;
    }

    const QByteArray *m_bytes = nullptr;
    QIODevice *m_file = nullptr;
};

// Whether every chunk up to the end marker has a name of four ASCII letters and fits in the file.
// libspng skips an unknown chunk whatever its name, while the usual readers refuse a name that is
// no name as a sign of a broken file; and a chunk that runs past the end of the file is refused
// before anything is read for it. Only the chunks' headers are read.
bool chunksWellFormed(const Source &source)
{
    const auto isLetter = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    };
    constexpr int maxChunks = 1000000;
    const qint64 size = source.size();
    qint64 at = 8;
    for (int chunks = 0; chunks < maxChunks && size - at >= 8; ++chunks) {
        char header[8];
        if (!source.readAt(at, header, 8) || !std::all_of(header + 4, header + 8, isLetter)) {
            return false;
        }
        const qint64 length = qFromBigEndian<quint32>(header);
        if (length > size - at - 8) {
            return false;
        }
        if (std::memcmp(header + 4, "IEND", 4) == 0) {
            break;
        }
        at += 12 + length;
    }
    return true;
}

bool hasTransparency(spng_ctx *context, const spng_ihdr &header)
{
    if (header.color_type == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA
        || header.color_type == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA) {
        return true;
    }
    spng_trns transparency = {};
    return spng_get_trns(context, &transparency) == 0;
}

PngRead read(Source source, const PngReading &reading)
{
    PngRead result;
    // The size the header declares is reported first, whatever follows it.
    const bool wellFormed = chunksWellFormed(source);
    const Context context(spng_ctx_new(0));
    if (!context) {
        return result;
    }
    spng_ctx *png = context.get();
    // A bad checksum in a chunk that the pixels depend on refuses the file; one in any other chunk
    // only drops that chunk, as the usual readers have it.
    if (!source.feed(png) || spng_set_image_limits(png, maxSide, maxSide) != 0
        || spng_set_chunk_limits(png, maxChunkBytes, maxCachedChunkBytes) != 0
        || spng_set_crc_action(png, SPNG_CRC_ERROR, SPNG_CRC_DISCARD) != 0) {
        return result;
    }
    spng_ihdr header = {};
    if (spng_get_ihdr(png, &header) != 0) {
        return result;
    }
    result.size = QSize(int(header.width), int(header.height));
    const qint64 pixels = qint64(header.width) * header.height;
    if (pixels > reading.maxPixels) {
        result.outcome = PngRead::TooLarge;
        return result;
    }
    if (!wellFormed) {
        return result;
    }
    const bool deep = header.bit_depth == 16;
    if (deep && header.color_type != SPNG_COLOR_TYPE_GRAYSCALE && pixels * 8 > maxDeepImageBytes) {
        return result;
    }

    const int format = deep ? SPNG_FMT_RGBA16 : SPNG_FMT_RGBA8;
    if (spng_decode_image(png, nullptr, 0, format, SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE)
        != 0) {
        return result;
    }
    const bool transparent = hasTransparency(png, header);
    const QImage::Format imageFormat = deep
        ? (transparent ? QImage::Format_RGBA64 : QImage::Format_RGBX64)
        : (transparent ? QImage::Format_RGBA8888 : QImage::Format_RGBX8888);
    const size_t pixelBytes = deep ? 8 : 4;

    const QRect region = centredRegion(result.size, reading.area);
    QImage part;
    if (qint64(region.width()) * region.height() * qint64(pixelBytes)
        < reading.keepPartBelowBytes) {
        part = QImage(region.size(), imageFormat);
        if (part.isNull()) {
            return result;
        }
        part.fill(0);
    }
    const size_t regionBytes = size_t(region.width()) * pixelBytes;
    const size_t regionStart = size_t(region.left()) * pixelBytes;
    std::vector<uchar> row(size_t(header.width) * pixelBytes);
    const bool interlaced = header.interlace_method != 0;
    int error = 0;
    for (;;) {
        spng_row_info info = {};
        error = spng_get_row_info(png, &info);
        if (error != 0) {
            break;
        }
        const int y = int(info.row_num);
        uchar *kept = !part.isNull() && region.contains(region.left(), y)
            ? part.scanLine(y - region.top())
            : nullptr;
        // An interlaced pass writes only its own pixels of the row; the others must be those of
        // the passes before.
        if (kept && interlaced) {
            std::memcpy(row.data() + regionStart, kept, regionBytes);
        }
        error = spng_decode_row(png, row.data(), row.size());
        if (error != 0 && error != SPNG_EOI) {
            return result;
        }
        if (kept) {
            std::memcpy(kept, row.data() + regionStart, regionBytes);
        }
        if (error == SPNG_EOI || (!reading.wholeFile && !interlaced && y >= region.bottom())) {
            break;
        }
    }
    if (error != 0 && error != SPNG_EOI) {
        return result;
    }
    // The chunks after the image data, up to the end, are read and checked too. libspng stops
    // reading the compressed image data once it has every row: a file whose data goes on without
    // ending there is taken, where the usual readers refuse it. Checking that would mean inflating
    // every picture twice, for files no program writes.
    if (reading.wholeFile && spng_decode_chunks(png) != 0) {
        return result;
    }
    result.outcome = PngRead::Read;
    result.part = {part, region.topLeft()};
    return result;
}
} // namespace

QRect centredRegion(QSize size, QSize area)
{
    const QRect whole(QPoint(0, 0), size);
    const int width = area.width() > 0 ? qMin(area.width(), size.width()) : size.width();
    const int height = area.height() > 0 ? qMin(area.height(), size.height()) : size.height();
    return QRect((size.width() - width) / 2, (size.height() - height) / 2, width, height) & whole;
}

PngRead readPng(const QByteArray &bytes, const PngReading &reading)
{
    return read(Source(bytes), reading);
}

PngRead readPng(QIODevice &file, const PngReading &reading)
{
    return read(Source(file), reading);
}
