#pragma once

#include "catalogue/messagesink.h"
#include "catalogue/runtimeerror.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

// The immediate sub-folders of `directory` (links to folders included), in the order a user
// expects from a file manager: by name regardless of letter case, ties by the exact name.
// Raises a RuntimeError when the folder cannot be listed.
QStringList subFolderNames(const QString &directory);

// What looking through a suite folder for its components met, kept so that a start-up on any
// thread, and the check of a suite, each tell it in their own way and at their own time.
struct Discovery {
    // A box the search showed, and the sub-folder it concerns.
    struct Box {
        qsizetype folder = 0; // an index into subFolders
        QString text;
        QString title;
        MessageIcon icon = MessageIcon::Critical;
    };

    QStringList subFolders; // every immediate sub-folder, in order
    QList<bool> holdsFile; // for each sub-folder looked into, whether it holds the file
    QList<Box> boxes;
    std::optional<RuntimeError> failure; // what stopped the search
    // The component list: every sub-folder that holds the file, or exactly two entries "NIL" when
    // none does; empty after a failure.
    QStringList list;

    // The component list, once the boxes are shown on `sink`; raises the failure again.
    QStringList componentList(MessageSink &sink) const;
};

// Looks through every immediate sub-folder of `directory`, in the order of subFolderNames, for
// `fileName` as a plain file. A sub-folder whose search fails shows its box and counts as not
// holding it; a folder that cannot be listed, or more components than the 16-bit count holds,
// stops the search. `found`, when given, learns each component folder as soon as it is known,
// so that reading it can begin before the search ends; it returns false to end the search there,
// when nobody will take what it finds.
Discovery discoverComponents(const QString &directory, const QString &fileName,
                             const std::function<bool(const QString &)> &found = {});

// The component list of `directory`, with the boxes finding it shows on `sink`; raises what
// stopped the search.
QStringList componentFolders(const QString &directory, const QString &fileName, MessageSink &sink);

// Whether a component list is the marker for "no component found". Only the exact two-entry
// marker counts, so that a component folder which happens to be named NIL is listed like any other.
bool isNoComponentsMarker(const QStringList &list);

// The warning box for a folder in which no component was found.
void showNoComponentsBox(MessageSink &sink);
