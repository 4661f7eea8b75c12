// Reading components ahead on other threads gives what reading them one by one gives: the same
// records, pictures, failures and list, in list order, however far the readers run ahead.

#include "catalogue/discovery.h"
#include "suite/componentreading.h"
#include "support/finishesintime.h"
#include "support/recordingsink.h"
#include "support/suitebuilder.h"

#include <QTest>

#include <thread>

using namespace Qt::StringLiterals;

namespace
{
QString folderName(int i)
{
    return u"Tool %1"_s.arg(i, 4, 10, QLatin1Char('0'));
}

// A suite of `count` components; every `faultEvery`-th one (when not 0) fails in one of the ways
// reading a component can fail, taking turns.
void writeSuite(SuiteBuilder &suite, int count, int faultEvery, int pictureSide)
{
    for (int i = 0; i < count; ++i) {
        const QString folder = folderName(i);
        const QColor colour = QColor::fromHsv((i * 37) % 360, 200, 200);
        const int fault = faultEvery > 0 && i % faultEvery == 0 ? (i / faultEvery) % 4 : -1;
        const QByteArray name = folder.toUtf8();
        QByteArray descriptor = "NAME:" + name + "\r\nIMG:tool.png\r\nEXE:tool\r\nDESC:Tool "
            + QByteArray::number(i) + " does one thing and does it well.\r\n";
        if (fault == 0) {
            descriptor = QByteArray(1024 * 1024 + 1, 'x'); // too large
        }
        suite.writeDescriptor(folder, descriptor);
        if (fault == 1) {
            suite.writeFile(folder + u"/tool.png"_s, "not a picture");
        } else if (fault != 2) {
            suite.writePicture(folder + u"/tool.png"_s, colour, pictureSide, pictureSide);
        }
        if (fault != 3) {
            suite.writeFile(folder + u"/tool"_s, "#!/bin/sh\n");
        }
    }
}

// What a button of the usual size shows of a picture.
const QSize area(123, 51);

void compareLoaded(const LoadedComponent &ahead, const LoadedComponent &inOrder)
{
    QCOMPARE(ahead.record, inOrder.record);
    QCOMPARE(ahead.failure.has_value(), inOrder.failure.has_value());
    if (ahead.failure) {
        QCOMPARE(ahead.failure->number(), inOrder.failure->number());
        QCOMPARE(ahead.failure->description(), inOrder.failure->description());
    }
    QCOMPARE(ahead.picture.size(), inOrder.picture.size());
    QVERIFY(ahead.picture.part(area).image == inOrder.picture.part(area).image);
    QCOMPARE(ahead.exeFound, inOrder.exeFound);
    QCOMPARE(ahead.searchFailure.has_value(), inOrder.searchFailure.has_value());
}
} // namespace

class TestReadAhead : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void takesWhatReadingInOrderGives_data();
    void takesWhatReadingInOrderGives();
    void earlyDiscoveryReportsAsDiscoveryDoes_data();
    void earlyDiscoveryReportsAsDiscoveryDoes();
    void unusedReadingEndsPromptly();
};

void TestReadAhead::takesWhatReadingInOrderGives_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("faultEvery");
    QTest::addColumn<int>("pictureSide");
    QTest::addColumn<int>("firstTakeAfterMs");

    QTest::newRow("a handful") << 6 << 2 << 32 << 0;
    QTest::newRow("many, with failures") << 400 << 7 << 32 << 0;
    // Every component is read before the first is taken.
    QTest::newRow("readers run ahead first") << 400 << 5 << 32 << 200;
    // Pictures larger than the button: the part a button shows is kept, not the file.
    QTest::newRow("large pictures") << 40 << 9 << 512 << 200;
}

void TestReadAhead::takesWhatReadingInOrderGives()
{
    QFETCH(int, count);
    QFETCH(int, faultEvery);
    QFETCH(int, pictureSide);
    QFETCH(int, firstTakeAfterMs);
    SuiteBuilder suite;
    writeSuite(suite, count, faultEvery, pictureSide);
    RecordingSink sink;
    const QStringList folders = componentFolders(suite.path(), u"kk.cfg"_s, sink);
    QCOMPARE(folders.size(), count);

    ComponentReading reading(suite.path(), area);
    std::this_thread::sleep_for(std::chrono::milliseconds(firstTakeAfterMs));
    QCOMPARE(reading.takeFolders(sink), folders);
    int failures = 0;
    for (qsizetype i = 0; i < folders.size(); ++i) {
        const LoadedComponent ahead = reading.take(i);
        const LoadedComponent inOrder = readComponent(suite.path(), folders.at(i), area);
        compareLoaded(ahead, inOrder);
        if (QTest::currentTestFailed()) {
            qWarning() << "component" << i << folders.at(i);
            return;
        }
        failures += ahead.failure || !ahead.exeFound ? 1 : 0;
    }
    QCOMPARE(failures, faultEvery > 0 ? (count + faultEvery - 1) / faultEvery : 0);
}

void TestReadAhead::earlyDiscoveryReportsAsDiscoveryDoes_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<int>("components");
    QTest::addColumn<bool>("readsAhead");

    QTest::newRow("a suite") << u""_s << 30 << true;
    QTest::newRow("no components") << u""_s << 0 << false;
    QTest::newRow("no such folder") << u"not-there"_s << 0 << false;
}

void TestReadAhead::earlyDiscoveryReportsAsDiscoveryDoes()
{
    QFETCH(QString, relative);
    QFETCH(int, components);
    QFETCH(bool, readsAhead);
    SuiteBuilder suite;
    writeSuite(suite, components, 0, 32);
    const QString directory = relative.isEmpty() ? suite.path() : suite.filePath(relative);

    RecordingSink directSink;
    QStringList direct;
    QString directError;
    try {
        direct = componentFolders(directory, u"kk.cfg"_s, directSink);
    } catch (const RuntimeError &error) {
        directError = error.description();
    }

    ComponentReading reading(directory, area);
    RecordingSink earlySink;
    QStringList early;
    QString earlyError;
    try {
        early = reading.takeFolders(earlySink);
    } catch (const RuntimeError &error) {
        earlyError = error.description();
    }
    QCOMPARE(early, direct);
    QCOMPARE(earlyError, directError);
    QCOMPARE(earlySink.texts, directSink.texts);
    if (readsAhead) {
        compareLoaded(reading.take(0), readComponent(directory, early.at(0), area));
    }
}

void TestReadAhead::unusedReadingEndsPromptly()
{
    // A window that fails before it has taken everything lets the rest go: the threads stop.
    SuiteBuilder suite;
    writeSuite(suite, 300, 0, 32);
    finishesInTime([&] { ComponentReading reading(suite.path(), area); });
}

QTEST_MAIN(TestReadAhead)
#include "tst_readahead.moc"
