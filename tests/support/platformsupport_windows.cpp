#include "support/platformsupport.h"

using namespace Qt::StringLiterals;

// A batch file is the program Windows runs without anything built for it; it needs its ending.
QString programName(const QString &base)
{
    return base + u".cmd"_s;
}

QByteArray markerProgram(const QString &marker, const QString &word)
{
    QByteArray script = "@echo off\r\n";
    if (!marker.isEmpty()) {
        // Quoted whole, so that blanks and most special characters in either stay literal.
        script += "echo " + word.toLocal8Bit() + ">>\"" + marker.toLocal8Bit() + "\"\r\n";
    }
    return script;
}

// No FIFOs here, and links only for those who may make them.
bool makeFifo(const QString &)
{
    return false;
}

bool makeSymlink(const QString &, const QString &)
{
    return false;
}

bool runsAsSuperuser()
{
    return false;
}

qint64 peakMemoryKiB()
{
    return -1;
}
