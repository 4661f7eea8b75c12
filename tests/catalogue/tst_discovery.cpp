// Finding the component folders: the sub-folder listing, the component list and its
// "no components" marker.

#include "catalogue/discovery.h"
#include "catalogue/errortrap.h"
#include "catalogue/runtimeerror.h"
#include "support/platformsupport.h"
#include "support/recordingsink.h"
#include "support/suitebuilder.h"

#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace
{
// Builds the entries of a test folder. Each entry is "d:folder", "f:file", "p:fifo" or
// "l:link->target", with paths relative to the suite's root. False when the system makes no FIFOs
// or links.
bool build(SuiteBuilder &suite, const QStringList &entries)
{
    for (const QString &entry : entries) {
        const QString what = entry.mid(2);
        switch (entry.front().unicode()) {
        case 'd':
            suite.makeFolder(what);
            break;
        case 'f':
            suite.writeFile(what, "NAME:x\r\n");
            break;
        case 'p':
            if (!makeFifo(suite.filePath(what))) {
                return false;
            }
            break;
        case 'l': {
            const QStringList parts = what.split(u"->"_s);
            if (!makeSymlink(parts.at(1), suite.filePath(parts.at(0)))) {
                return false;
            }
            break;
        }
        default:
            qFatal("unknown entry %s", qPrintable(entry));
        }
    }
    return true;
}
} // namespace

class TestDiscovery final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void subFolderNames_data();
    void subFolderNames();
    void componentFolders_data();
    void componentFolders();
    void longListLookedUpInParts();
    void missingDirectory_data();
    void missingDirectory();
    void unreadableDirectory();
    void isNoComponentsMarker_data();
    void isNoComponentsMarker();
};

void TestDiscovery::subFolderNames_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("no sub-folders") << QStringList() << QStringList();
    QTest::newRow("files are not folders") << QStringList{u"f:a.txt"_s} << QStringList();
    QTest::newRow("order regardless of letter case, ties by exact name")
        << QStringList{u"d:b"_s, u"d:A"_s, u"d:a"_s, u"d:C"_s}
        << QStringList{u"A"_s, u"a"_s, u"b"_s, u"C"_s};
    QTest::newRow("names compared character by character")
        << QStringList{u"d:Tool10"_s, u"d:tool2"_s, u"d:Tool1"_s}
        << QStringList{u"Tool1"_s, u"Tool10"_s, u"tool2"_s};
    QTest::newRow("sub-folders of sub-folders not listed")
        << QStringList{u"d:Tool/inner"_s} << QStringList{u"Tool"_s};
    QTest::newRow("link to a folder listed")
        << QStringList{u"d:Real"_s, u"l:Linked->Real"_s} << QStringList{u"Linked"_s, u"Real"_s};
    QTest::newRow("link to a file not listed")
        << QStringList{u"f:file"_s, u"l:Link->file"_s} << QStringList();
    QTest::newRow("dangling link not listed") << QStringList{u"l:Gone->missing"_s} << QStringList();
    QTest::newRow("FIFO not listed") << QStringList{u"p:pipe"_s} << QStringList();
    QTest::newRow("link to a FIFO not listed")
        << QStringList{u"p:pipe"_s, u"l:Link->pipe"_s} << QStringList();
    QTest::newRow("link to a device not listed")
        << QStringList{u"l:Null->/dev/null"_s} << QStringList();
}

void TestDiscovery::subFolderNames()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, expected);

    SuiteBuilder suite;
    QVERIFY(suite.isValid());
    if (!build(suite, entries)) {
        QSKIP("this system makes no FIFOs or symbolic links");
    }
    QCOMPARE(::subFolderNames(suite.path()), expected);
}

void TestDiscovery::componentFolders_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("marker");

    const QStringList none{u"NIL"_s, u"NIL"_s};
    QTest::newRow("no sub-folders") << QStringList() << none << true;
    QTest::newRow("sub-folders without a descriptor")
        << QStringList{u"d:A"_s, u"d:B"_s} << none << true;
    QTest::newRow("one component")
        << QStringList{u"f:Tool/kk.cfg"_s, u"d:Other"_s} << QStringList{u"Tool"_s} << false;
    QTest::newRow("descriptor beside the sub-folders does not count")
        << QStringList{u"f:kk.cfg"_s, u"d:Tool"_s} << none << true;
    QTest::newRow("folder named kk.cfg does not count")
        << QStringList{u"d:Tool/kk.cfg"_s} << none << true;
    QTest::newRow("descriptor two levels down not found")
        << QStringList{u"f:Tool/inner/kk.cfg"_s} << none << true;
    QTest::newRow("FIFO named kk.cfg does not count")
        << QStringList{u"d:Tool"_s, u"p:Tool/kk.cfg"_s} << none << true;
    QTest::newRow("dangling link named kk.cfg does not count")
        << QStringList{u"d:Tool"_s, u"l:Tool/kk.cfg->missing"_s} << none << true;
    QTest::newRow("link to a descriptor counts")
        << QStringList{u"f:Real/kk.cfg"_s, u"d:Other"_s, u"l:Other/kk.cfg->../Real/kk.cfg"_s}
        << QStringList{u"Other"_s, u"Real"_s} << false;
    QTest::newRow("linked component folder listed")
        << QStringList{u"f:Real/kk.cfg"_s, u"l:Linked->Real"_s}
        << QStringList{u"Linked"_s, u"Real"_s} << false;
    QTest::newRow("order regardless of letter case")
        << QStringList{u"f:b/kk.cfg"_s, u"f:A/kk.cfg"_s, u"d:B"_s, u"f:a/kk.cfg"_s, u"f:C/kk.cfg"_s}
        << QStringList{u"A"_s, u"a"_s, u"b"_s, u"C"_s} << false;
    QTest::newRow("single folder named NIL")
        << QStringList{u"f:NIL/kk.cfg"_s} << QStringList{u"NIL"_s} << false;
    QTest::newRow("folder named NIL among others")
        << QStringList{u"f:NIL/kk.cfg"_s, u"f:Alpha/kk.cfg"_s} << QStringList{u"Alpha"_s, u"NIL"_s}
        << false;
    QTest::newRow("folders named NIL and nil") << QStringList{u"f:NIL/kk.cfg"_s, u"f:nil/kk.cfg"_s}
                                               << QStringList{u"NIL"_s, u"nil"_s} << false;
}

