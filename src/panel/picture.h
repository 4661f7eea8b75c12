#pragma once

#include <QImage>
#include <QString>

// Loads a button picture. Only a regular file is opened, so a FIFO or a device never blocks, and
// decoding obeys Qt's allocation limit, so a picture whose header claims a huge size is refused
// before memory is taken. Raises a RuntimeError that names the path when there is no picture.
QImage loadPicture(const QString &path);
