#pragma once

#include "platform/fileproblem.h"

#include <QString>

// Why a program did not start: FileProblem::None when it did, with the system's words in `reason`
// for FileProblem::Other.
struct StartResult {
    FileProblem problem = FileProblem::None;
    QString reason;
};

// Starts the program at `path` detached: its path is the only entry of its argument vector, with
// no shell and no search of PATH, in the current directory. It gets standard input, output and
// error and no other descriptor of the launcher's.
StartResult startProgram(const QString &path);

// What the file at `path` tells, without starting it, of why it could not be started: a name no
// file can have, a loop of links, no file, a folder or no permission to execute; None when none
// of these stands in the way. The reasons startProgram gives for a start that failed.
FileProblem programFileProblem(const QString &path);