void TestDiscovery::componentFolders()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, expected);
    QFETCH(bool, marker);

    SuiteBuilder suite;
    QVERIFY(suite.isValid());
    if (!build(suite, entries)) {
        QSKIP("this system makes no FIFOs or symbolic links");
    }
    RecordingSink sink;
    const QStringList list = ::componentFolders(suite.path(), u"kk.cfg"_s, sink);
    QCOMPARE(list, expected);
    QCOMPARE(::isNoComponentsMarker(list), marker);
    QCOMPARE(sink.texts, QStringList());
}

void TestDiscovery::longListLookedUpInParts()
{
    // A long list: each folder must still answer for itself, in order. Every third folder is a
    // component; the others hold a FIFO, a folder or nothing under the descriptor's name.
    SuiteBuilder suite;
    QVERIFY(suite.isValid());
    QStringList entries;
    QStringList expected;
    for (int i = 0; i < 4200; ++i) {
        const QString folder = u"F%1"_s.arg(4199 - i, 4, 10, QLatin1Char('0'));
        switch (i % 6) {
        case 0:
        case 3:
            entries << u"f:"_s + folder + u"/kk.cfg"_s;
            expected << folder;
            break;
        case 1:
            entries << u"d:"_s + folder << u"p:"_s + folder + u"/kk.cfg"_s;
            break;
        case 2:
            entries << u"d:"_s + folder + u"/kk.cfg"_s;
            break;
        default:
            entries << u"d:"_s + folder;
        }
    }
    if (!build(suite, entries)) {
        QSKIP("this system makes no FIFOs or symbolic links");
    }
    std::sort(expected.begin(), expected.end());
    RecordingSink sink;
    QCOMPARE(::componentFolders(suite.path(), u"kk.cfg"_s, sink), expected);
    QCOMPARE(sink.texts, QStringList());
}

void TestDiscovery::missingDirectory_data()
{
    QTest::addColumn<QString>("relative");

    QTest::newRow("missing directory") << u"nowhere"_s;
    QTest::newRow("a file instead of a directory") << u"file.txt"_s;
}

void TestDiscovery::missingDirectory()
{
    QFETCH(QString, relative);

    SuiteBuilder suite;
    QVERIFY(suite.isValid());
    suite.writeFile(u"file.txt"_s, "x");
    const QString directory = suite.filePath(relative);

    try {
        ::subFolderNames(directory);
        QFAIL("no error raised");
    } catch (const RuntimeError &error) {
        QCOMPARE(error.number(), int(RuntimeError::PathNotFound));
        QCOMPARE(error.description(), u"Path not found: "_s + directory);
    }

    // Through the uniform trap, as the search runs: one box naming the folder, no list.
    RecordingSink sink;
    QStringList list;
    QVERIFY(!withErrorTrap(sink, [&] { list = ::componentFolders(directory, u"kk.cfg"_s, sink); }));
    QVERIFY(list.isEmpty());
    QCOMPARE(sink.texts, QStringList{u"Error::Path not found: "_s + directory + u"\r\n"_s});
    QCOMPARE(sink.titles, QStringList{u"Error::Kestrelkit"_s});
}

void TestDiscovery::unreadableDirectory()
{
    if (runsAsSuperuser()) {
        QSKIP("permissions do not hold for the superuser");
    }
    SuiteBuilder suite;
    QVERIFY(suite.isValid());
    suite.writeFile(u"locked/Tool/kk.cfg"_s, "x");
    const QString directory = suite.filePath(u"locked"_s);
    QVERIFY(QFile::setPermissions(directory, QFileDevice::WriteOwner));
    int number = 0;
    try {
        ::subFolderNames(directory);
    } catch (const RuntimeError &error) {
        number = error.number();
        QVERIFY(error.description().endsWith(directory));
    }
    QFile::setPermissions(directory,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(number, int(RuntimeError::PermissionDenied));
}

void TestDiscovery::isNoComponentsMarker_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<bool>("expected");

    QTest::newRow("the marker") << QStringList{u"NIL"_s, u"NIL"_s} << true;
    QTest::newRow("one NIL") << QStringList{u"NIL"_s} << false;
    QTest::newRow("three NIL") << QStringList{u"NIL"_s, u"NIL"_s, u"NIL"_s} << false;
    QTest::newRow("NIL first") << QStringList{u"NIL"_s, u"Tool"_s} << false;
    QTest::newRow("NIL second") << QStringList{u"Tool"_s, u"NIL"_s} << false;
    QTest::newRow("other letter case") << QStringList{u"nil"_s, u"nil"_s} << false;
    QTest::newRow("empty list") << QStringList() << false;
}

void TestDiscovery::isNoComponentsMarker()
{
    QFETCH(QStringList, list);
    QFETCH(bool, expected);

    QCOMPARE(::isNoComponentsMarker(list), expected);
}

QTEST_GUILESS_MAIN(TestDiscovery)
#include "tst_discovery.moc"
