#include "folderlisting.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QDirIterator>
#endif

#ifdef Q_OS_UNIX
namespace
{
bool isOfType(int at, const char *path, mode_t type)
{
    struct stat status = {};
    return ::fstatat(at, path, &status, 0) == 0 && (status.st_mode & S_IFMT) == type;
}
} // namespace

bool listSubFolders(const QString &directory, QStringList &names)
{
    names.clear();
    const int fd = ::open(QFile::encodeName(directory).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
            continue;
        }
        // The listing tells the type of most entries; a link, or an entry of a file system that
        // does not tell, is looked up, the link followed.
        if (entry->d_type == DT_DIR
            || ((entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN)
                && isOfType(fd, name, S_IFDIR))) {
            names.append(QFile::decodeName(name));
        }
    }
    ::closedir(dir);
    return true;
}

SubFolderFiles::SubFolderFiles(const QString &directory, const QString &fileName)
    : m_directory(directory)
    , m_fileName(fileName)
    , m_file(QFile::encodeName(fileName))
    , m_fd(::open(QFile::encodeName(directory).constData(),
                  O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK))
{
}

SubFolderFiles::~SubFolderFiles()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool SubFolderFiles::holdsPlainFile(const QString &folder) const
{
    if (m_fd < 0) {
        return QFileInfo(m_directory + u'/' + folder + u'/' + m_fileName).isFile();
    }
    const QByteArray relative = QFile::encodeName(folder) + '/' + m_file;
    return isOfType(m_fd, relative.constData(), S_IFREG);
}
#else
bool listSubFolders(const QString &directory, QStringList &names)
{
    names.clear();
    if (!QFileInfo(directory).isDir()) {
        return false;
    }
    QDirIterator it(directory, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        if (it.fileInfo().isDir()) {
            names.append(it.fileName());
        }
    }
    return true;
}

SubFolderFiles::SubFolderFiles(const QString &directory, const QString &fileName)
    : m_directory(directory)
    , m_fileName(fileName)
{
}

SubFolderFiles::~SubFolderFiles() = default;

bool SubFolderFiles::holdsPlainFile(const QString &folder) const
{
    return QFileInfo(m_directory + u'/' + folder + u'/' + m_fileName).isFile();
}
#endif
