// The Help menu's commands for the information windows: each window is made once and shown
// modally over the main window, and shutdown unloads it, also while it is shown.

#include "app/frmmain.h"
#include "infowin/frmabout.h"
#include "infowin/frmgettinghelp.h"
#include "support/recordingservices.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace
{
struct Fixture {
    RecordingServices services;
    std::unique_ptr<frmMain> window;

    Fixture()
    {
        window = std::make_unique<frmMain>(services);
        window->show();
        window->activateWindow();
    }

    // Chooses the menu item `action` and runs `during` on the window that it shows modally, once
    // that window is up. `during` must end the show; if it does not, the window is hidden so that
    // the test fails instead of hanging.
    void choose(const QString &action, const std::function<void(QDialog *)> &during)
    {
        QDialog *shown = nullptr;
        bool leftOpen = false;
        QTimer::singleShot(0, window.get(), [&] {
            shown = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!shown) {
                return;
            }
            during(shown);
            if (shown->isVisible()) {
                leftOpen = true;
                shown->hide();
            }
        });
        window->findChild<QAction *>(action)->trigger();
        QVERIFY2(shown, "no modal window was shown");
        QVERIFY2(!leftOpen, "the window was still shown");
    }

    QDialog *windowOf(const QString &action) const
    {
        if (action == u"About"_s) {
            return window->aboutWindow();
        }
        return window->gettingHelpWindow();
    }
};

void clickOk(QDialog *shown)
{
    for (QAbstractButton *button : shown->findChildren<QAbstractButton *>()) {
        if (button->text() == u"OK"_s) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    QFAIL("no OK button");
}
} // namespace

class TestInfoCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameWindowOnTheSecondCommand_data();
    void sameWindowOnTheSecondCommand();
    void shutdownUnloadsAShownWindow_data();
    void shutdownUnloadsAShownWindow();
    void shutdownUnloadsHiddenWindows();

private:
    static void commands();
};

void TestInfoCommands::commands()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("windowName");
    QTest::newRow("Help > About") << u"About"_s << u"frmAbout"_s;
    QTest::newRow("Help > Getting Help From Vessaly")
        << u"GettingHelpFromVessaly"_s << u"frmGettingHelp"_s;
}

void TestInfoCommands::sameWindowOnTheSecondCommand_data()
{
    commands();
}

void TestInfoCommands::sameWindowOnTheSecondCommand()
{
    QFETCH(QString, action);
    QFETCH(QString, windowName);
    Fixture f;
    QVERIFY(!f.windowOf(action));

    QDialog *first = nullptr;
    QDialog *second = nullptr;
    f.choose(action, [&](QDialog *shown) {
        first = shown;
        clickOk(shown);
    });
    // Closed with its close button the window is unloaded, but the object stays.
    f.choose(action, [&](QDialog *shown) {
        second = shown;
        shown->close();
    });
    QDialog *third = nullptr;
    f.choose(action, [&](QDialog *shown) {
        third = shown;
        clickOk(shown);
    });
    QCOMPARE(first->objectName(), windowName);
    QCOMPARE(first, f.windowOf(action));
    QCOMPARE(second, first);
    QCOMPARE(third, first);
    QCOMPARE(first->parentWidget(), f.window.get());
    QCOMPARE(f.window->findChildren<QDialog *>().size(), 1);
}

void TestInfoCommands::shutdownUnloadsAShownWindow_data()
{
    commands();
}

void TestInfoCommands::shutdownUnloadsAShownWindow()
{
    QFETCH(QString, action);
    Fixture f;
    bool mainWindowShown = true;
    f.choose(action, [&](QDialog *) {
        f.window->exitClick();
        mainWindowShown = f.window->isVisible();
    });
    QVERIFY(!mainWindowShown);
    QVERIFY(!f.windowOf(action)->isVisible());
    if (action == u"About"_s) {
        QVERIFY(!f.window->aboutWindow()->isLoaded());
    } else {
        QVERIFY(!f.window->gettingHelpWindow()->isLoaded());
    }
}

void TestInfoCommands::shutdownUnloadsHiddenWindows()
{
    Fixture f;
    f.choose(u"About"_s, clickOk);
    f.choose(u"GettingHelpFromVessaly"_s, clickOk);
    QVERIFY(f.window->aboutWindow()->isLoaded());
    QVERIFY(f.window->gettingHelpWindow()->isLoaded());
    f.window->exitClick();
    QVERIFY(!f.window->aboutWindow()->isLoaded());
    QVERIFY(!f.window->gettingHelpWindow()->isLoaded());
}

QTEST_MAIN(TestInfoCommands)
#include "tst_infocommands.moc"
