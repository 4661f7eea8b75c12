#include "catalogue/discovery.h"

#include "catalogue/fileexists.h"
#include "catalogue/int16.h"
#include "catalogue/runtimeerror.h"
#include "platform/folderlisting.h"

#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

QStringList subFolderNames(const QString &directory)
{
    const QFileInfo info(directory);
    if (!info.isDir()) {
        throw RuntimeError::withPath(RuntimeError::PathNotFound, directory);
    }
    if (!info.isReadable() || !info.isExecutable()) {
        throw RuntimeError::withPath(RuntimeError::PermissionDenied, directory);
    }
    QStringList names;
    if (!listSubFolders(directory, names)) {
        throw RuntimeError::withPath(RuntimeError::PathFileAccessError, directory);
    }
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return names;
}

QStringList componentFolders(const QString &directory, const QString &fileName, MessageSink &sink)
{
    const QStringList names = subFolderNames(directory);
    QList<bool> holds;
    holds.reserve(names.size());
    for (const QString &name : names) {
        holds.append(holdsFile(directory, name, fileName, sink));
    }
    return componentList(names, holds);
}

bool holdsFile(const QString &directory, const QString &name, const QString &fileName,
               MessageSink &sink)
{
    return fileExists(directory + u'/' + name + u'/' + fileName, sink);
}

QStringList componentList(const QStringList &names, const QList<bool> &holds)
{
    QStringList list;
    qint16 count = 0;
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (holds.at(i)) {
            list.append(names.at(i));
            count = add16(count, 1);
        }
    }
    if (count == 0) {
        list = {u"NIL"_s, u"NIL"_s};
    }
    return list;
}

bool isNoComponentsMarker(const QStringList &list)
{
    return list.size() == 2 && list.at(0) == u"NIL" && list.at(1) == u"NIL";
}

void showNoComponentsBox(MessageSink &sink)
{
    sink.showMessage(u"WARNING: no components were found.\r\n"
                     "Make sure that the components were installed properly."_s,
                     u"No Components Found..."_s, MessageIcon::Exclamation);
}
