#pragma once

#include <QByteArray>
#include <QString>

// What tests do differently from one system to another: the small programs a test starts, the
// files that only some systems have, and what a test measures of its own process. Where the
// system has no FIFOs or links, their makers return false, and the test skips what needs them.

// The name of a fixture program called `base`, with the ending the system needs to run it.
QString programName(const QString &base);
// The text of a program that appends `word` and a line end to the file `marker` when given, and
// otherwise does nothing, written so that the system runs it directly.
QByteArray markerProgram(const QString &marker, const QString &word);

// A FIFO at `path`.
bool makeFifo(const QString &path);
// A symbolic link at `path` to `target`, written exactly as given, relative or not.
bool makeSymlink(const QString &target, const QString &path);
// The tests run with the power to ignore file permissions.
bool runsAsSuperuser();
// The most memory this process has held at once so far, in KiB; -1 where the system does not say.
qint64 peakMemoryKiB();
