#pragma once

#include <QString>
#include <QStringList>

// The names of the sub-folders of `directory` (links to folders included), in the order the
// system lists them. Returns false, with nothing listed, when the folder cannot be opened.
bool listSubFolders(const QString &directory, QStringList &names);
