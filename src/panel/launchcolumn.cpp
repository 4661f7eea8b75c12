#include "panel/launchcolumn.h"

#include "catalogue/description.h"
#include "catalogue/errortrap.h"
#include "catalogue/fileexists.h"
#include "catalogue/int16.h"
#include "catalogue/paths.h"
#include "widgets/descriptionbox.h"
#include "widgets/platformservices.h"

using namespace Qt::StringLiterals;

namespace
{
// The column shows one page of five buttons at a time, one in each place.
constexpr qint16 pageSize = LaunchButtons::places;
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

void LaunchColumn::pageDown()
{
    withErrorTrap(m_services, [&] {
        const qint16 offset = shiftPage(0);
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

void LaunchColumn::pageUp()
{
    withErrorTrap(m_services, [&] {
        const qint16 offset = shiftPage(1);
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
