// The suite check against a real start-up on the same suite: the same problems in the same
// words, from the boxes of loading the window and of a click on every button it enables.

#include "suite/suitecheck.h"
#include "support/faultysuite.h"
#include "support/launcherfixture.h"
#include "widgets/qtplatformservices.h"

using namespace Qt::StringLiterals;

namespace
{
// A box as the check lists it: on one line, without the "Error::" its severity says.
QString asFinding(QString text)
{
    if (text.startsWith(u"Error::")) {
        text.remove(0, 7);
    }
    return text.replace(u"\r\n"_s, u" "_s).trimmed();
}
} // namespace

class TestSuiteCheck : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void agreesWithStartUp_data();
    void agreesWithStartUp();
};

void TestSuiteCheck::agreesWithStartUp_data()
{
    QTest::addColumn<bool>("faulty");
    QTest::newRow("every finding") << true;
    QTest::newRow("no component") << false;
}

void TestSuiteCheck::agreesWithStartUp()
{
    QFETCH(bool, faulty);
    LauncherFixture launcher;
    if (faulty) {
        writeFaultySuite(launcher.suite);
    }
    launcher.suite.makeFolder(u"suite"_s);
    launcher.services.info.directory = launcher.suite.filePath(u"suite"_s);
    launcher.window = std::make_unique<frmMain>(launcher.services);
    launcher.window->load(frmMain::startReading(launcher.services.info.directory));
    // A click on every button that can be clicked, with programs started for real.
    QtPlatformServices real;
    launcher.services.startHook = [&real](const QString &path) {
        real.startProgram(path);
    };
    for (qint16 i = 0; i < launcher.buttons().count(); ++i) {
        if (launcher.buttons().isVisible(i) && launcher.buttons().isEnabled(i)) {
            launcher.window->launchButsClick(i);
        }
    }

    QStringList boxErrors;
    QStringList boxWarnings;
    for (const RecordingServices::Message &box : std::as_const(launcher.services.messages)) {
        (box.icon == MessageIcon::Critical ? boxErrors : boxWarnings).append(asFinding(box.text));
    }
    QStringList errors;
    QStringList warnings;
    for (const Finding &finding :
         checkSuite(launcher.services.info.directory, frmMain::launchButtonSize(96)).findings) {
        if (finding.severity == Finding::Error) {
            errors.append(finding.text);
        } else if (finding.severity == Finding::Warning) {
            warnings.append(finding.text);
        }
    }
    errors.sort();
    boxErrors.sort();
    QCOMPARE(errors, boxErrors);
    for (const QString &warning : std::as_const(boxWarnings)) {
        QVERIFY2(warnings.contains(warning), qPrintable(warning));
    }
    QCOMPARE(boxWarnings.isEmpty(), faulty);
}

QTEST_MAIN(TestSuiteCheck)
#include "tst_suitecheck.moc"
