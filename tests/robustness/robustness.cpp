#include "robustness.h"
#include "support/slowdown.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <cerrno>

#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

QStringList LoadReport::folders() const
{
    QStringList list;
    for (const Component &component : components) {
        list.append(component.folder);
    }
    return list;
}

const LoadReport::Component *LoadReport::component(const QString &folder) const
{
    for (const Component &component : components) {
        if (component.folder == folder) {
            return &component;
        }
    }
    return nullptr;
}

LoadReport runLoad(const QString &directory, const QStringList &prefix, int boundSeconds)
{
    LoadReport report;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    process.setProcessEnvironment(environment);
    QStringList command = prefix;
    command << QStringLiteral(KK_LOADREPORT) << directory;
    process.setProgram(command.takeFirst());
    process.setArguments(command);
    process.start();
    if (!process.waitForFinished(slowed(boundSeconds * 1000))) {
        process.kill();
        process.waitForFinished(slowed(10000));
        report.failure = u"start-up did not end within %1 s (blocked?)"_s.arg(boundSeconds);
        return report;
    }
    const QString errors = QString::fromLocal8Bit(process.readAllStandardError()).right(4000);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        report.failure
            = u"start-up crashed or failed (exit %1): %2"_s.arg(process.exitCode()).arg(errors);
        return report;
    }
    const QJsonObject json = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    if (json.isEmpty()) {
        report.failure = u"no report: "_s + errors;
        return report;
    }
    for (const QJsonValue &value : json.value(u"boxes"_s).toArray()) {
        const QJsonObject box = value.toObject();
        report.boxes.append(
            {box.value(u"text"_s).toString(), box.value(u"title"_s).toString(),
             box.value(u"critical"_s).toBool() ? MessageIcon::Critical : MessageIcon::Exclamation});
    }
    for (const QJsonValue &value : json.value(u"components"_s).toArray()) {
        const QJsonObject component = value.toObject();
        report.components.append(
            {component.value(u"folder"_s).toString(), component.value(u"visible"_s).toBool(),
             component.value(u"enabled"_s).toBool(), component.value(u"described"_s).toBool()});
    }
    report.laterBoxes = json.value(u"laterBoxes"_s).toBool();
    report.buttons = json.value(u"buttons"_s).toInteger();
    report.downEnabled = json.value(u"downEnabled"_s).toBool();
    report.peakKb = json.value(u"peakKb"_s).toInteger();
    report.finished = true;
    return report;
}

qint64 emptySuitePeakKb()
{
    static const qint64 peak = [] {
        QTemporaryDir empty;
        const LoadReport report = runLoad(empty.path());
        return report.finished ? report.peakKb : -1;
    }();
    return peak;
}

bool memoryFiguresMeaningful()
{
#if defined(__SANITIZE_ADDRESS__)
    return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return false;
#else
    return true;
#endif
#else
    return true;
#endif
}

void writeRepeated(const QString &path, const QByteArray &head, const QByteArray &chunk,
                   qint64 count, const QByteArray &tail)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qFatal("cannot write %s", qPrintable(path));
    }
    file.write(head);
    if (!chunk.isEmpty()) {
        const qint64 perBlock = qMax<qint64>(1, (1024 * 1024) / chunk.size());
        const QByteArray block = chunk.repeated(perBlock);
        qint64 left = count;
        for (; left >= perBlock; left -= perBlock) {
            file.write(block);
        }
        file.write(chunk.repeated(left));
    }
    file.write(tail);
}

