#pragma once

#include "platform/programstart.h"

// Shared by both implementations. What the file at `path` tells of why it cannot be started; and
// why the program at `path` did not start, in the user's terms, from what the file is now and Qt's
// words for the failure. `linkLoop` says whether the path leads round in a circle of links, which
// each implementation finds out in its own way.
FileProblem programFileProblem(const QString &path, bool linkLoop);
StartResult explainFailedStart(const QString &path, bool linkLoop, const QString &qtReason);
