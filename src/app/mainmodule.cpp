#include "app/mainmodule.h"

#include "app/frmmain.h"
#include "panel/componentreading.h"

#include <QApplication>

#include <memory>

using namespace Qt::StringLiterals;

int Main(PlatformServices &services)
{
    // The components are found and read on other threads while the window is built.
    auto reading = frmMain::startReading(services.appInfo().directory);
    auto mainWindow = std::make_unique<frmMain>(services);
    if (services.previousInstance()) {
        services.showMessage(services.appInfo().exeName + u" is already Running..."_s,
                             u"Already running..."_s, MessageIcon::Exclamation);
        return 0;
    }
    mainWindow->load(std::move(reading));
    mainWindow->show();
    // Showing the window makes it the active one, also where no window manager would do so.
    mainWindow->activateWindow();
    return QApplication::exec();
}
