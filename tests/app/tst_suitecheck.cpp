// The suite check and the command line: the real executable without a display, and the check
// against what a real start-up, and a click on each button, show in boxes.

#include "suite/suitecheck.h"
#include "support/launcherfixture.h"
#include "widgets/qtplatformservices.h"

#include <QProcess>
#include <QScopeGuard>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace
{
// A suite in "suite/" of `builder` with one component for each finding the check makes.
void writeFaultySuite(SuiteBuilder &builder)
{
    const auto component
        = [&builder](const QString &folder, const QByteArray &descriptor, int pictureWidth = 32) {
              builder.writeDescriptor(u"suite/"_s + folder, descriptor);
              builder.writePicture(u"suite/%1/pic.png"_s.arg(folder), Qt::blue, pictureWidth, 32);
              builder.writeMarkerScript(u"suite/%1/run"_s.arg(folder), {}, {});
          };
    builder.addComponent(u"suite/Clean"_s);
    component(u"Bad Lines"_s,
              "NAME:Bad Lines\r\nIMG:pic.png\r\nEXE:run\r\nExe:other\r\nCOLOUR:blue\r\n"
              "just words\r\nDESC:First.\r\nDESC:Second.\r\nHELP\r\n\r\n");
    component(u"Big Picture"_s, "IMG:pic.png\r\nEXE:run\r\nDESC:Wide.\r\n", 300);
    component(u"Broken Picture"_s, "IMG:broken.png\r\nEXE:run\r\nDESC:x\r\n");
    builder.writeFile(u"suite/Broken Picture/broken.png"_s, "not a picture");
    builder.writeDescriptor(u"suite/Huge Descriptor"_s, QByteArray(1024 * 1024 + 1, 'x'));
    component(u"Long Description"_s,
              "IMG:pic.png\r\nEXE:run\r\nDESC:" + QByteArray(32767, 'y') + "\r\n");
    component(u"Missing Picture"_s, "IMG:gone.png\r\nEXE:run\r\nDESC:x\r\n");
    component(u"Missing Program"_s, "IMG:pic.png\r\nEXE:gone\r\nDESC:x\r\n");
    builder.writeDescriptor(u"suite/No Keys"_s, "NAME:No Keys\r\n");
    component(u"No Program Line"_s, "IMG:pic.png\r\nDESC:x\r\n");
    builder.makeFolder(u"suite/Not A Component/kk.cfg"_s);
    component(u"Not Executable"_s, "IMG:pic.png\r\nEXE:tool\r\nDESC:x\r\n");
    builder.writeFile(u"suite/Not Executable/tool"_s, "#!/bin/sh\n");
    component(u"Search Failure"_s, QByteArray("IMG:pic.png\r\nEXE:a\0b\r\nDESC:x\r\n", 30));
    builder.writeFile(u"suite/Windows Style/KK.CFG"_s, "IMG:pic.png\r\n");
}

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A box as the check lists it: on one line, without the "Error::" its severity says.
QString asFinding(QString text)
{
    if (text.startsWith(u"Error::")) {
        text.remove(0, 7);
    }
    return text.replace(u"\r\n"_s, u" "_s).trimmed();
}

const QString noComponents = u"suite:0: warning: WARNING: no components were found. Make sure "
                             "that the components were installed properly.\n"_s;
} // namespace

class TestSuiteCheck : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void withoutDisplay_data();
    void withoutDisplay();
    void agreesWithStartUp_data();
    void agreesWithStartUp();
};

void TestSuiteCheck::withoutDisplay_data()
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

void TestSuiteCheck::withoutDisplay()
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
    QVERIFY2(launcher.waitForFinished(60000), "the launcher did not end");
    const QString out = QString::fromUtf8(launcher.readAllStandardOutput());
    const QString err = QString::fromUtf8(launcher.readAllStandardError());
    QVERIFY2(launcher.exitStatus() == QProcess::NormalExit, qPrintable(err));
    QVERIFY2((out + err).contains(output), qPrintable(out + err));
    QCOMPARE(launcher.exitCode(), exitCode);
}

void TestSuiteCheck::agreesWithStartUp_data()
{
    QTest::addColumn<bool>("faulty");
    QTest::newRow("every finding") << true;
    QTest::newRow("no component") << false;
}

void TestSuiteCheck::agreesWithStartUp()
{
    QFETCH(bool, faulty);
    LauncherFixture launcher;
    if (faulty) {
        writeFaultySuite(launcher.suite);
    }
    launcher.suite.makeFolder(u"suite"_s);
    launcher.services.info.directory = launcher.suite.filePath(u"suite"_s);
    launcher.window = std::make_unique<frmMain>(launcher.services);
    launcher.window->load(frmMain::startReading(launcher.services.info.directory));
    // A click on every button that can be clicked, with programs started for real.
    QtPlatformServices real;
    launcher.services.startHook = [&real](const QString &path) {
        real.startProgram(path);
    };
    for (qint16 i = 0; i < launcher.buttons().count(); ++i) {
        if (launcher.buttons().isVisible(i) && launcher.buttons().isEnabled(i)) {
            launcher.window->launchButsClick(i);
        }
    }

    QStringList boxErrors;
    QStringList boxWarnings;
    for (const RecordingServices::Message &box : std::as_const(launcher.services.messages)) {
        (box.icon == MessageIcon::Critical ? boxErrors : boxWarnings).append(asFinding(box.text));
    }
    QStringList errors;
    QStringList warnings;
    for (const Finding &finding : checkSuite(launcher.services.info.directory).findings) {
        if (finding.severity == Finding::Error) {
            errors.append(finding.text);
        } else if (finding.severity == Finding::Warning) {
            warnings.append(finding.text);
        }
    }
    errors.sort();
    boxErrors.sort();
    QCOMPARE(errors, boxErrors);
    for (const QString &warning : std::as_const(boxWarnings)) {
        QVERIFY2(warnings.contains(warning), qPrintable(warning));
    }
    QCOMPARE(boxWarnings.isEmpty(), faulty);
}

QTEST_MAIN(TestSuiteCheck)
#include "tst_suitecheck.moc"
