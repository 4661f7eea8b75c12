#include "qtplatformservices.h"

#include "appidentity.h"
#include "runtimeerror.h"
#include "version.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#if defined(Q_OS_LINUX)
#include <sys/socket.h>
#include <sys/un.h>
#else
#include <QLocalServer>
#endif
#include <QMessageBox>
#include <QProcess>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace
{
#ifdef Q_OS_UNIX
// A started component gets standard input, output and error and nothing else: not the X
// connection, not the single-instance socket, not a descriptor that whoever started the launcher
// left open. Qt 6.4 closes only what it opened itself and runs no child-process hook for detached
// starts, so every descriptor above the standard three is marked close-on-exec here, just before
// the start. The launcher never hands a descriptor to a child on purpose.
void closeOnExecAboveStandardStreams()
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

// Whether `path` is a link that leads round in a circle (or through too many links).
bool isLinkLoop(const QString &path)
{
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) != 0 && errno == ELOOP;
}
#else
void closeOnExecAboveStandardStreams() { }
bool isLinkLoop(const QString &)
{
    return false;
}
#endif
} // namespace

void QtPlatformServices::showMessage(const QString &text, const QString &title, MessageIcon icon)
{
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Warning,
                    title.isEmpty() ? appInfo().title : title, text, QMessageBox::Ok);
    // Paths may hold "<" or "&"; the text is shown exactly as composed.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

AppInfo QtPlatformServices::appInfo() const
{
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    QString directory = exe.canonicalPath();
    if (directory.isEmpty()) {
        directory = exe.absolutePath();
    }
    // The root folder is the one place where a directory would end with a separator.
    if (directory.endsWith(u'/')) {
        directory.chop(1);
    }
    return {exe.completeBaseName(),
            directory,
            AppIdentity::title.toString(),
            KK_VERSION_MAJOR,
            KK_VERSION_MINOR,
            KK_VERSION_PATCH,
            AppIdentity::copyright.toString()};
}

QString QtPlatformServices::instanceKey(const QString &canonicalExePath)
{
#ifdef Q_OS_UNIX
    const QString user = QString::number(::getuid());
#else
    const QString user = qEnvironmentVariable("USERNAME");
#endif
    const QByteArray hash
        = QCryptographicHash::hash(canonicalExePath.toUtf8(), QCryptographicHash::Sha256);
    return u"kestrelkit-launcher-"_s + user + u'-' + QString::fromLatin1(hash.toHex().left(24));
}

#if defined(Q_OS_LINUX)
// A listening socket in Linux's abstract namespace: no file is written, and the kernel releases the
// name when this process ends however it ends, so a crashed copy never blocks the next start. A
// copy that is stopped but alive still holds it. Plain sockets, so that starting needs no network
// library.
class QtPlatformServices::InstanceToken
{
public:
    explicit InstanceToken(const QString &key)
    {
        m_socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (m_socket < 0) {
            return;
        }
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        const QByteArray name = key.toUtf8().left(sizeof(address.sun_path) - 1);
        // A leading NUL byte puts the name in the abstract namespace.
        std::memcpy(address.sun_path + 1, name.constData(), name.size());
        const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size());
        if (::bind(m_socket, reinterpret_cast<const sockaddr *>(&address), length) == 0) {
            m_held = ::listen(m_socket, 1) == 0;
        } else {
            m_taken = errno == EADDRINUSE;
        }
    }
    ~InstanceToken()
    {
        if (m_socket >= 0) {
            ::close(m_socket);
        }
    }
    Q_DISABLE_COPY_MOVE(InstanceToken)

    // Another process holds the name.
    bool takenElsewhere() const { return m_taken; }

private:
    int m_socket = -1;
    bool m_held = false;
    bool m_taken = false;
};
#else
class QtPlatformServices::InstanceToken
{
public:
    explicit InstanceToken(const QString &key)
    {
        m_server.setSocketOptions(QLocalServer::AbstractNamespaceOption);
        m_taken
            = !m_server.listen(key) && m_server.serverError() == QAbstractSocket::AddressInUseError;
    }
    bool takenElsewhere() const { return m_taken; }

private:
    QLocalServer m_server;
    bool m_taken = false;
};
#endif

QtPlatformServices::QtPlatformServices() = default;
QtPlatformServices::~QtPlatformServices() = default;

bool QtPlatformServices::previousInstance()
{
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    const QString path
        = exe.canonicalFilePath().isEmpty() ? exe.absoluteFilePath() : exe.canonicalFilePath();
    m_instanceToken = std::make_unique<InstanceToken>(instanceKey(path));
    return m_instanceToken->takenElsewhere();
}

void QtPlatformServices::startProgram(const QString &path)
{
    if (path.contains(QChar(0))) {
        // The system would take the name only up to the NUL byte and start some other file.
        throw RuntimeError::withPath(RuntimeError::BadFileName, path);
    }
    QProcess process;
    process.setProgram(path);
    process.setArguments({});
    qint64 pid = 0;
    closeOnExecAboveStandardStreams();
    if (process.startDetached(&pid)) {
        return;
    }
    // Say in the user's terms why the file did not start.
    const QFileInfo info(path);
    if (isLinkLoop(path)) {
        throw RuntimeError::withPath(RuntimeError::PathFileAccessError, u"a loop of links"_s, path);
    }
    if (!info.exists()) {
        throw RuntimeError::withPath(RuntimeError::FileNotFound, path);
    }
    if (info.isDir()) {
        throw RuntimeError::withPath(RuntimeError::PathFileAccessError,
                                     u"a folder, not a program"_s, path);
    }
    if (!info.isExecutable()) {
        throw RuntimeError::withPath(RuntimeError::PermissionDenied, u"not executable"_s, path);
    }
    QString reason = process.errorString();
    const qsizetype colon = reason.indexOf(u": "_s);
    if (reason.startsWith(u"exec"_s) && colon > 0) {
        reason = reason.mid(colon + 2);
    }
    if (reason == u"No such file or directory"_s) {
        // The file is there, so what is missing is the interpreter or loader it names.
        reason = u"its interpreter or loader was not found"_s;
    }
    throw RuntimeError::withPath(RuntimeError::PathFileAccessError, reason, path);
}

void QtPlatformServices::openUrl(const QUrl &url)
{
    QDesktopServices::openUrl(url);
}
