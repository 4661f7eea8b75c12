#pragma once

#include "pictures/picturepart.h"

#include <QByteArray>

#include <limits>

class QIODevice;

// How to read a PNG.
struct PngReading {
    // The part to keep: the centred region no larger than this.
    QSize area;
    // A header that declares more pixels is TooLarge.
    qint64 maxPixels = 0;
    // Everything up to the end of the file is read and checked, so that a file that is broken
    // anywhere is Unreadable; otherwise reading stops after the last row of the part.
    bool wholeFile = true;
    // The part is kept only when its pixels take fewer bytes than this; otherwise the rows are
    // only checked, and the part comes back null.
    qint64 keepPartBelowBytes = std::numeric_limits<qint64>::max();
};

// What reading a PNG gave.
struct PngRead {
    enum Outcome {
        Read,
        Unreadable, // not a PNG that can be read, whatever the reason
        TooLarge, // a header declaring more pixels than asked for
    };
    Outcome outcome = Unreadable;
    QSize size; // the size the header declares, once it has been read
    PicturePart part;
};

// Reads a PNG of any kind (every bit depth, palettes, transparency, interlacing), from the bytes
// of its file or from the file as it goes, one row at a time, and keeps only the centred region
// no larger than the area asked for, so that a picture costs the memory of what a button shows of
// it, not of its size. Eight-bit samples come as RGBA8888 (RGBX8888 where nothing is
// transparent), sixteen-bit ones as RGBA64 (RGBX64). Safe on any thread.
PngRead readPng(const QByteArray &bytes, const PngReading &reading);
PngRead readPng(QIODevice &file, const PngReading &reading);
