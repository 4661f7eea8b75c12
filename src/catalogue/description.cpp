#include "catalogue/description.h"

using namespace Qt::StringLiterals;

QString composeDescription(const ComponentInfo &record)
{
    static const QString crlf = u"\r\n"_s;
    static const QString rule(57, u'_');
    return u"   "_s + record.folder.toUpper() + u" Utility "_s + crlf + rule + crlf + record.desc
        + crlf + crlf + u"   Executable: "_s + record.exe + crlf + u"   Image: "_s + record.img
        + crlf;
}
