#pragma once

#include "pictures/picture.h"

#include <QPixmap>
#include <QPushButton>

#include <mutex>
#include <optional>
#include <thread>

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
    ~ColourButton() override;

    // The element of a control array the button stands for; its signals carry it.
    qint16 index() const { return m_index; }
    void setIndex(qint16 index) { m_index = index; }
    quint32 backColor() const { return m_backColor; }
    void setBackColor(quint32 colour);

    // The picture, in the middle of the button, covering as many logical pixels as it has pixels,
    // so that it takes the same share of the button at every scale: one picture pixel to one
    // screen pixel at 100 %, smoothly scaled on a scaled screen. Only the part the button can show
    // is decoded, once. When the scale changes to one for which the picture has a sharper source,
    // or is an SVG, the picture is prepared again on a thread of its own; meanwhile the part at
    // hand is shown scaled, and the button is repainted once the new one is ready.
    void setPicture(const Picture &picture);
    const Picture &picture() const { return m_source; }

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
    void prepareFor(qreal ratio);
    Q_INVOKABLE void takePrepared();

    // The picture as set, and the one shown, prepared for the screen's scale.
    Picture m_source;
    Picture m_picture;
    // The scale the picture was last prepared for, or is being prepared for.
    qreal m_preparedFor = 0;
    std::thread m_preparer;
    std::mutex m_preparedMutex;
    std::optional<Picture> m_prepared; // guarded by m_preparedMutex
    // The part of the picture on show, in device pixels for `m_partRatio`.
    QPixmap m_part;
    QPointF m_partOffset;
    qreal m_partRatio = 0;
};
