#include "panel/launchcolumn.h"

#include "catalogue/description.h"
#include "catalogue/errortrap.h"
#include "catalogue/fileexists.h"
#include "catalogue/int16.h"
#include "catalogue/paths.h"
#include "widgets/descriptionbox.h"
#include "widgets/platformservices.h"

#include <QApplication>
#include <QKeyEvent>

using namespace Qt::StringLiterals;

namespace
{
// The column shows one page of five buttons at a time, one in each place.
constexpr qint16 pageSize = LaunchButtons::places;
// What a wheel reports for one notch; finer wheels and touchpads report parts of it.
constexpr int wheelNotch = 120;
} // namespace

LaunchColumn::LaunchColumn(PlatformServices &services, const QString &directory, Controls controls,
                           QList<ComponentInfo> &components, PanelState &panel,
                           const quint32 &defaultButtonColor)
    : m_services(services)
    , m_directory(directory)
    , m_controls(controls)
    , m_components(components)
    , m_panel(panel)
    , m_defaultButtonColor(defaultButtonColor)
{
}

qint16 LaunchColumn::createButton(qint16 index)
{
    if (index == 0) {
        return 0; // element 0 comes with the design
    }
    const qint16 button = m_controls.launchButs->add();
    if (index % pageSize != 0) {
        m_controls.launchButs->setTop(
            button,
            add16(m_controls.launchButs->top(button - 1), LaunchButtons::placeSpacingTwips));
    }
    return button;
}

void LaunchColumn::loadComponent(LoadedComponent loaded, qint16 button)
{
    // The component was read ahead; its failures are met here, in the order and at the step
    // where reading it now would meet them.
    withErrorTrap(m_services, [&] {
        const qint16 position = m_panel.componentCount;
        m_components.resize(qsizetype(position) + 1);
        ComponentInfo &record = m_components[position];
        record = std::move(loaded.record);
        record.index = position;
        if (loaded.failure) {
            throw *loaded.failure;
        }
        m_controls.launchButs->setPicture(button, loaded.picture);
        m_controls.launchButs->setVisible(button, true);
        bool found = loaded.exeFound;
        if (loaded.searchFailure) {
            reportSearchFailure(m_services,
                                componentFilePath(m_directory, record.folder, record.exe),
                                *loaded.searchFailure);
            found = false;
        }
        m_controls.launchButs->setEnabled(button, found);
    });
    // Also after a failure, so that every later component keeps the record at its own index.
    m_panel.componentCount = add16(m_panel.componentCount, 1);
}

LaunchButtons::AccessibleTexts LaunchColumn::accessibleTexts(qint16 index) const
{
    // A component that loaded as far as its picture; a listener hears its name and a plain
    // paragraph, not the drawn block with its rule and file names.
    if (index >= m_components.size() || !m_controls.launchButs->hasPicture(index)) {
        return {};
    }
    const ComponentInfo &record = m_components.at(index);
    return {
        record.folder,
        buttonDescription(descriptionParagraph(record), m_controls.launchButs->isEnabled(index))};
}

const ComponentInfo &LaunchColumn::component(qint16 index) const
{
    if (index < 0 || index >= m_components.size()) {
        throw RuntimeError::subscriptOutOfRange();
    }
    return m_components.at(index);
}

qint16 LaunchColumn::shiftPage(qint32 up)
{
    qint16 offset = 0;
    withErrorTrap(m_services, [&] {
        if (up != 0) {
            const qint16 back = add16(m_panel.scrollOffset, -pageSize);
            m_panel.scrollOffset = back < 1 ? 0 : back;
        } else {
            m_panel.scrollOffset = add16(m_panel.scrollOffset, pageSize);
        }
        offset = m_panel.scrollOffset;
    });
    return offset;
}

void LaunchColumn::pageDown(qint16 pages)
{
    withErrorTrap(m_services, [&] {
        qint16 offset = shiftPage(0);
        for (qint16 page = 1; page < pages; ++page) {
            offset = shiftPage(0);
        }
        if (offset >= pageSize) {
            m_controls.upBut->setEnabled(true);
        }
        // Everything from the new page to the end of the list is shown; each place shows the
        // lowest index, so the user sees the new page.
        const qint16 count = toInt16(m_controls.launchButs->count());
        for (qint16 i = 0; i < count; ++i) {
            m_controls.launchButs->setVisible(i, i >= offset);
        }
        if (add16(offset, pageSize) >= toInt16(m_controls.launchButs->count())) {
            m_controls.downBut->setEnabled(false);
        }
    });
}

