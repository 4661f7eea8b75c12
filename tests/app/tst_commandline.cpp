// The command line of the real executable, run without a display: the suite check on fixture
// suites and on the demo suite, help, version, a bad option, and the window without a display.

#include "support/faultysuite.h"
#include "support/slowdown.h"
#include "support/suitebuilder.h"

#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace
{
QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

const QString noComponents = u"suite:0: warning: WARNING: no components were found. Make sure "
                             "that the components were installed properly.\n"_s;
} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void withoutDisplay_data();
    void withoutDisplay();
};

void TestCommandLine::withoutDisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    const QStringList check = {u"--check"_s, u"suite"_s};
    QTest::newRow("every finding")
        << check << u"faulty"_s << 1 << readAll(QFINDTESTDATA("faulty-suite.expected"));
    QTest::newRow("the demo suite is clean")
        << check << u"demo"_s << 0 << u"\n9 components, 0 errors, 1 warning\n"_s;
    QTest::newRow("empty folder") << check << u"empty"_s << 0
                                  << noComponents + u"0 components, 0 errors, 1 warning\n"_s;
    QTest::newRow("folder that cannot be listed")
        << check << u"closed"_s << 1
        << u"suite:0: error: Permission denied: suite\n0 components, 1 error, 0 warnings\n"_s;
    QTest::newRow("help") << QStringList{u"--help"_s} << QString() << 0 << u"  --check "_s;
    QTest::newRow("version") << QStringList{u"--version"_s} << QString() << 0
                             << u"kestrelkit-launcher 1.1.0\n"_s;
    QTest::newRow("unknown option") << QStringList{u"--chek"_s} << QString() << 2
                                    << u"kestrelkit-launcher: Unknown option 'chek'.\n\nUsage: "_s;
    QTest::newRow("no display") << QStringList() << QString() << 1
                                << u"no display to open the window on (neither DISPLAY nor "
                                   "WAYLAND_DISPLAY is set); start it on a desktop, or in a "
                                   "virtual one: xvfb-run -a "_s;
}

void TestCommandLine::withoutDisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, fixture);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QVERIFY(!output.isEmpty());
    SuiteBuilder builder;
    QStringList prefix;
    QString directory = builder.path();
    if (fixture == u"faulty") {
        writeFaultySuite(builder);
    } else if (fixture == u"demo") {
        directory = QFileInfo(QStringLiteral(KK_DEMO_SUITE)).path();
    } else if (fixture == u"empty" || fixture == u"closed") {
        builder.makeFolder(u"suite"_s);
    }
    const auto reopen = qScopeGuard([&builder] {
        QFile::setPermissions(builder.filePath(u"suite"_s),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                  | QFileDevice::ExeOwner);
    });
    if (fixture == u"closed") {
        QFile::setPermissions(builder.filePath(u"suite"_s), {});
        if (::geteuid() == 0) {
            // Root lists any folder; nobody does not.
            QFile::setPermissions(builder.path(),
                                  QFile::permissions(builder.path()) | QFileDevice::ExeOther
                                      | QFileDevice::ReadOther);
            prefix = {u"setpriv"_s, u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s,
                      u"--"_s};
        }
    }
    QProcess launcher;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s}) {
        environment.remove(name);
    }
    launcher.setProcessEnvironment(environment);
    launcher.setWorkingDirectory(directory);
    const QStringList command = prefix + QStringList{QStringLiteral(KK_LAUNCHER)} + arguments;
    launcher.start(command.first(), command.mid(1));
    QVERIFY2(launcher.waitForFinished(slowed(60000)), "the launcher did not end");
    const QString out = QString::fromUtf8(launcher.readAllStandardOutput());
    const QString err = QString::fromUtf8(launcher.readAllStandardError());
    QVERIFY2(launcher.exitStatus() == QProcess::NormalExit, qPrintable(err));
    QVERIFY2((out + err).contains(output), qPrintable(out + err));
    QCOMPARE(launcher.exitCode(), exitCode);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
