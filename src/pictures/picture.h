#pragma once

#include <QImage>
#include <QString>

// Loads a button picture. Only a regular file is opened, so a FIFO or a device never blocks; a
// picture whose header claims more than Qt's default allocation limit is refused before anything
// is decoded, and a file cut short is refused instead of being shown half blank. Raises a
// RuntimeError that says why and names the path when there is no picture. Safe on any thread.
// With `fileBytes`, also gives the file's bytes when it was small enough to be read whole.
QImage loadPicture(const QString &path, QByteArray *fileBytes = nullptr);
