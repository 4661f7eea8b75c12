#pragma once

#include "platform/programstart.h"

// Why the program at `path` did not start, in the user's terms, from what the file is now and
// Qt's words for the failure. `linkLoop` says whether the path leads round in a circle of links,
// which each implementation finds out in its own way. Shared by both implementations.
StartResult explainFailedStart(const QString &path, bool linkLoop, const QString &qtReason);
