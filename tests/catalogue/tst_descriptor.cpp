// Reading descriptor files: decoding, line ends, the record they fill, and the files that are
// refused without being read.

#include "catalogue/descriptor.h"
#include "catalogue/errortrap.h"
#include "catalogue/runtimeerror.h"
#include "catalogue/textfile.h"
#include "support/finishesintime.h"
#include "support/platformsupport.h"
#include "support/recordingsink.h"
#include "support/suitebuilder.h"

#include <QTest>

#include <chrono>
#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ComponentInfo)

namespace
{
ComponentInfo freshRecord()
{
    ComponentInfo record;
    record.index = 2;
    record.folder = u"Tool"_s;
    return record;
}

ComponentInfo record(const QString &name, const QString &img, const QString &exe,
                     const QString &help, const QString &desc, const QString &tip)
{
    ComponentInfo info = freshRecord();
    info.name = name;
    info.img = img;
    info.exe = exe;
    info.help = help;
    info.desc = desc;
    info.tip = tip;
    return info;
}

// What a fresh record holds after the descriptor `content` is read for a user of `languages`.
ComponentInfo readWritten(const QByteArray &content, const QStringList &languages = {})
{
    SuiteBuilder suite;
    if (!suite.isValid()) {
        qFatal("no folder for the suite");
    }
    suite.writeDescriptor(u"Tool"_s, content);
    ComponentInfo info = freshRecord();
    ::readDescriptor(suite.filePath(u"Tool/kk.cfg"_s), info, languages);
    return info;
}

} // namespace

class TestDescriptor final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decodeText_data();
    void decodeText();
    void forEachLine_data();
    void forEachLine();
    void readDescriptor_data();
    void readDescriptor();
    void languageChosen_data();
    void languageChosen();
    void readDescriptorRefuses_data();
    void readDescriptorRefuses();
    void readTextFileSizeLimit_data();
    void readTextFileSizeLimit();
    void overflowKeepsEarlierLines_data();
    void overflowKeepsEarlierLines();
};

void TestDescriptor::decodeText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("ASCII") << QByteArray("NAME:Tool") << u"NAME:Tool"_s;
    QTest::newRow("UTF-8") << QByteArray("Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x9A\x80")
                           << u"Caf\u00e9 \u20ac \U0001F680"_s;
    QTest::newRow("byte-order mark dropped") << QByteArray("\xEF\xBB\xBFNAME:x") << u"NAME:x"_s;
    QTest::newRow("byte-order mark alone") << QByteArray("\xEF\xBB\xBF") << QString();
    QTest::newRow("Windows-1252 0x80 is the euro sign") << QByteArray("\x80") << u"\u20ac"_s;
    QTest::newRow("Windows-1252 e acute") << QByteArray("Caf\xE9 ok") << u"Caf\u00e9 ok"_s;
    QTest::newRow("Windows-1252 quotes and ellipsis")
        << QByteArray("\x93q\x94 \x85 \x9F") << u"\u201cq\u201d \u2026 \u0178"_s;
    QTest::newRow("Windows-1252 unassigned byte") << QByteArray("a\x81z") << u"a\u0081z"_s;
    QTest::newRow("Windows-1252 upper half") << QByteArray("\xA0\xFF") << u"\u00a0\u00ff"_s;
    QTest::newRow("one invalid sequence decodes the whole text as Windows-1252")
        << QByteArray("\xC3\xA9 \xE9 x") << u"\u00c3\u00a9 \u00e9 x"_s;
    QTest::newRow("overlong UTF-8 is not UTF-8") << QByteArray("\xC0\xAF") << u"\u00c0\u00af"_s;
    QTest::newRow("encoded surrogate is not UTF-8")
        << QByteArray("\xED\xA0\x80") << u"\u00ed\u00a0\u20ac"_s;
    QTest::newRow("Windows-1252 e acute as the last byte")
        << QByteArray("Caf\xE9") << u"Caf\u00e9"_s;
    QTest::newRow("lead byte as the last byte") << QByteArray("x\xC3") << u"x\u00c3"_s;
    QTest::newRow("UTF-8 sequence cut short at the end")
        << QByteArray("\xE2\x82") << u"\u00e2\u201a"_s;
}

