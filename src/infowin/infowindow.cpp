#include "infowin/infowindow.h"

#include "widgets/designlook.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>

#include <iterator>

InfoWindow::InfoWindow(PlatformServices &services, QWidget *owner, Qt::WindowFlags flags)
    : QDialog(owner, flags)
    , m_services(services)
{
}

void InfoWindow::showModal()
{
    if (!m_loaded) {
        m_loaded = true;
        // A window loaded afresh opens centred over its owner again.
        setAttribute(Qt::WA_Moved, false);
        load();
    }
    exec();
}

void InfoWindow::unload()
{
    m_loaded = false;
    hide();
}

void InfoWindow::applyDesign(std::span<const ControlDesign> design,
                             std::span<const QStringView> focusOrder)
{
    for (const ControlDesign &place : design) {
        placeControl(control(place.name), place);
    }
    // Raising them from the bottom up leaves the first one uppermost.
    for (auto place = design.rbegin(); place != design.rend(); ++place) {
        control(place->name)->raise();
    }
    QWidget *previous = nullptr;
    for (QStringView name : focusOrder) {
        QWidget *widget = control(name);
        if (widget->focusPolicy() == Qt::NoFocus) {
            continue;
        }
        if (previous) {
            setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

QWidget *InfoWindow::control(QStringView name) const
{
    auto *widget = findChild<QWidget *>(name.toString());
    if (!widget) {
        // A design table naming a control the window lacks: a fault of the program, stopped at
        // once.
        qFatal("%s has no control named %s", qPrintable(objectName()), qPrintable(name.toString()));
    }
    return widget;
}

QLabel *InfoWindow::designLabel(QWidget *container, QStringView name, const QColor &colour,
                                Qt::Alignment alignment, const QFont &font)
{
    auto *label = new QLabel(container);
    label->setObjectName(name.toString());
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setFont(font);
    setColour(label, QPalette::WindowText, colour);
    return label;
}

void InfoWindow::closeEvent(QCloseEvent *event)
{
    unload();
    event->accept();
}

void InfoWindow::keyPressEvent(QKeyEvent *event)
{
    // Escape would reject the dialog, but these windows have no cancel button: only OK hides them
    // and only the close button unloads them.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void InfoWindow::showEvent(QShowEvent *event)
{
    // QDialog centres the window over its owner unless it has been placed; once shown it counts as
    // placed, so showing it again after OK keeps it where the user left it.
    QDialog::showEvent(event);
    setAttribute(Qt::WA_Moved, true);
}
