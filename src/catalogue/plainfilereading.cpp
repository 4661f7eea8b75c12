#include "catalogue/plainfilereading.h"

#include "catalogue/runtimeerror.h"
#include "platform/plainfile.h"

void openPlainFileForReading(QFile &file, const QString &path)
{
    if (const FileProblem problem = openPlainFile(file, path); problem != FileProblem::None) {
        throw RuntimeError::forFile(problem, path);
    }
}

bool readWholePlainFile(const QString &path, qint64 maxBytes, QByteArray &bytes)
{
    QString reason;
    const FileProblem problem = readPlainFile(path, maxBytes, bytes, &reason);
    if (problem == FileProblem::TooLarge) {
        return false;
    }
    if (problem != FileProblem::None) {
        throw RuntimeError::forFile(problem, path, reason);
    }
    return true;
}
