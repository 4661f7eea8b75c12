// The real platform services: the application's identity, the single-instance token, starting
// programs, and the real message box.

#include "catalogue/runtimeerror.h"
#include "platform/instancetoken.h"
#include "support/suitebuilder.h"
#include "widgets/qtplatformservices.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace
{
// Waits until `path` holds `lines` lines, and returns them.
QStringList waitForLines(const QString &path, int lines)
{
    QStringList read;
    (void)QTest::qWaitFor(
        [&] {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                return false;
            }
            read = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
            return read.size() >= lines;
        },
        10000);
    return read;
}
} // namespace

class TestPlatformServices : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void applicationInformation();
    void oneCopyPerExecutableAndUser();
    void instanceKeyFollowsThePath();
    void startsExactlyThatFile_data();
    void startsExactlyThatFile();
    void failedStartSaysWhy_data();
    void failedStartSaysWhy();
    void realMessageBox_data();
    void realMessageBox();
};

void TestPlatformServices::applicationInformation()
{
    QtPlatformServices services;
    const AppInfo info = services.appInfo();
    QCOMPARE(info.exeName, u"tst_platformservices"_s);
    QCOMPARE(info.directory, QFileInfo(QCoreApplication::applicationFilePath()).canonicalPath());
    QVERIFY(!info.directory.endsWith(u'/'));
    QCOMPARE(info.title, u"Kestrelkit Launcher"_s);
    QCOMPARE(info.versionText(), u"1.1.0"_s);
    QVERIFY(!info.copyright.isEmpty());
}

void TestPlatformServices::oneCopyPerExecutableAndUser()
{
    auto first = std::make_unique<QtPlatformServices>();
    QVERIFY(!first->previousInstance());
    QtPlatformServices second;
    QVERIFY(second.previousInstance());
    // The token goes with its holder, and no file is left behind to clean up.
    first.reset();
    QtPlatformServices third;
    QVERIFY(!third.previousInstance());
}

void TestPlatformServices::instanceKeyFollowsThePath()
{
    const QString a = InstanceToken::key(u"/opt/suite/kestrelkit-launcher"_s);
    QCOMPARE(InstanceToken::key(u"/opt/suite/kestrelkit-launcher"_s), a);
    QVERIFY(InstanceToken::key(u"/opt/other/kestrelkit-launcher"_s) != a);
    QVERIFY(a.size() < 100); // socket names are short
}

void TestPlatformServices::startsExactlyThatFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << u"tool"_s;
    QTest::newRow("blanks and a quote") << u"my \"best\" tool"_s;
    QTest::newRow("shell characters") << u"a;b $(touch PWNED) 'c'"_s;
    QTest::newRow("leading dash") << u"-tool"_s;
    QTest::newRow("non-ASCII letters") << u"Überblick-ツール"_s;
}

void TestPlatformServices::startsExactlyThatFile()
{
    QFETCH(QString, name);
    SuiteBuilder suite;
    const QString marker = suite.filePath(u"marker"_s);
    suite.writeMarkerScript(u"Folder with blanks/"_s + name, marker, u"started"_s);
    QtPlatformServices services;
    const QString path = suite.filePath(u"Folder with blanks/"_s + name);
    services.startProgram(path);
    services.startProgram(path);
    QCOMPARE(waitForLines(marker, 2), QStringList({u"started"_s, u"started"_s}));
    QVERIFY(!QFileInfo::exists(suite.filePath(u"Folder with blanks/PWNED"_s)));
    QVERIFY(!QFileInfo::exists(QDir::current().filePath(u"PWNED"_s)));
}

void TestPlatformServices::failedStartSaysWhy_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::newRow("missing") << u"missing"_s << u"File not found: "_s;
    QTest::newRow("a folder") << u"folder"_s
                              << u"Path/File access error (a folder, not a program): "_s;
    QTest::newRow("not executable") << u"plain.txt"_s << u"Permission denied (not executable): "_s;
    QTest::newRow("empty file") << u"empty"_s << u"Path/File access error (Exec format error): "_s;
    QTest::newRow("interpreter missing")
        << u"script"_s << u"Path/File access error (its interpreter or loader was not found): "_s;
    QTest::newRow("dangling link") << u"dangling"_s << u"File not found: "_s;
    QTest::newRow("folder path, no name")
        << u""_s << u"Path/File access error (a folder, not a program): "_s;
}

void TestPlatformServices::failedStartSaysWhy()
{
    QFETCH(QString, name);
    QFETCH(QString, description);
    SuiteBuilder suite;
    suite.makeFolder(u"folder"_s);
    suite.writeFile(u"plain.txt"_s, "text");
    suite.writeMarkerScript(u"empty"_s, {}, {});
    suite.writeFile(u"empty"_s, {});
    suite.writeMarkerScript(u"script"_s, {}, {});
    suite.writeFile(u"script"_s, "#!/nonexistent/interpreter\n");
    QFile::link(suite.filePath(u"nowhere"_s), suite.filePath(u"dangling"_s));
    const QString path = suite.path() + u'/' + name;
    QtPlatformServices services;
    try {
        services.startProgram(path);
        QFAIL("the start did not fail");
    } catch (const RuntimeError &error) {
        QCOMPARE(error.description(), description + path);
    }
}

void TestPlatformServices::realMessageBox_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("shownTitle");
    QTest::addColumn<int>("shownIcon");
    QTest::newRow("error box") << u"Error::Kestrelkit"_s << int(MessageIcon::Critical)
                               << u"Error::Kestrelkit"_s << int(QMessageBox::Critical);
    QTest::newRow("no title: the application's")
        << QString() << int(MessageIcon::Critical) << u"Kestrelkit Launcher"_s
        << int(QMessageBox::Critical);
    QTest::newRow("warning") << u"Already running..."_s << int(MessageIcon::Exclamation)
                             << u"Already running..."_s << int(QMessageBox::Warning);
}

void TestPlatformServices::realMessageBox()
{
    QFETCH(QString, title);
    QFETCH(int, icon);
    QFETCH(QString, shownTitle);
    QFETCH(int, shownIcon);
    const QString text = u"Error::File not found: /opt/suite/<Tool> & co/tool.png\r\n"_s;
    QString seenText;
    QString seenTitle;
    int seenIcon = -1;
    QList<QAbstractButton *> buttons;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        seenText = box->text();
        seenTitle = box->windowTitle();
        seenIcon = box->icon();
        buttons = box->buttons();
        QTest::keyClick(box, Qt::Key_Return);
    });
    QtPlatformServices services;
    services.showMessage(text, title, MessageIcon(icon));
    QCOMPARE(seenText, text);
    QCOMPARE(seenTitle, shownTitle);
    QCOMPARE(seenIcon, shownIcon);
    QCOMPARE(buttons.size(), 1);
}

QTEST_MAIN(TestPlatformServices)
#include "tst_platformservices.moc"
