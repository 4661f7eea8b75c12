// A click on a launch button starts its component as a real, detached process.

#include "support/launcherfixture.h"
#include "support/slowdown.h"
#include "widgets/descriptionbox.h"
#include "widgets/qtplatformservices.h"

using namespace Qt::StringLiterals;

namespace
{
int countLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    return file.readAll().count('\n');
}

// Starts programs for real while the boxes stay recorded.
void startForReal(LauncherFixture &launcher, QtPlatformServices &real)
{
    launcher.services.startHook = [&real](const QString &path) {
        real.startProgram(path);
    };
}
} // namespace

class TestLaunching : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clickStartsTheComponent_data();
    void clickStartsTheComponent();
    void clickShowsTheClickedDescription();
    void failedStartKeepsTheDescription_data();
    void failedStartKeepsTheDescription();
};

void TestLaunching::clickStartsTheComponent_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("exe");
    QTest::newRow("plain") << u"Tool"_s << u"tool"_s;
    QTest::newRow("blanks and a quote") << u"My Tool's Folder"_s << u"run \"it\" now"_s;
    QTest::newRow("sub-folder written with a backslash") << u"Tool"_s << u"bin\\tool"_s;
}

void TestLaunching::clickStartsTheComponent()
{
    QFETCH(QString, folder);
    QFETCH(QString, exe);
    LauncherFixture launcher;
    const QString marker = launcher.suite.filePath(u"marker.txt"_s);
    launcher.suite.writeDescriptor(folder,
                                   "IMG:pic.png\r\nEXE:" + exe.toUtf8() + "\r\nDESC:Starts.\r\n");
    launcher.suite.writePicture(folder + u"/pic.png"_s, Qt::green);
    QString onDisk = exe;
    onDisk.replace(u'\\', u'/');
    launcher.suite.writeMarkerScript(folder + u'/' + onDisk, marker, folder);
    QtPlatformServices real;
    startForReal(launcher, real);
    launcher.start();
    QVERIFY(launcher.button(0)->isEnabled());

    QTest::mouseClick(launcher.button(0), Qt::LeftButton);
    QTest::mouseClick(launcher.button(0), Qt::LeftButton);
    QCOMPARE(launcher.services.started,
             QStringList(2, launcher.suite.path() + u'/' + folder + u'/' + onDisk));
    QTRY_COMPARE_WITH_TIMEOUT(countLines(marker), 2, slowed(10000));
    QVERIFY(launcher.services.messages.isEmpty());
}

void TestLaunching::clickShowsTheClickedDescription()
{
    LauncherFixture launcher;
    launcher.addComponents(3);
    launcher.start();
    launcher.window->launchButsMouseMove(1);
    launcher.window->launchButsClick(2);
    QCOMPARE(launcher.window->descTxt()->text(), launcher.window->components().at(2).desc);
    // The highlight stays where the pointer left it.
    QCOMPARE(launcher.buttons().backColor(1), ColourButton::white);
    QCOMPARE(launcher.buttons().backColor(2), launcher.window->defaultButtonColor());
    QCOMPARE(launcher.window->panelState().hoveredIndex, 1);
}

void TestLaunching::failedStartKeepsTheDescription_data()
{
    QTest::addColumn<QByteArray>("descriptor");
    QTest::addColumn<QString>("description");
    QTest::newRow("executable deleted after start-up")
        << QByteArray("IMG:pic.png\r\nEXE:run.sh\r\n") << u"File not found: %1/Tool/run.sh"_s;
    QTest::newRow("no EXE line: the folder itself")
        << QByteArray("IMG:pic.png\r\n")
        << u"Path/File access error (a folder, not a program): %1/Tool/"_s;
}

void TestLaunching::failedStartKeepsTheDescription()
{
    QFETCH(QByteArray, descriptor);
    QFETCH(QString, description);
    LauncherFixture launcher;
    launcher.suite.addComponent(u"Tool"_s);
    launcher.suite.writeDescriptor(u"Tool"_s, descriptor);
    QtPlatformServices real;
    startForReal(launcher, real);
    launcher.start();
    QVERIFY(launcher.button(0)->isEnabled());
    QFile::remove(launcher.suite.filePath(u"Tool/run.sh"_s));

    QTest::mouseClick(launcher.button(0), Qt::LeftButton);
    QCOMPARE(launcher.services.messages.size(), 1);
    QCOMPARE(launcher.services.messages.first(),
             (RecordingServices::Message{u"Error::"_s + description.arg(launcher.suite.path())
                                             + u"\r\n"_s,
                                         u"Error::Kestrelkit"_s, MessageIcon::Critical}));
    QCOMPARE(launcher.window->descTxt()->text(), launcher.window->components().at(0).desc);
}

QTEST_MAIN(TestLaunching)
#include "tst_launching.moc"
