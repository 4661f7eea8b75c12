#include "support/platformsupport.h"

#include <QFile>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

QString programName(const QString &base)
{
    return base + u".sh"_s;
}

QByteArray markerProgram(const QString &marker, const QString &word)
{
    const auto quoted = [](QString text) {
        return "'" + text.replace(u"'"_s, u"'\\''"_s).toUtf8() + "'";
    };
    QByteArray script = "#!/bin/sh\n";
    if (!marker.isEmpty()) {
        script += "printf '%s\\n' " + quoted(word) + " >> " + quoted(marker) + "\n";
    }
    return script;
}

bool makeFifo(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}

bool makeSymlink(const QString &target, const QString &path)
{
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData())
        == 0;
}

bool runsAsSuperuser()
{
    return ::geteuid() == 0;
}

qint64 peakMemoryKiB()
{
    rusage usage = {};
    return ::getrusage(RUSAGE_SELF, &usage) == 0 ? qint64(usage.ru_maxrss) : -1;
}