void TestDescriptor::decodeText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);

    QCOMPARE(::decodeText(bytes), expected);
}

void TestDescriptor::forEachLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty text has no line") << QString() << QStringList();
    QTest::newRow("last line without an end") << u"a"_s << QStringList{u"a"_s};
    QTest::newRow("CR LF") << u"a\r\nb\r\n"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("CR alone") << u"a\rb\r"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("LF alone") << u"a\nb\n"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("mixed") << u"a\rb\nc\r\nd"_s << QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s};
    QTest::newRow("one empty line") << u"\r\n"_s << QStringList{QString()};
    QTest::newRow("CR CR is two lines") << u"\r\r"_s << QStringList{QString(), QString()};
    QTest::newRow("LF CR is two lines") << u"a\n\rb"_s << QStringList{u"a"_s, QString(), u"b"_s};
    QTest::newRow("CR CR LF is two lines")
        << u"a\r\r\nb"_s << QStringList{u"a"_s, QString(), u"b"_s};
    QTest::newRow("other control characters stay")
        << u"a\tb\vc\fd"_s << QStringList{u"a\tb\vc\fd"_s};
}

void TestDescriptor::forEachLine()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);

    QStringList seen;
    ::forEachLine(text, [&seen](QStringView line) { seen.append(line.toString()); });
    QCOMPARE(seen, lines);
}

void TestDescriptor::readDescriptor_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<ComponentInfo>("expected");

    const ComponentInfo full
        = record(u"Tool"_s, u"pic.png"_s, u"run.sh"_s, u"help.txt"_s, u"Short."_s, u"A tip"_s);
    QTest::newRow("CR LF endings") << QByteArray(
        "NAME:Tool\r\nIMG:pic.png\r\nEXE:run.sh\r\nHELP:help.txt\r\nDESC:Short.\r\nTIP:A tip\r\n")
                                   << full;
    QTest::newRow("CR-only endings")
        << QByteArray("NAME:Tool\rIMG:pic.png\rEXE:run.sh\rHELP:help.txt\rDESC:Short.\rTIP:A tip\r")
        << full;
    QTest::newRow("LF-only endings")
        << QByteArray("NAME:Tool\nIMG:pic.png\nEXE:run.sh\nHELP:help.txt\nDESC:Short.\nTIP:A tip\n")
        << full;
    QTest::newRow("mixed endings, last line without an end") << QByteArray(
        "NAME:Tool\rIMG:pic.png\nEXE:run.sh\r\nHELP:help.txt\n\rDESC:Short.\r\r\nTIP:A tip")
                                                             << full;
    QTest::newRow("any order") << QByteArray(
        "TIP:A tip\nDESC:Short.\nHELP:help.txt\nEXE:run.sh\nIMG:pic.png\nNAME:Tool")
                               << full;
    QTest::newRow("byte-order mark before the first key")
        << QByteArray("\xEF\xBB\xBFNAME:Tool\r\nEXE:run.sh\r\n")
        << record(u"Tool"_s, {}, u"run.sh"_s, {}, {}, {});
    QTest::newRow("UTF-8 values") << QByteArray("NAME:Caf\xC3\xA9 \xE2\x82\xAC\r\n")
                                  << record(u"Caf\u00e9 \u20ac"_s, {}, {}, {}, {}, {});
    QTest::newRow("Windows-1252 values")
        << QByteArray("NAME:Caf\xE9 \x80\r\nTIP:\x93quoted\x94\r\n")
        << record(u"Caf\u00e9 \u20ac"_s, {}, {}, {}, {}, u"\u201cquoted\u201d"_s);
    QTest::newRow("Windows-1252 character ends the file")
        << QByteArray("EXE:run.sh\r\nNAME:Caf\xE9")
        << record(u"Caf\u00e9"_s, {}, u"run.sh"_s, {}, {}, {});
    QTest::newRow("repeated key: last one wins")
        << QByteArray("EXE:first\r\nNAME:n\r\nEXE:second\r\n")
        << record(u"n"_s, {}, u"second"_s, {}, {}, {});
    QTest::newRow("key without colon empties the field")
        << QByteArray("EXE:run.sh\r\nIMG:pic.png\r\nEXE\r\n")
        << record({}, u"pic.png"_s, {}, {}, {}, {});
    QTest::newRow("leading colon skipped") << QByteArray(":EXE:run.sh\r\n") << freshRecord();
    QTest::newRow("space before the colon skipped")
        << QByteArray("EXE :run.sh\r\n") << freshRecord();
    QTest::newRow("space after the colon kept")
        << QByteArray("EXE: run.sh\r\n") << record({}, {}, u" run.sh"_s, {}, {}, {});
    QTest::newRow("lower-case keys skipped")
        << QByteArray("exe:run.sh\r\nName:x\r\n") << freshRecord();
    QTest::newRow("colons inside values kept")
        << QByteArray("EXE:bin:run.sh\r\nDESC:Note: fine\r\n")
        << record({}, {}, u"bin:run.sh"_s, {}, u"Note: fine"_s, {});
    QTest::newRow("empty lines skipped")
        << QByteArray("\r\n\r\nNAME:n\n\n\r\r") << record(u"n"_s, {}, {}, {}, {}, {});
    QTest::newRow("long DESC wrapped")
        << QByteArray("DESC:" + QByteArray(51, 'a') + " and more\r\n")
        << record({}, {}, {}, {}, QString(51, u'a') + u"\r\n and more"_s, {});
    QTest::newRow("empty file") << QByteArray() << freshRecord();
    QTest::newRow("byte-order mark only") << QByteArray("\xEF\xBB\xBF") << freshRecord();
}

