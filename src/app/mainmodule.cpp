#include "mainmodule.h"

#include "frmmain.h"

#include <QApplication>

#include <memory>

using namespace Qt::StringLiterals;

int Main(PlatformServices &services)
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
    return QApplication::exec();
}
