#include "platform/display.h"

QString missingDisplay(const QString &)
{
    // Windows and macOS always have their window system; there is nothing to find missing.
    return {};
}
