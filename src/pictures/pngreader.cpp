#include "pictures/pngreader.h"

#include <QIODevice>
#include <QtEndian>

#include <spng.h>
// zlib takes the input as pointers to const, as it is.
#define ZLIB_CONST
#include <zlib.h>

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

// Where the compressed image data lies in the file: the data of each IDAT chunk.
struct Span {
    qint64 from;
    qint64 to;
};

// Walks the chunks' headers, up to the end marker. Whether every chunk has a name of four ASCII
// letters and fits in the file: libspng skips an unknown chunk whatever its name, while the usual
// readers refuse a name that is no name as a sign of a broken file; and a chunk that runs past
// the end of the file is refused before anything is read for it.
bool walkChunks(QIODevice &device, std::vector<Span> &imageData)
{
    const auto isLetter = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    };
    constexpr int maxChunks = 1000000;
    const qint64 size = device.size();
    qint64 at = 8;
    for (int chunks = 0; chunks < maxChunks && size - at >= 8; ++chunks) {
        char header[8];
        if (!device.seek(at) || device.read(header, 8) != 8) {
            return false;
        }
        if (!std::all_of(header + 4, header + 8, isLetter)) {
            return false;
        }
        const qint64 length = qFromBigEndian<quint32>(header);
        if (length > size - at - 8) {
            return false;
        }
        if (std::memcmp(header + 4, "IDAT", 4) == 0) {
            imageData.push_back({at + 8, at + 8 + length});
        }
        if (std::memcmp(header + 4, "IEND", 4) == 0) {
            break;
        }
        at += 12 + length;
    }
    return true;
}

// The file as libspng reads it. libspng stops reading the compressed image data once it has
// every row, and never asks whether the data ends there; the usual readers refuse data that does
// not end, or whose checksum is wrong. So with `checkEnd`, the image data that passes by is
// inflated once more, into nothing, to see that it ends properly.
class Input
{
public:
    Input(QIODevice &device, std::vector<Span> imageData, bool checkEnd)
        : m_device(device)
        , m_imageData(std::move(imageData))
        , m_checking(checkEnd)
    {
        if (m_checking && inflateInit(&m_stream) != Z_OK) {
            m_checking = false;
            m_failed = true;
        }
    }
    ~Input()
    {
        if (m_checking) {
            inflateEnd(&m_stream);
        }
    }
    Q_DISABLE_COPY_MOVE(Input)

    // Whether the image data ended as it should; true when it was not checked.
    bool endedProperly() const { return !m_failed && (!m_checking || m_ended); }

    static int read(spng_ctx *, void *user, void *destination, size_t length)
    {
        return static_cast<Input *>(user)->read(static_cast<char *>(destination), length);
    }

private:
    int read(char *to, size_t length)
    {
        while (length > 0) {
            const qint64 from = m_device.pos();
            const qint64 got = m_device.read(to, qint64(length));
            if (got <= 0) {
                return got == 0 ? SPNG_IO_EOF : SPNG_IO_ERROR;
            }
            if (m_checking) {
                check(to, from, from + got);
            }
            to += got;
            length -= size_t(got);
        }
        return 0;
    }

    void check(const char *bytes, qint64 from, qint64 to)
    {
        for (const Span &span : m_imageData) {
            const qint64 start = std::max(span.from, from);
            const qint64 end = std::min(span.to, to);
            if (start < end) {
                inflateInto(bytes + (start - from), uInt(end - start));
            }
        }
    }

    void inflateInto(const char *bytes, uInt size)
    {
        if (m_ended || m_failed) {
            return;
        }
        m_stream.next_in = reinterpret_cast<const Bytef *>(bytes);
        m_stream.avail_in = size;
        while (m_stream.avail_in > 0) {
            m_stream.next_out = m_scratch;
            m_stream.avail_out = sizeof(m_scratch);
            const int result = inflate(&m_stream, Z_NO_FLUSH);
            if (result == Z_STREAM_END) {
                m_ended = true;
                return;
            }
            if (result != Z_OK) {
                m_failed = true;
                return;
            }
        }
    }

    QIODevice &m_device;
    const std::vector<Span> m_imageData;
    bool m_checking;
    bool m_ended = false;
    bool m_failed = false;
    z_stream m_stream = {};
    Bytef m_scratch[16 * 1024];
};

bool hasTransparency(spng_ctx *context, const spng_ihdr &header)
{
    if (header.color_type == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA
        || header.color_type == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA) {
        return true;
    }
    spng_trns transparency = {};
    return spng_get_trns(context, &transparency) == 0;
}
} // namespace

QRect centredRegion(QSize size, QSize area)
{
    const QRect whole(QPoint(0, 0), size);
    const int width = area.width() > 0 ? qMin(area.width(), size.width()) : size.width();
    const int height = area.height() > 0 ? qMin(area.height(), size.height()) : size.height();
    return QRect((size.width() - width) / 2, (size.height() - height) / 2, width, height) & whole;
}

PngRead readPng(QIODevice &device, QSize area, qint64 maxPixels, bool wholeFile)
{
    PngRead result;
    // The size the header declares is reported first, whatever follows it.
    std::vector<Span> imageData;
    const bool wellFormed = walkChunks(device, imageData);
    if (!device.seek(0)) {
        return result;
    }
    Input input(device, std::move(imageData), wholeFile);
    const Context context(spng_ctx_new(0));
    if (!context) {
        return result;
    }
    spng_ctx *png = context.get();
    // A bad checksum in a chunk that the pixels depend on refuses the file; one in any other chunk
    // only drops that chunk, as the usual readers have it.
    if (spng_set_png_stream(png, Input::read, &input) != 0
        || spng_set_image_limits(png, maxSide, maxSide) != 0
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
    if (pixels > maxPixels) {
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

    const QRect region = centredRegion(result.size, area);
    QImage part(region.size(), imageFormat);
    if (part.isNull()) {
        return result;
    }
    part.fill(0);
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
        uchar *kept = region.contains(region.left(), y) ? part.scanLine(y - region.top()) : nullptr;
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
        if (error == SPNG_EOI) {
            break;
        }
        if (!wholeFile && !interlaced && y >= region.bottom()) {
            break;
        }
    }
    if (error != 0 && error != SPNG_EOI) {
        return result;
    }
    // The chunks after the image data, up to the end, are read and checked too.
    if (wholeFile && (spng_decode_chunks(png) != 0 || !input.endedProperly())) {
        return result;
    }
    result.outcome = PngRead::Read;
    result.part = {part, region.topLeft()};
    return result;
}
