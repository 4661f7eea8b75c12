// The input as the bytes of a button picture, loaded as the launch column loads one. A PNG is read
// by Qt's reader too: what it refuses is refused, and what both read shows the same pixels.

#include "fuzzcheck.h"

#include "catalogue/runtimeerror.h"
#include "pictures/picture.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QtEndian>

#include <zlib.h>

#include <cstring>
#include <optional>

extern "C" int LLVMFuzzerInitialize(int *, char ***argv)
{
    // The image plugins (JPEG, GIF, ICO) are found through the application object. It gets only
    // the program's name: the fuzzer's own options are none of its business.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int qtArgc = 1;
    static char *qtArgv[] = {(*argv)[0], nullptr};
    static QGuiApplication application(qtArgc, qtArgv);
    return 0;
}

namespace
{
// What a button of the usual size shows.
const QSize area(123, 51);

// Whether a chunk before IEND announces more bytes than the file holds after it.
bool hasOverlongChunk(const QByteArray &bytes)
{
    qsizetype at = 8;
    while (bytes.size() - at >= 8) {
        const quint32 length = qFromBigEndian<quint32>(bytes.constData() + at);
        if (length > quint64(bytes.size() - at - 8)) {
            return true;
        }
        if (bytes.mid(at + 4, 4) == "IEND") {
            return false;
        }
        at += 12 + qsizetype(length);
    }
    return false;
}

// Whether the compressed image data, the IDAT chunks' data in a row, ends as a zlib stream.
bool imageDataEnds(const QByteArray &bytes)
{
    QByteArray data;
    qsizetype at = 8;
    while (bytes.size() - at >= 12) {
        const quint32 length = qFromBigEndian<quint32>(bytes.constData() + at);
        if (length > quint64(bytes.size() - at - 12)) {
            break;
        }
        if (bytes.mid(at + 4, 4) == "IDAT") {
            data += bytes.mid(at + 8, qsizetype(length));
        }
        at += 12 + qsizetype(length);
    }
    z_stream stream = {};
    KK_FUZZ_CHECK(inflateInit(&stream) == Z_OK);
    stream.next_in = reinterpret_cast<Bytef *>(data.data());
    stream.avail_in = uInt(data.size());
    int result = Z_OK;
    Bytef scratch[16384];
    while (result == Z_OK) {
        stream.next_out = scratch;
        stream.avail_out = sizeof(scratch);
        result = inflate(&stream, Z_NO_FLUSH);
    }
    inflateEnd(&stream);
    return result == Z_STREAM_END;
}

// A PNG that Qt's reader refuses is refused too; one that both read gives the same pixels, in the
// part a button shows.
void checkAgainstQt(const QString &path, const QByteArray &bytes)
{
    std::optional<Picture> picture;
    try {
        picture = Picture::load(path, area);
    } catch (const RuntimeError &) {
    }
    // Qt's reader refuses a chunk that runs past the end of the file, but only after clearing as
    // much memory as it announces.
    if (hasOverlongChunk(bytes)) {
        KK_FUZZ_CHECK(!picture);
        return;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    KK_FUZZ_CHECK(buffer.open(QIODevice::ReadOnly));
    QImageReader reader(&buffer, "png");
    const QImage expected = reader.read();
    if (expected.isNull()) {
        // Only a file whose image data has every row but does not end is taken where Qt's reader
        // refuses it.
        KK_FUZZ_CHECK(!picture || !imageDataEnds(bytes));
        return;
    }
    if (!picture) {
        return;
    }
    KK_FUZZ_CHECK(picture->size() == expected.size());
    const PicturePart part = picture->part(area);
    const QRect region(part.offset, part.image.size());
    KK_FUZZ_CHECK(region == centredRegion(expected.size(), area));
    // The colour space Qt's reader attaches is no pixel: painting ignores it.
    QImage seen = expected.copy(region).convertToFormat(QImage::Format_RGBA64);
    seen.setColorSpace(QColorSpace());
    KK_FUZZ_CHECK(part.image.convertToFormat(QImage::Format_RGBA64) == seen);
}

// The bytes with the CRC of every chunk that fits in them made right. Hardly any change the
// fuzzer makes to a chunk leaves its CRC right, and the decoder refuses a wrong one before it
// looks at anything else.
QByteArray withCrcsRepaired(QByteArray bytes)
{
    qsizetype at = 8;
    while (bytes.size() - at >= 12) {
        const quint32 length = qFromBigEndian<quint32>(bytes.constData() + at);
        if (length > quint64(bytes.size() - at - 12)) {
            break;
        }
        const auto *typeAndData = reinterpret_cast<const Bytef *>(bytes.constData() + at + 4);
        qToBigEndian(quint32(crc32(0, typeAndData, uInt(length) + 4)),
                     bytes.data() + at + 8 + length);
        at += 12 + qsizetype(length);
    }
    return bytes;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    KK_FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    KK_FUZZ_CHECK(file.write(bytes) == bytes.size());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = scratchFile("picture");
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (bytes.startsWith("\x89PNG\r\n\x1A\n")) {
        const QByteArray repaired = withCrcsRepaired(bytes);
        if (repaired != bytes) {
            writeFile(path, repaired);
            checkAgainstQt(path, repaired);
        }
        writeFile(path, bytes);
        checkAgainstQt(path, bytes);
    } else {
        writeFile(path, bytes);
    }

    try {
        const Picture picture = Picture::load(path, area);
        const PicturePart part = picture.part(area);
        KK_FUZZ_CHECK(!part.image.isNull());
        KK_FUZZ_CHECK(part.image.width() <= area.width() && part.image.height() <= area.height());
        KK_FUZZ_CHECK(
            QRect(QPoint(0, 0), picture.size()).contains(QRect(part.offset, part.image.size())));
    } catch (const RuntimeError &error) {
        // Every refusal says which file it is about.
        KK_FUZZ_CHECK(error.description().endsWith(path));
    }
    return 0;
}
