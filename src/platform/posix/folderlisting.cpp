#include "platform/folderlisting.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    // The listing tells the type of most entries, so one listing serves; a link, or an entry of a
    // file system that does not tell, is looked up, the link followed.
    const auto isFolder = [fd](const dirent *entry) {
        if (entry->d_type == DT_DIR) {
            return true;
        }
        struct stat status = {};
        return (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN)
            && ::fstatat(fd, entry->d_name, &status, 0) == 0 && S_ISDIR(status.st_mode);
    };
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
            continue;
        }
        if (isFolder(entry)) {
            names.append(QFile::decodeName(name));
        }
    }
    ::closedir(dir);
    return true;
}
