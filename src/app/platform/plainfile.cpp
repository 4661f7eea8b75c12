#include "plainfile.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef Q_OS_UNIX
PlainFileError openPlainFile(QFile &file, const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status = {};
    if (::stat(name.constData(), &status) != 0) {
        if (errno == EACCES) {
            return PlainFileError::PermissionDenied;
        }
        return errno == ELOOP ? PlainFileError::LinkLoop : PlainFileError::NotFound;
    }
    if (!S_ISREG(status.st_mode)) {
        return PlainFileError::NotPlain;
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return errno == EACCES ? PlainFileError::PermissionDenied : PlainFileError::OpenFailed;
    }
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return PlainFileError::NotPlain;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return PlainFileError::OpenFailed;
    }
    return PlainFileError::None;
}
#else
PlainFileError openPlainFile(QFile &file, const QString &path)
{
    // Elsewhere a file's type is what QFileInfo says; named pipes and devices are not files there.
    const QFileInfo info(path);
    if (!info.exists()) {
        return PlainFileError::NotFound;
    }
    if (!info.isFile()) {
        return PlainFileError::NotPlain;
    }
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return file.error() == QFileDevice::PermissionsError ? PlainFileError::PermissionDenied
                                                             : PlainFileError::OpenFailed;
    }
    return PlainFileError::None;
}
#endif
