// The directory search behind fileExists, its wildcard matching, and the paths of component files
// that it is asked about.

#include "catalogue/fileexists.h"
#include "catalogue/paths.h"
#include "catalogue/runtimeerror.h"
#include "support/finishesintime.h"
#include "support/platformsupport.h"
#include "support/recordingsink.h"
#include "support/suitebuilder.h"

#include <QTest>

#include <chrono>
#include <memory>

using namespace Qt::StringLiterals;

namespace
{
// The folders of the fixture that hold FIFOs or links, which not every system makes.
const QStringList specialFolders = {u"fifos"_s,        u"links"_s,          u"danglingonly"_s,
                                    u"fifolinkonly"_s, u"devicelinkonly"_s, u"fileviaLink"_s};
} // namespace

class TestFileExists final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void fileExists_data();
    void fileExists();
    void failedSearch_data();
    void failedSearch();
    void matchesWildcard_data();
    void matchesWildcard();
    void componentFilePath_data();
    void componentFilePath();
    void componentFileFound_data();
    void componentFileFound();

private:
    SuiteBuilder m_suite;
    bool m_specialFiles = true;
};

void TestFileExists::initTestCase()
{
    QVERIFY(m_suite.isValid());
    m_suite.writeFile(u"plain/kk.cfg"_s, "NAME:x\r\n");
    m_suite.writeFile(u"plain/.hidden"_s, "x");
    m_suite.writeFile(u"plain/b[1].txt"_s, "x");
    m_suite.writeFile(u"plain/a1.txt"_s, "x");
    m_suite.makeFolder(u"plain/sub"_s);
    m_suite.makeFolder(u"plain/.git"_s);
    m_suite.writeFile(u".conf/kk.cfg"_s, "x");
    m_suite.writeFile(u"dotonly/.kk.cfg"_s, "x");
    m_suite.makeFolder(u"subonly/inner"_s);
    m_suite.makeFolder(u"empty"_s);
    for (const QString &folder : specialFolders) {
        m_suite.makeFolder(folder);
    }
    const auto makeLink = [this](const QString &target, const QString &linkPath) {
        m_specialFiles = makeSymlink(target, linkPath) && m_specialFiles;
    };
    m_specialFiles = makeFifo(m_suite.filePath(u"fifos/kk.cfg"_s));
    makeLink(u"../plain/kk.cfg"_s, m_suite.filePath(u"links/tofile"_s));
    makeLink(u"../plain"_s, m_suite.filePath(u"links/todir"_s));
    makeLink(u"missing"_s, m_suite.filePath(u"links/dangling"_s));
    makeLink(u"../fifos/kk.cfg"_s, m_suite.filePath(u"links/tofifo"_s));
    makeLink(u"missing"_s, m_suite.filePath(u"danglingonly/kk.cfg"_s));
    makeLink(u"../fifos/kk.cfg"_s, m_suite.filePath(u"fifolinkonly/kk.cfg"_s));
    makeLink(u"/dev/null"_s, m_suite.filePath(u"devicelinkonly/kk.cfg"_s));
    makeLink(u"../plain/kk.cfg"_s, m_suite.filePath(u"fileviaLink/kk.cfg"_s));
}

