// The launch column of the main window: building the buttons, loading each component, paging,
// the hover highlight and launching.

#include "frmmain.h"

#include "colourbutton.h"
#include "description.h"
#include "descriptionbox.h"
#include "descriptor.h"
#include "errortrap.h"
#include "fileexists.h"
#include "int16.h"
#include "paths.h"
#include "picture.h"
#include "twips.h"

#include <QPixmap>

using namespace Qt::StringLiterals;

namespace
{
// Launch buttons stand in five places, 600 twips apart, one page of five at a time.
constexpr qint16 placeSpacingTwips = 600;
constexpr qint16 pageSize = 5;
} // namespace

ColourButton *frmMain::createLaunchButton(qint16 index)
{
    QWidget *panel = m_picture1;
    auto *button = new ColourButton(index, panel);
    button->setObjectName(u"launchButs_"_s + QString::number(index));
    button->setMouseTracking(true);
    button->setFocusPolicy(Qt::StrongFocus);
    button->hide();
    if (index > 0) {
        ColourButton *first = m_launchButs.first();
        ColourButton *previous = m_launchButs.last();
        qint16 top = first->topTwips();
        if (index % pageSize != 0) {
            top = add16(previous->topTwips(), placeSpacingTwips);
        }
        const qreal dpi = designDpi(this);
        button->setGeometry(first->x(), twipsToPixels(top, dpi), first->width(), first->height());
        button->setTopTwips(top);
        // A lower index lies above a higher one in the same place, so that each place shows the
        // first visible button of the page.
        button->stackUnder(previous);
    }
    connect(button, &ColourButton::pointerMoved, this, &frmMain::launchButsMouseMove);
    connect(button, &ColourButton::clickedAt, this, &frmMain::launchButsClick);
    m_launchButs.append(button);
    return button;
}

void frmMain::loadComponent(const QString &descriptorPath, const QString &folder, ColourButton *button)
{
    withErrorTrap(m_services, [&] {
        const qint16 position = m_panel.componentCount;
        m_components.resize(qsizetype(position) + 1);
        ComponentInfo &record = m_components[position];
        record.index = position;
        record.folder = folder;
        readDescriptor(descriptorPath, record);
        record.desc = composeDescription(record);

        button->setAccessibleName(record.folder);
        button->setAccessibleDescription(record.desc);
        button->setPicture(QPixmap::fromImage(loadPicture(componentFilePath(m_app.directory, record.folder, record.img))));
        button->setVisible(true);
        button->setEnabled(fileExists(componentFilePath(m_app.directory, record.folder, record.exe), false, m_services));
    });
    // Also after a failure, so that every later component keeps the record at its own index.
    m_panel.componentCount = add16(m_panel.componentCount, 1);
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
        // Everything from the new page to the end of the list is shown; stacking puts the page on top.
        const qint16 count = toInt16(m_launchButs.size());
        for (qint16 i = 0; i < count; ++i) {
            m_launchButs.at(i)->setVisible(i >= offset);
        }
        if (add16(offset, pageSize) >= count) {
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
        const qint16 count = toInt16(m_launchButs.size());
        if (count > pageSize) {
            m_downBut->setEnabled(true);
        }
        // Buttons below the page were hidden by the page-down moves that led past them.
        const qint16 pageEnd = add16(offset, pageSize);
        for (qint16 i = offset; i < count; ++i) {
            m_launchButs.at(i)->setVisible(i < pageEnd);
        }
    });
}

void frmMain::launchButsMouseMove(qint16 index)
{
    withErrorTrap(m_services, [&] {
        if (index != m_panel.hoveredIndex) {
            m_descTxt->setText(QString());
            m_descTxt->setText(component(index).desc);
            for (qsizetype j = 0; j < m_launchButs.size(); ++j) {
                m_launchButs.at(j)->setBackColor(j == index ? ColourButton::white : m_defaultButtonColor);
            }
            m_panel.hoveredIndex = index;
        }
        // The hovered index starts at 0, so the first visit to button 0 is recognised by the
        // button still having its normal colour.
        if (index == 0 && m_launchButs.first()->backColor() == m_defaultButtonColor) {
            m_descTxt->setText(QString());
            m_descTxt->setText(component(0).desc);
            m_launchButs.first()->setBackColor(ColourButton::white);
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
