// The About window, offscreen with real widgets: its texts, what OK, the close button and Escape
// do, where it opens, and what a user sees where.

#include "infowin/frmabout.h"
#include "support/infowindowtesting.h"
#include "support/recordingservices.h"
#include "widgets/appidentity.h"
#include "widgets/twips.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace
{
QString notice()
{
    return u"This software is provided as-is, with no warranties and/or support expressed or "
           u"implied.  By using this software, you agree to indemnify Vessaly Software "
           u"Solutions and the author(s) of all damages associated with the use of this "
           u"software.  \r\n\r\n"
           u"This program is protected by copyright laws.  Copying or reselling this program, "
           u"or any portion of it, unless otherwise noted, may result in severe civil and "
           u"criminal penalties, and will be prosecuted to the maximum extent possible under "
           u"the law.\r\n\r\n"
           u"Email all bugs to: "_s
        + AppIdentity::bugEmail.toString() + u"\r\n"_s;
}

struct Fixture {
    RecordingServices services;
    QWidget owner;
    frmAbout window{services, &owner};

    Fixture()
    {
        owner.setGeometry(200, 150, 640, 480);
        owner.show();
    }
    QLabel *label(const QString &name) const { return window.findChild<QLabel *>(name); }
    QPlainTextEdit *txtInfo() const { return window.findChild<QPlainTextEdit *>(u"txtInfo"_s); }
    QPushButton *okBut() const { return window.findChild<QPushButton *>(u"okBut"_s); }
    void clickOk() const { QTest::mouseClick(okBut(), Qt::LeftButton); }
    // Loads the window by showing it once, and hides it with OK.
    void loadOnce()
    {
        whileShown(window, [this] { clickOk(); });
    }
};
} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void texts_data();
    void texts();
    void versionLine_data();
    void versionLine();
    void copyrightKeptAsWritten();
    void okHidesAndKeepsTypedText();
    void closeButtonUnloadsAndRestoresTexts();
    void unloadEndsTheModalShow();
    void escapeNeitherHidesNorUnloads();
    void okHasTheFocusAndTabStaysThere();
    void titleBar();
    void opensCentredOverItsOwner();
    void seenAt_data();
    void seenAt();
    void coloursSeen_data();
    void coloursSeen();
    void textsFitTheirBoxes_data();
    void textsFitTheirBoxes();
    void noticeFitsWithoutScrolling();
};

void TestAbout::texts_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("expected");
    QTest::newRow("caption") << QString() << u"About Kestrelkit Launcher"_s;
    QTest::newRow("title line") << u"mainLbl_0"_s << u"Kestrelkit Launcher"_s;
    QTest::newRow("version line") << u"mainLbl_1"_s << u"Version 1.1.0"_s;
    QTest::newRow("copyright line") << u"mainLbl_2"_s << u"Copyright test"_s;
    QTest::newRow("maker") << u"Label1"_s << u"Vessaly Software Solutions, Inc."_s;
    QTest::newRow("author credit, three blanks at the end")
        << u"authorLbl"_s << u"Programmed by: "_s + AppIdentity::author.toString() + u"   "_s;
    QTest::newRow("notice") << u"txtInfo"_s << notice();
}

void TestAbout::texts()
{
    QFETCH(QString, control);
    QFETCH(QString, expected);
    Fixture f;
    f.loadOnce();
    QVERIFY(f.window.isLoaded());
    QString actual;
    if (control.isEmpty()) {
        actual = f.window.windowTitle();
    } else if (control == u"txtInfo"_s) {
        actual = f.window.noticeText();
    } else {
        actual = f.label(control)->text();
    }
    QCOMPARE(actual, expected);
}

void TestAbout::versionLine_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("expected");
    QTest::newRow("this build") << 1 << 1 << 0 << u"Version 1.1.0"_s;
    QTest::newRow("numbers of several digits") << 12 << 305 << 2048 << u"Version 12.305.2048"_s;
    QTest::newRow("all zero") << 0 << 0 << 0 << u"Version 0.0.0"_s;
}

