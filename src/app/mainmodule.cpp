#include "app/mainmodule.h"

#include "app/frmmain.h"
#include "suite/componentreading.h"

#include <QApplication>

#include <memory>

using namespace Qt::StringLiterals;

int Main(PlatformServices &services)
{
    // Another copy is looked for before anything else is done: a copy that is refused builds no
    // window and reads nothing, and its box comes at once.
    if (services.previousInstance()) {
        services.showMessage(services.appInfo().exeName + u" is already Running..."_s,
                             u"Already running..."_s, MessageIcon::Exclamation);
        return 0;
    }
    // The components are found and read on other threads while the window is built.
    auto reading = frmMain::startReading(services.appInfo().directory);
    auto mainWindow = std::make_unique<frmMain>(services);
    mainWindow->load(std::move(reading));
    mainWindow->show();
    // Showing the window makes it the active one, also where no window manager would do so.
    mainWindow->activateWindow();
    return QApplication::exec();
}
