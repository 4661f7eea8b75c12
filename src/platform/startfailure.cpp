#include "platform/startfailure.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

StartResult explainFailedStart(const QString &path, bool linkLoop, const QString &qtReason)
{
    const QFileInfo info(path);
    if (linkLoop) {
        return {FileProblem::LinkLoop, {}};
    }
    if (!info.exists()) {
        return {FileProblem::NotFound, {}};
    }
    if (info.isDir()) {
        return {FileProblem::Folder, {}};
    }
    if (!info.isExecutable()) {
        return {FileProblem::NotExecutable, {}};
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
