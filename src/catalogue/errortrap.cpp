#include "catalogue/errortrap.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

void showErrorBox(MessageSink &sink, const RuntimeError &error)
{
    sink.showMessage(
        QCoreApplication::translate("ErrorTrap", "Error::%1\r\n").arg(error.description()),
        QCoreApplication::translate("ErrorTrap", "Error::Kestrelkit"), MessageIcon::Critical);
}
