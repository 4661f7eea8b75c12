#include "platform/instancetoken.h"

#include <QCryptographicHash>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace
{
QString environmentPath(const char *name)
{
    return QFile::decodeName(qgetenv(name));
}

bool ownedByUser(const struct stat &entry)
{
    return entry.st_uid == ::geteuid();
}

// An open folder that only this user can put files into: an abstract socket name or a file in a
// shared folder could be taken first by anyone, and the launcher would then refuse every start.
// Opened without following a link, and checked on what was opened, so that nothing can be swapped
// in between.
int openPrivateFolder(const QString &path)
{
    if (!path.startsWith(u'/')) {
        return -1;
    }
    const int folder = ::open(QFile::encodeName(path).constData(),
                              O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat entry = {};
    if (folder >= 0 && ::fstat(folder, &entry) == 0 && ownedByUser(entry)
        && (entry.st_mode & (S_IWGRP | S_IWOTH)) == 0) {
        return folder;
    }
    if (folder >= 0) {
        ::close(folder);
    }
    return -1;
}

// The user's home: HOME where it is the user's own (root with another user's HOME, after sudo
// or su, must not write into that user's home), else the one the user database names.
QString homeFolder()
{
    const QString home = environmentPath("HOME");
    struct stat entry = {};
    if (home.startsWith(u'/') && ::stat(QFile::encodeName(home).constData(), &entry) == 0
        && ownedByUser(entry)) {
        return home;
    }
    const passwd *user = ::getpwuid(::geteuid());
    return user ? QFile::decodeName(user->pw_dir) : QString();
}

struct Place {
    QString folder;
    QString name;
};

// The user's runtime folder, which the session manager makes private and empties at logout; where
// there is none that is this user's (root on a console, `su` without a login, which keeps the
// other user's), the user's cache folder, made if the user's home has none yet. A home may be
// shared by several machines, whose copies must not refuse each other: there the file names the
// host too.
Place tokenPlace(const QString &key)
{
    const QString runtime = environmentPath("XDG_RUNTIME_DIR");
    if (const int folder = openPrivateFolder(runtime); folder >= 0) {
        ::close(folder);
        return {runtime, key + u".lock"_s};
    }
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    const QString name = key + u'-' + QString::fromLocal8Bit(host) + u".lock"_s;
    const QString cache = environmentPath("XDG_CACHE_HOME");
    if (cache.startsWith(u'/')) {
        ::mkdir(QFile::encodeName(cache).constData(), 0700);
    }
    if (const int folder = openPrivateFolder(cache); folder >= 0) {
        ::close(folder);
        return {cache, name};
    }
    const QString home = homeFolder();
    if (const int folder = openPrivateFolder(home); folder >= 0) {
        ::mkdirat(folder, ".cache", 0700);
        ::close(folder);
        return {home + u"/.cache"_s, name};
    }
    return {};
}
} // namespace

// An empty file in a folder of the user's own, locked with flock: the kernel releases the lock when
// the process ends, however it ends, and no other user can open the file to hold it. The file
// stays: removing it would let a starting copy lock a file that is no longer the one in the folder.
class InstanceToken::Holder
{
public:
    explicit Holder(const Place &place)
    {
        const int folder = openPrivateFolder(place.folder);
        if (folder < 0) {
            warn("no private folder of the user's to keep it in (XDG_RUNTIME_DIR, ~/.cache)");
            return;
        }
        m_file = ::openat(folder, QFile::encodeName(place.name).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
        struct stat file = {};
        const bool opened = m_file >= 0 && ::fstat(m_file, &file) == 0;
        const int openError = errno;
        ::close(folder);
        if (!opened) {
            warn(std::strerror(openError));
            return;
        }
        // A file that someone else could open is no token: refuse to rely on it.
        if (!S_ISREG(file.st_mode) || file.st_uid != ::geteuid()
            || (file.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
            warn("its file is not a plain file of the user's own, readable by nobody else");
            return;
        }
        if (::flock(m_file, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK) {
                m_taken = true;
            } else {
                warn(std::strerror(errno));
            }
        }
    }
    ~Holder()
    {
        if (m_file >= 0) {
            ::close(m_file);
        }
    }
    Q_DISABLE_COPY_MOVE(Holder)

    bool taken() const { return m_taken; }

private:
    // Where the token cannot be kept, the launcher runs rather than refusing every start.
    static void warn(const char *why)
    {
        std::fprintf(stderr, "kestrelkit-launcher: not checking for another copy: %s\n", why);
    }

    int m_file = -1;
    bool m_taken = false;
};

InstanceToken::InstanceToken(const QString &canonicalExePath)
    : m_holder(std::make_unique<Holder>(tokenPlace(key(canonicalExePath))))
    , m_takenElsewhere(m_holder->taken())
{
}

InstanceToken::~InstanceToken() = default;

QString InstanceToken::key(const QString &canonicalExePath)
{
    // The user is not named here: the file is kept in the user's own folder.
    const QByteArray hash
        = QCryptographicHash::hash(canonicalExePath.toUtf8(), QCryptographicHash::Sha256);
    return u"kestrelkit-launcher-"_s + QString::fromLatin1(hash.toHex().left(24));
}

QString InstanceToken::filePath(const QString &canonicalExePath)
{
    const Place place = tokenPlace(key(canonicalExePath));
    return place.folder.isEmpty() ? QString() : place.folder + u'/' + place.name;
}
