#pragma once

#include <QString>

// Why a program did not start.
enum class StartFailure {
    None,
    BadFileName, // a name no file can have: the system would start some other file
    LinkLoop,
    NotFound,
    Folder,
    NotExecutable,
    Other, // `reason` says what the system said
};

struct StartResult {
    StartFailure failure = StartFailure::None;
    QString reason;
};

// Starts the program at `path` detached: its path is the only entry of its argument vector, with
// no shell and no search of PATH, in the current directory. It gets standard input, output and
// error and no other descriptor of the launcher's.
StartResult startProgram(const QString &path);
