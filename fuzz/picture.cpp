// The input as the bytes of a button picture, loaded as the launch column loads one.

#include "fuzzcheck.h"

#include "catalogue/runtimeerror.h"
#include "pictures/picture.h"
#include "pictures/pngdecode.h"

#include <QBuffer>
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
// The launcher's own PNG decoder takes only what Qt's reader takes, and gives an image equal to
// Qt's: format, bytes and colour space.
void checkSameAsQt(const QByteArray &bytes)
{
    const std::optional<QImage> decoded = decodeSimplePng(bytes);
    if (!decoded) {
        return;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    KK_FUZZ_CHECK(buffer.open(QIODevice::ReadOnly));
    QImageReader reader(&buffer, "png");
    const QImage expected = reader.read();
    KK_FUZZ_CHECK(!expected.isNull());
    KK_FUZZ_CHECK(decoded->format() == expected.format());
    KK_FUZZ_CHECK(*decoded == expected);
    // operator== passes over the unused byte of RGB32: the bytes must match all the same.
    KK_FUZZ_CHECK(decoded->sizeInBytes() == expected.sizeInBytes());
    KK_FUZZ_CHECK(
        std::memcmp(decoded->constBits(), expected.constBits(), size_t(expected.sizeInBytes()))
        == 0);
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
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = scratchFile("picture");
    QFile file(path);
    KK_FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    KK_FUZZ_CHECK(file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size));
    file.close();

    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    checkSameAsQt(bytes);
    if (bytes.startsWith("\x89PNG\r\n\x1A\n")) {
        const QByteArray repaired = withCrcsRepaired(bytes);
        if (repaired != bytes) {
            checkSameAsQt(repaired);
        }
    }

    try {
        const QImage image = loadPicture(path);
        KK_FUZZ_CHECK(!image.isNull());
        KK_FUZZ_CHECK(image.sizeInBytes() <= 128 * 1024 * 1024);
    } catch (const RuntimeError &error) {
        // Every refusal says which file it is about.
        KK_FUZZ_CHECK(error.description().endsWith(path));
    }
    return 0;
}
