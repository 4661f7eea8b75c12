#include "fuzzcheck.h"

#include <QDir>
#include <QTemporaryDir>

QString scratchFile(const char *name)
{
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/kk-fuzz-XXXXXX"));
    if (!folder.isValid()) {
        std::fprintf(stderr, "cannot make a scratch folder\n");
        std::abort();
    }
    return folder.filePath(QString::fromLatin1(name));
}
