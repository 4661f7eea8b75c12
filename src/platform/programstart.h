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
