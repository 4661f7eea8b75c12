#pragma once

#include "platform/programstart.h"

#include <QObject>

#include <memory>

class QInputEvent;

// What the desktop is told of a program the launcher starts, so that it can show the start and
// bring the program's window to the front: start-up notification messages on X11, an activation
// token on Wayland. On other displays, and in a build without those parts, it tells nothing and
// the program gets nothing.
class StartFeedback final : public QObject
{
public:
    // One kind of display's way of telling.
    class Way
    {
    public:
        virtual ~Way() = default;
        // A button or key went down in the launcher; a start that follows answers this press.
        virtual void pressed(const QInputEvent &event) = 0;
        // The program at `path` is about to start: what its environment gets for that.
        virtual StartEnvironment starting(const QString &path) = 0;
        // The start given `own` by starting() failed.
        virtual void failed(const StartEnvironment &own) = 0;
    };

    // Watches the application's presses; the application object must exist.
    StartFeedback();
    ~StartFeedback() override;
    Q_DISABLE_COPY_MOVE(StartFeedback)

    StartEnvironment starting(const QString &path);
    void failed(const StartEnvironment &own);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<Way> m_way;
};

// The ways, each in a file of its own, built only with their part; the X11 way is null where Qt
// has no X11 connection.
std::unique_ptr<StartFeedback::Way> x11StartupNotification();
std::unique_ptr<StartFeedback::Way> waylandActivation();
