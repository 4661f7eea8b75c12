// The single-instance token across processes, as the implementation built here keeps it: free
// again at once however its holder ends, held by exactly one of many that try together, and
// neither lost to a file that a crash leaves behind nor taken from a holder that has held it long.

#include "platform/instancetoken.h"
#include "support/slowdown.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace
{
// A kk_tokenholder process, and what it has said so far.
class Holder
{
public:
    Holder(const QString &exe, const QString &go = {})
    {
        m_process.setProgram(QStringLiteral(KK_TOKENHOLDER));
        m_process.setArguments(go.isEmpty() ? QStringList{exe} : QStringList{exe, go});
        m_process.start();
    }
    ~Holder()
    {
        // Ended as a launcher ends, so that no token file is left in the user's folder.
        if (m_process.state() != QProcess::NotRunning && !endNormally()) {
            m_process.kill();
            m_process.waitForFinished(slowed(10000));
        }
    }
    Q_DISABLE_COPY_MOVE(Holder)

    // The lines written so far; waits up to `ms` for the `count`th.
    QStringList lines(int count, int ms = 20000)
    {
        QDeadlineTimer deadline(slowed(ms));
        while (m_said.size() < count && !deadline.hasExpired()) {
            m_process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
            m_said += QString::fromLatin1(m_process.readAllStandardOutput())
                          .split(u'\n', Qt::SkipEmptyParts);
        }
        return m_said;
    }
    QString verdict() { return lines(2).value(1); }

    bool endNormally()
    {
        m_process.closeWriteChannel();
        return m_process.waitForFinished(slowed(10000)) && m_process.exitCode() == 0;
    }
    bool kill()
    {
        m_process.kill();
        return m_process.waitForFinished(slowed(10000));
    }

private:
    QProcess m_process;
    QStringList m_said;
};

bool takenHere(const QString &exe)
{
    return InstanceToken(exe).takenElsewhere();
}
} // namespace

class TestInstanceToken final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void freeAgainOnceTheHolderIsGone_data();
    void freeAgainOnceTheHolderIsGone();
    void oneOfTwentyHoldsIt();
    void fileLeftBehind_data();
    void fileLeftBehind();

private:
    QTemporaryDir m_dir;
    QString m_exe; // a name of its own per test, so that no test meets another's token
};

void TestInstanceToken::initTestCase()
{
    // The holders' tokens in folders of the test's own rather than the user's.
    QVERIFY(m_dir.isValid());
    for (const char *name : {"XDG_RUNTIME_DIR", "XDG_CACHE_HOME"}) {
        const QString folder = m_dir.filePath(QString::fromLatin1(name));
        QVERIFY(QDir().mkdir(folder));
        QVERIFY(
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        qputenv(name, QFile::encodeName(folder));
    }
}

void TestInstanceToken::init()
{
    QVERIFY(m_dir.isValid());
    m_exe = m_dir.filePath(QString::fromLatin1(QTest::currentTestFunction()) + u'-'
                           + QString::fromLatin1(QTest::currentDataTag()));
}

void TestInstanceToken::freeAgainOnceTheHolderIsGone_data()
{
    QTest::addColumn<bool>("killed");
    QTest::newRow("the holder ends") << false;
    QTest::newRow("the holder is killed") << true;
}

void TestInstanceToken::freeAgainOnceTheHolderIsGone()
{
    QFETCH(bool, killed);
    Holder holder(m_exe);
    QCOMPARE(holder.verdict(), u"held"_s);
    QVERIFY(takenHere(m_exe));
    QVERIFY(killed ? holder.kill() : holder.endNormally());
    // At once: no wait, no retry.
    QVERIFY(!takenHere(m_exe));
}

void TestInstanceToken::oneOfTwentyHoldsIt()
{
    const QString go = m_dir.filePath(u"go"_s);
    std::vector<std::unique_ptr<Holder>> holders;
    for (int i = 0; i < 20; ++i) {
        holders.push_back(std::make_unique<Holder>(m_exe, go));
    }
    for (const auto &holder : holders) {
        QCOMPARE(holder->lines(1).value(0), u"ready"_s);
    }
    QFile(go).open(QIODevice::WriteOnly);
    QStringList verdicts;
    for (const auto &holder : holders) {
        verdicts << holder->verdict();
    }
    QCOMPARE(verdicts.count(u"held"_s), 1);
    QCOMPARE(verdicts.count(u"refused"_s), 19);
}

void TestInstanceToken::fileLeftBehind_data()
{
    QTest::addColumn<bool>("holderRuns");
    QTest::addColumn<int>("ageSeconds");
    QTest::addColumn<bool>("taken");
    // An empty file is a copy's that is writing its name into it, or one that crashed before it
    // could: only time tells which.
    QTest::newRow("an empty file just made, no holder") << false << 0 << true;
    QTest::newRow("an empty file a minute old, no holder") << false << 60 << false;
    // A copy that has run for a long time.
    QTest::newRow("a running holder's file, a day old") << true << 86400 << true;
}

void TestInstanceToken::fileLeftBehind()
{
    QFETCH(bool, holderRuns);
    QFETCH(int, ageSeconds);
    QFETCH(bool, taken);
    if (QStringLiteral(KK_PLATFORM) == u"posix"_s) {
        QSKIP("this token is a lock the kernel releases: a file left behind holds nothing");
    }
    const QString path = InstanceToken::filePath(m_exe);
    std::unique_ptr<Holder> holder;
    if (holderRuns) {
        holder = std::make_unique<Holder>(m_exe);
        QCOMPARE(holder->verdict(), u"held"_s);
    } else {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QVERIFY(QFile(path).open(QIODevice::WriteOnly));
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                             QFileDevice::FileModificationTime));
    file.close();
    const bool takenElsewhere = takenHere(m_exe);
    const bool fileLeft = QFileInfo::exists(path);
    if (!holderRuns) {
        QFile::remove(path);
    }
    QCOMPARE(takenElsewhere, taken);
    QCOMPARE(fileLeft, taken);
}

QTEST_GUILESS_MAIN(TestInstanceToken)
#include "tst_instancetoken.moc"
