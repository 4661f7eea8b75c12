#include "platform/instancetoken.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace
{
// A folder that only this user can put files into: an abstract socket name or a file in a shared
// folder could be taken first by anyone, and the launcher would then refuse every start.
bool privateFolder(const QString &path)
{
    struct stat folder = {};
    return !path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &folder) == 0
        && S_ISDIR(folder.st_mode) && folder.st_uid == ::geteuid()
        && (folder.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

QString environmentPath(const char *name)
{
    return QFile::decodeName(qgetenv(name));
}

// The user's runtime folder, which the session manager makes private and empties at logout; where
// there is none that is this user's (root on a console, `su` without a login, which keeps the
// other user's), the user's cache folder, made private if it is not there yet.
QString tokenFolder()
{
    const QString runtime = environmentPath("XDG_RUNTIME_DIR");
    if (privateFolder(runtime)) {
        return runtime;
    }
    QString cache = environmentPath("XDG_CACHE_HOME");
    if (!cache.startsWith(u'/')) {
        QString home = environmentPath("HOME");
        if (home.isEmpty()) {
            if (const passwd *user = ::getpwuid(::geteuid())) {
                home = QFile::decodeName(user->pw_dir);
            }
        }
        cache = home.isEmpty() ? QString() : home + u"/.cache"_s;
    }
    if (!cache.isEmpty()) {
        ::mkdir(QFile::encodeName(cache).constData(), 0700);
    }
    return privateFolder(cache) ? cache : QString();
}
} // namespace

// An empty file in a folder of the user's own, locked with flock: the kernel releases the lock when
// the process ends, however it ends, and no other user can open the file to hold it. The file
// stays: removing it would let a starting copy lock a file that is no longer the one in the folder.
class InstanceToken::Holder
{
public:
    explicit Holder(const QString &path)
    {
        if (path.isEmpty()) {
            warn("no private folder of the user's to keep it in (XDG_RUNTIME_DIR, ~/.cache)");
            return;
        }
        m_file = ::open(QFile::encodeName(path).constData(),
                        O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
        struct stat file = {};
        if (m_file < 0 || ::fstat(m_file, &file) != 0) {
            warn(std::strerror(errno));
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
    : m_holder(std::make_unique<Holder>(filePath(canonicalExePath)))
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
    const QString folder = tokenFolder();
    return folder.isEmpty() ? QString() : folder + u'/' + key(canonicalExePath) + u".lock"_s;
}
