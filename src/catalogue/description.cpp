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

QString plainParagraph(const QString &wrappedDesc)
{
    QString paragraph = wrappedDesc;
    paragraph.remove(u"\r\n"_s);
    return paragraph;
}

QString buttonDescription(const QString &paragraph, bool programFound)
{
    if (programFound) {
        return paragraph;
    }
    static const QString missing = u"Its program is missing, so it cannot be started."_s;
    return paragraph.isEmpty() ? missing : paragraph + u' ' + missing;
}
