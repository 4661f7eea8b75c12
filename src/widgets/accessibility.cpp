#include "widgets/accessibility.h"

#include "widgets/linkpicture.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMetaObject>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace
{
// A container whose children come in reading order. Finding what lies under a point still goes by
// the stacking order, so that the control on top is found where two overlap.
class ReadingOrderContainer final : public QAccessibleWidget
{
public:
    using QAccessibleWidget::QAccessibleWidget;
    ~ReadingOrderContainer() override = default;

    int childCount() const override { return int(inStackingOrder().size()); }

    QAccessibleInterface *child(int index) const override { return inReadingOrder().value(index); }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return int(inReadingOrder().indexOf(const_cast<QAccessibleInterface *>(child)));
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QList<QAccessibleInterface *> stacked = inStackingOrder();
        for (auto child = stacked.crbegin(); child != stacked.crend(); ++child) {
            if ((*child)->isValid() && (*child)->rect().contains(x, y)) {
                return *child;
            }
        }
        return nullptr;
    }

private:
    // The children as Qt lists them: bottom of the stack first.
    QList<QAccessibleInterface *> inStackingOrder() const
    {
        QList<QAccessibleInterface *> children;
        const int count = QAccessibleWidget::childCount();
        for (int i = 0; i < count; ++i) {
            if (QAccessibleInterface *child = QAccessibleWidget::child(i)) {
                children.append(child);
            }
        }
        return children;
    }

    QList<QAccessibleInterface *> inReadingOrder() const
    {
        QList<QAccessibleInterface *> children = inStackingOrder();
        const auto place = [](const QAccessibleInterface *child) {
            const auto *widget = qobject_cast<const QWidget *>(child->object());
            const QPoint topLeft = widget ? widget->geometry().topLeft() : QPoint();
            return std::pair(topLeft.y(), topLeft.x());
        };
        std::stable_sort(children.begin(), children.end(),
                         [&](const QAccessibleInterface *a, const QAccessibleInterface *b) {
                             return place(a) < place(b);
                         });
        return children;
    }
};

class LinkPictureInterface final : public QAccessibleWidget
{
public:
    explicit LinkPictureInterface(LinkPicture *link)
        : QAccessibleWidget(link, QAccessible::Link)
    {
    }
    ~LinkPictureInterface() override = default;

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && link()->accessibleName().isEmpty()) {
            return link()->address();
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.linked = true;
        return state;
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &action) override
    {
        if (action == pressAction()) {
            // After the request has been answered, as a click comes from the event loop.
            QMetaObject::invokeMethod(link(), &LinkPicture::follow, Qt::QueuedConnection);
            return;
        }
        QAccessibleWidget::doAction(action);
    }

private:
    LinkPicture *link() const { return static_cast<LinkPicture *>(object()); }
};

// The role Qt gives each kind of plain container.
QAccessible::Role containerRole(const QString &className)
{
    if (className == "QMainWindow"_L1) {
        return QAccessible::Window;
    }
    if (className == "QDialog"_L1) {
        return QAccessible::Dialog;
    }
    if (className == "QFrame"_L1) {
        return QAccessible::Border;
    }
    return QAccessible::Client;
}

// A widget that is being destroyed, and is asked about by what its destruction sets off, gets no
// interface: Qt has already dropped it from its cache of interfaces, and one made now would stay
// there after it.
template<typename Interface>
QAccessibleInterface *unlessDestroyed(Interface *iface)
{
    if (iface->isValid()) {
        return iface;
    }
    delete iface;
    return nullptr;
}

QAccessibleInterface *launcherInterface(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType()) {
        return nullptr;
    }
    if (auto *link = qobject_cast<LinkPicture *>(object); link && className == "LinkPicture"_L1) {
        return unlessDestroyed(new LinkPictureInterface(link));
    }
    // Asked with each class from the object's own up to QObject: the plain containers are those
    // whose nearest class Qt knows is one of these; a label, a button or a text box has met Qt's
    // own interface on the way up.
    if (className == "QMainWindow"_L1 || className == "QDialog"_L1 || className == "QFrame"_L1
        || className == "QWidget"_L1) {
        return unlessDestroyed(
            new ReadingOrderContainer(static_cast<QWidget *>(object), containerRole(className)));
    }
    return nullptr;
}
} // namespace

void installAccessibleInterfaces()
{
    // Qt asks the factory installed last first: this one, installed after the application object
    // has installed Qt's own for widgets, is asked before it.
    QAccessible::installFactory(launcherInterface);
}
