// Hostile application folders: ten thousand components, loops and dangling links, and folders and
// files the user may not read. Each start-up runs in a process of its own (robustness.h), so that
// one that hangs is killed and one that must run without root's privileges can.

#include "robustness.h"
#include "support/suitebuilder.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace
{
enum class Layout {
    LoopBelowComponent,
    LoopBetweenTopFolders,
    LinkToTheApplicationFolder,
    DanglingTopFolder,
    DanglingDescriptor,
    DescriptorLinkedToItself,
};

enum class Locked {
    FolderWithoutPermissions,
    FolderReadableNotSearchable,
    FolderSearchableNotReadable,
    DescriptorUnreadable,
    PictureUnreadable,
    ApplicationFolderNotListable,
};

bool link(const QString &target, const QString &path)
{
    return QFile::link(target, path);
}

bool setMode(const QString &path, mode_t mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

QString boxesText(const LoadReport &report)
{
    QStringList texts;
    for (const RecordingServices::Message &box : report.boxes) {
        texts.append(box.title + u": "_s + box.text.left(300));
    }
    return texts.join(u" | "_s);
}

// Gives back the permissions a row took away, so that the fixture can be removed by any user.
struct ModeRestorer {
    QStringList paths;
    ~ModeRestorer()
    {
        for (const QString &path : paths) {
            setMode(path, 0755);
        }
    }
};
} // namespace

class TestHostileFolders final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tenThousandComponents();
    void linksAndLoops_data();
    void linksAndLoops();
    void unreadable_data();
    void unreadable();
};

void TestHostileFolders::tenThousandComponents()
{
    constexpr int count = 10000;
    SuiteBuilder suite;
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QVERIFY(picture.save(suite.filePath(u"pic.png"_s), "PNG"));
    QFile pictureFile(suite.filePath(u"pic.png"_s));
    QVERIFY(pictureFile.open(QIODevice::ReadOnly));
    const QByteArray pictureBytes = pictureFile.readAll();
    QFile::remove(suite.filePath(u"pic.png"_s));
    QStringList expected;
    for (int i = 0; i < count; ++i) {
        const QString folder = u"C%1"_s.arg(i, 5, 10, QLatin1Char('0'));
        suite.writeDescriptor(folder,
                              "NAME:" + folder.toUtf8()
                                  + "\r\nIMG:pic.png\r\nEXE:run\r\nDESC:Number "
                                  + QByteArray::number(i) + ".\r\n");
        suite.writeFile(folder + u"/pic.png"_s, pictureBytes);
        suite.writeFile(folder + u"/run"_s, "#!/bin/sh\n");
        expected << folder;
    }

    const LoadReport report = runLoad(suite.path(), {}, 600);
    QVERIFY2(report.finished, qPrintable(report.failure));
    qInfo("%d components: peak memory %lld KiB, empty suite %lld KiB", count, report.peakKb,
          emptySuitePeakKb());
    QVERIFY2(report.boxes.isEmpty(), qPrintable(boxesText(report)));
    QCOMPARE(report.folders(), expected);
    QCOMPARE(report.buttons, qint64(count));
    for (const LoadReport::Component &component : report.components) {
        QVERIFY2(component.visible && component.described, qPrintable(component.folder));
    }
    QVERIFY(report.downEnabled);
}

void TestHostileFolders::linksAndLoops_data()
{
    QTest::addColumn<Layout>("layout");
    QTest::addColumn<QStringList>("listed");
    const QStringList good{u"Good"_s};
    QTest::newRow("sub-folder link loop inside a component")
        << Layout::LoopBelowComponent << QStringList{u"Good"_s, u"Looping"_s};
    QTest::newRow("two top folders linked to each other") << Layout::LoopBetweenTopFolders << good;
    QTest::newRow("a link back to the application folder")
        << Layout::LinkToTheApplicationFolder << good;
    QTest::newRow("dangling link among the folders") << Layout::DanglingTopFolder << good;
    QTest::newRow("descriptor that is a dangling link") << Layout::DanglingDescriptor << good;
    QTest::newRow("descriptor linked to itself") << Layout::DescriptorLinkedToItself << good;
}