void TestDescriptor::readDescriptor()
{
    QFETCH(QByteArray, content);
    QFETCH(ComponentInfo, expected);

    QCOMPARE(readWritten(content), expected);
}

void TestDescriptor::languageChosen_data()
{
    QTest::addColumn<QStringList>("uiLanguages");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<ComponentInfo>("expected");

    const QByteArray all = "DESC:plain\r\nDESC[de]:de\r\nDESC[de_AT]:de_AT\r\nDESC[fr]:fr\r\n";
    const auto desc = [](const QString &text) {
        return record({}, {}, {}, {}, text, {});
    };
    const QStringList austrian{u"de-AT"_s};
    QTest::newRow("no language: the plain key") << QStringList() << all << desc(u"plain"_s);
    QTest::newRow("C: the plain key") << QStringList{u"C"_s} << all << desc(u"plain"_s);
    QTest::newRow("language and territory") << austrian << all << desc(u"de_AT"_s);
    QTest::newRow("another territory: the language")
        << QStringList{u"de-DE"_s} << all << desc(u"de"_s);
    QTest::newRow("territory missing: the language")
        << austrian << QByteArray("DESC:plain\r\nDESC[de]:de\r\n") << desc(u"de"_s);
    QTest::newRow("language missing: the plain key")
        << austrian << QByteArray("DESC:plain\r\nDESC[fr]:fr\r\n") << desc(u"plain"_s);
    QTest::newRow("better line first, plain key after it")
        << austrian << QByteArray("DESC[de]:de\r\nDESC:plain\r\n") << desc(u"de"_s);
    QTest::newRow("second language when the first has none")
        << QStringList{u"it-IT"_s, u"fr-FR"_s} << all << desc(u"fr"_s);
    QTest::newRow("the first language wins")
        << QStringList{u"fr-FR"_s, u"de-AT"_s} << all << desc(u"fr"_s);
    QTest::newRow("English first: the plain key")
        << QStringList{u"en-GB"_s, u"de-AT"_s} << all << desc(u"plain"_s);
    QTest::newRow("as LANGUAGE and LANG write them")
        << QStringList{u"de_AT.UTF-8"_s} << all << desc(u"de_AT"_s);
    QTest::newRow("script between language and territory")
        << QStringList{u"sr-Latn-RS"_s} << QByteArray("DESC:plain\r\nDESC[sr_RS]:sr_RS\r\n")
        << desc(u"sr_RS"_s);
    QTest::newRow("tagged line alone")
        << austrian << QByteArray("DESC[de]:de\r\n") << desc(u"de"_s);
    QTest::newRow("tagged line alone, another language")
        << QStringList{u"fr"_s} << QByteArray("DESC[de]:de\r\n") << desc({});
    QTest::newRow("same tag twice: the last one")
        << austrian << QByteArray("DESC[de]:one\r\nDESC[de]:two\r\n") << desc(u"two"_s);
    QTest::newRow("NAME and TIP too")
        << austrian << QByteArray("NAME:n\r\nNAME[de]:N\r\nTIP[de_AT]:T\r\nTIP:t\r\n")
        << record(u"N"_s, {}, {}, {}, {}, u"T"_s);
    QTest::newRow("each key its own best line")
        << austrian << QByteArray("DESC[de]:de\r\nTIP:t\r\nNAME[de_AT]:N\r\n")
        << record(u"N"_s, {}, {}, {}, u"de"_s, u"t"_s);
    QTest::newRow("the chosen text wrapped at 52")
        << austrian << QByteArray("DESC:x\r\nDESC[de]:" + QByteArray(51, 'a') + " und mehr\r\n")
        << desc(QString(51, u'a') + u"\r\n und mehr"_s);
    QTest::newRow("EXE, HELP and IMG take no tag")
        << austrian << QByteArray("EXE:run\r\nEXE[de]:x\r\nIMG[de]:x\r\nHELP[de]:x\r\n")
        << record({}, {}, u"run"_s, {}, {}, {});
    QTest::newRow("malformed tags skipped")
        << austrian
        << QByteArray("DESC:plain\r\nDESC[de-AT]:a\r\nDESC[DE]:b\r\nDESC[de_at]:c\r\n"
                      "DESC[]:d\r\nDESC[de]x:e\r\nDESC [de]:f\r\ndesc[de]:g\r\n")
        << desc(u"plain"_s);
}

