#include "app/commandline.h"
#include "app/mainmodule.h"
#include "app/translations.h"
#include "platform/display.h"
#include "platform/fontwarmup.h"
#include "widgets/accessibility.h"
#include "widgets/designlook.h"
#include "widgets/qtplatformservices.h"
#include "widgets/version.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLocale>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    if (argc > 1) {
        if (const std::optional<int> status = runCommandLine(argc, argv)) {
            return *status;
        }
    }
    // Asked before the application object is made, which would end the process with an abort.
    const QString program = QString::fromLocal8Bit(argv[0]);
    if (const QString missing = missingDisplay(program); !missing.isEmpty()) {
        const QByteArray line
            = (QFileInfo(program).fileName() + u": "_s + missing + u'\n').toUtf8();
        std::fputs(line.constData(), stderr);
        return 1;
    }
    // Before anything else, so that it runs alongside the application object's own set-up.
    const FontConfigWarmUp fonts;
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"kestrelkit-launcher"_s);
    QApplication::setApplicationVersion(QStringLiteral(KK_VERSION_STRING));
    QApplication::setWindowIcon(QIcon(u":/resources/kestrelkit-32.png"_s));
    // The design's face for everything, boxes included; text laid out before a window sets its
    // own font then needs no other face.
    QApplication::setFont(designFont(8.25));
    // Before any window or component text is made: the user's language, as every Qt program takes
    // it from the environment.
    installTranslations(QLocale::system().uiLanguages());
    installAccessibleInterfaces();
    QtPlatformServices services;
    return Main(services);
}
