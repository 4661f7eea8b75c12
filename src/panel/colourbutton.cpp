#include "colourbutton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

ColourButton::ColourButton(qint16 index, QWidget *parent)
    : QPushButton(parent)
    , m_index(index)
{
    connect(this, &QPushButton::clicked, this, [this] { Q_EMIT clickedAt(m_index); });
}

void ColourButton::setBackColor(quint32 colour)
{
    if (colour == m_backColor) {
        return;
    }
    m_backColor = colour;
    update();
}

void ColourButton::setPicture(const QPixmap &picture)
{
    setIcon(QIcon(picture));
    setIconSize(picture.deviceIndependentSize().toSize());
}

void ColourButton::paintEvent(QPaintEvent *event)
{
    if (m_backColor & 0x80000000u) {
        QPushButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(rect(), QColor::fromRgb(m_backColor));
    painter.setPen(palette().color(isDown() ? QPalette::Dark : QPalette::Mid));
    painter.drawRect(frame);
    if (isDown()) {
        option.rect.translate(1, 1);
    }
    painter.drawControl(QStyle::CE_PushButtonLabel, option);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

void ColourButton::mouseMoveEvent(QMouseEvent *event)
{
    // Qt hands moves to a disabled button too; a disabled launch button must not react.
    if (isEnabled()) {
        Q_EMIT pointerMoved(m_index);
    }
    QPushButton::mouseMoveEvent(event);
}
