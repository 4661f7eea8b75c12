#include "discovery.h"

#include "fileexists.h"
#include "folderlisting.h"
#include "int16.h"
#include "runtimeerror.h"

#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <exception>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace
{
// A name the listing can look up itself: one plain, visible file name, no pattern.
bool isPlainFileName(const QString &fileName)
{
    return !fileName.isEmpty() && !fileName.startsWith(u'.') && !fileName.contains(u'/')
        && !fileName.contains(u'*') && !fileName.contains(u'?') && !fileName.contains(QChar(0));
}

// Whether each folder holds the file. Each look-up waits on the file system, so a long list is
// shared among threads.
QList<bool> holdingFile(const QString &directory, const QStringList &folders,
                        const QString &fileName)
{
    const SubFolderFiles files(directory, fileName);
    QList<bool> holds(folders.size(), false);
    constexpr qsizetype perThread = 2000;
    const qsizetype threads = std::clamp<qsizetype>(
        std::min<qsizetype>(QThread::idealThreadCount(), folders.size() / perThread), 1, 4);
    const qsizetype share = (folders.size() + threads - 1) / threads;
    // Each part keeps what it raised, to be raised again here once every thread has ended.
    std::vector<std::exception_ptr> failures(size_t(threads), nullptr);
    const auto check = [&](qsizetype part, qsizetype from, qsizetype to) {
        try {
            for (qsizetype i = from; i < to; ++i) {
                holds[i] = files.holdsPlainFile(folders.at(i));
            }
        } catch (...) {
            failures[size_t(part)] = std::current_exception();
        }
    };
    std::vector<std::thread> helpers;
    qsizetype unshared = folders.size(); // where the parts given to other threads end
    for (qsizetype t = 1; t < threads; ++t) {
        const qsizetype to = std::min(folders.size(), (t + 1) * share);
        try {
            helpers.emplace_back(check, t, t * share, to);
        } catch (const std::exception &) {
            // No thread to spare: this one checks the rest itself.
            unshared = t * share;
            break;
        }
        unshared = to;
    }
    check(0, 0, std::min(folders.size(), share));
    if (threads > 1 && unshared < folders.size()) {
        check(0, unshared, folders.size());
    }
    for (std::thread &helper : helpers) {
        helper.join();
    }
    for (const std::exception_ptr &failure : failures) {
        if (failure) {
            std::rethrow_exception(failure);
        }
    }
    return holds;
}
} // namespace

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
    QStringList list;
    qint16 count = 0;
    const QStringList names = subFolderNames(directory);
    if (isPlainFileName(fileName)) {
        const QList<bool> holds = holdingFile(directory, names, fileName);
        for (qsizetype i = 0; i < names.size(); ++i) {
            if (holds.at(i)) {
                list.append(names.at(i));
                count = add16(count, 1);
            }
        }
    } else {
        // A pattern is matched as a directory search matches it, folder by folder.
        for (const QString &name : names) {
            if (fileExists(directory + u'/' + name + u'/' + fileName, false, sink)) {
                list.append(name);
                count = add16(count, 1);
            }
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
