#include "platform/plainfile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// The one test of what a plain file is: a regular file, found by following links.
FileProblem statusOf(const QByteArray &name, struct stat &status)
{
    if (::stat(name.constData(), &status) != 0) {
        if (errno == EACCES) {
            return FileProblem::PermissionDenied;
        }
        return errno == ELOOP ? FileProblem::LinkLoop : FileProblem::NotFound;
    }
    return S_ISREG(status.st_mode) ? FileProblem::None : FileProblem::NotPlain;
}

// The descriptor of the plain file at `name`, or -1 with `problem` set. The status is taken before
// opening, so that nothing but a regular file is ever opened, and again once open, in case
// something else took the file's place in between.
int openPlain(const QByteArray &name, FileProblem &problem, qint64 &size)
{
    struct stat status = {};
    problem = statusOf(name, status);
    if (problem != FileProblem::None) {
        return -1;
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        problem = errno == EACCES ? FileProblem::PermissionDenied : FileProblem::OpenFailed;
        return -1;
    }
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        problem = FileProblem::NotPlain;
        return -1;
    }
    problem = FileProblem::None;
    size = status.st_size;
    return fd;
}
} // namespace

bool isHiddenFile(QStringView path)
{
    return path.sliced(path.lastIndexOf(u'/') + 1).startsWith(u'.');
}

FileProblem plainFileStatus(const QString &path)
{
    struct stat status = {};
    return statusOf(QFile::encodeName(path), status);
}

FileProblem openPlainFile(QFile &file, const QString &path)
{
    FileProblem problem = FileProblem::None;
    qint64 size = 0;
    const int fd = openPlain(QFile::encodeName(path), problem, size);
    if (fd < 0) {
        return problem;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return FileProblem::OpenFailed;
    }
    return FileProblem::None;
}

FileProblem readPlainFile(const QString &path, qint64 maxBytes, QByteArray &bytes, QString *reason)
{
    bytes.clear();
    FileProblem problem = FileProblem::None;
    qint64 size = 0;
    const int fd = openPlain(QFile::encodeName(path), problem, size);
    if (fd < 0) {
        return problem;
    }
    if (size > maxBytes) {
        ::close(fd);
        return FileProblem::TooLarge;
    }
    // One byte more than the file holds: a read that comes back short at the size the status
    // gave has found the end, and a file that grows meanwhile is read on until it passes the
    // limit.
    QByteArray buffer(qsizetype(qMin(size, maxBytes) + 1), Qt::Uninitialized);
    qint64 filled = 0;
    for (;;) {
        if (filled == buffer.size()) {
            if (filled > maxBytes) {
                ::close(fd);
                return FileProblem::TooLarge;
            }
            buffer.resize(qsizetype(qMin(maxBytes + 1, filled * 2)));
        }
        const qint64 wanted = buffer.size() - filled;
        const ssize_t got = ::read(fd, buffer.data() + filled, size_t(wanted));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            const int readErrno = errno;
            ::close(fd);
            if (reason) {
                *reason = qt_error_string(readErrno);
            }
            return FileProblem::ReadFailed;
        }
        filled += got;
        if (got == 0 || (got < wanted && filled == size)) {
            break;
        }
    }
    ::close(fd);
    if (filled > maxBytes) {
        return FileProblem::TooLarge;
    }
    buffer.truncate(qsizetype(filled));
    bytes = std::move(buffer);
    return FileProblem::None;
}
