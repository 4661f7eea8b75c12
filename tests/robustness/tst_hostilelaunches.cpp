// Hostile executables, started for real from the main window: names a shell would misread,
// files that cannot start, hundreds of launches in a row, and the descriptors a component gets.
// The components are copies of the probe (probe.cpp), which records how it was started; decoys
// that create a PWNED file stand where a misread name would lead.

#include "app/frmmain.h"
#include "panel/launchbuttons.h"
#include "robustness.h"
#include "support/slowdown.h"
#include "support/suitebuilder.h"
#include "widgets/descriptionbox.h"
#include "widgets/qtplatformservices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <memory>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace
{
// A main window on a suite in a temporary folder whose starts are real while its boxes are
// recorded. The working directory is the suite while it lives, so that a name misread by a shell
// would leave its PWNED file where the test looks.
struct RealLauncher {
    SuiteBuilder suite;
    RecordingServices services;
    QtPlatformServices real;
    std::unique_ptr<frmMain> window;
    QString previousDirectory = QDir::currentPath();

    RealLauncher()
    {
        qputenv("KK_PROBE_REPORT", QFile::encodeName(report()));
        QDir::setCurrent(suite.path());
    }
    ~RealLauncher()
    {
        window.reset();
        QDir::setCurrent(previousDirectory);
        qunsetenv("KK_PROBE_REPORT");
    }
    Q_DISABLE_COPY_MOVE(RealLauncher)

    QString report() const { return suite.filePath(u"probe-report"_s); }
    QString pwned() const { return suite.filePath(u"PWNED"_s); }

    // A component whose executable is a probe, stored under `onDisk` (relative to its folder).
    void addProbeComponent(const QString &folder, const QByteArray &exe, const QString &onDisk)
    {
        suite.writeDescriptor(folder,
                              "NAME:n\r\nIMG:pic.png\r\nEXE:" + exe + "\r\nDESC:The "
                                  + folder.toUtf8() + " component.\r\n");
        suite.writePicture(folder + u"/pic.png"_s, Qt::blue);
        if (!installProbe(suite.filePath(folder + u'/' + onDisk))) {
            qFatal("cannot install the probe");
        }
    }

    void start()
    {
        services.info.directory = suite.path();
        services.startHook = [this](const QString &path) {
            real.startProgram(path);
        };
        window = std::make_unique<frmMain>(services);
        window->load();
        window->show();
    }

    qint16 indexOf(const QString &folder) const
    {
        for (qsizetype i = 0; i < window->components().size(); ++i) {
            if (window->components().at(i).folder == folder) {
                return qint16(i);
            }
        }
        return -1;
    }

    // Waits, within a generous bound, until the probe has recorded `count` starts.
    QList<ProbeStart> waitForStarts(qsizetype count, int boundMs = 60000) const
    {
        QList<ProbeStart> starts;
        (void)QTest::qWaitFor(
            [&] {
                starts = readProbeReport(report());
                return starts.size() >= count;
            },
            boundMs);
        return starts;
    }
};

QString boxesText(const QList<RecordingServices::Message> &boxes)
{
    QStringList texts;
    for (const RecordingServices::Message &box : boxes) {
        texts.append(box.text.left(300));
    }
    return texts.join(u" | "_s);
}

enum class Breakage {
    Deleted,
    NotExecutable,
    Folder,
    DanglingLink,
    LinkLoop,
    EmptyFile,
    InterpreterMissing,
    NoInterpreterLine,
    NulInName,
};

enum class Held { Pipe, File, SocketPair, InstanceToken };
} // namespace

class TestHostileLaunches final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exactFileWithoutShell_data();
    void exactFileWithoutShell();
    void failedLaunch_data();
    void failedLaunch();
    void manyLaunches_data();
    void manyLaunches();
    void componentSeesOnlyStandardStreams_data();
    void componentSeesOnlyStandardStreams();
};

