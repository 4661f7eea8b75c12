// The launch column of the main window: building the buttons, loading each component, paging,
// the hover highlight and launching.

#include "app/frmmain.h"

#include "app/phasetimes.h"
#include "catalogue/description.h"
#include "catalogue/errortrap.h"
#include "catalogue/fileexists.h"
#include "catalogue/int16.h"
#include "catalogue/paths.h"
#include "panel/launchbuttons.h"
#include "suite/componentreading.h"
#include "widgets/descriptionbox.h"

using namespace Qt::StringLiterals;

namespace
{
// The column shows one page of five buttons at a time, one in each place.
constexpr qint16 pageSize = LaunchButtons::places;
} // namespace

qint16 frmMain::createLaunchButton(qint16 index)
{
    if (index == 0) {
        return 0; // element 0 comes with the design
    }
    const PhaseTimes::Scope timing(m_phases, PhaseTimes::Buttons);
    const qint16 button = m_launchButs->add();
    if (index % pageSize != 0) {
        m_launchButs->setTop(
            button, add16(m_launchButs->top(button - 1), LaunchButtons::placeSpacingTwips));
    }
    return button;
}

LoadedComponent frmMain::takeComponent(qint16 index)
{
    const PhaseTimes::Scope timing(m_phases, PhaseTimes::Waiting);
    if (!m_reading) {
        throw RuntimeError::subscriptOutOfRange();
    }
    return m_reading->take(index);
}

void frmMain::loadComponent(LoadedComponent loaded, qint16 button)
{
    const PhaseTimes::Scope timing(m_phases, PhaseTimes::Buttons);
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
        m_launchButs->setPicture(button, loaded.picture);
        m_launchButs->setVisible(button, true);
        bool found = loaded.exeFound;
        if (loaded.searchFailure) {
            reportSearchFailure(m_services,
                                componentFilePath(m_app.directory, record.folder, record.exe),
                                *loaded.searchFailure);
            found = false;
        }
        m_launchButs->setEnabled(button, found);
    });
    // Also after a failure, so that every later component keeps the record at its own index.
    m_panel.componentCount = add16(m_panel.componentCount, 1);
}

LaunchButtons::AccessibleTexts frmMain::launchButtonTexts(qint16 index) const
{
    // A component that loaded as far as its picture; a listener hears its name and a plain
    // paragraph, not the drawn block with its rule and file names.
    if (index >= m_components.size() || !m_launchButs->hasPicture(index)) {
        return {};
    }
    const ComponentInfo &record = m_components.at(index);
    return {record.folder,
            buttonDescription(descriptionParagraph(record), m_launchButs->isEnabled(index))};
}

const ComponentInfo &frmMain::component(qint16 index) const
{
    if (index < 0 || index >= m_components.size()) {
        throw RuntimeError::subscriptOutOfRange();
    }
    return m_components.at(index);
}

qint16 frmMain::shiftPage(qint32 up)
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

void frmMain::downButClick()
{
    withErrorTrap(m_services, [&] {
        const qint16 offset = shiftPage(0);
        if (offset >= pageSize) {
            m_upBut->setEnabled(true);
        }
        // Everything from the new page to the end of the list is shown; each place shows the
        // lowest index, so the user sees the new page.
        const qint16 count = toInt16(m_launchButs->count());
        for (qint16 i = 0; i < count; ++i) {
            m_launchButs->setVisible(i, i >= offset);
        }
        if (add16(offset, pageSize) >= toInt16(m_launchButs->count())) {
            m_downBut->setEnabled(false);
        }
    });
}

void frmMain::upButClick(qint16 /*index*/)
{
    withErrorTrap(m_services, [&] {
        const qint16 offset = shiftPage(1);
        if (offset == 0) {
            m_upBut->setEnabled(false);
        }
        const qint16 count = toInt16(m_launchButs->count());
        if (count > pageSize) {
            m_downBut->setEnabled(true);
        }
        // Buttons below the page were hidden by the page-down moves that led past them.
        const qint16 pageEnd = add16(offset, pageSize);
        for (qint16 i = offset; i < count; ++i) {
            m_launchButs->setVisible(i, i < pageEnd);
        }
    });
}

void frmMain::launchButsMouseMove(qint16 index)
{
    withErrorTrap(m_services, [&] {
        if (index != m_panel.hoveredIndex) {
            m_descTxt->setText(QString());
            m_descTxt->setText(component(index).desc);
            const qint16 count = toInt16(m_launchButs->count());
            for (qint16 j = 0; j < count; ++j) {
                m_launchButs->setBackColor(j,
                                           j == index ? ColourButton::white : m_defaultButtonColor);
            }
            m_panel.hoveredIndex = index;
        }
        // The hovered index starts at 0, so the first visit to button 0 is recognised by the
        // button still having its normal colour.
        if (index == 0 && m_launchButs->backColor(0) == m_defaultButtonColor) {
            m_descTxt->setText(QString());
            m_descTxt->setText(component(0).desc);
            m_launchButs->setBackColor(0, ColourButton::white);
        }
        m_panel.hoveredIndex = index;
    });
}

void frmMain::launchButsClick(qint16 index)
{
    withErrorTrap(m_services, [&] {
        m_descTxt->setText(QString());
        const ComponentInfo &record = component(index);
        m_descTxt->setText(record.desc);
        // The program's own path is its only argument vector entry: no shell and no quoting, so a
        // path with blanks, quotes or shell characters starts exactly that file.
        m_services.startProgram(componentFilePath(m_app.directory, record.folder, record.exe));
    });
}
