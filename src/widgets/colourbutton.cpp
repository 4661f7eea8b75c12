#include "widgets/colourbutton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <cmath>

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

void ColourButton::setPicture(const Picture &picture)
{
    if (picture == m_picture) {
        return;
    }
    m_picture = picture;
    m_part = QPixmap();
    m_partArea = QSize();
    update();
}

QSize ColourButton::pictureArea(QSize size, qreal ratio)
{
    const int margin = int(std::ceil(ratio)) + 2;
    return {int(std::ceil(size.width() * ratio)) + 2 * margin,
            int(std::ceil(size.height() * ratio)) + 2 * margin};
}

void ColourButton::paintEvent(QPaintEvent *event)
{
    const bool systemColour = m_backColor & 0x80000000u;
    if (systemColour && m_picture.isNull()) {
        QPushButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    if (systemColour) {
        painter.drawControl(QStyle::CE_PushButtonBevel, option);
    } else {
        // A plain fill: the style's gradient would make a white highlight hard to see.
        painter.fillRect(rect(), QColor::fromRgb(m_backColor));
        painter.setPen(palette().color(isDown() ? QPalette::Dark : QPalette::Mid));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (!m_picture.isNull()) {
        const qreal ratio = devicePixelRatioF();
        const QSize area = pictureArea(size(), ratio);
        if (area != m_partArea || m_part.devicePixelRatio() != ratio) {
            // Once per picture and scale: a pixmap shared with a painter would be copied whole
            // when its ratio is set.
            const PicturePart part = m_picture.part(area);
            m_part = QPixmap::fromImage(part.image);
            m_part.setDevicePixelRatio(ratio);
            m_partOffset = part.offset;
            m_partArea = area;
        }
        QPixmap picture = m_part;
        // Where the whole picture would stand, centred, on whole device pixels so that nothing is
        // resampled; its part then stands where its pixels lie in it.
        const QSizeF size = QSizeF(m_picture.size()) / ratio;
        QPointF topLeft = QRectF(rect()).center() - QPointF(size.width() / 2, size.height() / 2);
        if (isDown()) {
            topLeft += QPointF(1, 1);
        }
        topLeft = QPointF(std::round(topLeft.x() * ratio) / ratio,
                          std::round(topLeft.y() * ratio) / ratio)
            + QPointF(m_partOffset) / ratio;
        if (!isEnabled()) {
            // The style's greyed look, made from the pixels themselves, at the same size.
            QStyleOption option;
            option.initFrom(this);
            picture = style()->generatedIconPixmap(QIcon::Disabled, picture, &option);
            picture.setDevicePixelRatio(ratio);
        }
        painter.drawPixmap(topLeft, picture);
    } else {
        painter.drawControl(QStyle::CE_PushButtonLabel, option);
    }
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
