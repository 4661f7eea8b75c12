#include "platform/startsupport.h"

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

// What this layer cannot promise through Qt alone: that the component gets no descriptor or
// handle of the launcher's beyond the standard three. Qt marks what it opens itself as not to be
// inherited, but a descriptor that whoever started the launcher left open, or that a library
// opened without that mark, passes on to the component; only the POSIX layer closes those. On
// Windows a batch file (.cmd, .bat) is started by the system through its command interpreter,
// whatever the caller asks; every other program is started directly.
// Nor does a start through this layer tell the desktop anything: the component gets no start-up
// notification ID and no activation token of its own (it still gets none of the launcher's), and
// its window comes to the front only where the system puts it there unasked.
void keepDescriptorsFromChild() { }
