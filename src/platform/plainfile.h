#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include "platform/fileproblem.h"

// Plain files: regular files, or links to one. Nothing else is ever opened (opening a FIFO can
// block, opening a device can have effects of its own), and a file is checked again once open, so
// that a FIFO or a device put in its place in between is refused too. The POSIX implementation
// opens without waiting, so that such a FIFO cannot block the launcher either; the portable one
// cannot say so to Qt.

// Whether `path` is a plain file, and if not, why not; nothing is opened.
FileProblem plainFileStatus(const QString &path);
inline bool isPlainFile(const QString &path)
{
    return plainFileStatus(path) == FileProblem::None;
}

// Whether the file at `path` is hidden from a folder's listing: on POSIX systems, a name that
// starts with a dot; on Windows, the hidden attribute.
bool isHiddenFile(QStringView path);

// Opens `path` for reading when it is a plain file.
FileProblem openPlainFile(QFile &file, const QString &path);

// Reads a whole plain file, opened as openPlainFile opens it, into `bytes`: one open, one status
// and as many reads as the file needs, into a buffer of the file's own size. A file larger than
// `maxBytes` (also one that grows past it while being read) gives TooLarge and no bytes; a failed
// read gives ReadFailed with the system's reason in `reason`.
FileProblem readPlainFile(const QString &path, qint64 maxBytes, QByteArray &bytes,
                          QString *reason = nullptr);