int makeListeningSocket(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    if (name.size() >= qsizetype(sizeof address.sun_path)) {
        return -1;
    }
    address.sun_family = AF_UNIX;
    std::copy(name.begin(), name.end(), address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
        || ::listen(fd, 4) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

OpenWatch::OpenWatch(const QStringList &paths)
    : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    for (const QString &path : paths) {
        const int watch = ::inotify_add_watch(m_fd, QFile::encodeName(path).constData(),
                                              IN_OPEN | IN_DONT_FOLLOW);
        if (watch < 0) {
            qFatal("cannot watch %s", qPrintable(path));
        }
        m_paths.insert(watch, path);
    }
}

OpenWatch::~OpenWatch()
{
    ::close(m_fd);
}

QStringList OpenWatch::opened()
{
    QStringList list;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t length = ::read(m_fd, buffer, sizeof buffer);
        if (length <= 0) {
            break;
        }
        for (ssize_t at = 0; at < length;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            const QString watched = m_paths.value(event->wd);
            list.append(event->len > 0 ? watched + u'/' + QFile::decodeName(event->name) : watched);
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    return list;
}

QList<ProbeStart> readProbeReport(const QString &path)
{
    QList<ProbeStart> starts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return starts;
    }
    const auto unescaped = [](QString text) {
        QString out;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i) == u'\\' && i + 1 < text.size()) {
                out += text.at(++i) == u'n' ? u'\n' : text.at(i);
            } else {
                out += text.at(i);
            }
        }
        return out;
    };
    ProbeStart current;
    for (const QByteArray &raw : file.readAll().split('\n')) {
        const QString line = QFile::decodeName(raw);
        if (line == u"start") {
            current = {};
        } else if (line.startsWith(u"arg "_s)) {
            current.arguments.append(unescaped(line.mid(4)));
        } else if (line.startsWith(u"fd "_s)) {
            const qsizetype space = line.indexOf(u' ', 3);
            current.descriptors.insert(line.mid(3, space - 3).toInt(),
                                       unescaped(line.mid(space + 1)));
        } else if (line == u"end") {
            starts.append(current);
        }
    }
    return starts;
}

bool installProbe(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path);
    return QFile::copy(QStringLiteral(KK_PROBE), path)
        && QFile::setPermissions(path,
                                 QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                     | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                                     | QFileDevice::ExeGroup | QFileDevice::ReadOther
                                     | QFileDevice::ExeOther);
}

void writeDecoy(const QString &path, const QString &pwned)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qFatal("cannot write %s", qPrintable(path));
    }
    QString quoted = pwned;
    quoted.replace(u"'"_s, u"'\\''"_s);
    file.write("#!/bin/sh\ntouch '" + QFile::encodeName(quoted) + "'\n");
    file.close();
    QFile::setPermissions(path,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                              | QFileDevice::ReadOther | QFileDevice::ExeOther);
}

int openDescriptorCount()
{
    // The listing's own descriptor is among the entries; it is there every time, so counts compare.
    return int(QDir(u"/proc/self/fd"_s)
                   .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                   .size());
}

int zombieChildren()
{
    const QString self = QString::number(QCoreApplication::applicationPid());
    int zombies = 0;
    const QStringList entries = QDir(u"/proc"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool isPid = false;
        entry.toInt(&isPid);
        if (!isPid) {
            continue;
        }
        QFile stat(u"/proc/"_s + entry + u"/stat"_s);
        if (!stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        // "pid (name) state ppid ...": the name may hold blanks and parentheses, so read after the
        // last ")".
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields.at(0) == "Z" && QString::fromLatin1(fields.at(1)) == self) {
            ++zombies;
        }
    }
    return zombies;
}

Unprivileged unprivilegedRunner()
{
    Unprivileged runner;
    if (::geteuid() != 0) {
        runner.available = true;
        return runner;
    }
    // The candidate must really be refused a file that only its owner, root, may read.
    QTemporaryDir dir;
    openUpForOthers(dir.path());
    const QString secret = dir.filePath(u"secret"_s);
    QFile file(secret);
    if (!file.open(QIODevice::WriteOnly)) {
        runner.reason = u"cannot write a fixture"_s;
        return runner;
    }
    file.close();
    QFile::setPermissions(secret, {});
    const QList<QStringList> candidates = {
        {u"setpriv"_s, u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s, u"--"_s},
        {u"unshare"_s, u"--user"_s, u"--"_s},
    };
    for (const QStringList &candidate : candidates) {
        QProcess probe;
        QStringList arguments = candidate.mid(1);
        arguments << u"/bin/sh"_s << u"-c"_s << u"test -x \"$1\" && ! cat \"$2\" 2>/dev/null"_s
                  << u"sh"_s << QStringLiteral(KK_LOADREPORT) << secret;
        probe.start(candidate.first(), arguments);
        if (probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit
            && probe.exitCode() == 0) {
            runner.available = true;
            runner.prefix = candidate;
            return runner;
        }
    }
    runner.reason
        = u"running as root, and neither setpriv nor unshare --user can drop the privilege"_s;
    return runner;
}

void openUpForOthers(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status = {};
    if (::stat(name.constData(), &status) == 0) {
        ::chmod(name.constData(), (status.st_mode & 07777) | 0755);
    }
}
