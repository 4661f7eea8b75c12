#include "app/mainmodule.h"
#include "platform/fontwarmup.h"
#include "widgets/accessibility.h"
#include "widgets/designlook.h"
#include "widgets/qtplatformservices.h"
#include "widgets/version.h"

#include <QApplication>
#include <QIcon>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    // Before anything else, so that it runs alongside the application object's own set-up.
    const FontConfigWarmUp fonts;
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"kestrelkit-launcher"_s);
    QApplication::setApplicationVersion(QStringLiteral(KK_VERSION_STRING));
    QApplication::setWindowIcon(pngIcon(u":/resources/kestrelkit-32.png"_s));
    // The design's face for everything, boxes included; text laid out before a window sets its
    // own font then needs no other face.
    QApplication::setFont(designFont(8.25));
    installAccessibleInterfaces();
    QtPlatformServices services;
    return Main(services);
}
