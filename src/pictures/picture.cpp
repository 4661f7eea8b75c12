#include "pictures/picture.h"

#include "catalogue/runtimeerror.h"
#include "catalogue/textfile.h"
#include "pictures/pngdecode.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QtEndian>

#include <algorithm>
#include <climits>
#include <limits>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace
{
// Qt's own default allocation limit, applied here whatever the environment says: the launcher
// takes nothing from the environment, and a picture that claims more than this is no button
// picture but a file made to exhaust memory.
constexpr qint64 maxPictureBytes = 128 * 1024 * 1024;

// A button picture is a small file: read whole, with one open and one read, and decoded from
// memory. A larger file is decoded from the disk as the decoder reads it, so that it is never held
// twice.
constexpr qint64 wholeFileBytes = 1024 * 1024;

quint32 littleEndian32(const QByteArray &bytes, int at)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes.at(at + i));
    }
    return value;
}

quint16 littleEndian16(const QByteArray &bytes, int at)
{
    return static_cast<quint16>(static_cast<unsigned char>(bytes.at(at))
                                | (static_cast<unsigned char>(bytes.at(at + 1)) << 8));
}

// What a BMP header announces: the picture's size, and the bytes the file needs for its pixels
// (0 when the header does not tell, as for compressed data without a stated size).
struct BmpHeader {
    QSize size;
    qint64 bytesNeeded = 0;
};

BmpHeader readBmpHeader(const QByteArray &head)
{
    BmpHeader header;
    if (head.size() < 26 || !head.startsWith("BM")) {
        return header;
    }
    const qint64 pixelsAt = littleEndian32(head, 10);
    const quint32 infoSize = littleEndian32(head, 14);
    qint64 width = 0;
    qint64 height = 0;
    qint64 bitsPerPixel = 0;
    quint32 compression = 0;
    quint32 dataSize = 0;
    if (infoSize == 12) {
        width = littleEndian16(head, 18);
        height = littleEndian16(head, 20);
        bitsPerPixel = littleEndian16(head, 24);
    } else if (infoSize >= 40 && head.size() >= 38) {
        width = qAbs(qint64(static_cast<qint32>(littleEndian32(head, 18))));
        height = qAbs(qint64(static_cast<qint32>(littleEndian32(head, 22))));
        bitsPerPixel = littleEndian16(head, 28);
        compression = littleEndian32(head, 30);
        dataSize = littleEndian32(head, 34);
    } else {
        return header;
    }
    header.size = QSize(int(qMin<qint64>(width, INT_MAX)), int(qMin<qint64>(height, INT_MAX)));
    constexpr quint32 uncompressed = 0;
    constexpr quint32 bitFields = 3;
    constexpr quint32 alphaBitFields = 6;
    if (compression == uncompressed || compression == bitFields || compression == alphaBitFields) {
        // Width and bits per pixel are below 2^32 and 2^16, so a row fits in 64 bits; the whole
        // picture may not, and then no file is large enough.
        const qint64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
        header.bytesNeeded
            = rowBytes > 0 && height > (std::numeric_limits<qint64>::max() - pixelsAt) / rowBytes
            ? std::numeric_limits<qint64>::max()
            : pixelsAt + rowBytes * height;
    } else if (dataSize != 0) {
        header.bytesNeeded = pixelsAt + dataSize;
    }
    return header;
}

QByteArray readHead(QIODevice &device)
{
    device.seek(0);
    return device.read(64);
}

// Qt shows what it could decode of a BMP, GIF, JPEG or XBM file that is cut short and leaves the
// rest blank, so a picture still being copied, or broken in transfer, would appear without a word.
// These formats say where they end; a file that lacks its end is refused instead.
bool isCutShort(const QByteArray &format, QIODevice &device)
{
    const qint64 size = device.size();
    const auto tail = [&device, size](qint64 count) {
        const qint64 from = qMax<qint64>(0, size - count);
        device.seek(from);
        return device.read(size - from);
    };
    if (format == "bmp") {
        return size < readBmpHeader(readHead(device)).bytesNeeded;
    }
    if (format == "gif") {
        // The trailer byte closes every complete GIF.
        return !tail(1).endsWith('\x3B');
    }
    if (format == "jpeg") {
        // The end-of-image marker, allowing for the zero padding that some writers add.
        QByteArray end = tail(4096);
        while (end.endsWith('\0')) {
            end.chop(1);
        }
        return !end.endsWith("\xFF\xD9");
    }
    if (format == "xbm") {
        // The C array that holds the bits ends with "};".
        return !tail(256).trimmed().endsWith(';');
    }
    return false;
}

