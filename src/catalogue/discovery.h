#pragma once

#include "catalogue/messagesink.h"

#include <QStringList>

// The immediate sub-folders of `directory` (links to folders included), in the order a user
// expects from a file manager: by name regardless of letter case, ties by the exact name.
// Raises a RuntimeError when the folder cannot be listed.
QStringList subFolderNames(const QString &directory);

// The component list: every immediate sub-folder of `directory` that holds `fileName` as a plain
// file, in the order of subFolderNames, or exactly two entries "NIL" when none qualifies.
// Raises a RuntimeError when the folder cannot be listed or the 16-bit count overflows.
QStringList componentFolders(const QString &directory, const QString &fileName, MessageSink &sink);

// The two halves of componentFolders, for finding components several folders at a time. Whether
// sub-folder `name` of `directory` holds `fileName` (a failed search is reported on `sink` and
// counts as no), and the component list made of the `names` for which `holds` is true.
bool holdsFile(const QString &directory, const QString &name, const QString &fileName,
               MessageSink &sink);
QStringList componentList(const QStringList &names, const QList<bool> &holds);

// Whether a component list is the marker for "no component found". Only the exact two-entry
// marker counts, so that a component folder which happens to be named NIL is listed like any other.
bool isNoComponentsMarker(const QStringList &list);

// The warning box for a folder in which no component was found.
void showNoComponentsBox(MessageSink &sink);