void TestHostileLaunches::exactFileWithoutShell_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("exe"); // as the descriptor writes it
    QTest::addColumn<QStringList>(
        "decoys"); // where a misread name would lead, relative to the suite

    QTest::newRow("blanks") << u"My Tools"_s << u"run me now"_s
                            << QStringList{u"My"_s, u"My Tools/run"_s};
    QTest::newRow("double quotes")
        << u"Tool"_s << u"say \"hi\" run"_s << QStringList{u"Tool/say"_s};
    QTest::newRow("single quotes") << u"Tool"_s << u"it's 'quoted'"_s << QStringList{u"Tool/it"_s};
    QTest::newRow("command substitution")
        << u"Tool"_s << u"$(touch PWNED) `touch PWNED`"_s << QStringList();
    QTest::newRow("semicolon") << u"Tool"_s << u"a;touch PWNED"_s << QStringList{u"Tool/a"_s};
    QTest::newRow("pipe, ampersand and redirection")
        << u"Tool"_s << u"a|b&c>d"_s << QStringList{u"Tool/a"_s};
    QTest::newRow("newline in the folder name")
        << u"Line\nBreak"_s << u"run"_s << QStringList{u"Line"_s};
    QTest::newRow("leading dash") << u"Tool"_s << u"-x"_s << QStringList();
    QTest::newRow("glob characters") << u"Tool"_s << u"run*"_s << QStringList{u"Tool/run-decoy"_s};
    QTest::newRow("non-ASCII letters") << u"Überblick"_s << u"ツール"_s << QStringList();
    QTest::newRow("blank at the end") << u"Tool"_s << u"run "_s << QStringList{u"Tool/run"_s};
}

void TestHostileLaunches::exactFileWithoutShell()
{
    QFETCH(QString, folder);
    QFETCH(QString, exe);
    QFETCH(QStringList, decoys);
    RealLauncher launcher;
    launcher.addProbeComponent(folder, exe.toUtf8(), exe);
    for (const QString &decoy : decoys) {
        writeDecoy(launcher.suite.filePath(decoy), launcher.pwned());
    }
    launcher.start();
    const qint16 index = launcher.indexOf(folder);
    QVERIFY(index >= 0);
    QVERIFY(launcher.window->launchButs().isEnabled(index));

    launcher.window->launchButsClick(index);
    const QList<ProbeStart> starts = launcher.waitForStarts(1);
    QCOMPARE(starts.size(), 1);
    // That exact file, by its full path, with no argument.
    QCOMPARE(starts.first().arguments,
             QStringList{launcher.suite.path() + u'/' + folder + u'/' + exe});
    QVERIFY2(launcher.services.messages.isEmpty(),
             qPrintable(boxesText(launcher.services.messages)));
    // A second start proves the first one finished what it would do; nothing misread ran meanwhile.
    launcher.window->launchButsClick(index);
    QCOMPARE(launcher.waitForStarts(2).size(), 2);
    QVERIFY2(!QFileInfo::exists(launcher.pwned()), "something other than the named file ran");
    QVERIFY(!QFileInfo::exists(launcher.suite.filePath(folder + u"/PWNED"_s)));
}

void TestHostileLaunches::failedLaunch_data()
{
    QTest::addColumn<Breakage>("breakage");
    QTest::addColumn<QString>("reason"); // what the box says, in any letter case

    QTest::newRow("missing: deleted after start-up") << Breakage::Deleted << u"not found"_s;
    QTest::newRow("not executable") << Breakage::NotExecutable << u"not executable"_s;
    QTest::newRow("a folder") << Breakage::Folder << u"folder"_s;
    QTest::newRow("a dangling link") << Breakage::DanglingLink << u"not found"_s;
    QTest::newRow("a link loop") << Breakage::LinkLoop << u"loop"_s;
    QTest::newRow("an empty file") << Breakage::EmptyFile << u"exec format"_s;
    QTest::newRow("a script whose interpreter is missing")
        << Breakage::InterpreterMissing << u"interpreter"_s;
    QTest::newRow("a script without an interpreter line")
        << Breakage::NoInterpreterLine << u"exec format"_s;
    QTest::newRow("a NUL byte in the name") << Breakage::NulInName << u"bad file name"_s;
}

