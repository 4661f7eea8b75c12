// An activation token for each start on Wayland (xdg-activation-v1): asked for with the serial of
// the press that led to the start, the seat and the launcher's surface, and handed to the program
// in XDG_ACTIVATION_TOKEN, with which its window may take the focus.
#include "widgets/startfeedback.h"

#include "qwayland-xdg-activation-v1.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <QWaylandClientExtensionTemplate>
#include <QWindow>

// Qt 6.4 has no public way to the seat, the serial of the last input event and a window's
// surface; its Wayland plugin gives them by name through this private interface, used in this
// file alone. From Qt 6.5 on, QNativeInterface::QWaylandApplication (seat(), lastInputSerial())
// replaces it for the seat and the serial.
static_assert(QT_VERSION < QT_VERSION_CHECK(6, 5, 0),
              "use QNativeInterface::QWaylandApplication instead of the private interface");
#include <qpa/qplatformnativeinterface.h>

#include <chrono>
#include <functional>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace
{
// How long a start waits for the compositor's token before it goes ahead without one.
constexpr auto tokenWait = 1000ms;

class Token final : public QtWayland::xdg_activation_token_v1
{
public:
    explicit Token(struct ::xdg_activation_token_v1 *token)
        : QtWayland::xdg_activation_token_v1(token)
    {
    }
    ~Token() override { destroy(); }
    Q_DISABLE_COPY_MOVE(Token)

    std::function<void(const QString &)> done;

protected:
    void xdg_activation_token_v1_done(const QString &token) override
    {
        if (done) {
            done(token);
        }
    }
};

class Activation final
    : public QWaylandClientExtensionTemplate<Activation>
    , public QtWayland::xdg_activation_v1
{
public:
    Activation()
        : QWaylandClientExtensionTemplate<Activation>(1)
    {
        // Bound now rather than from the event loop, so that the first start finds it.
        initialize();
    }
    ~Activation() override
    {
        if (isActive()) {
            destroy();
        }
    }
    Q_DISABLE_COPY_MOVE(Activation)
};

class WaylandActivation final : public StartFeedback::Way
{
public:
    void pressed(const QInputEvent &) override
    {
        QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
        m_seat = static_cast<struct ::wl_seat *>(native->nativeResourceForIntegration("wl_seat"));
        // The press is the input event the plugin read last.
        m_serial = m_seat ? quint32(quintptr(native->nativeResourceForIntegration("serial"))) : 0;
    }

    StartEnvironment starting(const QString &) override
    {
        // A start asked for while another waits for its token can only come from outside the
        // user's input (input waits): it goes ahead at once rather than nest a second wait.
        if (!m_activation.isActive() || m_waiting) {
            return {};
        }
        Token token(m_activation.get_activation_token());
        if (m_seat) {
            token.set_serial(m_serial, m_seat);
        }
        if (QWindow *window = QGuiApplication::focusWindow()) {
            if (auto *surface = static_cast<struct ::wl_surface *>(
                    QGuiApplication::platformNativeInterface()->nativeResourceForWindow("surface",
                                                                                        window))) {
                token.set_surface(surface);
            }
        }
        token.commit();

        // Waited for without the user's input, which Qt keeps until the wait is over, a window's
        // close request among it: a second click then starts a second program, as it always did,
        // after this one. Timers, painting and requests over the accessibility bus are handled
        // meanwhile; a start one of those asks for goes ahead without a token (above), and the
        // application quitting ends the wait.
        QString received;
        QEventLoop loop;
        token.done = [&](const QString &value) {
            received = value;
            loop.quit();
        };
        QTimer::singleShot(tokenWait, &loop, &QEventLoop::quit);
        m_waiting = true;
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        m_waiting = false;
        token.done = nullptr;
        if (received.isEmpty()) {
            return {};
        }
        return {{u"XDG_ACTIVATION_TOKEN"_s, received}};
    }

    void failed(const StartEnvironment &) override
    {
        // An unused token expires in the compositor.
    }

private:
    Activation m_activation;
    struct ::wl_seat *m_seat = nullptr;
    quint32 m_serial = 0;
    bool m_waiting = false;
};
} // namespace

std::unique_ptr<StartFeedback::Way> waylandActivation()
{
    return std::make_unique<WaylandActivation>();
}
