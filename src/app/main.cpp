#include "frmmain.h"
#include "qtplatformservices.h"
#include "version.h"

#include <QApplication>

#include <memory>

using namespace Qt::StringLiterals;

namespace
{
// Start-up: one copy only, then the main window, loaded (which builds the launch column) and shown.
int Main(QApplication &app, PlatformServices &services)
{
    auto mainWindow = std::make_unique<frmMain>(services);
    if (services.previousInstance()) {
        services.showMessage(services.appInfo().exeName + u" is already Running..."_s,
                             u"Already running..."_s, MessageIcon::Exclamation);
        return 0;
    }
    mainWindow->load();
    mainWindow->show();
    // Showing the window makes it the active one, also where no window manager would do so.
    mainWindow->activateWindow();
    return app.exec();
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"kestrelkit-launcher"_s);
    QApplication::setApplicationVersion(QStringLiteral(KK_VERSION_STRING));
    QApplication::setWindowIcon(QIcon(u":/resources/kestrelkit-32.png"_s));
    QtPlatformServices services;
    return Main(app, services);
}
