// Browsing the launch column: the hover highlight with its description, paging, and the keys and
// wheel that do the same.

#include "support/launcherfixture.h"
#include "widgets/descriptionbox.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QSpontaneKeyEvent>
#include <QWheelEvent>

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

bool onShownPage(const LauncherFixture &launcher, int i)
{
    const int offset = launcher.window->panelState().scrollOffset;
    return i >= offset && i < offset + LaunchButtons::places;
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
    void keysAndWheel_data();
    void keysAndWheel();
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

void TestLaunchColumn::keysAndWheel_data()
{
    // Folders are listed by name, so these keep this order.
    const QStringList names{u"Alpha"_s, u"Beta"_s, u"Bongo"_s,   u"Bravo"_s, u"Charlie"_s,
                            u"Delta"_s, u"Echo"_s, u"Foxtrot"_s, u"golf"_s};
    QTest::addColumn<int>("components");
    QTest::addColumn<QStringList>("folders"); // instead of "Comp00", "Comp01", ...
    QTest::addColumn<int>("withoutProgram"); // the button left disabled, or -1
    // A key name; "type:" and letters; "wait" past the typing interval; "wheel:" and a vertical
    // angle delta; "point:" and "nudge:" move the pointer onto a button and within it; "desc"
    // puts the focus into the description box as a click does.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("reached"); // the highlighted button, -1 for none
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("described"); // whose description the box shows, -1 for the first text
    QTest::addColumn<QStringList>("started");

    const QStringList none;
    const auto keys = [](const QString &key, int times) {
        return QStringList(times, key);
    };
    QTest::newRow("down from nothing reaches the page's first")
        << 7 << none << -1 << QStringList{u"Down"_s} << 0 << 0 << 0 << none;
    QTest::newRow("down past the page's foot turns the page")
        << 7 << none << -1 << keys(u"Down"_s, 6) << 5 << 5 << 5 << none;
    QTest::newRow("up past the page's head turns it back")
        << 7 << none << -1 << keys(u"Down"_s, 6) + QStringList{u"Up"_s} << 4 << 0 << 4 << none;
    QTest::newRow("up at the first stays")
        << 7 << none << -1 << QStringList{u"Down"_s, u"Up"_s, u"Up"_s} << 0 << 0 << 0 << none;
    QTest::newRow("down at the last stays")
        << 7 << none << -1 << QStringList{u"End"_s, u"Down"_s} << 6 << 5 << 6 << none;
    QTest::newRow("end then home across pages")
        << 12 << none << -1 << QStringList{u"End"_s, u"Home"_s} << 0 << 0 << 0 << none;
    QTest::newRow("page down keeps the place")
        << 12 << none << -1 << keys(u"Down"_s, 3) + QStringList{u"PgDown"_s} << 7 << 5 << 7 << none;
    QTest::newRow("page down onto a short page reaches its last")
        << 12 << none << -1 << keys(u"Down"_s, 4) + keys(u"PgDown"_s, 2) << 11 << 10 << 11 << none;
    QTest::newRow("page down on the last page does nothing")
        << 7 << none << -1 << keys(u"PgDown"_s, 2) << 5 << 5 << 5 << none;
    QTest::newRow("page up on the first page does nothing")
        << 7 << none << -1 << QStringList{u"Down"_s, u"Down"_s, u"PgUp"_s} << 1 << 0 << 1 << none;
    QTest::newRow("page up keeps the place")
        << 12 << none << -1 << QStringList{u"End"_s, u"PgUp"_s} << 6 << 5 << 6 << none;
    QTest::newRow("typing finds on a later page")
        << 0 << names << -1 << QStringList{u"type:g"_s} << 8 << 5 << 8 << none;
    QTest::newRow("letters typed together add up")
        << 0 << names << -1 << QStringList{u"type:br"_s} << 3 << 0 << 3 << none;
    QTest::newRow("the same letter again goes on to the next")
        << 0 << names << -1 << QStringList{u"type:bbb"_s} << 3 << 0 << 3 << none;
    QTest::newRow("the same letter again wraps round to the first")
        << 0 << names << -1 << QStringList{u"type:bbbb"_s} << 1 << 0 << 1 << none;
    QTest::newRow("after a pause typing starts again")
        << 0 << names << -1 << QStringList{u"type:b"_s, u"wait"_s, u"type:e"_s} << 6 << 5 << 6
        << none;
    QTest::newRow("no match leaves everything")
        << 0 << names << -1 << QStringList{u"Down"_s, u"Down"_s, u"type:z"_s} << 1 << 0 << 1
        << none;
    QTest::newRow("return starts the reached")
        << 7 << none << -1 << QStringList{u"Down"_s, u"Down"_s, u"Return"_s} << 1 << 0 << 1
        << QStringList{u"Comp01"_s};
    QTest::newRow("a disabled button is reached and starts nothing")
        << 7 << none << 2 << QStringList{u"Home"_s, u"Down"_s, u"Down"_s, u"Return"_s} << 2 << 0
        << 2 << none;
    QTest::newRow("past a disabled button the keys go on")
        << 7 << none << 2 << keys(u"Down"_s, 4) << 3 << 0 << 3 << none;
    QTest::newRow("the description box keeps the arrows and page keys")
        << 7 << none << -1 << QStringList{u"Down"_s, u"desc"_s, u"Down"_s, u"PgDown"_s} << 0 << 0
        << 0 << none;
    QTest::newRow("from the description box typing and return still work")
        << 0 << names << -1 << QStringList{u"desc"_s, u"type:c"_s, u"Return"_s} << 4 << 0 << 4
        << QStringList{u"Charlie"_s};
    QTest::newRow("a key takes the highlight from the pointer resting on a button")
        << 7 << none << -1 << QStringList{u"point:1"_s, u"Down"_s, u"nudge:1"_s} << 2 << 0 << 2
        << none;
    QTest::newRow("the pointer coming onto a button takes it back")
        << 7 << none << -1 << QStringList{u"point:1"_s, u"Down"_s, u"point:3"_s} << 3 << 0 << 3
        << none;
    QTest::newRow("a notch down turns a page")
        << 12 << none << -1 << QStringList{u"wheel:-120"_s} << -1 << 5 << -1 << none;
    QTest::newRow("two notches down and one up")
        << 12 << none << -1 << QStringList{u"wheel:-120"_s, u"wheel:-120"_s, u"wheel:120"_s} << -1
        << 5 << -1 << none;
    QTest::newRow("a notch past the last page does nothing")
        << 7 << none << -1 << QStringList{u"wheel:-120"_s, u"wheel:-120"_s} << -1 << 5 << -1
        << none;
    QTest::newRow("a notch up on the first page does nothing")
        << 7 << none << -1 << QStringList{u"wheel:120"_s} << -1 << 0 << -1 << none;
    QTest::newRow("fine steps add up to one notch a page")
        << 16 << none << -1 << keys(u"wheel:-40"_s, 5) << -1 << 5 << -1 << none;
    QTest::newRow("turning back drops what was gathered")
        << 12 << none << -1 << QStringList{u"wheel:-80"_s, u"wheel:40"_s, u"wheel:-80"_s} << -1 << 0
        << -1 << none;
    QTest::newRow("a flick turns one page")
        << 40 << none << -1 << QStringList{u"wheel:-2400"_s, u"wheel:-60"_s} << -1 << 5 << -1
        << none;
    QTest::newRow("the wheel leaves what keys reached")
        << 12 << none << -1 << QStringList{u"Down"_s, u"Down"_s, u"wheel:-120"_s} << 1 << 5 << 1
        << none;
}

void TestLaunchColumn::keysAndWheel()
{
    QFETCH(int, components);
    QFETCH(QStringList, folders);
    QFETCH(int, withoutProgram);
    QFETCH(QStringList, steps);
    QFETCH(int, reached);
    QFETCH(int, offset);
    QFETCH(int, described);
    QFETCH(QStringList, started);

    LauncherFixture launcher;
    if (folders.isEmpty()) {
        launcher.addComponents(components);
        for (int i = 0; i < components; ++i) {
            folders << LauncherFixture::folderName(i);
        }
    } else {
        for (const QString &folder : folders) {
            launcher.suite.addComponent(folder);
        }
    }
    if (withoutProgram >= 0) {
        QFile::remove(launcher.suite.filePath(folders.at(withoutProgram) + u"/run.sh"_s));
    }
    launcher.start();
    const QString firstText = launcher.window->descTxt()->text();
    QWindow *window = launcher.window->windowHandle();
    QWidget *column = launcher.buttons().placeWidget(0)->parentWidget();
    const std::map<QString, Qt::Key> keyNames{
        {u"Down"_s, Qt::Key_Down},    {u"Up"_s, Qt::Key_Up},     {u"PgDown"_s, Qt::Key_PageDown},
        {u"PgUp"_s, Qt::Key_PageUp},  {u"Home"_s, Qt::Key_Home}, {u"End"_s, Qt::Key_End},
        {u"Return"_s, Qt::Key_Return}};
    for (const QString &step : steps) {
        if (step.startsWith(u"type:")) {
            for (const QChar letter : step.mid(5)) {
                QTest::keyClick(window, letter.toLatin1());
            }
        } else if (step == u"wait") {
            QTest::qWait(QApplication::keyboardInputInterval() + 100);
        } else if (step.startsWith(u"point:")) {
            pointAt(launcher.button(step.mid(6).toInt()));
        } else if (step.startsWith(u"nudge:")) {
            pointAt(launcher.button(step.mid(6).toInt()), 3);
        } else if (step == u"desc") {
            launcher.window->descTxt()->setFocus(Qt::MouseFocusReason);
        } else if (step.startsWith(u"wheel:")) {
            // Over the middle of the column, wherever that is on its buttons.
            const QPoint centre = column->rect().center();
            QWidget *under = column->childAt(centre) ? column->childAt(centre) : column;
            const QPoint at = under->mapFrom(column, centre);
            QWheelEvent wheel(at, under->mapToGlobal(at), {}, {0, step.mid(6).toInt()},
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            // As the window system delivers it, so that a button passes it on to the column.
            QSpontaneKeyEvent::setSpontaneous(&wheel);
            QApplication::instance()->notify(under, &wheel);
        } else {
            QVERIFY2(keyNames.count(step), qPrintable(step));
            QTest::keyClick(window, keyNames.at(step));
        }
    }
    QCOMPARE(whiteButtons(launcher), reached < 0 ? QList<int>{} : QList<int>{reached});
    QCOMPARE(launcher.window->panelState().scrollOffset, offset);
    QCOMPARE(launcher.window->descTxt()->text(),
             described < 0 ? firstText : descriptionOf(launcher, described));
    if (reached >= 0 && onShownPage(launcher, reached) && reached != withoutProgram
        && !steps.contains(u"desc"_s) && !steps.constLast().startsWith(u"point:")) {
        // The keyboard focus is on what a key reached, for a screen reader to follow.
        QCOMPARE(QApplication::focusWidget(), launcher.button(reached));
    }
    QStringList startedFolders;
    for (const QString &path : std::as_const(launcher.services.started)) {
        startedFolders << path.section(u'/', -2, -2);
    }
    QCOMPARE(startedFolders, started);
    QVERIFY(launcher.services.messages.isEmpty());
}

QTEST_MAIN(TestLaunchColumn)
#include "tst_launchcolumn.moc"