void TestFileExists::fileExists_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<bool>("expected");

    QTest::newRow("plain file") << u"plain/kk.cfg"_s << true;
    QTest::newRow("dot-file") << u"plain/.hidden"_s << false;
    QTest::newRow("plain file inside a dot-folder") << u".conf/kk.cfg"_s << true;
    QTest::newRow("missing file") << u"plain/missing.cfg"_s << false;
    QTest::newRow("missing folder") << u"nowhere/kk.cfg"_s << false;
    QTest::newRow("folder") << u"plain/sub"_s << false;
    QTest::newRow("FIFO named kk.cfg") << u"fifos/kk.cfg"_s << false;
    QTest::newRow("link to a file") << u"links/tofile"_s << true;
    QTest::newRow("link to a folder") << u"links/todir"_s << false;
    QTest::newRow("dangling link") << u"links/dangling"_s << false;
    QTest::newRow("link to a FIFO") << u"links/tofifo"_s << false;
    QTest::newRow("link to a device") << u"devicelinkonly/kk.cfg"_s << false;

    QTest::newRow("trailing slash, folder holds a plain file") << u"plain/"_s << true;
    QTest::newRow("trailing slash, folder holds only a dot-file") << u"dotonly/"_s << false;
    QTest::newRow("trailing slash, folder holds only a sub-folder") << u"subonly/"_s << false;
    QTest::newRow("trailing slash, empty folder") << u"empty/"_s << false;
    QTest::newRow("trailing slash, folder holds only a FIFO") << u"fifos/"_s << false;
    QTest::newRow("trailing slash, folder holds only a dangling link")
        << u"danglingonly/"_s << false;
    QTest::newRow("trailing slash, folder holds only a link to a FIFO")
        << u"fifolinkonly/"_s << false;
    QTest::newRow("trailing slash, folder holds only a link to a device")
        << u"devicelinkonly/"_s << false;
    QTest::newRow("trailing slash, folder holds a link to a file") << u"fileviaLink/"_s << true;
    QTest::newRow("trailing slash, missing folder") << u"nowhere/"_s << false;

    QTest::newRow("star") << u"plain/*"_s << true;
    QTest::newRow("star and extension") << u"plain/*.cfg"_s << true;
    QTest::newRow("star matches no plain file") << u"plain/*.exe"_s << false;
    QTest::newRow("question mark") << u"plain/kk.c?g"_s << true;
    QTest::newRow("question mark needs one character") << u"plain/kk.cfg?"_s << false;
    QTest::newRow("wildcards regardless of letter case") << u"plain/KK.*"_s << true;
    QTest::newRow("star does not find a dot-file") << u"dotonly/*"_s << false;
    QTest::newRow("star and dot do not find a dot-file") << u"dotonly/.*"_s << false;
    QTest::newRow("star does not find a folder") << u"subonly/*"_s << false;
    QTest::newRow("question mark finds no folder") << u"plain/su?"_s << false;
    QTest::newRow("star does not find a FIFO") << u"fifos/*"_s << false;
    QTest::newRow("star does not find a dangling link") << u"danglingonly/*"_s << false;
    QTest::newRow("star does not find a link to a FIFO") << u"fifolinkonly/*"_s << false;
    QTest::newRow("star does not find a link to a device") << u"devicelinkonly/kk.*"_s << false;
    QTest::newRow("star in a missing folder") << u"nowhere/*"_s << false;
    QTest::newRow("bracket is an ordinary character") << u"plain/b[1].*"_s << true;
    QTest::newRow("bracket is no character class") << u"plain/a[0-9].*"_s << false;
}

void TestFileExists::fileExists()
{
    QFETCH(QString, relative);
    QFETCH(bool, expected);
    if (!m_specialFiles && specialFolders.contains(relative.section(u'/', 0, 0))) {
        QSKIP("this system makes no FIFOs or symbolic links");
    }

    RecordingSink sink;
    bool found = !expected;
    // A search that blocks stops the test program.
    finishesInTime([&] { found = ::fileExists(m_suite.filePath(relative), sink); });
    QCOMPARE(found, expected);
    QCOMPARE(sink.texts, QStringList());
}

void TestFileExists::failedSearch_data()
{
    QTest::addColumn<QString>("relative");

    QTest::newRow("NUL in the file name") << u"plain/kk\0.cfg"_s;
    QTest::newRow("NUL in the folder part") << u"pla\0in/kk.cfg"_s;
    QTest::newRow("NUL beside a wildcard") << u"plain/*\0"_s;
}

void TestFileExists::failedSearch()
{
    QFETCH(QString, relative);

    const QString path = m_suite.path() + u'/' + relative;
    QVERIFY(path.contains(QChar(0)));
    RecordingSink sink;
    QCOMPARE(::fileExists(path, sink), false);

    QString reason;
    try {
        findFirstEntry(path);
        QFAIL("the search raised nothing");
    } catch (const RuntimeError &error) {
        QCOMPARE(error.number(), int(RuntimeError::BadFileName));
        reason = error.description();
    }
    QVERIFY(!reason.isEmpty());
    QCOMPARE(sink.texts,
             QStringList{u"Error determining file exist --> "_s + path + u"::"_s + reason});
    QCOMPARE(sink.titles.size(), 1);
    QVERIFY(sink.titles.first().isEmpty());
    QCOMPARE(sink.icons, QList<MessageIcon>{MessageIcon::Critical});
}