void TestHostileFolders::linksAndLoops()
{
    QFETCH(Layout, layout);
    QFETCH(QStringList, listed);
    SuiteBuilder suite;
    suite.addComponent(u"Good"_s);
    switch (layout) {
    case Layout::LoopBelowComponent:
        suite.addComponent(u"Looping"_s);
        QVERIFY(link(u"."_s, suite.filePath(u"Looping/self"_s)));
        QVERIFY(link(u"../Looping"_s, suite.filePath(u"Looping/parent"_s)));
        QVERIFY(link(u"a"_s, suite.filePath(u"Looping/b"_s)));
        QVERIFY(link(u"b"_s, suite.filePath(u"Looping/a"_s)));
        break;
    case Layout::LoopBetweenTopFolders:
        QVERIFY(link(u"Second"_s, suite.filePath(u"First"_s)));
        QVERIFY(link(u"First"_s, suite.filePath(u"Second"_s)));
        break;
    case Layout::LinkToTheApplicationFolder:
        QVERIFY(link(u"."_s, suite.filePath(u"Self"_s)));
        QVERIFY(link(suite.path(), suite.filePath(u"Root"_s)));
        break;
    case Layout::DanglingTopFolder:
        QVERIFY(link(u"nowhere"_s, suite.filePath(u"Gone"_s)));
        break;
    case Layout::DanglingDescriptor:
        suite.makeFolder(u"Broken"_s);
        QVERIFY(link(u"missing.cfg"_s, suite.filePath(u"Broken/kk.cfg"_s)));
        break;
    case Layout::DescriptorLinkedToItself:
        suite.makeFolder(u"Broken"_s);
        QVERIFY(link(u"kk.cfg"_s, suite.filePath(u"Broken/kk.cfg"_s)));
        break;
    }

    const LoadReport report = runLoad(suite.path());
    QVERIFY2(report.finished, qPrintable(report.failure));
    QVERIFY2(report.boxes.isEmpty(), qPrintable(boxesText(report)));
    QCOMPARE(report.folders(), listed);
    for (const LoadReport::Component &component : report.components) {
        QVERIFY2(component.visible && component.enabled && component.described,
                 qPrintable(component.folder));
    }
}

void TestHostileFolders::unreadable_data()
{
    QTest::addColumn<Locked>("locked");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QStringList>(
        "boxesSay"); // one entry per box: what it names, "%1" for the suite
    const QStringList good{u"Good"_s};
    QTest::newRow("folder without any permission")
        << Locked::FolderWithoutPermissions << good << QStringList();
    QTest::newRow("folder readable but not searchable")
        << Locked::FolderReadableNotSearchable << good << QStringList();
    QTest::newRow("folder searchable but not readable")
        << Locked::FolderSearchableNotReadable << QStringList{u"Good"_s, u"Locked"_s}
        << QStringList();
    QTest::newRow("descriptor without read permission")
        << Locked::DescriptorUnreadable << QStringList{u"Good"_s, u"Locked"_s}
        << QStringList{u"%1/Locked/kk.cfg"_s};
    QTest::newRow("picture without read permission")
        << Locked::PictureUnreadable << QStringList{u"Good"_s, u"Locked"_s}
        << QStringList{u"%1/Locked/pic.png"_s};
    QTest::newRow("application folder that cannot be listed")
        << Locked::ApplicationFolderNotListable << QStringList()
        << QStringList{u"%1"_s, u"Could not Find Any components"_s};
}

void TestHostileFolders::unreadable()
{
    QFETCH(Locked, locked);
    QFETCH(QStringList, listed);
    QFETCH(QStringList, boxesSay);
    const Unprivileged runner = unprivilegedRunner();
    if (!runner.available) {
        QSKIP(qPrintable(runner.reason));
    }
    SuiteBuilder suite;
    openUpForOthers(suite.path());
    suite.addComponent(u"Good"_s);
    suite.addComponent(u"Locked"_s);
    ModeRestorer restore;
    const auto lock = [&restore](const QString &path, mode_t mode) {
        restore.paths.prepend(path);
        return setMode(path, mode);
    };
    switch (locked) {
    case Locked::FolderWithoutPermissions:
        QVERIFY(lock(suite.filePath(u"Locked"_s), 0));
        break;
    case Locked::FolderReadableNotSearchable:
        QVERIFY(lock(suite.filePath(u"Locked"_s), 0644));
        break;
    case Locked::FolderSearchableNotReadable:
        QVERIFY(lock(suite.filePath(u"Locked"_s), 0311));
        break;
    case Locked::DescriptorUnreadable:
        QVERIFY(lock(suite.filePath(u"Locked/kk.cfg"_s), 0));
        break;
    case Locked::PictureUnreadable:
        QVERIFY(lock(suite.filePath(u"Locked/pic.png"_s), 0));
        break;
    case Locked::ApplicationFolderNotListable:
        QVERIFY(lock(suite.path(), 0311));
        break;
    }

    const LoadReport report = runLoad(suite.path(), runner.prefix);
    QVERIFY2(report.finished, qPrintable(report.failure));
    QCOMPARE(report.folders(), listed);
    QCOMPARE(report.boxes.size(), boxesSay.size());
    for (qsizetype i = 0; i < boxesSay.size(); ++i) {
        const QString says = QString(boxesSay.at(i)).replace(u"%1"_s, suite.path());
        QVERIFY2(report.boxes.at(i).text.contains(says), qPrintable(boxesText(report)));
    }
    if (const LoadReport::Component *good = report.component(u"Good"_s)) {
        QVERIFY(good->visible && good->enabled && good->described);
    }
    if (const LoadReport::Component *other = report.component(u"Locked"_s)) {
        QCOMPARE(other->visible, boxesSay.isEmpty());
    }
}

QTEST_MAIN(TestHostileFolders)
#include "tst_hostilefolders.moc"
