// The input as an SVG button picture, drawn as the launch column draws one on a scaled screen:
// whatever the document says, what is drawn is no larger than the button, and a refusal names the
// file.

#include "fuzzcheck.h"

#include "catalogue/runtimeerror.h"
#include "pictures/picture.h"

#include <QFile>
#include <QGuiApplication>
#include <QLoggingCategory>

#include <cmath>

extern "C" int LLVMFuzzerInitialize(int *, char ***argv)
{
    // Qt SVG needs the application object for its fonts; it gets only the program's name.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int qtArgc = 1;
    static char *qtArgv[] = {(*argv)[0], nullptr};
    static QGuiApplication application(qtArgc, qtArgv);
    // Qt SVG tells of every element it does not know: noise at fuzzing speed.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.svg.warning=false"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = scratchFile("picture.svg");
    // What a button of the usual size shows, at 150 %.
    static const QSize area(123, 51);
    constexpr qreal ratio = 1.5;
    {
        QFile file(path);
        KK_FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        KK_FUZZ_CHECK(file.write(reinterpret_cast<const char *>(data), qint64(size))
                      == qint64(size));
    }
    try {
        const Picture picture = Picture::load(path, area, ratio);
        const PicturePart part = picture.shownPart();
        KK_FUZZ_CHECK(part.image.width() <= std::ceil(area.width() * ratio));
        KK_FUZZ_CHECK(part.image.height() <= std::ceil(area.height() * ratio));
    } catch (const RuntimeError &error) {
        KK_FUZZ_CHECK(error.description().endsWith(path));
    }
    return 0;
}
