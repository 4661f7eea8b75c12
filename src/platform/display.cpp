#include "platform/display.h"

#include <QByteArrayList>
#include <QFileInfo>
#include <QtGlobal>

using namespace Qt::StringLiterals;

namespace
{
bool isSet(const char *name)
{
    return !qEnvironmentVariableIsEmpty(name);
}

// Whether the platform plug-in `name` finds the display server it needs.
bool hasServerFor(const QByteArray &name)
{
    if (name.startsWith("xcb")) {
        return isSet("DISPLAY");
    }
    if (name.startsWith("wayland")) {
        // Without a name, a Wayland client tries the compositor's usual socket.
        return isSet("WAYLAND_DISPLAY")
            || (isSet("XDG_RUNTIME_DIR")
                && QFileInfo::exists(qEnvironmentVariable("XDG_RUNTIME_DIR") + u"/wayland-0"_s));
    }
    // offscreen, vnc, eglfs, linuxfb and the like draw where they are told, with no server.
    return true;
}
} // namespace

QString missingDisplay(const QString &program)
{
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    // Their window system is always there.
    Q_UNUSED(program)
    return {};
#else
    const QString how = u"; start it on a desktop, or in a virtual one: xvfb-run -a "_s + program;
    // Qt tries the platforms QT_QPA_PLATFORM names, in order, and ends the process when none
    // starts.
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    if (!chosen.isEmpty()) {
        for (const QByteArray &entry : chosen.split(';')) {
            if (hasServerFor(entry.left(entry.indexOf(':')).trimmed())) {
                return {};
            }
        }
        return u"no display for QT_QPA_PLATFORM=%1 to open the window on"_s.arg(
                   QString::fromLocal8Bit(chosen))
            + how;
    }
    if (isSet("DISPLAY") || isSet("WAYLAND_DISPLAY")) {
        return {};
    }
    return u"no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)"_s + how;
#endif
}