void TestAbout::versionLine()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, expected);
    Fixture f;
    f.services.info.major = major;
    f.services.info.minor = minor;
    f.services.info.revision = revision;
    f.loadOnce();
    QCOMPARE(f.label(u"mainLbl_1"_s)->text(), expected);
}

void TestAbout::copyrightKeptAsWritten()
{
    Fixture f;
    f.services.info.copyright = u"CopyRight \u00A9 2026 VESSALY software & Co. <all> rights"_s;
    f.loadOnce();
    QCOMPARE(f.label(u"mainLbl_2"_s)->text(), f.services.info.copyright);
}

void TestAbout::okHidesAndKeepsTypedText()
{
    Fixture f;
    whileShown(f.window, [&] {
        QTest::mouseClick(f.txtInfo()->viewport(), Qt::LeftButton, {}, QPoint(2, 2));
        f.txtInfo()->moveCursor(QTextCursor::Start);
        QTest::keyClicks(f.txtInfo(), u"Read me. "_s);
        f.clickOk();
    });
    QVERIFY(!f.window.isVisible());
    QVERIFY(f.window.isLoaded());

    // Showing it again does not run the load handler: a new title would show in the caption.
    f.services.info.title = u"Renamed"_s;
    QString caption;
    QString shownNotice;
    whileShown(f.window, [&] {
        caption = f.window.windowTitle();
        shownNotice = f.window.noticeText();
        f.clickOk();
    });
    QCOMPARE(caption, u"About Kestrelkit Launcher"_s);
    QCOMPARE(shownNotice, u"Read me. "_s + notice());
}

void TestAbout::closeButtonUnloadsAndRestoresTexts()
{
    Fixture f;
    whileShown(f.window, [&] {
        f.txtInfo()->moveCursor(QTextCursor::End);
        QTest::keyClicks(f.txtInfo(), u"scribble"_s);
        f.window.close();
    });
    QVERIFY(!f.window.isVisible());
    QVERIFY(!f.window.isLoaded());

    f.services.info.title = u"Kestrelkit Launcher Pro"_s;
    QString caption;
    QString shownNotice;
    whileShown(f.window, [&] {
        QVERIFY(f.window.isLoaded());
        caption = f.window.windowTitle();
        shownNotice = f.window.noticeText();
        f.clickOk();
    });
    QCOMPARE(caption, u"About Kestrelkit Launcher Pro"_s);
    QCOMPARE(shownNotice, notice());
}

void TestAbout::unloadEndsTheModalShow()
{
    Fixture f;
    verifyUnloadEndsTheModalShow(f.window);
}

void TestAbout::escapeNeitherHidesNorUnloads()
{
    Fixture f;
    verifyEscapeKeepsTheWindow(f.window, [&f] { f.clickOk(); });
}

void TestAbout::okHasTheFocusAndTabStaysThere()
{
    Fixture f;
    QWidget *focusFirst = nullptr;
    QWidget *focusAfterTab = nullptr;
    whileShown(f.window, [&] {
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        focusFirst = QApplication::focusWidget();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        focusAfterTab = QApplication::focusWidget();
        f.clickOk();
    });
    QCOMPARE(focusFirst, f.okBut());
    // The notice is no tab stop.
    QCOMPARE(focusAfterTab, f.okBut());
}

void TestAbout::titleBar()
{
    Fixture f;
    const Qt::WindowFlags flags = f.window.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(f.window.minimumSize(), f.window.maximumSize());
    QVERIFY(!f.window.windowIcon().isNull());
}

