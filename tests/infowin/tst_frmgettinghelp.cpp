// The getting-help window, offscreen with real widgets: its texts, the banner that hands the
// maker's address to the browser, labels that ignore clicks, resizing that moves nothing, and what
// OK and the close button do.

#include "infowin/frmgettinghelp.h"
#include "support/infowindowtesting.h"
#include "support/recordingservices.h"
#include "widgets/appidentity.h"
#include "widgets/twips.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace
{
const QUrl webPage(u"https://www.vessaly.example/"_s);

// Every control of the window, by object name.
const QStringList controls = {u"Command1"_s,  u"Frame1"_s,    u"lblMain_3"_s, u"lblMain_2"_s,
                              u"lblMain_1"_s, u"lblMain_0"_s, u"Label1"_s,    u"Image1"_s};

struct Fixture {
    RecordingServices services;
    QWidget owner;
    frmGettingHelp window{services, &owner};

    Fixture()
    {
        owner.setGeometry(150, 100, 560, 420);
        owner.show();
    }
    QLabel *label(const QString &name) const { return window.findChild<QLabel *>(name); }
    QLabel *banner() const { return label(u"Image1"_s); }
    void clickOk() const
    {
        QTest::mouseClick(window.findChild<QPushButton *>(u"Command1"_s), Qt::LeftButton);
    }
    void loadOnce()
    {
        whileShown(window, [this] { clickOk(); });
    }

    // Everything a user could see change: caption, texts, size and the place of every control.
    QStringList state() const
    {
        QStringList seen{window.windowTitle(), QString::number(window.width()),
                         QString::number(window.height())};
        for (const QString &name : controls) {
            const QWidget *control = window.findChild<QWidget *>(name);
            const QRect place = control->geometry();
            seen << name << QString::number(place.x()) << QString::number(place.y())
                 << QString::number(place.width()) << QString::number(place.height());
            if (const auto *text = qobject_cast<const QLabel *>(control)) {
                seen << text->text();
            }
        }
        return seen;
    }
};
} // namespace

class TestGettingHelp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void texts_data();
    void texts();
    void bannerTooltipNamesTheHost();
    void bannerClickOpensTheWebPage();
    void labelClicksDoNothing_data();
    void labelClicksDoNothing();
    void okHidesAndShowsItAgainAsItWas();
    void closeButtonUnloadsAndLoadsAfresh();
    void unloadEndsTheModalShow();
    void escapeNeitherHidesNorUnloads();
    void titleBar();
    void resizingMovesNothing_data();
    void resizingMovesNothing();
    void wideningShowsMoreOfTheBanner();
    void seenAt_data();
    void seenAt();
    void coloursSeen_data();
    void coloursSeen();
    void textsFitTheirBoxes_data();
    void textsFitTheirBoxes();
};

void TestGettingHelp::texts_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("expected");
    QTest::newRow("caption") << QString()
                             << u"Getting Help From Vessaly Software Solutions, Inc."_s;
    QTest::newRow("terms and services")
        << u"lblMain_0"_s
        << u"This version of the Kestrelkit Launcher is provided as-is and free of charge and "
           u"without "
           u"warranty and/or support expressed or implied. By using this software you agree to "
           u"indemnify Vessaly Software Solutions, Inc. and the author(s) of damages associated "
           u"with "
           u"the use of this software\r\n\r\n"
           u"Vessaly Software Solutions, Inc. can assist your organization in configuring this "
           u"software by providing on-site support and/or training.  In addition, Vessaly Software "
           u"can customize, modify and/or enhance this tool to better suite your organization."
           u"\r\n\r\n"_s;
    QTest::newRow("contact sentence")
        << u"lblMain_3"_s
        << u"For more information on pricing, availability, end-user support and upgrade "
           u"information "
           u"relating to product features and/or Vessaly's support services, contact: "_s;
    QTest::newRow("e-mail and telephone") << u"lblMain_1"_s
                                          << u"Email: "_s + AppIdentity::supportEmail.toString()
            + u"\r\nPhone: "_s + AppIdentity::supportPhone.toString();
    QTest::newRow("bug reports") << u"lblMain_2"_s
                                 << u"Submit bugs to: "_s + AppIdentity::bugEmail.toString();
}

void TestGettingHelp::texts()
{
    QFETCH(QString, control);
    QFETCH(QString, expected);
    Fixture f;
    f.loadOnce();
    QVERIFY(f.window.isLoaded());
    QCOMPARE(control.isEmpty() ? f.window.windowTitle() : f.label(control)->text(), expected);
}

