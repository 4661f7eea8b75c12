#pragma once

#include <QByteArray>
#include <QString>

// What fixtures make differently from one system to another: the small programs a test starts,
// and the files that only some systems have. Where the system has no FIFOs or links, their makers
// return false, and the test skips what needs them.

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
