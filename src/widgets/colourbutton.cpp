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

ColourButton::~ColourButton()
{
    // A picture being prepared is awaited: the thread would tell this button when it is ready.
    if (m_preparer.joinable()) {
        m_preparer.join();
    }
}

void ColourButton::setPicture(const Picture &picture)
{
    if (picture == m_source) {
        return;
    }
    m_source = picture;
    m_picture = picture;
    m_preparedFor = picture.ratio();
    m_part = QPixmap();
    m_partRatio = 0;
    update();
}

QSize ColourButton::pictureArea(QSize size, qreal ratio)
{
    // A picture pixel covers a logical pixel, so the area is the button's in logical pixels; the
    // margin grows with the scale only so that at 100 % it stays what it always was.
    const int margin = int(std::ceil(ratio)) + 2;
    return {size.width() + 2 * margin, size.height() + 2 * margin};
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
        // A change of scale shows first in a paint: the picture for it is prepared meanwhile.
        prepareFor(ratio);
        if (ratio != m_partRatio) {
            // Once per picture and scale: a pixmap shared with a painter would be copied whole
            // when its ratio is set. The part is a button's worth of pixels, so scaling it is
            // quick; the file is not read again.
            const PicturePart part = m_picture.shownPart();
            QImage image = part.image;
            if (ratio != part.scale && !image.isNull()) {
                image = image.scaled((QSizeF(image.size()) * ratio / part.scale).toSize(),
                                     Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            }
            m_part = QPixmap::fromImage(image);
            m_part.setDevicePixelRatio(ratio);
            m_partOffset = QPointF(part.offset) / part.scale;
            m_partRatio = ratio;
        }
        QPixmap picture = m_part;
        // Where the whole picture would stand, centred, one logical pixel to each of its pixels;
        // its part then stands where its pixels lie in it, on whole device pixels so that the
        // part is not resampled a second time.
        const QSizeF size(m_picture.size());
        QPointF topLeft = QRectF(rect()).center() - QPointF(size.width() / 2, size.height() / 2);
        if (isDown()) {
            topLeft += QPointF(1, 1);
        }
        topLeft += m_partOffset;
        topLeft = QPointF(std::round(topLeft.x() * ratio) / ratio,
                          std::round(topLeft.y() * ratio) / ratio);
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

void ColourButton::prepareFor(qreal ratio)
{
    if (ratio == m_preparedFor || m_preparer.joinable()) {
        // Done, or under way: a thread that is preparing for another scale looks again when it
        // is done.
        return;
    }
    m_preparedFor = ratio;
    try {
        m_preparer = std::thread([this, picture = m_picture, ratio] {
            Picture prepared = picture.forRatio(ratio);
            {
                const std::lock_guard lock(m_preparedMutex);
                m_prepared = std::move(prepared);
            }
            QMetaObject::invokeMethod(this, "takePrepared", Qt::QueuedConnection);
        });
    } catch (const std::system_error &) {
        // No thread to be had: the picture stays as it is, scaled.
    }
}

void ColourButton::takePrepared()
{
    m_preparer.join();
    std::optional<Picture> prepared;
    {
        const std::lock_guard lock(m_preparedMutex);
        prepared.swap(m_prepared);
    }
    // Only for the picture it was prepared from: one set in between stands.
    if (prepared && !(*prepared == m_picture) && m_picture == m_source) {
        m_picture = *prepared;
        m_partRatio = 0;
        update();
    }
    prepareFor(devicePixelRatioF());
}

void ColourButton::mouseMoveEvent(QMouseEvent *event)
{
    // Qt hands moves to a disabled button too; a disabled launch button must not react.
    if (isEnabled()) {
        Q_EMIT pointerMoved(m_index);
    }
    QPushButton::mouseMoveEvent(event);
}
