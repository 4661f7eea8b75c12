#include "platform/programstart.h"

#include "platform/startsupport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

using namespace Qt::StringLiterals;

namespace
{
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

// Why the program at `path` did not start, in the user's terms, from what the file is now and Qt's
// words for the failure.
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
        reason = QCoreApplication::translate("RuntimeError",
                                             "its interpreter or loader was not found");
    }
    return {FileProblem::Other, reason};
}
} // namespace

FileProblem programFileProblem(const QString &path)
{
    return programFileProblem(path, !path.contains(QChar(0)) && isLinkLoop(path));
}

StartResult startProgram(const QString &path, const StartEnvironment &own)
{
    if (path.contains(QChar(0))) {
        // Not even tried: the system would start another file than the one named.
        return {FileProblem::BadFileName, {}};
    }
    QProcess process;
    process.setProgram(path);
    process.setArguments({});
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"XDG_ACTIVATION_TOKEN"_s);
    environment.remove(u"DESKTOP_STARTUP_ID"_s);
    for (const auto &[name, value] : own) {
        environment.insert(name, value);
    }
    process.setProcessEnvironment(environment);
    qint64 pid = 0;
    keepDescriptorsFromChild();
    if (process.startDetached(&pid)) {
        return {};
    }
    return explainFailedStart(path, isLinkLoop(path), process.errorString());
}