void TestAbout::opensCentredOverItsOwner()
{
    Fixture f;
    const auto centredOverOwner = [&] {
        const QPoint offset = f.window.geometry().center() - f.owner.geometry().center();
        return offset.manhattanLength() <= 2;
    };
    bool centredFirst = false;
    whileShown(f.window, [&] {
        centredFirst = centredOverOwner();
        f.window.move(f.window.pos() + QPoint(40, 30));
        f.clickOk();
    });
    QVERIFY(centredFirst);

    // Shown again after OK it stays where it was put; loaded afresh it opens centred again.
    const QPoint moved = f.window.pos();
    QPoint shownAt;
    whileShown(f.window, [&] {
        shownAt = f.window.pos();
        f.window.close();
    });
    QCOMPARE(shownAt, moved);
    bool centredAfterReload = false;
    whileShown(f.window, [&] {
        centredAfterReload = centredOverOwner();
        f.clickOk();
    });
    QVERIFY(centredAfterReload);
}

void TestAbout::seenAt_data()
{
    QTest::addColumn<QPoint>("twips");
    QTest::addColumn<QString>("control");
    // Points in twips from the window's top-left corner; the panel starts 360 twips left of it.
    QTest::newRow("the title line") << QPoint(3600, 600) << u"mainLbl_0"_s;
    QTest::newRow("the version line") << QPoint(3600, 1400) << u"mainLbl_1"_s;
    QTest::newRow("the logo, left of the maker's name") << QPoint(1300, 2100) << u"Image1"_s;
    QTest::newRow("the maker's name") << QPoint(2500, 2100) << u"Label1"_s;
    QTest::newRow("the copyright line") << QPoint(1000, 2600) << u"mainLbl_2"_s;
    QTest::newRow("the author credit over the copyright line")
        << QPoint(6000, 2765) << u"authorLbl"_s;
    QTest::newRow("the author credit in the panel's corner")
        << QPoint(7150, 2950) << u"authorLbl"_s;
    QTest::newRow("the panel above the title") << QPoint(100, 100) << u"Frame1"_s;
    QTest::newRow("the notice") << QPoint(3600, 4000) << u"txtInfo"_s;
    QTest::newRow("the OK button") << QPoint(3600, 5450) << u"okBut"_s;
    QTest::newRow("the window between panel and notice") << QPoint(3600, 3060) << QString();
}

void TestAbout::seenAt()
{
    QFETCH(QPoint, twips);
    QFETCH(QString, control);
    Fixture f;
    f.loadOnce();
    QCOMPARE(controlSeenAt(&f.window, twips), control);
}

void TestAbout::coloursSeen_data()
{
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    QTest::addColumn<QPoint>("twips");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("the panel's left edge, its border out of sight")
        << QPoint(0, 100) << QColor(Qt::white);
    QTest::newRow("the panel's right border") << QPoint(7200, 100) << QColor(Qt::black);
    QTest::newRow("the window face below the panel") << QPoint(3600, 3060) << buttonFace;
    QTest::newRow("the notice's background") << QPoint(7000, 5100) << QColor(224, 224, 224);
    QTest::newRow("the author credit's background") << QPoint(4850, 2880) << buttonFace;
}

void TestAbout::coloursSeen()
{
    QFETCH(QPoint, twips);
    QFETCH(QColor, colour);
    Fixture f;
    f.loadOnce();
    QCOMPARE(colourSeenAt(&f.window, twips), colour.rgb());
}

void TestAbout::textsFitTheirBoxes_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("title line") << u"mainLbl_0"_s;
    QTest::newRow("version line") << u"mainLbl_1"_s;
    QTest::newRow("copyright line") << u"mainLbl_2"_s;
    QTest::newRow("maker") << u"Label1"_s;
    QTest::newRow("author credit") << u"authorLbl"_s;
}

void TestAbout::textsFitTheirBoxes()
{
    QFETCH(QString, control);
    Fixture f;
    f.loadOnce();
    verifyTextFits(f.label(control));
}

void TestAbout::noticeFitsWithoutScrolling()
{
    // The notice has no scroll bars, so all of it must show at once: there is nothing to scroll to.
    Fixture f;
    f.loadOnce();
    const QScrollBar *scrolling = f.txtInfo()->verticalScrollBar();
    QVERIFY2(scrolling->maximum() == 0,
             qPrintable(u"%1 lines out of sight"_s.arg(scrolling->maximum())));
}

QTEST_MAIN(TestAbout)
#include "tst_frmabout.moc"