void TestGettingHelp::bannerTooltipNamesTheHost()
{
    Fixture f;
    QCOMPARE(f.banner()->toolTip(), u"Click to goto www.vessaly.example"_s);
}

void TestGettingHelp::bannerClickOpensTheWebPage()
{
    Fixture f;
    QStringList before;
    QStringList after;
    QList<QUrl> afterFirst;
    bool shownAfterClicks = false;
    whileShown(f.window, [&] {
        before = f.state();
        QTest::mouseClick(f.banner(), Qt::LeftButton, {}, QPoint(40, 10));
        afterFirst = f.services.openedUrls;
        QTest::mouseClick(f.banner(), Qt::LeftButton, {}, QPoint(300, 12));
        after = f.state();
        shownAfterClicks = f.window.isVisible();
        f.clickOk();
    });
    QCOMPARE(afterFirst, QList<QUrl>{webPage});
    QCOMPARE(f.services.openedUrls, QList<QUrl>({webPage, webPage}));
    QVERIFY(shownAfterClicks);
    QCOMPARE(after, before);
}

void TestGettingHelp::labelClicksDoNothing_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("terms and services") << u"lblMain_0"_s;
    QTest::newRow("e-mail and telephone") << u"lblMain_1"_s;
    QTest::newRow("bug reports") << u"lblMain_2"_s;
    QTest::newRow("contact sentence") << u"lblMain_3"_s;
}

void TestGettingHelp::labelClicksDoNothing()
{
    QFETCH(QString, control);
    Fixture f;
    QStringList before;
    QStringList after;
    bool shownAfterClick = false;
    whileShown(f.window, [&] {
        before = f.state();
        QTest::mouseClick(f.label(control), Qt::LeftButton, {}, QPoint(30, 5));
        after = f.state();
        shownAfterClick = f.window.isVisible() && f.window.isLoaded();
        f.clickOk();
    });
    QVERIFY(shownAfterClick);
    QCOMPARE(after, before);
    QVERIFY(f.services.openedUrls.isEmpty());
}

void TestGettingHelp::okHidesAndShowsItAgainAsItWas()
{
    Fixture f;
    QStringList atOk;
    whileShown(f.window, [&] {
        f.window.resize(f.window.width() + 60, f.window.height() + 40);
        atOk = f.state();
        f.clickOk();
    });
    QVERIFY(!f.window.isVisible());
    QVERIFY(f.window.isLoaded());

    // Showing it again does not run the load handler: a new title would show in the first label.
    f.services.info.title = u"Renamed"_s;
    QStringList shown;
    whileShown(f.window, [&] {
        shown = f.state();
        f.clickOk();
    });
    QCOMPARE(shown, atOk);
}

void TestGettingHelp::closeButtonUnloadsAndLoadsAfresh()
{
    Fixture f;
    QStringList first;
    whileShown(f.window, [&] {
        first = f.state();
        f.window.resize(f.window.width() + 90, f.window.height() + 30);
        f.window.close();
    });
    QVERIFY(!f.window.isVisible());
    QVERIFY(!f.window.isLoaded());

    // Loaded afresh: the designed size again, and texts made anew from the application's title.
    f.services.info.title = u"Kestrelkit Launcher Pro"_s;
    QStringList second;
    QString terms;
    whileShown(f.window, [&] {
        second = f.state();
        terms = f.label(u"lblMain_0"_s)->text();
        f.clickOk();
    });
    QVERIFY(terms.startsWith(u"This version of the Kestrelkit Launcher Pro is provided"_s));
    second.replaceInStrings(u"Kestrelkit Launcher Pro"_s, u"Kestrelkit Launcher"_s);
    QCOMPARE(second, first);
}

void TestGettingHelp::unloadEndsTheModalShow()
{
    Fixture f;
    verifyUnloadEndsTheModalShow(f.window);
}

void TestGettingHelp::escapeNeitherHidesNorUnloads()
{
    Fixture f;
    verifyEscapeKeepsTheWindow(f.window, [&f] { f.clickOk(); });
}

void TestGettingHelp::titleBar()
{
    Fixture f;
    const Qt::WindowFlags flags = f.window.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!f.window.windowIcon().isNull());
}

