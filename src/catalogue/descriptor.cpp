#include "catalogue/descriptor.h"

#include "catalogue/keyvalue.h"
#include "catalogue/textfile.h"
#include "catalogue/wraptext.h"

using namespace Qt::StringLiterals;

namespace
{
constexpr qint16 descriptionWidth = 52;
}

void applyDescriptorLine(ComponentInfo &record, QString line)
{
    QString value = splitKeyValue(line, u":"_s);
    if (line == u"DESC") {
        record.desc = wrapText(descriptionWidth, value);
    } else if (line == u"EXE") {
        record.exe = std::move(value);
    } else if (line == u"HELP") {
        record.help = std::move(value);
    } else if (line == u"IMG") {
        record.img = std::move(value);
    } else if (line == u"NAME") {
        record.name = std::move(value);
    } else if (line == u"TIP") {
        record.tip = std::move(value);
    }
}

void readDescriptor(const QString &path, ComponentInfo &record)
{
    const QString text = readTextFile(path);
    forEachLine(text,
                [&record](QStringView line) { applyDescriptorLine(record, line.toString()); });
}
