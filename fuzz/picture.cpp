// The input as the bytes of a button picture, loaded as the launch column loads one.

#include "fuzzcheck.h"

#include "picture.h"
#include "runtimeerror.h"

#include <QFile>
#include <QGuiApplication>

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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = scratchFile("picture");
    QFile file(path);
    KK_FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    KK_FUZZ_CHECK(file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size));
    file.close();
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
