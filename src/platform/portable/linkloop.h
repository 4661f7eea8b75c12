#pragma once

#include <QString>

// Whether `path` is a link that leads round in a circle, or through more links than a system
// follows. QFileInfo tells such a link only as a file that does not exist, which would send the
// user looking for a file that is there.
bool isLinkLoop(const QString &path);
