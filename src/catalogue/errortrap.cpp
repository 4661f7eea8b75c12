#include "catalogue/errortrap.h"

using namespace Qt::StringLiterals;

void showErrorBox(MessageSink &sink, const RuntimeError &error)
{
    sink.showMessage(u"Error::"_s + error.description() + u"\r\n"_s, u"Error::Kestrelkit"_s,
                     MessageIcon::Critical);
}