void TestDescriptor::languageChosen()
{
    QFETCH(QStringList, uiLanguages);
    QFETCH(QByteArray, content);
    QFETCH(ComponentInfo, expected);

    QCOMPARE(readWritten(content, descriptorLanguages(uiLanguages)), expected);
}

void TestDescriptor::readDescriptorRefuses_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("number");

    QTest::newRow("missing file") << u"missing"_s << int(RuntimeError::FileNotFound);
    QTest::newRow("dangling link") << u"dangling"_s << int(RuntimeError::FileNotFound);
    QTest::newRow("folder named kk.cfg") << u"folder"_s << int(RuntimeError::PathFileAccessError);
    QTest::newRow("FIFO") << u"fifo"_s << int(RuntimeError::PathFileAccessError);
    QTest::newRow("link to a FIFO") << u"fifo link"_s << int(RuntimeError::PathFileAccessError);
    QTest::newRow("link to a device") << u"device link"_s << int(RuntimeError::PathFileAccessError);
    QTest::newRow("over 1 MiB") << u"large"_s << int(RuntimeError::PathFileAccessError);
}

void TestDescriptor::readDescriptorRefuses()
{
    QFETCH(QString, kind);
    QFETCH(int, number);

    SuiteBuilder suite;
    QVERIFY(suite.isValid());
    suite.makeFolder(u"Tool"_s);
    const QString path = suite.filePath(u"Tool/kk.cfg"_s);
    bool made = true;
    if (kind == u"dangling") {
        made = makeSymlink(u"missing.cfg"_s, path);
    } else if (kind == u"folder") {
        suite.makeFolder(u"Tool/kk.cfg"_s);
    } else if (kind == u"fifo") {
        made = makeFifo(path);
    } else if (kind == u"fifo link") {
        made = makeFifo(suite.filePath(u"Tool/pipe"_s)) && makeSymlink(u"pipe"_s, path);
    } else if (kind == u"device link") {
        made = makeSymlink(u"/dev/zero"_s, path);
    } else if (kind == u"large") {
        suite.writeDescriptor(u"Tool"_s, "NAME:big\r\n" + QByteArray(1024 * 1024, 'x'));
    }
    if (!made) {
        QSKIP("this system makes no FIFOs or symbolic links");
    }

    ComponentInfo info = freshRecord();
    int raised = 0;
    QString description;
    // Reading that blocks stops the test program.
    finishesInTime([&] {
        try {
            ::readDescriptor(path, info);
        } catch (const RuntimeError &error) {
            raised = error.number();
            description = error.description();
        }
    });
    QCOMPARE(raised, number);
    QVERIFY2(description.endsWith(path), qPrintable(description));
    QCOMPARE(info, freshRecord());
}

