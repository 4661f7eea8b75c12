#include "panel/launchbuttons.h"

#include "catalogue/runtimeerror.h"

#include <QEvent>

using namespace Qt::StringLiterals;

LaunchButtons::LaunchButtons(QWidget *panel, const QRect &first, int spacing, qint16 firstTopTwips)
    : QObject(panel)
    , m_firstTop(firstTopTwips)
{
    Element element0;
    element0.top = firstTopTwips;
    m_elements.append(element0);
    m_shown.fill(-1);
    for (int place = 0; place < places; ++place) {
        auto *widget = new ColourButton(-1, panel);
        widget->setObjectName(u"launchButs_%1"_s.arg(place));
        widget->setGeometry(first.translated(0, place * spacing));
        widget->setMouseTracking(true);
        widget->setFocusPolicy(Qt::StrongFocus);
        // Enter presses the focused button as Space does.
        widget->setAutoDefault(true);
        widget->hide();
        connect(widget, &ColourButton::pointerMoved, this, &LaunchButtons::pointerMoved);
        connect(widget, &ColourButton::clickedAt, this, &LaunchButtons::clicked);
        widget->installEventFilter(this);
        m_places[place] = widget;
    }
    // Place 0 lies above place 1 where they overlap, as a lower index lies above a higher one.
    for (int place = 1; place < places; ++place) {
        m_places[place]->stackUnder(m_places[place - 1]);
    }
}

LaunchButtons::~LaunchButtons() = default;

bool LaunchButtons::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Enter) {
        Q_EMIT pointerEntered();
    }
    return QObject::eventFilter(watched, event);
}

const LaunchButtons::Element &LaunchButtons::at(qint16 index) const
{
    if (index < 0 || index >= m_elements.size()) {
        throw RuntimeError::subscriptOutOfRange();
    }
    return m_elements.at(index);
}

LaunchButtons::Element &LaunchButtons::at(qint16 index)
{
    if (index < 0 || index >= m_elements.size()) {
        throw RuntimeError::subscriptOutOfRange();
    }
    return m_elements[index];
}

qint16 LaunchButtons::add()
{
    if (m_elements.size() > std::numeric_limits<qint16>::max()) {
        throw RuntimeError::overflow();
    }
    const Element &first = m_elements.first();
    Element element;
    element.top = first.top;
    m_elements.append(element);
    return static_cast<qint16>(m_elements.size() - 1);
}

int LaunchButtons::placeOf(qint16 index) const
{
    // Tops run from element 0's in steps of the place spacing; the place follows from the top.
    const int steps = (at(index).top - m_firstTop) / placeSpacingTwips;
    return steps >= 0 && steps < places ? steps : -1;
}

qint16 LaunchButtons::top(qint16 index) const
{
    return at(index).top;
}

void LaunchButtons::setTop(qint16 index, qint16 twips)
{
    // Moving a button takes it out of its place and puts it into the new one as it was.
    const bool visible = at(index).visible;
    setVisible(index, false);
    at(index).top = twips;
    setVisible(index, visible);
}

bool LaunchButtons::isVisible(qint16 index) const
{
    return at(index).visible;
}

void LaunchButtons::setVisible(qint16 index, bool visible)
{
    Element &element = at(index);
    if (element.visible == visible) {
        return;
    }
    element.visible = visible;
    const int place = placeOf(index);
    if (place < 0) {
        return;
    }
    if (visible) {
        if (m_shown[place] < 0 || index < m_shown[place]) {
            m_shown[place] = index;
            bind(place);
        }
    } else if (m_shown[place] == index) {
        findShown(place, index);
    }
}

void LaunchButtons::findShown(int place, qint16 from)
{
    // The next visible element at or after `from` standing in this place.
    qint16 shown = -1;
    for (qsizetype i = from; i < m_elements.size(); ++i) {
        if (m_elements.at(i).visible && placeOf(static_cast<qint16>(i)) == place) {
            shown = static_cast<qint16>(i);
            break;
        }
    }
    m_shown[place] = shown;
    bind(place);
}

bool LaunchButtons::isEnabled(qint16 index) const
{
    return at(index).enabled;
}

void LaunchButtons::setEnabled(qint16 index, bool enabled)
{
    at(index).enabled = enabled;
    elementChanged(index);
}

quint32 LaunchButtons::backColor(qint16 index) const
{
    return at(index).backColor;
}

void LaunchButtons::setBackColor(qint16 index, quint32 colour)
{
    Element &element = at(index);
    if (element.backColor == colour) {
        return;
    }
    element.backColor = colour;
    elementChanged(index);
}

void LaunchButtons::setPicture(qint16 index, const Picture &picture)
{
    at(index).picture = picture;
    elementChanged(index);
}

bool LaunchButtons::hasPicture(qint16 index) const
{
    return !at(index).picture.isNull();
}

void LaunchButtons::setAccessibleTexts(std::function<AccessibleTexts(qint16)> texts)
{
    m_accessibleTexts = std::move(texts);
    for (int place = 0; place < places; ++place) {
        bind(place);
    }
}

ColourButton *LaunchButtons::widgetOf(qint16 index) const
{
    for (int place = 0; place < places; ++place) {
        if (m_shown[place] == index) {
            return m_places[place];
        }
    }
    return nullptr;
}

void LaunchButtons::elementChanged(qint16 index)
{
    for (int place = 0; place < places; ++place) {
        if (m_shown[place] == index) {
            bind(place);
        }
    }
}

void LaunchButtons::bind(int place)
{
    ColourButton *widget = m_places[place];
    const qint16 index = m_shown[place];
    if (index < 0) {
        widget->hide();
        widget->setIndex(-1);
        return;
    }
    const Element &element = m_elements.at(index);
    if (widget->index() != index) {
        widget->setIndex(index);
        widget->setObjectName(u"launchButs_%1"_s.arg(index));
    }
    widget->setBackColor(element.backColor);
    widget->setEnabled(element.enabled);
    // Set only when they change: each setting tells assistive technology that it changed, and a
    // place is bound again at every highlight.
    const AccessibleTexts texts = m_accessibleTexts ? m_accessibleTexts(index) : AccessibleTexts();
    if (widget->accessibleName() != texts.name) {
        widget->setAccessibleName(texts.name);
    }
    if (widget->accessibleDescription() != texts.description) {
        widget->setAccessibleDescription(texts.description);
    }
    widget->setPicture(element.picture);
    widget->show();
}
