#include "platform/plainfile.h"

#include "platform/readloop.h"
#include "platform/startsupport.h"

#include <QFileInfo>

// Here a file's type is what QFileInfo says, which follows links: FIFOs, sockets and devices are
// not files to it. What cannot be had through Qt is an open that refuses to wait: a FIFO put in
// a checked file's place before it is opened blocks the open until something writes to it. Only
// the POSIX layer closes that gap; the check once open below still refuses whatever was opened.

namespace
{
FileProblem statusOf(const QFileInfo &info)
{
    if (info.isFile()) {
        return FileProblem::None;
    }
    if (info.exists()) {
        return FileProblem::NotPlain;
    }
    return isLinkLoop(info.filePath()) ? FileProblem::LinkLoop : FileProblem::NotFound;
}
} // namespace

bool isHiddenFile(QStringView path)
{
    // As the system hides it: a name that starts with a dot on Unix-like systems (and the hidden
    // flag on macOS), the hidden attribute on Windows.
    return QFileInfo(path.toString()).isHidden();
}

FileProblem plainFileStatus(const QString &path)
{
    return statusOf(QFileInfo(path));
}

FileProblem openPlainFile(QFile &file, const QString &path)
{
    const QFileInfo info(path);
    if (const FileProblem problem = statusOf(info); problem != FileProblem::None) {
        return problem;
    }
    // QFile says only that an open failed, not why; the one reason worth telling is known first.
    if (!info.isReadable()) {
        return FileProblem::PermissionDenied;
    }
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return FileProblem::OpenFailed;
    }
    // A device or a pipe that took the file's place in between is read as a stream.
    if (file.isSequential()) {
        file.close();
        return FileProblem::NotPlain;
    }
    return FileProblem::None;
}

FileProblem readPlainFile(const QString &path, qint64 maxBytes, QByteArray &bytes, QString *reason)
{
    bytes.clear();
    QFile file;
    if (const FileProblem problem = openPlainFile(file, path); problem != FileProblem::None) {
        return problem;
    }
    return readWhole(file.size(), maxBytes, bytes, [&file, reason](char *into, qint64 count) {
        const qint64 got = file.read(into, count);
        if (got < 0 && reason) {
            *reason = file.errorString();
        }
        return got;
    });
}
