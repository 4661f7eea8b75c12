#include "platform/instancetoken.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace
{
// Ample time for a starting copy to write its name into the file it has just made.
constexpr qint64 writingSeconds = 10;
} // namespace

// A lock file in a folder of the user's own. A copy that ends normally removes it; one that
// crashed leaves it behind, and the next start, finding that no live process holds it, takes it
// over at once. Unlike the POSIX token, this one writes a file: no name that Qt offers on every
// system is released by the system itself when its holder dies.
class InstanceToken::Holder
{
public:
    explicit Holder(const QString &path)
        : m_lock(path)
    {
        // A running copy holds its token however long ago it took it: only a holder that is gone
        // makes the file stale, never the file's age.
        m_lock.setStaleLockTime(0);
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (m_lock.tryLock(0)) {
            return;
        }
        // Where no token can be kept (a folder that cannot be written, say), the launcher runs
        // rather than refusing every start.
        if (m_lock.error() != QLockFile::LockFailedError) {
            return;
        }
        qint64 pid = 0;
        QString host;
        QString application;
        if (!m_lock.getLockInfo(&pid, &host, &application)
            && QFileInfo(path).lastModified().secsTo(QDateTime::currentDateTime())
                > writingSeconds) {
            // A file that names no holder long after it was made was left by a copy that ended
            // between making it and writing to it. A younger one may be a copy's that is writing
            // it this moment, and that Qt could not yet tell from a file nobody holds.
            if (m_lock.removeStaleLockFile() && m_lock.tryLock(0)) {
                return;
            }
        }
        m_taken = true;
    }
    Q_DISABLE_COPY_MOVE(Holder)

    bool taken() const { return m_taken; }

private:
    QLockFile m_lock;
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
    // The user's cache folder is the user's own on every system; the temporary folder, the
    // user's own too on Windows and macOS, only where there is none.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    return folder + u'/' + key(canonicalExePath) + u".lock"_s;
}