void TestFileExists::matchesWildcard_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<bool>("expected");

    QTest::newRow("same name") << u"kk.cfg"_s << u"kk.cfg"_s << true << true;
    QTest::newRow("different name") << u"kk.cfg"_s << u"kk.cfh"_s << true << false;
    QTest::newRow("dot is literal") << u"kk.cfg"_s << u"kkxcfg"_s << true << false;
    QTest::newRow("star matches a run") << u"*.cfg"_s << u"kk.cfg"_s << true << true;
    QTest::newRow("star matches nothing") << u"kk*.cfg"_s << u"kk.cfg"_s << true << true;
    QTest::newRow("star alone matches the empty name") << u"*"_s << QString() << true << true;
    QTest::newRow("empty pattern matches only the empty name")
        << QString() << u"a"_s << true << false;
    QTest::newRow("stars in a row") << u"**a**"_s << u"a"_s << true << true;
    QTest::newRow("question mark matches one character")
        << u"k?.cfg"_s << u"kk.cfg"_s << true << true;
    QTest::newRow("question mark does not match nothing")
        << u"kk.cfg?"_s << u"kk.cfg"_s << true << false;
    QTest::newRow("question mark and star need one character")
        << u"?*"_s << QString() << true << false;
    QTest::newRow("star must back-track") << u"*.tar.gz"_s << u"a.tar.tar.gz"_s << true << true;
    QTest::newRow("two stars must back-track") << u"a*b*c"_s << u"abxbxc"_s << true << true;
    QTest::newRow("back-tracking runs out") << u"*ab"_s << u"aba"_s << true << false;
    QTest::newRow("text after the star must end the name") << u"a*b"_s << u"abc"_s << true << false;
    QTest::newRow("bracket matches itself") << u"[a].txt"_s << u"[a].txt"_s << true << true;
    QTest::newRow("bracket is no character class") << u"[a].txt"_s << u"a.txt"_s << true << false;
    QTest::newRow("case-sensitive") << u"KK.CFG"_s << u"kk.cfg"_s << true << false;
    QTest::newRow("case-insensitive") << u"KK.CFG"_s << u"kk.cfg"_s << false << true;
    QTest::newRow("case-insensitive beyond ASCII")
        << u"\u00c9*"_s << u"\u00e9clair"_s << false << true;
}

void TestFileExists::matchesWildcard()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, caseSensitive);
    QFETCH(bool, expected);

    QCOMPARE(
        ::matchesWildcard(pattern, name, caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive),
        expected);
}

void TestFileExists::componentFilePath_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("expected");

    QTest::newRow("file name") << u"run.sh"_s << u"/opt/suite/My Tool/run.sh"_s;
    QTest::newRow("backslash separates folders")
        << u"bin\\run.sh"_s << u"/opt/suite/My Tool/bin/run.sh"_s;
    QTest::newRow("several backslashes") << u"a\\b\\c.exe"_s << u"/opt/suite/My Tool/a/b/c.exe"_s;
    QTest::newRow("slash kept") << u"bin/run.sh"_s << u"/opt/suite/My Tool/bin/run.sh"_s;
    QTest::newRow("spaces kept") << u" my run.sh"_s << u"/opt/suite/My Tool/ my run.sh"_s;
    QTest::newRow("no file name ends with a slash") << QString() << u"/opt/suite/My Tool/"_s;
}

void TestFileExists::componentFilePath()
{
    QFETCH(QString, fileName);
    QFETCH(QString, expected);

    QCOMPARE(::componentFilePath(u"/opt/suite"_s, u"My Tool"_s, fileName), expected);
    QCOMPARE(::componentDirectory(u"/opt/suite"_s, u"My Tool"_s), u"/opt/suite/My Tool"_s);
}

void TestFileExists::componentFileFound_data()
{
    QTest::addColumn<QString>("exe");
    QTest::addColumn<bool>("expected");

    QTest::newRow("executable in a sub-folder, written with a backslash")
        << u"bin\\run.sh"_s << true;
    QTest::newRow("missing executable") << u"bin\\gone.sh"_s << false;
    QTest::newRow("no EXE: the folder holds its descriptor") << QString() << true;
}

void TestFileExists::componentFileFound()
{
    QFETCH(QString, exe);
    QFETCH(bool, expected);

    SuiteBuilder suite;
    QVERIFY(suite.isValid());
    suite.writeDescriptor(u"Tool"_s, "NAME:Tool\r\n");
    suite.writeMarkerScript(u"Tool/bin/run.sh"_s, QString(), QString());
    RecordingSink sink;
    QCOMPARE(::fileExists(::componentFilePath(suite.path(), u"Tool"_s, exe), sink), expected);
    QVERIFY(sink.texts.isEmpty());
}

QTEST_GUILESS_MAIN(TestFileExists)
#include "tst_fileexists.moc"
