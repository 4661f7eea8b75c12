#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

// Decodes the usual button picture, a PNG of 8-bit RGBA or RGB pixels without interlacing, in one
// inflate call, without the per-file setup and per-row work of Qt's PNG reader. The image equals
// what Qt's reader gives, as QImage's operator== compares: the same format (Format_ARGB32 for RGBA,
// Format_RGB32 for RGB), the same bytes, the same colour space. Text and resolution, which that
// operator ignores and the launcher never uses, are not read.
//
// Gives an image only for a file that is entirely valid and of that simple kind: every CRC right,
// no palette or transparency chunk, only ancillary chunks that leave the pixels alone, colour
// chunks only in the combinations the usual writers make, one run of image data that inflates to
// exactly the rows the header announces, IEND last. For anything else, including a header that
// announces more than 16 MiB of pixels, it gives nothing and Qt's reader is to decide, so that
// what is accepted, and the message given when it is not, stays Qt's. Safe on any thread and on any
// bytes.
std::optional<QImage> decodeSimplePng(const QByteArray &bytes);

// Decodes the bytes of a picture file: the simple PNG above here, anything else with Qt's reader.
// A null image when they are no picture.
QImage decodePicture(const QByteArray &bytes);
