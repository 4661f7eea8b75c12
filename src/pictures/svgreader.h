#pragma once

#include "pictures/picturepart.h"

#include <QByteArray>
#include <QString>

// Whether `bytes` hold an SVG document, plain or compressed, as Qt's reader would take them.
bool isSvg(const QByteArray &bytes);

// What drawing an SVG gave.
struct SvgRead {
    // Empty when the picture was drawn; else why it was refused.
    QString refusal;
    // The picture's own size, in logical pixels.
    QSize size;
    // Its centred region no larger than the area asked for, drawn at the device pixel ratio asked
    // for; the part's scale is that ratio.
    PicturePart part;
};

// Draws the SVG document in `bytes` for a button that shows `area` logical pixels of it on a screen
// of device pixel ratio `ratio`. A suite's SVG is not trusted: a document that declares a document
// type (and so entities), nests deeper or holds more elements than a button picture needs, names
// any resource outside itself, or is compressed, is refused before Qt SVG sees it, and only the
// region the button shows is drawn, so that its declared size costs nothing. Safe on any thread.
SvgRead readSvg(const QByteArray &bytes, QSize area, qreal ratio);