void LaunchColumn::pageUp(qint16 pages)
{
    withErrorTrap(m_services, [&] {
        qint16 offset = shiftPage(1);
        for (qint16 page = 1; page < pages; ++page) {
            offset = shiftPage(1);
        }
        if (offset == 0) {
            m_controls.upBut->setEnabled(false);
        }
        const qint16 count = toInt16(m_controls.launchButs->count());
        if (count > pageSize) {
            m_controls.downBut->setEnabled(true);
        }
        // Buttons below the page were hidden by the page-down moves that led past them.
        const qint16 pageEnd = add16(offset, pageSize);
        for (qint16 i = offset; i < count; ++i) {
            m_controls.launchButs->setVisible(i, i < pageEnd);
        }
    });
}

void LaunchColumn::pointerMoved(qint16 index)
{
    withErrorTrap(m_services, [&] {
        if (index != m_panel.hoveredIndex) {
            m_controls.descTxt->setText(QString());
            m_controls.descTxt->setText(component(index).desc);
            const qint16 count = toInt16(m_controls.launchButs->count());
            for (qint16 j = 0; j < count; ++j) {
                m_controls.launchButs->setBackColor(
                    j, j == index ? ColourButton::white : m_defaultButtonColor);
            }
            m_panel.hoveredIndex = index;
        }
        // The hovered index starts at 0, so the first visit to button 0 is recognised by the
        // button still having its normal colour.
        if (index == 0 && m_controls.launchButs->backColor(0) == m_defaultButtonColor) {
            m_controls.descTxt->setText(QString());
            m_controls.descTxt->setText(component(0).desc);
            m_controls.launchButs->setBackColor(0, ColourButton::white);
        }
        m_panel.hoveredIndex = index;
    });
}

void LaunchColumn::pointerMovedOver(qint16 index)
{
    if (!m_keyReachedLast) {
        pointerMoved(index);
    }
}

void LaunchColumn::pointerEntered()
{
    m_keyReachedLast = false;
}

void LaunchColumn::clicked(qint16 index)
{
    withErrorTrap(m_services, [&] {
        m_controls.descTxt->setText(QString());
        const ComponentInfo &record = component(index);
        m_controls.descTxt->setText(record.desc);
        // The program's own path is its only argument vector entry: no shell and no quoting, so a
        // path with blanks, quotes or shell characters starts exactly that file.
        m_services.startProgram(componentFilePath(m_directory, record.folder, record.exe));
    });
}

qint16 LaunchColumn::reachableCount() const
{
    // A suite without components still has the design's hidden button 0, but no record for it.
    return toInt16(qMin(m_components.size(), m_controls.launchButs->count()));
}

bool LaunchColumn::onShownPage(qint16 index) const
{
    return index >= m_panel.scrollOffset && index - m_panel.scrollOffset < pageSize;
}

qint16 LaunchColumn::current() const
{
    // Keys go on from the launch button that has the focus, as Space presses it; otherwise from
    // the highlighted one while its page is shown; otherwise from nothing yet.
    const qint16 count = reachableCount();
    const QWidget *focused = QApplication::focusWidget();
    for (int place = 0; place < LaunchButtons::places; ++place) {
        const qint16 shown = m_controls.launchButs->shownIn(place);
        if (focused && focused == m_controls.launchButs->placeWidget(place) && shown >= 0
            && shown < count) {
            return shown;
        }
    }
    const qint16 hovered = m_panel.hoveredIndex;
    if (hovered < count && onShownPage(hovered)
        && m_controls.launchButs->backColor(hovered) == ColourButton::white) {
        return hovered;
    }
    return -1;
}

void LaunchColumn::reach(qint16 index)
{
    // Pages turn through the page buttons' own handlers, so that the page buttons and the visible
    // buttons end exactly as those handlers leave them; all in one go, since each turn walks the
    // whole list and End on ten thousand components would otherwise take a second.
    if (index < m_panel.scrollOffset && m_controls.upBut->isEnabled()) {
        pageUp(toInt16((m_panel.scrollOffset - index + pageSize - 1) / pageSize));
    } else if (index - m_panel.scrollOffset >= pageSize && m_controls.downBut->isEnabled()) {
        pageDown(toInt16((index - m_panel.scrollOffset) / pageSize));
    }
    if (!onShownPage(index)) {
        return;
    }
    pointerMoved(index);
    if (m_panel.hoveredIndex != index) {
        return; // the hover handler failed and said so
    }
    m_keyReachedLast = true;
    ColourButton *widget = m_controls.launchButs->widgetOf(index);
    if (widget && widget->isEnabled()) {
        widget->setFocus(Qt::OtherFocusReason);
    } else if (QWidget *focused = QApplication::focusWidget();
               focused && qobject_cast<ColourButton *>(focused)) {
        // A disabled button cannot hold the focus; left on another button, the focus would make
        // Enter start that one and the next key go on from it.
        focused->clearFocus();
    }
}

