#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

// Part of a picture: the pixels of a region of it, and where that region's top-left corner lies in
// the whole picture. A button shows its picture unscaled and centred, so the part it needs is the
// centre of the picture, no larger than the button.
struct PicturePart {
    QImage image;
    QPoint offset;
    // How many of the image's pixels stand for one pixel of the picture: above 1 for a sharper
    // source. The offset is in the image's pixels.
    qreal scale = 1;
};

// The centred region of a picture of `size` that is no larger than `area`: the whole picture when
// it fits. A side of `area` that is not positive stands for no bound.
QRect centredRegion(QSize size, QSize area);
