#include "widgets/platformservices.h"

QString AppInfo::versionText() const
{
    return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(revision);
}
