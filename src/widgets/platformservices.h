#pragma once

#include "catalogue/messagesink.h"

#include <QString>
#include <QUrl>

// What the application knows about itself.
struct AppInfo {
    QString exeName; // the executable's file name without directory and extension
    QString directory; // the folder of the running executable, links resolved, no trailing "/"
    QString title;
    int major = 0;
    int minor = 0;
    int revision = 0;
    QString copyright;

    QString versionText() const; // "1.1.0"
};

// Everything the launcher asks of the platform: message boxes, its own identity, the
// single-instance check, starting a program and handing a web address to the browser. The real
// implementation uses Qt; tests substitute a recording one so that no modal box blocks them.
class PlatformServices : public MessageSink
{
public:
    virtual AppInfo appInfo() const = 0;
    // True when another copy of this same executable already runs for this user.
    virtual bool previousInstance() = 0;
    // Starts the program at `path` detached, with no arguments and no shell, in the current
    // directory, telling the desktop of the start where it can. Raises a RuntimeError that says
    // why and names the path when it cannot start.
    virtual void startProgram(const QString &path) = 0;
    // Hands `url` to the user's default browser; the outcome is not reported.
    virtual void openUrl(const QUrl &url) = 0;
};
