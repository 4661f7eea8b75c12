#pragma once

#include "pictures/picturepart.h"

class QIODevice;

// What reading a PNG gave.
struct PngRead {
    enum Outcome {
        Read,
        Unreadable, // not a PNG that can be read, whatever the reason
        TooLarge, // a header declaring more pixels than `maxPixels`
    };
    Outcome outcome = Unreadable;
    QSize size; // the size the header declares, once it has been read
    PicturePart part;
};

// Reads a PNG of any kind (every bit depth, palettes, transparency, interlacing) from `device`,
// one row at a time, and keeps only the centred region no larger than `area`, so that a picture
// costs the memory of what a button shows of it, not of its size. Eight-bit samples come as
// RGBA8888 (RGBX8888 where nothing is transparent), sixteen-bit ones as RGBA64 (RGBX64).
//
// With `wholeFile`, everything up to the end of the file is read and checked, so that a file that
// is broken anywhere is Unreadable; without it, reading stops after the last row of the region.
// Safe on any thread.
PngRead readPng(QIODevice &device, QSize area, qint64 maxPixels, bool wholeFile);