void TestGettingHelp::resizingMovesNothing_data()
{
    QTest::addColumn<QSize>("change");
    QTest::newRow("wider") << QSize(200, 0);
    QTest::newRow("taller") << QSize(0, 150);
    QTest::newRow("narrower and shorter") << QSize(-200, -150);
    QTest::newRow("much smaller") << QSize(-400, -300);
}

void TestGettingHelp::resizingMovesNothing()
{
    QFETCH(QSize, change);
    Fixture f;
    QStringList before;
    QStringList after;
    QSize requested;
    QSize got;
    whileShown(f.window, [&] {
        before = f.state();
        requested = f.window.size() + change;
        f.window.resize(requested);
        got = f.window.size();
        after = f.state();
        f.clickOk();
    });
    QCOMPARE(got, requested);
    // Only the window's own size (entries 1 and 2) changed.
    after[1] = before[1];
    after[2] = before[2];
    QCOMPARE(after, before);
}

void TestGettingHelp::wideningShowsMoreOfTheBanner()
{
    Fixture f;
    int shownAtDesignSize = 0;
    int shownWider = 0;
    int windowWidth = 0;
    whileShown(f.window, [&] {
        windowWidth = f.window.width();
        shownAtDesignSize = f.banner()->visibleRegion().boundingRect().width();
        f.window.resize(f.window.width() + 150, f.window.height());
        shownWider = f.banner()->visibleRegion().boundingRect().width();
        f.clickOk();
    });
    const int bannerWidth = twipsToPixels(8880, designDpi(&f.window));
    QCOMPARE(shownAtDesignSize, windowWidth);
    QVERIFY(shownAtDesignSize < bannerWidth);
    QCOMPARE(shownWider, bannerWidth);
}

void TestGettingHelp::seenAt_data()
{
    QTest::addColumn<QPoint>("twips");
    QTest::addColumn<QString>("control");
    // Points in twips from the window's top-left corner; the frame's contents lie 600 lower.
    QTest::newRow("the banner") << QPoint(3000, 300) << u"Image1"_s;
    QTest::newRow("above the banner") << QPoint(3000, 60) << QString();
    QTest::newRow("the terms") << QPoint(3800, 900) << u"lblMain_0"_s;
    QTest::newRow("the contact sentence") << QPoint(3800, 2980) << u"lblMain_3"_s;
    QTest::newRow("the e-mail and telephone lines") << QPoint(3800, 3800) << u"lblMain_1"_s;
    QTest::newRow("the bug-report line") << QPoint(3800, 4400) << u"lblMain_2"_s;
    QTest::newRow("the frame left of the texts") << QPoint(60, 2000) << u"Frame1"_s;
    QTest::newRow("the band behind OK") << QPoint(500, 5100) << u"Label1"_s;
    QTest::newRow("OK on the band") << QPoint(3600, 5100) << u"Command1"_s;
}

void TestGettingHelp::seenAt()
{
    QFETCH(QPoint, twips);
    QFETCH(QString, control);
    Fixture f;
    f.loadOnce();
    QCOMPARE(controlSeenAt(&f.window, twips), control);
}

void TestGettingHelp::coloursSeen_data()
{
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    QTest::addColumn<QPoint>("twips");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("the window above the banner") << QPoint(3000, 30) << QColor(Qt::white);
    QTest::newRow("the window between banner and frame") << QPoint(3000, 560) << QColor(Qt::white);
    QTest::newRow("inside the frame") << QPoint(60, 2000) << buttonFace;
    QTest::newRow("the frame at the window's right edge, its border cut off")
        << QPoint(7640, 2000) << buttonFace;
    QTest::newRow("the band behind OK") << QPoint(500, 5100) << buttonFace;
}

void TestGettingHelp::coloursSeen()
{
    QFETCH(QPoint, twips);
    QFETCH(QColor, colour);
    Fixture f;
    f.loadOnce();
    QCOMPARE(colourSeenAt(&f.window, twips), colour.rgb());
}

void TestGettingHelp::textsFitTheirBoxes_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("terms and services") << u"lblMain_0"_s;
    QTest::newRow("e-mail and telephone") << u"lblMain_1"_s;
    QTest::newRow("bug reports") << u"lblMain_2"_s;
    QTest::newRow("contact sentence") << u"lblMain_3"_s;
}

void TestGettingHelp::textsFitTheirBoxes()
{
    QFETCH(QString, control);
    Fixture f;
    f.loadOnce();
    verifyTextFits(f.label(control));
}

QTEST_MAIN(TestGettingHelp)
#include "tst_frmgettinghelp.moc"
