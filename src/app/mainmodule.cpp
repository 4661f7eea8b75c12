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
        //: %1 is the executable's name.
        services.showMessage(QCoreApplication::translate("Main", "%1 is already Running...")
                                 .arg(services.appInfo().exeName),
                             QCoreApplication::translate("Main", "Already running..."),
                             MessageIcon::Exclamation);
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
