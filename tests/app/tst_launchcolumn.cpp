// Browsing the launch column: the hover highlight with its description, and paging.

#include "support/launcherfixture.h"
#include "widgets/descriptionbox.h"

#include <QScrollBar>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace
{
// The highlighted buttons, by index.
QList<int> whiteButtons(const LauncherFixture &launcher)
{
    QList<int> white;
    for (int i = 0; i < launcher.buttons().count(); ++i) {
        if (launcher.buttons().backColor(i) == ColourButton::white) {
            white << i;
        }
    }
    // What the places show agrees with the buttons they stand for.
    for (int place = 0; place < LaunchButtons::places; ++place) {
        const qint16 shown = launcher.buttons().shownIn(place);
        if (shown >= 0
            && launcher.buttons().placeWidget(place)->backColor()
                != launcher.buttons().backColor(shown)) {
            white << -1;
        }
    }
    return white;
}

QString descriptionOf(const LauncherFixture &launcher, int i)
{
    return launcher.window->components().at(i).desc;
}

QList<int> visibleButtons(const LauncherFixture &launcher)
{
    QList<int> visible;
    for (int i = 0; i < launcher.buttons().count(); ++i) {
        if (launcher.buttons().isVisible(i)) {
            visible << i;
        }
    }
    return visible;
}

QList<int> range(int from, int to)
{
    QList<int> list;
    for (int i = from; i < to; ++i) {
        list << i;
    }
    return list;
}

// Moves the real pointer over the middle of a button.
void pointAt(QWidget *button, int dx = 0)
{
    QTest::mouseMove(button, button->rect().center() + QPoint(dx, 0));
}
} // namespace

class TestLaunchColumn : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstHoverOnButtonZero();
    void fromThreeToZero();
    void movingWithinOneButtonCostsNothing();
    void disabledButtonIgnoresThePointer();
    void hoverOnSamePlaceAfterPaging();
    void whiteDefaultColourRewritesButtonZero();
    void hoverOnMissingRecordIsTrapped();
    void paging_data();
    void paging();
    void pagingLeavesHighlightAndDescription();
    void failedPictureShownByPaging();
    void pagingShowsThePicturesLoaded();
};

void TestLaunchColumn::firstHoverOnButtonZero()
{
    LauncherFixture launcher;
    launcher.addComponents(3);
    launcher.start();
    QCOMPARE(launcher.window->panelState().hoveredIndex, 0);
    pointAt(launcher.button(0));
    QCOMPARE(whiteButtons(launcher), QList<int>{0});
    QCOMPARE(launcher.window->descTxt()->text(), descriptionOf(launcher, 0));
    QCOMPARE(launcher.window->panelState().hoveredIndex, 0);
}

void TestLaunchColumn::fromThreeToZero()
{
    LauncherFixture launcher;
    launcher.addComponents(5);
    launcher.start();
    pointAt(launcher.button(3));
    QCOMPARE(whiteButtons(launcher), QList<int>{3});
    QCOMPARE(launcher.window->descTxt()->text(), descriptionOf(launcher, 3));
    pointAt(launcher.button(0));
    QCOMPARE(whiteButtons(launcher), QList<int>{0});
    QCOMPARE(launcher.buttons().backColor(3), launcher.window->defaultButtonColor());
    QCOMPARE(launcher.window->descTxt()->text(), descriptionOf(launcher, 0));
    QCOMPARE(launcher.window->panelState().hoveredIndex, 0);
}

void TestLaunchColumn::movingWithinOneButtonCostsNothing()
{
    LauncherFixture launcher;
    launcher.addComponents(3);
    // A description long enough to scroll.
    launcher.suite.writeDescriptor(u"Comp01"_s,
                                   "IMG:pic.png\r\nEXE:run.sh\r\nDESC:"
                                       + QByteArray(40, 'x').append(' ').repeated(30) + "\r\n");
    launcher.start();
    pointAt(launcher.button(1));
    DescriptionBox *box = launcher.window->descTxt();
    box->verticalScrollBar()->setValue(3);
    QSignalSpy rewritten(box, &QPlainTextEdit::textChanged);
    for (int dx = -20; dx <= 20; dx += 4) {
        pointAt(launcher.button(1), dx);
    }
    QCOMPARE(rewritten.size(), 0);
    QCOMPARE(box->verticalScrollBar()->value(), 3);
    QCOMPARE(whiteButtons(launcher), QList<int>{1});
}

