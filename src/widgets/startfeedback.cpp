#include "widgets/startfeedback.h"

#include <QEvent>
#include <QGuiApplication>
#include <QInputEvent>

using namespace Qt::StringLiterals;

StartFeedback::StartFeedback()
{
    const QString platform = QGuiApplication::platformName();
#ifdef KK_HAVE_X11_STARTUP
    if (platform == u"xcb"_s) {
        m_way = x11StartupNotification();
    }
#endif
#ifdef KK_HAVE_WAYLAND_ACTIVATION
    // Qt's Wayland client assumes its own platform plugin: anywhere else it must not be touched.
    if (platform.startsWith(u"wayland"_s)) {
        m_way = waylandActivation();
    }
#endif
    // A press is sent to its top-level window before the window hands it to a widget, and the
    // application's filters see it there: a filter that takes the widget's key (Enter on a launch
    // button) cannot hide it from this one.
    if (m_way) {
        QCoreApplication::instance()->installEventFilter(this);
    }
}

StartFeedback::~StartFeedback() = default;

StartEnvironment StartFeedback::starting(const QString &path)
{
    return m_way ? m_way->starting(path) : StartEnvironment();
}

void StartFeedback::failed(const StartEnvironment &own)
{
    if (m_way) {
        m_way->failed(own);
    }
}

bool StartFeedback::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::TouchBegin:
        m_way->pressed(*static_cast<QInputEvent *>(event));
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