void TestHostileLaunches::failedLaunch()
{
    QFETCH(Breakage, breakage);
    QFETCH(QString, reason);
    RealLauncher launcher;
    launcher.addProbeComponent(u"Good"_s, "run", u"run"_s);
    const QString exe = launcher.suite.filePath(u"Broken/run"_s);
    QString named = exe;
    if (breakage == Breakage::NulInName) {
        // A name cut at its NUL byte would start the decoy.
        launcher.addProbeComponent(u"Broken"_s, QByteArray("run\0x", 5), u"unused"_s);
        writeDecoy(exe, launcher.pwned());
        named = exe + QChar(0) + u'x';
    } else {
        launcher.addProbeComponent(u"Broken"_s, "run", u"run"_s);
    }
    launcher.start();
    const qint16 broken = launcher.indexOf(u"Broken"_s);
    QVERIFY(broken >= 0);

    // What an installer or a user might do to the file while the launcher runs.
    const auto replaceWith = [&exe](const QByteArray &content) {
        QFile::remove(exe);
        QFile file(exe);
        file.open(QIODevice::WriteOnly);
        file.write(content);
        file.close();
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner
                            | QFileDevice::ExeOwner);
    };
    switch (breakage) {
    case Breakage::Deleted:
        QVERIFY(QFile::remove(exe));
        break;
    case Breakage::NotExecutable:
        QVERIFY(QFile::setPermissions(exe, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        break;
    case Breakage::Folder:
        QVERIFY(QFile::remove(exe));
        QVERIFY(QDir().mkpath(exe));
        break;
    case Breakage::DanglingLink:
        QVERIFY(QFile::remove(exe));
        QVERIFY(QFile::link(u"gone"_s, exe));
        break;
    case Breakage::LinkLoop:
        QVERIFY(QFile::remove(exe));
        QVERIFY(QFile::link(u"run"_s, exe));
        break;
    case Breakage::EmptyFile:
        replaceWith({});
        break;
    case Breakage::InterpreterMissing:
        replaceWith("#!/nonexistent/interpreter\n");
        break;
    case Breakage::NoInterpreterLine:
        // A shell would run this; the launcher must not hand it to one.
        replaceWith("touch '" + QFile::encodeName(launcher.pwned()) + "'\n");
        break;
    case Breakage::NulInName:
        break;
    }
    const qsizetype before = launcher.services.messages.size();

    launcher.window->launchButsClick(broken);
    QCOMPARE(launcher.services.messages.size(), before + 1);
    const RecordingServices::Message &box = launcher.services.messages.last();
    QCOMPARE(box.title, u"Error::Kestrelkit"_s);
    QCOMPARE(box.icon, MessageIcon::Critical);
    QVERIFY2(box.text.contains(named), qPrintable(box.text));
    QVERIFY2(box.text.contains(reason, Qt::CaseInsensitive), qPrintable(box.text));
    QCOMPARE(launcher.window->descTxt()->text(), launcher.window->components().at(broken).desc);

    // The launcher goes on: the good component still starts, and nothing else ran.
    launcher.window->launchButsClick(launcher.indexOf(u"Good"_s));
    const QList<ProbeStart> starts = launcher.waitForStarts(1);
    QCOMPARE(starts.size(), 1);
    QCOMPARE(starts.first().arguments, QStringList{launcher.suite.filePath(u"Good/run"_s)});
    QCOMPARE(launcher.services.messages.size(), before + 1);
    QVERIFY2(!QFileInfo::exists(launcher.pwned()), "something other than the named file ran");
}

void TestHostileLaunches::manyLaunches_data()
{
    QTest::addColumn<int>("launches");
    QTest::addColumn<bool>("failing");
    QTest::newRow("500 launches in a row") << 500 << false;
    QTest::newRow("400 failed launches in a row") << 400 << true;
}

void TestHostileLaunches::manyLaunches()
{
    QFETCH(int, launches);
    QFETCH(bool, failing);
    RealLauncher launcher;
    launcher.addProbeComponent(u"Tool"_s, "run", u"run"_s);
    launcher.start();
    const qint16 index = launcher.indexOf(u"Tool"_s);
    if (failing) {
        QVERIFY(QFile::remove(launcher.suite.filePath(u"Tool/run"_s)));
    }
    // One launch first, so that whatever Qt sets up once for starting processes is in place.
    launcher.window->launchButsClick(index);
    if (!failing) {
        QCOMPARE(launcher.waitForStarts(1).size(), 1);
    }
    QTRY_COMPARE_WITH_TIMEOUT(zombieChildren(), 0, slowed(30000));
    const int descriptors = openDescriptorCount();

    for (int i = 0; i < launches; ++i) {
        launcher.window->launchButsClick(index);
    }
    if (failing) {
        QCOMPARE(launcher.services.messages.size(), launches + 1);
        QCOMPARE(readProbeReport(launcher.report()).size(), 0);
    } else {
        QVERIFY2(launcher.services.messages.isEmpty(),
                 qPrintable(boxesText(launcher.services.messages)));
        QCOMPARE(launcher.waitForStarts(launches + 1, slowed(300000)).size(), launches + 1);
    }
    QTRY_COMPARE_WITH_TIMEOUT(zombieChildren(), 0, slowed(30000));
    // No more than before: Qt's own pooled threads may end meanwhile, closing what they held.
    QCOMPARE_LE(openDescriptorCount(), descriptors);
}

void TestHostileLaunches::componentSeesOnlyStandardStreams_data()
{
    QTest::addColumn<Held>("held");
    QTest::newRow("pipe opened without close-on-exec") << Held::Pipe;
    QTest::newRow("file opened without close-on-exec") << Held::File;
    QTest::newRow("socket pair without close-on-exec") << Held::SocketPair;
    QTest::newRow("the single-instance token") << Held::InstanceToken;
}

void TestHostileLaunches::componentSeesOnlyStandardStreams()
{
    QFETCH(Held, held);
    if (QStringLiteral(KK_PLATFORM) != u"posix") {
        QSKIP("only the POSIX platform layer keeps the launcher's descriptors from a component");
    }
    RealLauncher launcher;
    launcher.addProbeComponent(u"Tool"_s, "run", u"run"_s);
    // Descriptors as a library, or whoever started the launcher, may leave them: inheritable.
    QList<int> opened;
    switch (held) {
    case Held::Pipe: {
        int ends[2] = {-1, -1};
        QCOMPARE(::pipe(ends), 0);
        opened << ends[0] << ends[1];
        break;
    }
    case Held::File:
        opened << ::open(QFile::encodeName(launcher.suite.filePath(u"Tool/kk.cfg"_s)).constData(),
                         O_RDONLY);
        break;
    case Held::SocketPair: {
        int ends[2] = {-1, -1};
        QCOMPARE(::socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
        opened << ends[0] << ends[1];
        break;
    }
    case Held::InstanceToken:
        QVERIFY(!launcher.real.previousInstance());
        break;
    }
    launcher.start();

    launcher.window->launchButsClick(launcher.indexOf(u"Tool"_s));
    const QList<ProbeStart> starts = launcher.waitForStarts(1);
    for (const int fd : opened) {
        ::close(fd);
    }
    QCOMPARE(starts.size(), 1);
    const QMap<int, QString> &seen = starts.first().descriptors;
    QStringList described;
    for (auto it = seen.begin(); it != seen.end(); ++it) {
        described << QString::number(it.key()) + u" -> "_s + it.value();
    }
    QVERIFY2((seen.keys() == QList<int>{0, 1, 2}), qPrintable(described.join(u", "_s)));
}

QTEST_MAIN(TestHostileLaunches)
#include "tst_hostilelaunches.moc"