void LaunchColumn::turnPageKeepingPlace(bool down)
{
    ColourButton *pageButton = down ? m_controls.downBut : m_controls.upBut;
    if (!pageButton->isEnabled()) {
        return;
    }
    const qint16 from = current();
    const qint16 place = from < 0 ? 0 : from - m_panel.scrollOffset;
    if (down) {
        pageDown();
    } else {
        pageUp();
    }
    reach(qMin<qint16>(add16(m_panel.scrollOffset, place), reachableCount() - 1));
}

void LaunchColumn::findTyped(const QString &text)
{
    // As item views find by typing: within the input interval the letters add up; the same letter
    // again goes on to the next name that starts with it.
    const bool fresh = m_typed.isEmpty() || !m_sinceTyped.isValid()
        || m_sinceTyped.elapsed() > QApplication::keyboardInputInterval();
    m_typed = fresh ? text : m_typed + text;
    m_sinceTyped.start();
    const bool sameLetter = m_typed.size() > 1
        && m_typed.count(m_typed.front(), Qt::CaseInsensitive) == m_typed.size();
    const QString wanted = sameLetter ? m_typed.left(1) : m_typed;

    const qint16 count = reachableCount();
    const qint16 from = current();
    const qint16 start = from < 0 ? 0 : (fresh || sameLetter ? from + 1 : from);
    for (qint16 step = 0; step < count; ++step) {
        const auto index = static_cast<qint16>((start + step) % count);
        // The name is the folder's, as the description's title shows it.
        if (component(index).folder.startsWith(wanted, Qt::CaseInsensitive)) {
            reach(index);
            return;
        }
    }
}

void LaunchColumn::startReached()
{
    const qint16 index = current();
    // A disabled button starts nothing, whichever way it is reached.
    if (index >= 0 && m_controls.launchButs->isEnabled(index)) {
        clicked(index);
    }
}

bool LaunchColumn::keyPressed(const QKeyEvent &event)
{
    if (reachableCount() == 0) {
        return false;
    }
    const Qt::KeyboardModifiers modifiers
        = event.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (modifiers != Qt::NoModifier) {
        return false;
    }
    const int key = event.key();
    const QWidget *focused = QApplication::focusWidget();
    // The description box, once clicked into, scrolls its own text with these.
    const bool scrollKey = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp
        || key == Qt::Key_PageDown || key == Qt::Key_Left || key == Qt::Key_Right;
    if (scrollKey && focused && focused == m_controls.descTxt) {
        return false;
    }
    bool handled = true;
    withErrorTrap(m_services, [&] {
        const qint16 from = current();
        const qint16 last = reachableCount() - 1;
        switch (key) {
        case Qt::Key_Down:
            reach(from < 0 ? m_panel.scrollOffset : qMin<qint16>(add16(from, 1), last));
            break;
        case Qt::Key_Up:
            reach(from < 0 ? qMin<qint16>(add16(m_panel.scrollOffset, pageSize - 1), last)
                           : qMax<qint16>(from - 1, 0));
            break;
        case Qt::Key_PageDown:
            turnPageKeepingPlace(true);
            break;
        case Qt::Key_PageUp:
            turnPageKeepingPlace(false);
            break;
        case Qt::Key_Home:
            reach(0);
            break;
        case Qt::Key_End:
            reach(last);
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // A focused button presses itself, as it always did: a page button pages.
            if (qobject_cast<const QAbstractButton *>(focused)) {
                handled = false;
            } else {
                startReached();
            }
            break;
        default: {
            const QString text = event.text();
            if (text.isEmpty() || !text.front().isPrint() || text.front().isSpace()) {
                handled = false;
            } else {
                findTyped(text);
            }
        }
        }
    });
    return handled;
}

void LaunchColumn::wheelTurned(QPoint angleDelta)
{
    const int delta = angleDelta.y();
    if (delta == 0) {
        return;
    }
    if ((delta > 0) != (m_wheelRest > 0)) {
        m_wheelRest = 0; // turned back: what was gathered the other way counts no more
    }
    m_wheelRest += delta;
    if (qAbs(m_wheelRest) < wheelNotch) {
        return;
    }
    // One page per event at most, and nothing kept over, so that a flick turns one page.
    const bool up = m_wheelRest > 0;
    m_wheelRest = 0;
    if (up && m_controls.upBut->isEnabled()) {
        pageUp();
    } else if (!up && m_controls.downBut->isEnabled()) {
        pageDown();
    }
}
