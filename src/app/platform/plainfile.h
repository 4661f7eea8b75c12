#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Opens `path` for reading when it is a plain file: a regular file, or a link to one. Nothing else
// is ever opened, and the file is opened without waiting and checked again once open, so that a
// FIFO or a device put in its place in between cannot block the launcher either.
enum class PlainFileError {
    None,
    NotFound,
    PermissionDenied,
    LinkLoop,
    NotPlain,
    OpenFailed,
    // Only from readPlainFile:
    TooLarge,
    ReadFailed,
};
PlainFileError openPlainFile(QFile &file, const QString &path);

// Reads a whole plain file, opened as openPlainFile opens it, into `bytes`: one open, one status
// and as many reads as the file needs, into a buffer of the file's own size. A file larger than
// `maxBytes` (also one that grows past it while being read) gives TooLarge and no bytes; a failed
// read gives ReadFailed with the system's reason in `reason`.
PlainFileError readPlainFile(const QString &path, qint64 maxBytes, QByteArray &bytes,
                             QString *reason = nullptr);
