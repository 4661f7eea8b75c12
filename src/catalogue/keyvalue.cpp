#include "catalogue/keyvalue.h"

QString splitKeyValue(QString &line, const QString &separator)
{
    const qsizetype at = line.indexOf(separator);
    if (at < 0) {
        return {};
    }
    QString value = line.mid(at + separator.size());
    line.truncate(at);
    return value;
}
