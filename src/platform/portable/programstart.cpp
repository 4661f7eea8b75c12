#include "platform/programstart.h"

#include "platform/portable/linkloop.h"
#include "platform/startfailure.h"

#include <QProcess>

FileProblem programFileProblem(const QString &path)
{
    return programFileProblem(path, !path.contains(QChar(0)) && isLinkLoop(path));
}

// What this layer cannot promise through Qt alone: that the component gets no descriptor or
// handle of the launcher's beyond the standard three. Qt marks what it opens itself as not to be
// inherited, but a descriptor that whoever started the launcher left open, or that a library
// opened without that mark, passes on to the component; only the POSIX layer closes those. On
// Windows a batch file (.cmd, .bat) is started by the system through its command interpreter,
// whatever the caller asks; every other program is started directly.
StartResult startProgram(const QString &path)
{
    if (path.contains(QChar(0))) {
        // The system would take the name only up to the NUL byte.
        return {FileProblem::BadFileName, {}};
    }
    QProcess process;
    process.setProgram(path);
    process.setArguments({});
    qint64 pid = 0;
    if (process.startDetached(&pid)) {
        return {};
    }
    return explainFailedStart(path, isLinkLoop(path), process.errorString());
}
