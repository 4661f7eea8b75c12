#pragma once

#include <QByteArray>
#include <QString>

class QFile;

// Opens a plain file for reading, or raises the RuntimeError that says, with the path, why not.
void openPlainFileForReading(QFile &file, const QString &path);

// Reads a whole plain file into `bytes` and returns true, or returns false without reading when it
// is larger than `maxBytes`; any other failure raises the RuntimeError that says why.
bool readWholePlainFile(const QString &path, qint64 maxBytes, QByteArray &bytes);
