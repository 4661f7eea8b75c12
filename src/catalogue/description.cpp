#include "catalogue/description.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace
{
const QString crlf = u"\r\n"_s;

// The block's lines before the DESC text and after it.
QString head(const ComponentInfo &record)
{
    static const QString rule(57, u'_');
    //: The description's title line: %1 is the component's folder name in upper case.
    return u"   "_s
        + QCoreApplication::translate("Description", "%1 Utility ").arg(record.folder.toUpper())
        + crlf + rule + crlf;
}

QString tail(const ComponentInfo &record)
{
    //: Before the file name of the component's program.
    const QString exe = QCoreApplication::translate("Description", "Executable: ");
    //: Before the file name of the component's picture.
    const QString img = QCoreApplication::translate("Description", "Image: ");
    return crlf + crlf + u"   "_s + exe + record.exe + crlf + u"   "_s + img + record.img + crlf;
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
    const QString missing = QCoreApplication::translate(
        "Description", "Its program is missing, so it cannot be started.");
    return paragraph.isEmpty() ? missing : paragraph + u' ' + missing;
}
