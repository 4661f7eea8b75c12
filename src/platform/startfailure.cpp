#include "platform/startfailure.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

FileProblem programFileProblem(const QString &path, bool linkLoop)
{
    if (path.contains(QChar(0))) {
        // The system would take the name only up to the NUL byte.
        return FileProblem::BadFileName;
    }
    if (linkLoop) {
        return FileProblem::LinkLoop;
    }
    const QFileInfo info(path);
    if (!info.exists()) {
        return FileProblem::NotFound;
    }
    if (info.isDir()) {
        return FileProblem::Folder;
    }
    if (!info.isExecutable()) {
        return FileProblem::NotExecutable;
    }
    return FileProblem::None;
}

StartResult explainFailedStart(const QString &path, bool linkLoop, const QString &qtReason)
{
    if (const FileProblem problem = programFileProblem(path, linkLoop);
        problem != FileProblem::None) {
        return {problem, {}};
    }
    QString reason = qtReason;
    const qsizetype colon = reason.indexOf(u": "_s);
    if (reason.startsWith(u"exec"_s) && colon > 0) {
        reason = reason.mid(colon + 2);
    }
    if (reason == u"No such file or directory"_s) {
        // The file is there, so what is missing is the interpreter or loader it names.
        reason = u"its interpreter or loader was not found"_s;
    }
    return {FileProblem::Other, reason};
}
