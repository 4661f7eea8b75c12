#include "pictures/picture.h"

#include "catalogue/plainfilereading.h"
#include "catalogue/runtimeerror.h"
#include "pictures/pngreader.h"
#include "pictures/svgreader.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QIcon>
#include <QImageReader>
#include <QtEndian>

#include <climits>
#include <limits>

using namespace Qt::StringLiterals;

namespace
{
// Qt's own default allocation limit, applied here whatever the environment says: the launcher
// takes nothing from the environment, and a picture that claims more than this is no button
// picture but a file made to exhaust memory.
constexpr qint64 maxPictureBytes = 128 * 1024 * 1024;
constexpr qint64 maxPixels = maxPictureBytes / 4;

// A button picture is a small file: read whole, with one open and one read, and decoded from
// memory. A larger file is decoded from the disk as the decoder reads it, so that it is never held
// in memory.
constexpr qint64 wholeFileBytes = 1024 * 1024;

const QByteArray pngSignature("\x89PNG\r\n\x1A\n", 8);

RuntimeError tooLarge(QSize size, const QString &path)
{
    return RuntimeError::withPath(
        RuntimeError::InvalidPicture,
        QCoreApplication::translate("Picture", "%1 x %2 pixels, more than a picture may take")
            .arg(size.width())
            .arg(size.height()),
        path);
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
    const char *bytes = head.constData();
    const qint64 pixelsAt = qFromLittleEndian<quint32>(bytes + 10);
    const quint32 infoSize = qFromLittleEndian<quint32>(bytes + 14);
    qint64 width = 0;
    qint64 height = 0;
    qint64 bitsPerPixel = 0;
    quint32 compression = 0;
    quint32 dataSize = 0;
    if (infoSize == 12) {
        width = qFromLittleEndian<quint16>(bytes + 18);
        height = qFromLittleEndian<quint16>(bytes + 20);
        bitsPerPixel = qFromLittleEndian<quint16>(bytes + 24);
    } else if (infoSize >= 40 && head.size() >= 38) {
        width = qAbs(qint64(qFromLittleEndian<qint32>(bytes + 18)));
        height = qAbs(qint64(qFromLittleEndian<qint32>(bytes + 22)));
        bitsPerPixel = qFromLittleEndian<quint16>(bytes + 28);
        compression = qFromLittleEndian<quint32>(bytes + 30);
        dataSize = qFromLittleEndian<quint32>(bytes + 34);
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

// Any other format, through Qt's reader: the whole picture is decoded, then cut to its part.
PicturePart readWithQt(QIODevice &device, const QString &path, QSize area, QSize &size,
                       qint64 keepPartBelowBytes)
{
    // One reader finds the format, tells the declared size and decodes.
    QImageReader reader(&device);
    const QByteArray format = reader.format();
    if (format == "svg" || format == "svgz") {
        // Only a small one, read whole and checked first, is drawn.
        throw RuntimeError::withPath(
            RuntimeError::InvalidPicture,
            QCoreApplication::translate("Picture", "an SVG larger than %1 bytes is not taken")
                .arg(wholeFileBytes),
            path);
    }
    // The size a header declares is known before anything is decoded. Qt gives none for a BMP that
    // it finds too large, so that header is read here to say why it is refused.
    QSize declared = reader.size();
    if (!declared.isValid() && format == "bmp") {
        declared = readBmpHeader(readHead(device)).size;
    }
    if (declared.isValid() && qint64(declared.width()) * declared.height() > maxPixels) {
        throw tooLarge(declared, path);
    }
    if (isCutShort(format, device)) {
        throw RuntimeError::withPath(
            RuntimeError::InvalidPicture,
            QCoreApplication::translate("Picture", "the file is cut short"), path);
    }
    if (format == "bmp" || format == "gif" || format == "jpeg" || format == "xbm") {
        // Checking the end moved through the file; the reader starts again at its start.
        device.seek(0);
        reader.setDevice(&device);
        reader.setFormat(format);
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        throw RuntimeError::withPath(RuntimeError::InvalidPicture, reader.errorString(), path);
    }
    if (image.sizeInBytes() > maxPictureBytes) {
        // A format that does not declare its size up front; refused all the same.
        throw tooLarge(image.size(), path);
    }
    size = image.size();
    const QRect region = centredRegion(size, area);
    if (qint64(region.width()) * region.height() * image.depth() / 8 >= keepPartBelowBytes) {
        return {};
    }
    return {region == image.rect() ? image : image.copy(region), region.topLeft()};
}

// The part for `area` of the picture, and the picture's size, from what reading a PNG gave.
PicturePart fromPng(PngRead read, const QString &path, QSize &size)
{
    switch (read.outcome) {
    case PngRead::Read:
        break;
    case PngRead::TooLarge:
        throw tooLarge(read.size, path);
    case PngRead::Unreadable:
        // What Qt's reader says of any PNG it cannot read.
        throw RuntimeError::withPath(RuntimeError::InvalidPicture,
                                     QImageReader::tr("Unable to read image data"), path);
    }
    size = read.size;
    return std::move(read.part);
}

// The part for `area` of the picture in a file's `bytes`, or in the `file` read as it goes, and
// the picture's size. With `wholeFile`, all of the file is read and checked. The part comes back
// null when it would take `keepPartBelowBytes` or more. A PNG is known by its signature, so that no
// other format's reader is asked about it. Raises a RuntimeError that names `path` when there is
// no picture.
PicturePart readPart(const QByteArray &bytes, const QString &path, QSize area, bool wholeFile,
                     QSize &size, qint64 keepPartBelowBytes = std::numeric_limits<qint64>::max())
{
    if (bytes.startsWith(pngSignature)) {
        return fromPng(readPng(bytes, {area, maxPixels, wholeFile, keepPartBelowBytes}), path,
                       size);
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readWithQt(buffer, path, area, size, keepPartBelowBytes);
}

PicturePart readPart(QFile &file, const QString &path, QSize area, bool wholeFile, QSize &size)
{
    if (file.peek(pngSignature.size()) == pngSignature) {
        return fromPng(readPng(file, {area, maxPixels, wholeFile}), path, size);
    }
    return readWithQt(file, path, area, size, std::numeric_limits<qint64>::max());
}
} // namespace

struct Picture::Data {
    QString path;
    QSize size;
    // One of these two: the file's bytes, or the part decoded for `area`.
    QByteArray bytes;
    PicturePart part;
    QSize area;
    // A sharper source, `scale` of its pixels to one of this picture's, when the screen has room
    // for it.
    std::shared_ptr<const Data> sharper;
    qreal scale = 1;
    // The part was drawn from a description at the scale it was loaded for, not decoded: its
    // pixels are device pixels, and it is all there is.
    bool drawn = false;
    qreal ratio = 1;

    static std::shared_ptr<Data> load(const QString &path, QSize area, qreal ratio);
};

std::shared_ptr<Picture::Data> Picture::Data::load(const QString &path, QSize area, qreal ratio)
{
    auto data = std::make_shared<Data>();
    data->path = path;
    data->area = area;
    QByteArray bytes;
    if (!readWholePlainFile(path, wholeFileBytes, bytes)) {
        QFile file;
        openPlainFileForReading(file, path);
        data->part = readPart(file, path, area, true, data->size);
    } else if (!bytes.startsWith(pngSignature) && isSvg(bytes)) {
        // Drawn once, for this scale: what is kept is the part drawn, never more than the button.
        SvgRead read = readSvg(bytes, area, ratio);
        if (!read.refusal.isEmpty()) {
            throw RuntimeError::withPath(RuntimeError::InvalidPicture, read.refusal, path);
        }
        data->size = read.size;
        data->part = std::move(read.part);
        data->drawn = true;
    } else {
        // Whichever takes less is kept: the file's bytes, or the part decoded.
        data->part = readPart(bytes, path, area, true, data->size, bytes.size());
        if (data->part.image.isNull()) {
            data->bytes = std::move(bytes);
        }
    }
    return data;
}

Picture Picture::load(const QString &path, QSize area, qreal ratio)
{
    std::shared_ptr<Data> data = Data::load(path, area, ratio);
    data->ratio = ratio;
    qreal scale = 1;
    const QString sharperPath = data->drawn ? path : sharperSource(path, ratio, &scale);
    if (sharperPath != path) {
        try {
            auto sharper = Data::load(sharperPath, (QSizeF(area) * scale).toSize(), 1);
            sharper->scale = scale;
            if (!sharper->drawn) {
                data->sharper = std::move(sharper);
            }
        } catch (const RuntimeError &) {
            // The picture the descriptor names is there and good; a sharper one that is not is
            // passed over, as a screen without its scale would pass it over.
        }
    }
    Picture picture;
    picture.m_data = std::move(data);
    return picture;
}

qreal Picture::ratio() const
{
    return m_data ? m_data->ratio : 1;
}

Picture Picture::forRatio(qreal ratio) const
{
    if (!m_data || ratio == m_data->ratio) {
        return *this;
    }
    if (!m_data->drawn) {
        qreal scale = 1;
        const QString path = sharperSource(m_data->path, ratio, &scale);
        const QString current = m_data->sharper ? m_data->sharper->path : m_data->path;
        if (path == current) {
            // The same file, whose part is kept in its own pixels: nothing to read.
            return *this;
        }
    }
    try {
        return load(m_data->path, m_data->area, ratio);
    } catch (const RuntimeError &) {
        return *this;
    }
}

QString Picture::sharperSource(const QString &path, qreal ratio, qreal *scale)
{
    *scale = 1;
    return ratio > 1 ? qt_findAtNxFile(path, ratio, scale) : path;
}

PicturePart Picture::shownPart() const
{
    if (!m_data) {
        return {};
    }
    if (m_data->drawn) {
        return m_data->part;
    }
    if (const Data *sharper = m_data->sharper.get()) {
        PicturePart part = Picture::fromData(m_data->sharper).part(sharper->area);
        part.scale = sharper->scale;
        return part;
    }
    return part(m_data->area);
}

Picture Picture::fromData(std::shared_ptr<const Data> data)
{
    Picture picture;
    picture.m_data = std::move(data);
    return picture;
}

QSize Picture::size() const
{
    return m_data ? m_data->size : QSize();
}

PicturePart Picture::part(QSize area) const
{
    if (!m_data) {
        return {};
    }
    const Data &data = *m_data;
    if (data.drawn) {
        return data.part;
    }
    if (!data.part.image.isNull()) {
        // A smaller area, or the same, is cut from the part kept.
        const QRect wanted = centredRegion(data.size, area);
        const QRect kept(data.part.offset, data.part.image.size());
        if (kept.contains(wanted)) {
            return {wanted == kept ? data.part.image
                                   : data.part.image.copy(wanted.translated(-kept.topLeft())),
                    wanted.topLeft()};
        }
    }
    QSize size;
    try {
        if (!data.bytes.isEmpty()) {
            return readPart(data.bytes, data.path, area, false, size);
        }
        // A large file is read again, as carefully as at loading; if it no longer holds the
        // picture it held then, there is nothing to show.
        QFile file;
        openPlainFileForReading(file, data.path);
        PicturePart part = readPart(file, data.path, area, true, size);
        return size == data.size ? part : PicturePart();
    } catch (const RuntimeError &) {
        return {};
    }
}
