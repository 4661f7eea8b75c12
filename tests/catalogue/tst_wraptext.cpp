// Word-wrapping of the description text and the description block built around it.

#include "catalogue/description.h"
#include "catalogue/runtimeerror.h"
#include "catalogue/wraptext.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace
{
// `length` characters of words separated by single spaces; no space at the start or the end.
QString words(qsizetype length)
{
    QString text;
    while (text.size() < length) {
        text += u"word "_s;
    }
    text.truncate(length);
    if (text.endsWith(u' ')) {
        text.back() = u'x';
    }
    return text;
}

const QString rule = u"_________________________________________________________"_s;
} // namespace

class TestWrapText final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wrapText_data();
    void wrapText();
    void wrapTextLength_data();
    void wrapTextLength();
    void wrapTextNearTheLimit();
    void composeDescription_data();
    void composeDescription();
};

void TestWrapText::wrapText_data()
{
    QTest::addColumn<qint16>("width");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("six words at width 10")
        << qint16(10) << u"aaa bbb ccc ddd eee fff"_s << u"aaa bbb ccc\r\n ddd eee\r\n fff"_s;
    QTest::newRow("empty text") << qint16(52) << QString() << QString();
    QTest::newRow("shorter than the width")
        << qint16(52) << u"A short text."_s << u"A short text."_s;
    QTest::newRow("51 characters unbroken") << qint16(52) << words(51) << words(51);
    QTest::newRow("52nd character a space")
        << qint16(52) << words(51) + u" tail end"_s << words(51) + u"\r\n tail end"_s;
    QTest::newRow("text ends with a space at 52")
        << qint16(52) << words(51) + u" "_s << words(51) + u"\r\n "_s;
    QTest::newRow("no space after the 52nd character")
        << qint16(52) << u"aaaa bbbb "_s + QString(200, u'c')
        << u"aaaa bbbb "_s + QString(200, u'c');
    QTest::newRow("two spaces after a multiple")
        << qint16(52) << QString(52, u'a') + u"  next"_s << QString(52, u'a') + u"\r\n  next"_s;
    QTest::newRow("word across several multiples gets one break")
        << qint16(10) << QString(35, u'a') + u" b"_s << QString(35, u'a') + u"\r\n b"_s;
    QTest::newRow("positions counted in the input, not from the last break")
        << qint16(10) << QString(18, u'a') + u" b c"_s << QString(18, u'a') + u"\r\n b\r\n c"_s;
    QTest::newRow("tabs and line feeds are not break points")
        << qint16(10) << u"aaaaaaaaaa\tbbb\ncc dd"_s << u"aaaaaaaaaa\tbbb\ncc\r\n dd"_s;
    QTest::newRow("width 1 breaks before every space")
        << qint16(1) << u"a b  c"_s << u"a\r\n b\r\n \r\n c"_s;
    QTest::newRow("non-ASCII characters count as one")
        << qint16(3) << u"\u00e9\u00e9\u00e9 \u00e9"_s << u"\u00e9\u00e9\u00e9\r\n \u00e9"_s;
}

void TestWrapText::wrapText()
{
    QFETCH(qint16, width);
    QFETCH(QString, text);
    QFETCH(QString, expected);

    QCOMPARE(::wrapText(width, text), expected);
}

void TestWrapText::wrapTextLength_data()
{
    QTest::addColumn<qsizetype>("length");
    QTest::addColumn<bool>("overflows");

    QTest::newRow("32,766 characters") << qsizetype(32766) << false;
    QTest::newRow("32,767 characters") << qsizetype(32767) << true;
    QTest::newRow("32,768 characters") << qsizetype(32768) << true;
    QTest::newRow("65,541 characters, 5 modulo 65,536") << qsizetype(65541) << true;
}

void TestWrapText::wrapTextLength()
{
    QFETCH(qsizetype, length);
    QFETCH(bool, overflows);

    const QString text(length, u'a');
    if (!overflows) {
        QCOMPARE(::wrapText(52, text), text);
        return;
    }
    try {
        ::wrapText(52, text);
        QFAIL("no Overflow raised");
    } catch (const RuntimeError &error) {
        QCOMPARE(error.number(), int(RuntimeError::Overflow));
        QCOMPARE(error.description(), u"Overflow"_s);
    }
}

