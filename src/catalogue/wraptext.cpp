#include "catalogue/wraptext.h"

#include "catalogue/int16.h"

QString wrapText(qint16 width, const QString &text)
{
    if (width == 0) {
        throw RuntimeError::divisionByZero();
    }
    const qint16 n = toInt16(text.size());
    QString result;
    result.reserve(text.size() + 2 * (text.size() / qAbs(width) + 1));
    qint16 pendingBreak = 0;
    // The counter steps once more after the last character, so it must still fit in 16 bits:
    // a text of exactly 32,767 characters overflows too.
    for (qint16 i = 1; i <= n; i = add16(i, 1)) {
        if (i % width == 0) {
            const qsizetype space = text.indexOf(u' ', i - 1);
            pendingBreak = space < 0 ? 0 : toInt16(space + 1);
        }
        if (i == pendingBreak) {
            result += QLatin1StringView("\r\n");
            pendingBreak = 0;
        }
        result += text.at(i - 1);
    }
    return result;
}
