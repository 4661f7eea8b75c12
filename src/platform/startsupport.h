#pragma once

#include <QString>

// What each implementation gives the start of a program that both share.

// Whether `path` is a link that leads round in a circle, or through more links than a system
// follows. QFileInfo tells such a link only as a file that does not exist, which would send the
// user looking for a file that is there.
bool isLinkLoop(const QString &path);

// Keeps the launcher's descriptors or handles, other than standard input, output and error, from
// the program about to be started, as far as the implementation can.
void keepDescriptorsFromChild();
