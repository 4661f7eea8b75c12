#include "catalogue/fileexists.h"

#include "catalogue/runtimeerror.h"
#include "platform/plainfile.h"

#include <QCoreApplication>

#include <QDirIterator>

using namespace Qt::StringLiterals;

bool matchesWildcard(QStringView pattern, QStringView name, Qt::CaseSensitivity cs)
{
    // Greedy match with one back-track point: the last "*" seen and where it began to match.
    qsizetype p = 0;
    qsizetype n = 0;
    qsizetype star = -1;
    qsizetype starMatch = 0;
    const auto same = [cs](QChar a, QChar b) {
        return cs == Qt::CaseSensitive ? a == b : a.toCaseFolded() == b.toCaseFolded();
    };
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            starMatch = n;
        } else if (p < pattern.size() && (pattern[p] == u'?' || same(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (star >= 0) {
            p = star + 1;
            n = ++starMatch;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') {
        ++p;
    }
    return p == pattern.size();
}

namespace
{
bool isPlainEntry(const QString &path)
{
    return !isHiddenFile(path) && isPlainFile(path);
}
} // namespace

QString findFirstEntry(const QString &path)
{
    if (path.contains(QChar(0))) {
        throw RuntimeError::forFile(FileProblem::BadFileName, path);
    }
    const qsizetype slash = path.lastIndexOf(u'/');
    QStringView pattern = QStringView(path).sliced(slash + 1);
    if (pattern.isEmpty()) {
        pattern = u"*";
    }

    if (!pattern.contains(u'*') && !pattern.contains(u'?')) {
        // One stat instead of a listing: the common case, a descriptor or an executable.
        return isPlainEntry(path) ? pattern.toString() : QString();
    }
    const QString folder = slash < 0 ? u"."_s : (slash == 0 ? u"/"_s : path.left(slash));

    // Patterns match regardless of letter case, as a directory search does on the systems the
    // descriptors are written for; a name without wildcards is looked up exactly instead.
    // Without QDir::System the iterator leaves out FIFOs, sockets, devices and dangling links,
    // and without QDir::Hidden it leaves out hidden files.
    QDirIterator it(folder, QDir::Files | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        // The filter lets through a link to a FIFO or a device; the link's target decides.
        if (matchesWildcard(pattern, name, Qt::CaseInsensitive) && isPlainEntry(it.filePath())) {
            return name;
        }
    }
    return {};
}

bool fileExists(const QString &path, MessageSink &sink)
{
    try {
        return !findFirstEntry(path).isEmpty();
    } catch (const RuntimeError &error) {
        reportSearchFailure(sink, path, error);
    }
    return false;
}

void reportSearchFailure(MessageSink &sink, const QString &path, const RuntimeError &error)
{
    //: %1 is the path looked for, %2 what went wrong.
    sink.showMessage(
        QCoreApplication::translate("FileExists", "Error determining file exist --> %1::%2")
            .arg(path, error.description()),
        QString(), MessageIcon::Critical);
}
