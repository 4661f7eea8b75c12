#include "picture.h"

#include "runtimeerror.h"

#include <QFile>
#include <QImageReader>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace
{
// Qt's own default allocation limit, applied here whatever the environment says: the launcher
// takes nothing from the environment, and a picture that claims more than this is no button
// picture but a file made to exhaust memory.
constexpr qint64 maxPictureBytes = 128 * 1024 * 1024;

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

// The bytes a BMP file needs for the pixels its header announces, or 0 when the header does not
// tell (compressed data without a stated size, or a header too short to read).
qint64 bmpBytesNeeded(const QByteArray &head)
{
    if (head.size() < 26 || !head.startsWith("BM")) {
        return 0;
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
        width = qAbs(static_cast<qint32>(littleEndian32(head, 18)));
        height = qAbs(static_cast<qint32>(littleEndian32(head, 22)));
        bitsPerPixel = littleEndian16(head, 28);
        compression = littleEndian32(head, 30);
        dataSize = littleEndian32(head, 34);
    } else {
        return 0;
    }
    constexpr quint32 uncompressed = 0;
    constexpr quint32 bitFields = 3;
    constexpr quint32 alphaBitFields = 6;
    if (compression == uncompressed || compression == bitFields || compression == alphaBitFields) {
        const qint64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
        return pixelsAt + rowBytes * height;
    }
    return dataSize == 0 ? 0 : pixelsAt + dataSize;
}

// Qt shows what it could decode of a BMP, GIF, JPEG or XBM file that is cut short and leaves the
// rest blank, so a picture still being copied, or broken in transfer, would appear without a word.
// These formats say where they end; a file that lacks its end is refused instead.
bool isCutShort(const QByteArray &format, QFile &file)
{
    const qint64 size = file.size();
    const auto tail = [&file, size](qint64 count) {
        const qint64 from = qMax<qint64>(0, size - count);
        file.seek(from);
        return file.read(size - from);
    };
    if (format == "bmp") {
        file.seek(0);
        return size < bmpBytesNeeded(file.read(64));
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
} // namespace

QImage loadPicture(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (::stat(name.constData(), &status) != 0) {
        if (errno == EACCES) {
            throw RuntimeError::withPath(RuntimeError::PermissionDenied, path);
        }
        throw RuntimeError::withPath(RuntimeError::FileNotFound, path);
    }
    if (!S_ISREG(status.st_mode)) {
        throw RuntimeError::withPath(RuntimeError::PathFileAccessError, u"not a plain file"_s, path);
    }
    // Opened without waiting, and checked again once open, so that a FIFO or a device put in the
    // file's place after the test above can never block the launcher either.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        throw RuntimeError::withPath(errno == EACCES ? RuntimeError::PermissionDenied
                                                     : RuntimeError::PathFileAccessError,
                                     path);
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw RuntimeError::withPath(RuntimeError::PathFileAccessError, path);
    }
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        throw RuntimeError::withPath(RuntimeError::PathFileAccessError, u"not a plain file"_s, path);
    }

    const QByteArray format = QImageReader::imageFormat(&file);
    file.seek(0);
    {
        // The size a header declares is known before anything is decoded.
        QImageReader header(&file, format);
        const QSize declared = header.size();
        if (declared.isValid() && qint64(declared.width()) * declared.height() * 4 > maxPictureBytes) {
            throw RuntimeError::withPath(RuntimeError::InvalidPicture,
                                         u"%1 x %2 pixels, more than a picture may take"_s
                                             .arg(declared.width())
                                             .arg(declared.height()),
                                         path);
        }
    }
    if (isCutShort(format, file)) {
        throw RuntimeError::withPath(RuntimeError::InvalidPicture, u"the file is cut short"_s, path);
    }
    file.seek(0);
    QImageReader reader(&file, format);
    QImage image = reader.read();
    if (image.isNull()) {
        throw RuntimeError::withPath(RuntimeError::InvalidPicture, reader.errorString(), path);
    }
    if (image.sizeInBytes() > maxPictureBytes) {
        // A format that does not declare its size up front; refused all the same.
        throw RuntimeError::withPath(RuntimeError::InvalidPicture,
                                     u"%1 x %2 pixels, more than a picture may take"_s.arg(image.width())
                                         .arg(image.height()),
                                     path);
    }
    return image;
}
