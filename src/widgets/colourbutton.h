#pragma once

#include "pictures/picture.h"

#include <QPixmap>
#include <QPushButton>

// A push button with a background colour that reads back exactly as it was set, as the launch
// column needs for its highlight. The normal colour is not a colour of its own but a reference to
// the style's button face, so a button given that value back looks exactly like a fresh one; any
// other value is painted as a plain, flat fill, plainly visible whatever the style.
class ColourButton final : public QPushButton
{
    Q_OBJECT
public:
    // Colour values: 0x00RRGGBB, or a reference to a system colour with the top bit set.
    static constexpr quint32 buttonFace = 0x8000000F;
    static constexpr quint32 white = 0x00FFFFFF;

    ColourButton(qint16 index, QWidget *parent);

    // The element of a control array the button stands for; its signals carry it.
    qint16 index() const { return m_index; }
    void setIndex(qint16 index) { m_index = index; }
    quint32 backColor() const { return m_backColor; }
    void setBackColor(quint32 colour);

    // The picture, shown unscaled in the middle of the button: one picture pixel to one screen
    // pixel, so that it stays sharp on a scaled screen too. Only the part the button can show is
    // decoded, again when the screen's scale changes.
    void setPicture(const Picture &picture);
    const Picture &picture() const { return m_picture; }

    // The device pixels of a picture's centre that a button of `size` (in pixels, at the device
    // pixel ratio `ratio`) can show: the button itself, with room for the shift of a pressed button
    // and for the rounding to whole device pixels.
    static QSize pictureArea(QSize size, qreal ratio);

Q_SIGNALS:
    // The pointer moved over the button while it was enabled.
    void pointerMoved(qint16 index);
    void clickedAt(qint16 index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    qint16 m_index;
    quint32 m_backColor = buttonFace;
    Picture m_picture;
    // The part of the picture on show, for the area it was decoded for.
    QPixmap m_part;
    QPoint m_partOffset;
    QSize m_partArea;
};
