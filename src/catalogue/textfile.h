#pragma once

#include <QString>
#include <QStringView>

#include <functional>

// Descriptors are small text files written on any system. A file that is valid UTF-8 is read as
// UTF-8 (a leading byte-order mark dropped, as Notepad writes one); anything else is taken as
// Windows-1252, the 8-bit code page such files were written in.
QString decodeText(const QByteArray &bytes);

// Reads a whole text file. Only regular files are opened, so a FIFO or a device can never block
// the launcher, and a file larger than `maxBytes` is refused before it is read.
QString readTextFile(const QString &path, qint64 maxBytes = 1024 * 1024);

// Calls `onLine` for each line of `text`. A line ends at CR LF, CR or LF; the line ends are not
// part of the line, and a last line without an end is a line like the others.
void forEachLine(QStringView text, const std::function<void(QStringView)> &onLine);