void TestWrapText::wrapTextNearTheLimit()
{
    // "a a a ... a ": every even position is a space, so each multiple of 52 up to 32,760 breaks.
    QString text;
    for (int i = 0; i < 32766 / 2; ++i) {
        text += u"a "_s;
    }
    QCOMPARE(text.size(), 32766);
    const QString wrapped = ::wrapText(52, text);
    QCOMPARE(wrapped.count(u"\r\n"_s), 32766 / 52);
    QCOMPARE(QString(wrapped).remove(u"\r\n"_s), text);
    QCOMPARE(wrapped.indexOf(u"\r\n"_s), 51);
    QCOMPARE(wrapped.lastIndexOf(u"\r\n"_s), 32760 - 1 + 2 * (32766 / 52 - 1));
}

void TestWrapText::composeDescription_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("desc");
    QTest::addColumn<QString>("exe");
    QTest::addColumn<QString>("img");
    QTest::addColumn<QString>("expected");

    QTest::newRow("complete record")
        << u"Tool"_s << u"Does things."_s << u"run.sh"_s << u"pic.png"_s
        << u"   TOOL Utility \r\n"_s + rule
            + u"\r\nDoes things.\r\n\r\n   Executable: run.sh\r\n   Image: pic.png\r\n"_s;
    QTest::newRow("no DESC line") << u"Tool"_s << QString() << u"run.sh"_s << u"pic.png"_s
                                  << u"   TOOL Utility \r\n"_s + rule
            + u"\r\n\r\n\r\n   Executable: run.sh\r\n   Image: pic.png\r\n"_s;
    QTest::newRow("no EXE line") << u"Tool"_s << u"Text"_s << QString() << u"pic.png"_s
                                 << u"   TOOL Utility \r\n"_s + rule
            + u"\r\nText\r\n\r\n   Executable: \r\n   Image: pic.png\r\n"_s;
    QTest::newRow("no IMG line") << u"Tool"_s << u"Text"_s << u"run.sh"_s << QString()
                                 << u"   TOOL Utility \r\n"_s + rule
            + u"\r\nText\r\n\r\n   Executable: run.sh\r\n   Image: \r\n"_s;
    QTest::newRow("folder in mixed case") << u"mY tool"_s << u"Text"_s << u"a"_s << u"b"_s
                                          << u"   MY TOOL Utility \r\n"_s + rule
            + u"\r\nText\r\n\r\n   Executable: a\r\n   Image: b\r\n"_s;
    QTest::newRow("folder longer in capitals") << u"Straße"_s << u"Text"_s << u"a"_s << u"b"_s
                                               << u"   STRASSE Utility \r\n"_s + rule
            + u"\r\nText\r\n\r\n   Executable: a\r\n   Image: b\r\n"_s;
    QTest::newRow("values shown as written")
        << u"Tool"_s << u"Line one\r\n two"_s << u"bin\\tool.exe"_s << u" pics\\a.png"_s
        << u"   TOOL Utility \r\n"_s + rule
            + u"\r\nLine one\r\n two\r\n\r\n   Executable: bin\\tool.exe\r\n   Image:  pics\\a.png\r\n"_s;
}

void TestWrapText::composeDescription()
{
    QFETCH(QString, folder);
    QFETCH(QString, desc);
    QFETCH(QString, exe);
    QFETCH(QString, img);
    QFETCH(QString, expected);

    QCOMPARE(rule.size(), 57);
    ComponentInfo record;
    record.index = 4;
    record.folder = folder;
    record.desc = desc;
    record.exe = exe;
    record.img = img;
    // The title names the folder; NAME, HELP and TIP are not part of the block.
    record.name = u"Other Name"_s;
    record.help = u"help.txt"_s;
    record.tip = u"tip"_s;
    QCOMPARE(::composeDescription(record), expected);
    // What a screen reader is told: the DESC text back from the block, without its line breaks.
    record.desc = expected;
    QCOMPARE(::descriptionParagraph(record), QString(desc).remove(u"\r\n"_s));
}

QTEST_GUILESS_MAIN(TestWrapText)
#include "tst_wraptext.moc"
