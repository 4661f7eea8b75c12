#pragma once

#include "widgets/platformservices.h"

#include <QApplication>
#include <QDebug>
#include <QList>
#include <QStringList>
#include <QUrl>

#include <functional>

// Platform services for tests: message boxes, program starts and browser requests are recorded
// instead of shown or made, so that no modal box blocks a test.
class RecordingServices final : public PlatformServices
{
public:
    struct Message {
        QString text;
        QString title;
        MessageIcon icon;
        friend bool operator==(const Message &, const Message &) = default;
    };

    void showMessage(const QString &text, const QString &title, MessageIcon icon) override
    {
        messages.append({text, title, icon});
    }
    AppInfo appInfo() const override { return info; }
    bool previousInstance() override
    {
        windowsWhenAskedForPrevious = QApplication::topLevelWidgets().size();
        return previous;
    }
    void startProgram(const QString &path) override
    {
        started.append(path);
        if (startHook) {
            startHook(path);
        }
    }
    void openUrl(const QUrl &url) override { openedUrls.append(url); }

    AppInfo info{
        QStringLiteral("kestrelkit-launcher"), {}, QStringLiteral("Kestrelkit Launcher"), 1, 1, 0,
        QStringLiteral("Copyright test")};
    bool previous = false;
    // How many windows existed when the previous copy was asked for.
    qsizetype windowsWhenAskedForPrevious = -1;
    QList<Message> messages;
    QStringList started;
    QList<QUrl> openedUrls;
    // Runs on every start, e.g. to raise a RuntimeError as the real start would.
    std::function<void(const QString &)> startHook;
};

QDebug operator<<(QDebug debug, const RecordingServices::Message &message);
