#include "catalogue/description.h"

using namespace Qt::StringLiterals;

namespace
{
const QString crlf = u"\r\n"_s;

// The block's lines before the DESC text and after it.
QString head(const ComponentInfo &record)
{
    static const QString rule(57, u'_');
    return u"   "_s + record.folder.toUpper() + u" Utility "_s + crlf + rule + crlf;
}

QString tail(const ComponentInfo &record)
{
    return crlf + crlf + u"   Executable: "_s + record.exe + crlf + u"   Image: "_s + record.img
        + crlf;
}
} // namespace

QString composeDescription(const ComponentInfo &record)
{
    return head(record) + record.desc + tail(record);
}

QString descriptionParagraph(const ComponentInfo &record)
{
    const qsizetype from = head(record).size();
    const qsizetype length = record.desc.size() - from - tail(record).size();
    if (length <= 0) {
        return {};
    }
    // DESC is one line of its descriptor, so every line break in it is one wrapText made.
    QString paragraph = record.desc.mid(from, length);
    paragraph.remove(crlf);
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