void TestLaunchColumn::disabledButtonIgnoresThePointer()
{
    LauncherFixture launcher;
    launcher.addComponents(3);
    QFile::remove(launcher.suite.filePath(u"Comp02/run.sh"_s));
    launcher.start();
    QVERIFY(!launcher.buttons().isEnabled(2));
    QVERIFY(!launcher.button(2)->isEnabled());
    pointAt(launcher.button(1));
    pointAt(launcher.button(2));
    QCOMPARE(whiteButtons(launcher), QList<int>{1});
    QCOMPARE(launcher.window->descTxt()->text(), descriptionOf(launcher, 1));
    QCOMPARE(launcher.window->panelState().hoveredIndex, 1);
}

void TestLaunchColumn::hoverOnSamePlaceAfterPaging()
{
    LauncherFixture launcher;
    launcher.addComponents(8);
    launcher.start();
    pointAt(launcher.button(1));
    launcher.window->downButClick();
    // Button 6 now stands where button 1 stood.
    QCOMPARE(launcher.seenInPlace(1), launcher.button(6));
    pointAt(launcher.button(6), 3);
    QCOMPARE(whiteButtons(launcher), QList<int>{6});
    QCOMPARE(launcher.buttons().backColor(1), launcher.window->defaultButtonColor());
    QCOMPARE(launcher.window->descTxt()->text(), descriptionOf(launcher, 6));
}

void TestLaunchColumn::whiteDefaultColourRewritesButtonZero()
{
    LauncherFixture launcher;
    launcher.addComponents(2);
    launcher.start();
    // A toolkit whose normal button colour is white.
    launcher.window->upBut()->setBackColor(ColourButton::white);
    for (qint16 i = 0; i < launcher.buttons().count(); ++i) {
        launcher.buttons().setBackColor(i, ColourButton::white);
    }
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(launcher.window.get(), &activate);
    QCOMPARE(launcher.window->defaultButtonColor(), ColourButton::white);
    // Button 0 then always looks un-highlighted, so every move over it writes the description.
    QSignalSpy rewritten(launcher.window->descTxt(), &QPlainTextEdit::textChanged);
    launcher.window->launchButsMouseMove(0);
    launcher.window->launchButsMouseMove(0);
    QCOMPARE(rewritten.size(), 4); // emptied and filled, twice
    QCOMPARE(launcher.window->descTxt()->text(), descriptionOf(launcher, 0));
}

void TestLaunchColumn::hoverOnMissingRecordIsTrapped()
{
    LauncherFixture launcher;
    launcher.addComponents(2);
    launcher.start();
    launcher.window->launchButsMouseMove(1);
    launcher.window->launchButsMouseMove(7);
    QCOMPARE(launcher.services.messages.size(), 1);
    QCOMPARE(launcher.services.messages.first().text, u"Error::Subscript out of range\r\n"_s);
    // The failure leaves the handled index as it was.
    QCOMPARE(launcher.window->panelState().hoveredIndex, 1);
    QCOMPARE(whiteButtons(launcher), QList<int>{1});
}

void TestLaunchColumn::paging_data()
{
    QTest::addColumn<int>("components");
    // Moves: 'd' page down, 'u' page up. After each: offset, up enabled, down enabled, visible.
    QTest::addColumn<QString>("moves");
    QTest::addColumn<QList<int>>("offsets");
    QTest::addColumn<QList<bool>>("upEnabled");
    QTest::addColumn<QList<bool>>("downEnabled");
    QTest::addColumn<QList<QList<int>>>("visible");

    QTest::newRow("six: down then up")
        << 6 << u"du"_s << QList<int>{5, 0} << QList<bool>{true, false} << QList<bool>{false, true}
        << QList<QList<int>>{{5}, range(0, 5)};
    QTest::newRow("ten: one page down reaches the end")
        << 10 << u"du"_s << QList<int>{5, 0} << QList<bool>{true, false} << QList<bool>{false, true}
        << QList<QList<int>>{range(5, 10), range(0, 5)};
    QTest::newRow("eleven: two pages down, two up")
        << 11 << u"dduu"_s << QList<int>{5, 10, 5, 0} << QList<bool>{true, true, true, false}
        << QList<bool>{true, false, true, true}
        << QList<QList<int>>{range(5, 11), {10}, range(5, 10), range(0, 5)};
    QTest::newRow("sixteen: every page by page down")
        << 16 << u"ddd"_s << QList<int>{5, 10, 15} << QList<bool>{true, true, true}
        << QList<bool>{true, true, false} << QList<QList<int>>{range(5, 16), range(10, 16), {15}};
}