void TestDescriptor::readTextFileSizeLimit_data()
{
    QTest::addColumn<qsizetype>("size");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("exactly 1 MiB") << qsizetype(1024 * 1024) << true;
    QTest::newRow("one byte over 1 MiB") << qsizetype(1024 * 1024 + 1) << false;
    QTest::newRow("4 MiB") << qsizetype(4 * 1024 * 1024) << false;
}

void TestDescriptor::readTextFileSizeLimit()
{
    QFETCH(qsizetype, size);
    QFETCH(bool, accepted);

    SuiteBuilder suite;
    QVERIFY(suite.isValid());
    suite.writeFile(u"big.txt"_s, QByteArray(size, 'x'));
    const QString path = suite.filePath(u"big.txt"_s);
    try {
        const QString text = ::readTextFile(path);
        QVERIFY(accepted);
        QCOMPARE(text.size(), size);
    } catch (const RuntimeError &error) {
        QVERIFY2(!accepted, qPrintable(error.description()));
        QCOMPARE(error.number(), int(RuntimeError::PathFileAccessError));
        QVERIFY(error.description().endsWith(path));
    }
}

void TestDescriptor::overflowKeepsEarlierLines_data()
{
    QTest::addColumn<qsizetype>("descLength");
    QTest::addColumn<bool>("overflows");

    QTest::newRow("DESC of 32,766 characters") << qsizetype(32766) << false;
    QTest::newRow("DESC of 32,767 characters") << qsizetype(32767) << true;
}

void TestDescriptor::overflowKeepsEarlierLines()
{
    QFETCH(qsizetype, descLength);
    QFETCH(bool, overflows);

    SuiteBuilder suite;
    QVERIFY(suite.isValid());
    suite.writeDescriptor(u"Tool"_s,
                          "NAME:n\r\nIMG:pic.png\r\nDESC:" + QByteArray(descLength, 'd')
                              + "\r\nEXE:run.sh\r\n");

    ComponentInfo info = freshRecord();
    RecordingSink sink;
    const bool completed
        = withErrorTrap(sink, [&] { ::readDescriptor(suite.filePath(u"Tool/kk.cfg"_s), info); });

    if (overflows) {
        QVERIFY(!completed);
        QCOMPARE(sink.texts, QStringList{u"Error::Overflow\r\n"_s});
        QCOMPARE(sink.titles, QStringList{u"Error::Kestrelkit"_s});
        QCOMPARE(sink.icons, QList<MessageIcon>{MessageIcon::Critical});
        // The lines before the failing one stay, the failing one and those after it do not.
        QCOMPARE(info, record(u"n"_s, u"pic.png"_s, {}, {}, {}, {}));
    } else {
        QVERIFY(completed);
        QVERIFY(sink.texts.isEmpty());
        QCOMPARE(info,
                 record(u"n"_s, u"pic.png"_s, u"run.sh"_s, {}, QString(descLength, u'd'), {}));
    }
}

QTEST_GUILESS_MAIN(TestDescriptor)
#include "tst_descriptor.moc"
