#pragma once

// What stands between the launcher and a file it reads or starts. The catalogue turns each into
// the run-time error the user reads.
enum class FileProblem {
    None,
    NotFound,
    PermissionDenied,
    LinkLoop, // links that lead round in a circle, or through too many links
    NotPlain, // a FIFO, a socket, a device or a folder where a plain file was wanted
    Folder, // a folder where a program was wanted
    NotExecutable,
    BadFileName, // a name no file can have, such as one holding a NUL character
    TooLarge,
    ReadFailed,
    OpenFailed,
    Other, // the system's own words say what
};