void TestLaunchColumn::paging()
{
    QFETCH(int, components);
    QFETCH(QString, moves);
    QFETCH(QList<int>, offsets);
    QFETCH(QList<bool>, upEnabled);
    QFETCH(QList<bool>, downEnabled);
    QFETCH(QList<QList<int>>, visible);

    LauncherFixture launcher;
    launcher.addComponents(components);
    launcher.start();
    QVERIFY(launcher.window->downBut()->isEnabled());
    for (int step = 0; step < moves.size(); ++step) {
        // Press the real page button, as the user does.
        QPushButton *pageButton = moves.at(step) == u'd'
            ? static_cast<QPushButton *>(launcher.window->downBut())
            : launcher.window->upBut();
        QVERIFY(pageButton->isEnabled());
        QTest::mouseClick(pageButton, Qt::LeftButton);
        const QByteArray where = "after move " + QByteArray::number(step + 1);
        QVERIFY2(launcher.window->panelState().scrollOffset == offsets.at(step), where);
        QVERIFY2(launcher.window->upBut()->isEnabled() == upEnabled.at(step), where);
        QVERIFY2(launcher.window->downBut()->isEnabled() == downEnabled.at(step), where);
        QCOMPARE(visibleButtons(launcher), visible.at(step));
        // Each place shows the page's button, or nothing past the end of the list.
        const int offset = offsets.at(step);
        for (int place = 0; place < 5; ++place) {
            const int expected = offset + place < components ? offset + place : -1;
            QVERIFY2(launcher.buttons().shownIn(place) == expected,
                     where + " place " + QByteArray::number(place));
            QWidget *seen = launcher.seenInPlace(place);
            QVERIFY2(expected < 0 ? !qobject_cast<ColourButton *>(seen)
                                  : seen == launcher.button(expected),
                     where + " place " + QByteArray::number(place));
        }
    }
    QVERIFY(launcher.services.messages.isEmpty());
}

void TestLaunchColumn::pagingLeavesHighlightAndDescription()
{
    LauncherFixture launcher;
    launcher.addComponents(7);
    launcher.start();
    pointAt(launcher.button(2));
    const QString description = launcher.window->descTxt()->text();
    launcher.window->downButClick();
    launcher.window->upButClick(0);
    QCOMPARE(launcher.window->descTxt()->text(), description);
    QCOMPARE(whiteButtons(launcher), QList<int>{2});
    QCOMPARE(launcher.window->panelState().hoveredIndex, 2);
}

void TestLaunchColumn::failedPictureShownByPaging()
{
    LauncherFixture launcher;
    launcher.addComponents(7);
    QFile::remove(launcher.suite.filePath(u"Comp06/pic.png"_s));
    QFile::remove(launcher.suite.filePath(u"Comp05/run.sh"_s));
    launcher.start();
    QCOMPARE(launcher.services.messages.size(), 1);
    QVERIFY(!launcher.buttons().isVisible(6));
    // With button 6 hidden, place 1 shows button 1 as before.
    QCOMPARE(launcher.buttons().shownIn(1), 1);
    launcher.window->downButClick();
    QVERIFY(launcher.buttons().isVisible(6));
    QVERIFY(launcher.button(6)->isVisible());
    QVERIFY(launcher.button(6)->picture().isNull());
    // Disabled buttons page like the others and stay disabled.
    QVERIFY(launcher.button(5)->isVisible());
    QVERIFY(!launcher.button(5)->isEnabled());
    launcher.window->upButClick(0);
    QVERIFY(!launcher.buttons().isVisible(5));
    QVERIFY(!launcher.buttons().isEnabled(5));
    QVERIFY(!launcher.button(0)->picture().isNull());
}

void TestLaunchColumn::pagingShowsThePicturesLoaded()
{
    // A page shows the pictures read at loading, whatever became of their files since.
    LauncherFixture launcher;
    launcher.addComponents(12);
    launcher.start();
    for (int i = 0; i < 12; ++i) {
        QFile::remove(launcher.suite.filePath(LauncherFixture::folderName(i) + u"/pic.png"_s));
    }
    launcher.suite.writePicture(u"Comp07/pic.png"_s, Qt::black);
    const auto shownColour = [&launcher](int i) {
        return launcher.button(i)->picture().part({}).image.pixel(16, 16);
    };
    for (const QList<int> &page : {QList<int>{5, 6, 7, 8, 9}, QList<int>{10, 11}}) {
        launcher.window->downButClick();
        for (int i : page) {
            QCOMPARE(shownColour(i), QColor::fromHsv((i * 37) % 360, 200, 200).rgb());
        }
    }
    launcher.window->upButClick(0);
    launcher.window->upButClick(0);
    QCOMPARE(shownColour(0), QColor::fromHsv(0, 200, 200).rgb());
    QVERIFY(launcher.services.messages.isEmpty());
}

QTEST_MAIN(TestLaunchColumn)
#include "tst_launchcolumn.moc"
