#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The names of the sub-folders of `directory` (links to folders included), in the order the
// system lists them: one listing, with a status taken only for entries whose type the listing
// does not tell. Returns false, with nothing listed, when the folder cannot be opened.
bool listSubFolders(const QString &directory, QStringList &names);

// Looks files up in the sub-folders of a folder held open, relative to it rather than by walking
// the whole path again for each. Safe to use from several threads at once.
class SubFolderFiles
{
public:
    SubFolderFiles(const QString &directory, const QString &fileName);
    ~SubFolderFiles();
    Q_DISABLE_COPY_MOVE(SubFolderFiles)

    // Whether sub-folder `folder` holds the file as a plain file: a regular file, or a link to one.
    bool holdsPlainFile(const QString &folder) const;

private:
    QString m_directory;
    QString m_fileName;
    QByteArray m_file;
    int m_fd = -1;
};
