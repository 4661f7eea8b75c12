#pragma once

#include <QFile>
#include <QString>

// Opens `path` for reading when it is a plain file: a regular file, or a link to one. Nothing else
// is ever opened, and the file is opened without waiting and checked again once open, so that a
// FIFO or a device put in its place in between cannot block the launcher either.
enum class PlainFileError { None, NotFound, PermissionDenied, LinkLoop, NotPlain, OpenFailed };
PlainFileError openPlainFile(QFile &file, const QString &path);
