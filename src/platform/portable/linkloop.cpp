#include "platform/portable/linkloop.h"

#include <QFileInfo>

namespace
{
// As many links as Linux follows in one path before it gives up.
constexpr int maxLinks = 40;
} // namespace

bool isLinkLoop(const QString &path)
{
    QFileInfo info(path);
    if (info.exists()) {
        return false;
    }
    for (int links = 0; info.isSymLink(); ++links) {
        if (links == maxLinks) {
            return true;
        }
        info.setFile(info.symLinkTarget());
    }
    return false;
}
