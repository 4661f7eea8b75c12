// Start-up notification on X11: the "new:" message before a program starts, "remove:" when its
// start fails, as client messages to the root window; the program gets the ID in
// DESKTOP_STARTUP_ID and ends the start itself once its window is up. A few dozen lines of XCB,
// where a library for it would add a dependency for the same few messages.
#include "widgets/startfeedback.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputEvent>
#include <QSysInfo>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <optional>

using namespace Qt::StringLiterals;

namespace
{
const QString startupIdName = u"DESKTOP_STARTUP_ID"_s;

// A value as the messages take it: in double quotes, with a backslash before a quote or a
// backslash, when it holds any of those or a blank.
QByteArray messageValue(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    if (!bytes.contains(' ') && !bytes.contains('"') && !bytes.contains('\\') && !bytes.isEmpty()) {
        return bytes;
    }
    QByteArray quoted = "\"";
    for (const char c : bytes) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + '"';
}

// The host's name with anything but letters, digits, dots, dashes and underscores made an
// underscore: programs that end a start send the ID back unquoted.
QByteArray idSafe(const QString &text)
{
    QByteArray safe = text.toUtf8();
    for (char &c : safe) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
            || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
        if (!plain) {
            c = '_';
        }
    }
    return safe;
}

class X11StartupNotification final : public StartFeedback::Way
{
public:
    X11StartupNotification(xcb_connection_t *connection, xcb_window_t root, int screen)
        : m_connection(connection)
        , m_root(root)
        , m_screen(screen)
        , m_begin(askAtom("_NET_STARTUP_INFO_BEGIN"))
        , m_info(askAtom("_NET_STARTUP_INFO"))
        , m_idPrefix(idSafe(QCoreApplication::applicationName()) + '-'
                     + QByteArray::number(QCoreApplication::applicationPid()) + '-'
                     + idSafe(QSysInfo::machineHostName()) + '-')
    {
    }

    ~X11StartupNotification() override
    {
        for (const Atom *asked : {&m_begin, &m_info}) {
            if (!asked->atom) {
                xcb_discard_reply(m_connection, asked->cookie.sequence);
            }
        }
    }
    Q_DISABLE_COPY_MOVE(X11StartupNotification)

    void pressed(const QInputEvent &event) override { m_pressTime = event.timestamp(); }

    StartEnvironment starting(const QString &path) override
    {
        // The press's server time lets a window manager tell whether the user has gone on to
        // another window meanwhile.
        QByteArray id = m_idPrefix + QByteArray::number(++m_starts);
        if (m_pressTime != 0) {
            id += "_TIME" + QByteArray::number(m_pressTime);
        }
        const QString name = QFileInfo(path).fileName();
        send("new: ID=" + id + " NAME=" + messageValue(name) + " BIN=" + messageValue(name)
             + " SCREEN=" + QByteArray::number(m_screen));
        return {{startupIdName, QString::fromLatin1(id)}};
    }

    void failed(const StartEnvironment &own) override
    {
        for (const auto &[name, value] : own) {
            if (name == startupIdName) {
                send("remove: ID=" + value.toLatin1());
            }
        }
    }

private:
    // An atom asked for at start-up and read at the first start: the launcher's window does not
    // wait on the X server's answer.
    struct Atom {
        xcb_intern_atom_cookie_t cookie;
        std::optional<xcb_atom_t> atom;
    };

    Atom askAtom(const char *name) const
    {
        return {xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
                std::nullopt};
    }

    xcb_atom_t atom(Atom &asked) const
    {
        if (!asked.atom) {
            xcb_intern_atom_reply_t *reply
                = xcb_intern_atom_reply(m_connection, asked.cookie, nullptr);
            asked.atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
            std::free(reply);
        }
        return *asked.atom;
    }

    // The message with its terminating NUL in pieces of 20 bytes, the first marked as the
    // beginning, from a window of the launcher's made for it, as receivers expect.
    void send(const QByteArray &message)
    {
        const xcb_atom_t begin = atom(m_begin);
        const xcb_atom_t info = atom(m_info);
        const xcb_window_t window = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, m_root, -100, -100, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        const qsizetype length = message.size() + 1;
        for (qsizetype offset = 0; offset < length; offset += 20) {
            xcb_client_message_event_t event{};
            event.response_type = XCB_CLIENT_MESSAGE;
            event.format = 8;
            event.window = window;
            event.type = offset == 0 ? begin : info;
            std::memcpy(event.data.data8, message.constData() + offset,
                        static_cast<size_t>(qMin<qsizetype>(20, message.size() - offset)));
            xcb_send_event(m_connection, 0, m_root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                           reinterpret_cast<const char *>(&event));
        }
        xcb_destroy_window(m_connection, window);
        xcb_flush(m_connection);
    }

    xcb_connection_t *const m_connection;
    const xcb_window_t m_root;
    const int m_screen;
    Atom m_begin;
    Atom m_info;
    const QByteArray m_idPrefix;
    ulong m_pressTime = 0;
    quint32 m_starts = 0;
};
} // namespace

std::unique_ptr<StartFeedback::Way> x11StartupNotification()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection) {
        return nullptr;
    }
    // The screen DISPLAY names, as Qt connected to it.
    char *host = nullptr;
    int display = 0;
    int screen = 0;
    if (!xcb_parse_display(nullptr, &host, &display, &screen)) {
        screen = 0;
    }
    std::free(host);
    xcb_screen_iterator_t roots = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screen && roots.rem > 0; ++i) {
        xcb_screen_next(&roots);
    }
    if (roots.rem == 0) {
        return nullptr;
    }
    return std::make_unique<X11StartupNotification>(connection, roots.data->root, screen);
}
