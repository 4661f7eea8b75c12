#include "platform/plainfile.h"

#include "platform/readloop.h"

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
    problem = readWhole(size, maxBytes, bytes, [fd, reason](char *into, qint64 count) -> qint64 {
        for (;;) {
            const ssize_t got = ::read(fd, into, size_t(count));
            if (got >= 0 || errno != EINTR) {
                if (got < 0 && reason) {
                    *reason = qt_error_string(errno);
                }
                return got;
            }
        }
    });
    ::close(fd);
    return problem;
}
