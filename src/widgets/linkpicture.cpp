#include "widgets/linkpicture.h"

#include <QMouseEvent>

LinkPicture::LinkPicture(const QString &address, QWidget *parent)
    : QLabel(parent)
    , m_address(address)
{
}

void LinkPicture::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void LinkPicture::mouseDoubleClickEvent(QMouseEvent *event)
{
    // What a label does with the second press, which would otherwise count as a press of ours.
    QLabel::mousePressEvent(event);
}

void LinkPicture::mouseReleaseEvent(QMouseEvent *event)
{
    const bool clicked = m_pressed && event->button() == Qt::LeftButton
        && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (clicked) {
        follow();
    }
    QLabel::mouseReleaseEvent(event);
}
