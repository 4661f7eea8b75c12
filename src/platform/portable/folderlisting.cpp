#include "platform/folderlisting.h"

#include <QDirIterator>
#include <QFileInfo>

bool listSubFolders(const QString &directory, QStringList &names)
{
    names.clear();
    // QDirIterator says nothing of a folder it cannot open; it lists nothing then, so the one
    // failure the caller can act on is found first.
    const QFileInfo folder(directory);
    if (!folder.isDir() || !folder.isReadable()) {
        return false;
    }
    // Hidden folders count as any other, and a link to a folder is followed.
    QDirIterator it(directory, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        if (it.fileInfo().isDir()) {
            names.append(it.fileName());
        }
    }
    return true;
}
