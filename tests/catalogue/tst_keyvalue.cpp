// Cutting descriptor lines into key and value, and storing them in the component record.

#include "catalogue/descriptor.h"
#include "catalogue/keyvalue.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ComponentInfo)

namespace
{
// The record as loadComponent hands it to the reader: position and folder already set.
ComponentInfo freshRecord()
{
    ComponentInfo record;
    record.index = 3;
    record.folder = u"Tool"_s;
    return record;
}
} // namespace

class TestKeyValue final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void splitKeyValue_data();
    void splitKeyValue();
    void applyDescriptorLine_data();
    void applyDescriptorLine();
};

void TestKeyValue::splitKeyValue_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("key and value") << u"NAME:Tool"_s << u":"_s << u"NAME"_s << u"Tool"_s;
    QTest::newRow("colon inside the value") << u"EXE:bin:x"_s << u":"_s << u"EXE"_s << u"bin:x"_s;
    QTest::newRow("no colon keeps the line whole") << u"NAME"_s << u":"_s << u"NAME"_s << QString();
    QTest::newRow("leading colon gives an empty key")
        << u":x:y"_s << u":"_s << QString() << u"x:y"_s;
    QTest::newRow("colon at the end") << u"DESC:"_s << u":"_s << u"DESC"_s << QString();
    QTest::newRow("colon alone") << u":"_s << u":"_s << QString() << QString();
    QTest::newRow("empty line") << QString() << u":"_s << QString() << QString();
    QTest::newRow("space after the colon stays in the value")
        << u"IMG: pic.png "_s << u":"_s << u"IMG"_s << u" pic.png "_s;
    QTest::newRow("space before the colon stays in the key")
        << u" IMG :pic.png"_s << u":"_s << u" IMG "_s << u"pic.png"_s;
    QTest::newRow("other separator") << u"a=b=c"_s << u"="_s << u"a"_s << u"b=c"_s;
    QTest::newRow("separator compared exactly") << u"aXb"_s << u"x"_s << u"aXb"_s << QString();
}

void TestKeyValue::splitKeyValue()
{
    QFETCH(QString, line);
    QFETCH(QString, separator);
    QFETCH(QString, key);
    QFETCH(QString, value);

    QCOMPARE(::splitKeyValue(line, separator), value);
    QCOMPARE(line, key);
}

void TestKeyValue::applyDescriptorLine_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<ComponentInfo>("expected");

    const auto with = [](auto field, const QString &value) {
        ComponentInfo record = freshRecord();
        record.*field = value;
        return record;
    };

    QTest::newRow("NAME") << QStringList{u"NAME:Tool Kit"_s}
                          << with(&ComponentInfo::name, u"Tool Kit"_s);
    QTest::newRow("IMG") << QStringList{u"IMG:pic.png"_s}
                         << with(&ComponentInfo::img, u"pic.png"_s);
    QTest::newRow("EXE") << QStringList{u"EXE:run.sh"_s} << with(&ComponentInfo::exe, u"run.sh"_s);
    QTest::newRow("HELP") << QStringList{u"HELP:help.txt"_s}
                          << with(&ComponentInfo::help, u"help.txt"_s);
    QTest::newRow("TIP") << QStringList{u"TIP:A tip"_s} << with(&ComponentInfo::tip, u"A tip"_s);
    QTest::newRow("DESC") << QStringList{u"DESC:Short text."_s}
                          << with(&ComponentInfo::desc, u"Short text."_s);
    QTest::newRow("DESC wrapped at 52")
        << QStringList{u"DESC:"_s + QString(51, u'a') + u" tail"_s}
        << with(&ComponentInfo::desc, QString(51, u'a') + u"\r\n tail"_s);
    QTest::newRow("colon inside an EXE value")
        << QStringList{u"EXE:bin:x"_s} << with(&ComponentInfo::exe, u"bin:x"_s);
    QTest::newRow("colon inside a DESC value")
        << QStringList{u"DESC:Note: it works"_s} << with(&ComponentInfo::desc, u"Note: it works"_s);
    QTest::newRow("backslash kept as written")
        << QStringList{u"EXE:bin\\tool.exe"_s} << with(&ComponentInfo::exe, u"bin\\tool.exe"_s);
    QTest::newRow("letter case of the value kept")
        << QStringList{u"NAME:MiXeD"_s} << with(&ComponentInfo::name, u"MiXeD"_s);
    QTest::newRow("space after the colon kept")
        << QStringList{u"IMG: pic.png"_s} << with(&ComponentInfo::img, u" pic.png"_s);
    QTest::newRow("space before the colon skipped")
        << QStringList{u"IMG :pic.png"_s} << freshRecord();
    QTest::newRow("space before the key skipped")
        << QStringList{u" IMG:pic.png"_s} << freshRecord();
    QTest::newRow("lower-case key skipped") << QStringList{u"img:pic.png"_s} << freshRecord();
    QTest::newRow("mixed-case key skipped") << QStringList{u"Exe:run.sh"_s} << freshRecord();
    QTest::newRow("leading colon skipped") << QStringList{u":EXE:run.sh"_s} << freshRecord();
    QTest::newRow("unknown key skipped") << QStringList{u"VERSION:2"_s} << freshRecord();
    QTest::newRow("empty line skipped") << QStringList{QString()} << freshRecord();
    QTest::newRow("key without colon empties the field")
        << QStringList{u"EXE:run.sh"_s, u"EXE"_s} << freshRecord();
    QTest::newRow("DESC without colon empties the description")
        << QStringList{u"DESC:Text"_s, u"DESC"_s} << freshRecord();
    QTest::newRow("key and a space without colon skipped")
        << QStringList{u"EXE:run.sh"_s, u"EXE "_s} << with(&ComponentInfo::exe, u"run.sh"_s);
    QTest::newRow("repeated key: last one wins") << QStringList{u"NAME:first"_s, u"NAME:second"_s}
                                                 << with(&ComponentInfo::name, u"second"_s);
    QTest::newRow("skipped line leaves earlier value")
        << QStringList{u"TIP:kept"_s, u"tip:lost"_s} << with(&ComponentInfo::tip, u"kept"_s);
}

void TestKeyValue::applyDescriptorLine()
{
    QFETCH(QStringList, lines);
    QFETCH(ComponentInfo, expected);

    ComponentInfo record = freshRecord();
    for (const QString &line : std::as_const(lines)) {
        ::applyDescriptorLine(record, line);
    }
    QCOMPARE(record, expected);
}

QTEST_GUILESS_MAIN(TestKeyValue)
#include "tst_keyvalue.moc"