// Where the first chunk of a PNG that announces more data than the file holds stands. Qt's reader
// refuses such a file as unreadable, but for some chunks only after its decoder has allocated and
// cleared a buffer of the announced size: 2 GiB for a file of a few hundred bytes. Its decoder
// reads the chunks before the image data when it is asked for the size, the rest when it decodes.
enum class OverlongChunk { None, BeforeImageData, FromImageData };

OverlongChunk findOverlongChunk(QIODevice &device)
{
    // The decoder refuses a file at once where its first chunk is no header or a chunk's type is
    // no four letters, so the walk stops there too: a huge file of zeros is never walked 12 bytes
    // at a time. The count of chunks is bounded all the same.
    const auto isLetter = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    };
    constexpr int maxChunks = 1000000;
    const qint64 size = device.size();
    bool imageData = false;
    qint64 at = 8;
    for (int chunks = 0; size - at >= 8 && chunks < maxChunks; ++chunks) {
        device.seek(at);
        const QByteArray header = device.read(8);
        if (header.size() != 8) {
            break;
        }
        const QByteArrayView type = QByteArrayView(header).sliced(4);
        if (!std::all_of(type.begin(), type.end(), isLetter) || (chunks == 0 && type != "IHDR")) {
            break;
        }
        imageData = imageData || type == "IDAT";
        const qint64 length = qFromBigEndian<quint32>(header.constData());
        if (length > size - at - 8) {
            return imageData ? OverlongChunk::FromImageData : OverlongChunk::BeforeImageData;
        }
        if (type == "IEND") {
            break;
        }
        at += 12 + length;
    }
    return OverlongChunk::None;
}

// What Qt's reader says of a PNG it cannot read, said of one it is spared reading.
RuntimeError unreadablePng(const QString &path)
{
    return RuntimeError::withPath(RuntimeError::InvalidPicture,
                                  QImageReader::tr("Unable to read image data"), path);
}
} // namespace

QImage loadPicture(const QString &path, QByteArray *fileBytes)
{
    QByteArray bytes;
    QBuffer buffer;
    QFile file;
    QIODevice *device = &buffer;
    if (readWholePlainFile(path, wholeFileBytes, bytes)) {
        if (fileBytes) {
            *fileBytes = bytes;
        }
        // Nearly every button picture is a plain RGBA or RGB PNG, decoded here at a fraction of
        // what Qt's reader spends on each; anything else, valid or not, is Qt's to decide on.
        if (std::optional<QImage> image = decodeSimplePng(bytes)) {
            return *std::move(image);
        }
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
    } else {
        openPlainFileForReading(file, path);
        device = &file;
    }

    const bool png = device->peek(8) == "\x89PNG\r\n\x1A\n";
    OverlongChunk overlong = OverlongChunk::None;
    if (png) {
        overlong = findOverlongChunk(*device);
        device->seek(0);
        if (overlong == OverlongChunk::BeforeImageData) {
            throw unreadablePng(path);
        }
    }

    // One reader finds the format, tells the declared size and decodes. A PNG is known by its
    // signature and named as such, so that no other format's reader is asked about it first.
    QImageReader reader(device);
    if (png) {
        reader.setFormat("png");
    }
    const QByteArray format = reader.format();
    // The size a header declares is known before anything is decoded. Qt gives none for a BMP that
    // it finds too large, so that header is read here to say why it is refused.
    QSize declared = reader.size();
    if (!declared.isValid() && format == "bmp") {
        declared = readBmpHeader(readHead(*device)).size;
    }
    if (declared.isValid() && qint64(declared.width()) * declared.height() > maxPictureBytes / 4) {
        throw RuntimeError::withPath(
            RuntimeError::InvalidPicture,
            u"%1 x %2 pixels, more than a picture may take"_s.arg(declared.width())
                .arg(declared.height()),
            path);
    }
    if (isCutShort(format, *device)) {
        throw RuntimeError::withPath(RuntimeError::InvalidPicture, u"the file is cut short"_s,
                                     path);
    }
    if (format == "bmp" || format == "gif" || format == "jpeg" || format == "xbm") {
        // Checking the end moved through the file; the reader starts again at its start.
        device->seek(0);
        reader.setDevice(device);
        reader.setFormat(format);
    }
    if (overlong == OverlongChunk::FromImageData) {
        throw unreadablePng(path);
    }
    QImage image = reader.read();
    if (image.isNull()) {
        throw RuntimeError::withPath(RuntimeError::InvalidPicture, reader.errorString(), path);
    }
    if (image.sizeInBytes() > maxPictureBytes) {
        // A format that does not declare its size up front; refused all the same.
        throw RuntimeError::withPath(
            RuntimeError::InvalidPicture,
            u"%1 x %2 pixels, more than a picture may take"_s.arg(image.width())
                .arg(image.height()),
            path);
    }
    return image;
}
