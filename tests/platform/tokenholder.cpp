// A process that takes the single-instance token for the token tests. Usage:
//   kk_tokenholder EXE-PATH [GO-FILE]
// Writes "ready", waits until GO-FILE exists (so that many holders try within a moment of each
// other), takes the token for EXE-PATH, writes "held" or "refused", and keeps what it took until
// its standard input closes or it is killed.

#include "platform/instancetoken.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2) {
        return 2;
    }
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    const QString go = arguments.value(2);
    while (!go.isEmpty() && !QFileInfo::exists(go)) {
        QThread::usleep(500);
    }
    const InstanceToken token(arguments.at(1));
    std::fputs(token.takenElsewhere() ? "refused\n" : "held\n", stdout);
    std::fflush(stdout);
    while (std::getchar() != EOF) { }
    return 0;
}
