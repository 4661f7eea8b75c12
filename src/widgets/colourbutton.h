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

    // The picture, in the middle of the button, covering as many logical pixels as it has pixels,
    // so that it takes the same share of the button at every scale: one picture pixel to one
    // screen pixel at 100 %, smoothly scaled on a scaled screen. Only the part the button can show
    // is decoded, once; a change of scale scales that part again and reads nothing.
    void setPicture(const Picture &picture);
    const Picture &picture() const { return m_picture; }

    // The pixels of a picture's centre that a button of `size` logical pixels can show on a screen
    // of device pixel ratio `ratio`: the button itself, with room for the shift of a pressed
    // button and for the rounding to whole device pixels.
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
    // The part of the picture on show, in device pixels for `m_partRatio`.
    QPixmap m_part;
    QPointF m_partOffset;
    qreal m_partRatio = 0;
};
