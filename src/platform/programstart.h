#pragma once

#include "platform/fileproblem.h"

#include <QList>
#include <QString>

#include <utility>

// Why a program did not start: FileProblem::None when it did, with the system's words in `reason`
// for FileProblem::Other.
struct StartResult {
    FileProblem problem = FileProblem::None;
    QString reason;
};

// Entries made for one start, name and value, that the program finds in its environment.
using StartEnvironment = QList<std::pair<QString, QString>>;

// Starts the program at `path` detached: its path is the only entry of its argument vector, with
// no shell and no search of PATH, in the current directory. It gets standard input, output and
// error and no other descriptor of the launcher's. Its environment is the launcher's with `own`
// added, less the start-up notification ID and activation token the launcher was itself started
// with: those were the launcher's, and a desktop would take them for the program's.
StartResult startProgram(const QString &path, const StartEnvironment &own = {});

// What the file at `path` tells, without starting it, of why it could not be started: a name no
// file can have, a loop of links, no file, a folder or no permission to execute; None when none
// of these stands in the way. The reasons startProgram gives for a start that failed.
FileProblem programFileProblem(const QString &path);
