// The uniform error trap, the run-time error it reports, and the 16-bit arithmetic that raises
// Overflow.

#include "catalogue/errortrap.h"
#include "catalogue/int16.h"
#include "catalogue/runtimeerror.h"
#include "support/recordingsink.h"

#include <QTest>

#include <new>

using namespace Qt::StringLiterals;

class TestErrorTrap final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showErrorBox_data();
    void showErrorBox();
    void withErrorTrap_data();
    void withErrorTrap();
    void runtimeErrorText_data();
    void runtimeErrorText();
    void sixteenBit_data();
    void sixteenBit();
};

void TestErrorTrap::showErrorBox_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("text");

    QTest::newRow("overflow") << u"Overflow"_s << u"Error::Overflow\r\n"_s;
    QTest::newRow("description naming a path")
        << u"File not found: /opt/suite/Tool/tool.png"_s
        << u"Error::File not found: /opt/suite/Tool/tool.png\r\n"_s;
    QTest::newRow("empty description") << QString() << u"Error::\r\n"_s;
}

void TestErrorTrap::showErrorBox()
{
    QFETCH(QString, description);
    QFETCH(QString, text);

    RecordingSink sink;
    ::showErrorBox(sink, RuntimeError(RuntimeError::FileNotFound, description));
    QCOMPARE(sink.texts, QStringList{text});
    QCOMPARE(sink.titles, QStringList{u"Error::Kestrelkit"_s});
    QCOMPARE(sink.icons, QList<MessageIcon>{MessageIcon::Critical});
}

void TestErrorTrap::withErrorTrap_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("number");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("body ends normally") << QString() << 0 << QStringList();
    QTest::newRow("run-time error") << u"file"_s << int(RuntimeError::FileNotFound)
                                    << QStringList{u"Error::File not found: /x/kk.cfg\r\n"_s};
    QTest::newRow("16-bit overflow")
        << u"overflow"_s << int(RuntimeError::Overflow) << QStringList{u"Error::Overflow\r\n"_s};
    QTest::newRow("exhausted allocation") << u"allocation"_s << int(RuntimeError::OutOfMemory)
                                          << QStringList{u"Error::Out of memory\r\n"_s};
}

void TestErrorTrap::withErrorTrap()
{
    QFETCH(QString, failure);
    QFETCH(int, number);
    QFETCH(QStringList, texts);

    // A result assigned before the failure is kept; the rest of the body does not run.
    int result = 0;
    bool ranPastFailure = false;
    const auto body = [&] {
        result = 5;
        if (failure == u"file") {
            throw RuntimeError::withPath(RuntimeError::FileNotFound, u"/x/kk.cfg"_s);
        } else if (failure == u"overflow") {
            result = add16(qint16(32767), 1);
        } else if (failure == u"allocation") {
            throw std::bad_alloc();
        }
        ranPastFailure = true;
    };

    RecordingSink sink;
    QCOMPARE(::withErrorTrap(sink, body), failure.isEmpty());
    QCOMPARE(result, 5);
    QCOMPARE(ranPastFailure, failure.isEmpty());
    QCOMPARE(sink.texts, texts);
    QCOMPARE(sink.titles, QStringList(texts.size(), u"Error::Kestrelkit"_s));
    QCOMPARE(sink.icons, QList<MessageIcon>(texts.size(), MessageIcon::Critical));

    QList<int> numbers;
    QVERIFY(::withErrorTrap(
                body, [&numbers](const RuntimeError &error) { numbers.append(error.number()); })
            == failure.isEmpty());
    QCOMPARE(numbers, failure.isEmpty() ? QList<int>() : QList<int>{number});
}

void TestErrorTrap::runtimeErrorText_data()
{
    QTest::addColumn<RuntimeError>("error");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");

    QTest::newRow("file not found")
        << RuntimeError::withPath(RuntimeError::FileNotFound, u"/opt/suite/Tool/tool.png"_s)
        << int(RuntimeError::FileNotFound) << u"File not found: /opt/suite/Tool/tool.png"_s;
    QTest::newRow("path not found")
        << RuntimeError::withPath(RuntimeError::PathNotFound, u"/opt/suite"_s)
        << int(RuntimeError::PathNotFound) << u"Path not found: /opt/suite"_s;
    QTest::newRow("with a reason") << RuntimeError::withPath(RuntimeError::PathFileAccessError,
                                                             u"not a plain file"_s, u"/a/kk.cfg"_s)
                                   << int(RuntimeError::PathFileAccessError)
                                   << u"Path/File access error (not a plain file): /a/kk.cfg"_s;
    QTest::newRow("overflow") << RuntimeError::overflow() << 6 << u"Overflow"_s;
    QTest::newRow("subscript out of range")
        << RuntimeError::subscriptOutOfRange() << 9 << u"Subscript out of range"_s;
}

void TestErrorTrap::runtimeErrorText()
{
    QFETCH(RuntimeError, error);
    QFETCH(int, number);
    QFETCH(QString, description);

    QCOMPARE(error.number(), number);
    QCOMPARE(error.description(), description);
    QCOMPARE(QString::fromUtf8(error.what()), description);
}

void TestErrorTrap::sixteenBit_data()
{
    QTest::addColumn<qint64>("a");
    QTest::addColumn<qint64>("b");
    QTest::addColumn<bool>("overflows");

    QTest::newRow("largest sum") << qint64(32766) << qint64(1) << false;
    QTest::newRow("one past the largest") << qint64(32767) << qint64(1) << true;
    QTest::newRow("smallest sum") << qint64(-32767) << qint64(-1) << false;
    QTest::newRow("one past the smallest") << qint64(-32768) << qint64(-1) << true;
    QTest::newRow("wraps to a small number in 16 bits") << qint64(0) << qint64(65536 + 5) << true;
    QTest::newRow("beyond 32 bits") << qint64(0) << (qint64(1) << 32) + 1 << true;
}

void TestErrorTrap::sixteenBit()
{
    QFETCH(qint64, a);
    QFETCH(qint64, b);
    QFETCH(bool, overflows);

    try {
        const qint16 sum = add16(qint16(a), b);
        QVERIFY(!overflows);
        QCOMPARE(sum, qint16(a + b));
        QCOMPARE(toInt16(a + b), sum);
    } catch (const RuntimeError &error) {
        QVERIFY(overflows);
        QCOMPARE(error.number(), int(RuntimeError::Overflow));
    }
    if (overflows) {
        QVERIFY_THROWS_EXCEPTION(RuntimeError, toInt16(a + b));
    }
}

QTEST_GUILESS_MAIN(TestErrorTrap)
#include "tst_errortrap.moc"
