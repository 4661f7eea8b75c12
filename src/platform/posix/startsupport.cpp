#include "platform/startsupport.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

// A started component gets standard input, output and error and nothing else: not the X
// connection, not the single-instance token's file, not a descriptor that whoever started the
// launcher left open. Qt 6.4 closes only what it opened itself and runs no child-process hook for
// detached starts, so every descriptor above the standard three is marked close-on-exec here, just
// before the start. The launcher never hands a descriptor to a child on purpose.
void keepDescriptorsFromChild()
{
#if defined(SYS_close_range)
    constexpr unsigned int closeRangeCloexec = 1U << 2; // CLOSE_RANGE_CLOEXEC, Linux 5.11
    if (::syscall(SYS_close_range, 3U, ~0U, closeRangeCloexec) == 0) {
        return;
    }
#endif
    const auto mark = [](int fd) {
        const int flags = ::fcntl(fd, F_GETFD);
        if (flags >= 0 && !(flags & FD_CLOEXEC)) {
            ::fcntl(fd, F_SETFD, flags | FD_CLOEXEC);
        }
    };
    if (DIR *dir = ::opendir("/proc/self/fd")) {
        const int own = ::dirfd(dir);
        while (const dirent *entry = ::readdir(dir)) {
            const int fd = std::atoi(entry->d_name);
            if (fd > 2 && fd != own) {
                mark(fd);
            }
        }
        ::closedir(dir);
        return;
    }
    rlimit limit{};
    const rlim_t highest = ::getrlimit(RLIMIT_NOFILE, &limit) == 0 ? limit.rlim_cur : 1024;
    for (rlim_t fd = 3; fd < highest && fd < 65536; ++fd) {
        mark(static_cast<int>(fd));
    }
}

bool isLinkLoop(const QString &path)
{
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) != 0 && errno == ELOOP;
}
