// The main window as start-up leaves it: design, caption, menus, the launch column and the boxes
// that start-up shows, on real component folders.

#include "app/mainmodule.h"
#include "support/launcherfixture.h"
#include "widgets/descriptionbox.h"
#include "widgets/twips.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

using namespace Qt::StringLiterals;

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void designGeometry_data();
    void designGeometry();
    void clientArea();
    void designSettings();
    void captionCarriesTheVersionOnce_data();
    void captionCarriesTheVersionOnce();
    void defaultButtonColorIsTheFreshButtonColour();
    void menus();
    void contentDoesNothing();
    void pageDownEnabledAfterLoad_data();
    void pageDownEnabledAfterLoad();
    void buttonTopsForSevenComponents();
    void lowerIndexLiesAbove();
    void failedPictureKeepsLaterIndexes();
    void executableDecidesEnabledState_data();
    void executableDecidesEnabledState();
    void noComponents();
    void failedSearchShowsTwoBoxes();
    void folderNamedNilIsAComponent();
    void refusalWhenAnotherCopyRuns();
    void exitEndsAndShutdownRunsOnce();
};

void TestMainWindow::designGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    // At 96 dpi a pixel is 15 twips.
    QTest::newRow("button panel") << u"Picture1"_s << QRect(8, 56, 113, 249);
    QTest::newRow("first launch button") << u"launchButs_0"_s << QRect(0, 24, 113, 41);
    QTest::newRow("page down") << u"downBut"_s << QRect(0, 224, 113, 25);
    QTest::newRow("page up") << u"upBut_0"_s << QRect(0, 0, 113, 25);
    QTest::newRow("description panel") << u"descPict"_s << QRect(112, 56, 385, 249);
    QTest::newRow("description box") << u"descTxt"_s << QRect(8, 24, 361, 217);
    QTest::newRow("banner") << u"vessPict"_s << QRect(8, 0, 485, 54);
}

void TestMainWindow::designGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    LauncherFixture launcher;
    launcher.addComponents(1);
    launcher.start();
    QCOMPARE(launcher.window->logicalDpiY(), 96);
    auto *control = launcher.window->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), pixels);
}

void TestMainWindow::clientArea()
{
    LauncherFixture launcher;
    launcher.addComponents(1);
    launcher.start();
    frmMain &window = *launcher.window;
    QCOMPARE(window.centralWidget()->size(), QSize(502, 311));
    QCOMPARE(window.centralWidget()->palette().color(QPalette::Window), QColor(Qt::white));
    // Fixed size: the client area below the menu bar, nothing to drag.
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QCOMPARE(window.height(), 311 + window.menuBar()->height());
    const Qt::WindowFlags flags = window.windowFlags();
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!window.windowIcon().isNull());
}

void TestMainWindow::designSettings()
{
    LauncherFixture launcher;
    launcher.addComponents(1);
    launcher.start();
    const frmMain &window = *launcher.window;
    DescriptionBox *box = window.descTxt();
    QCOMPARE(box->text(), u"Select the utility to run.\r\n"_s);
    QVERIFY(box->isReadOnly());
    QCOMPARE(box->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(box->textInteractionFlags() & Qt::TextSelectableByKeyboard);
    QCOMPARE(box->focusPolicy(), Qt::ClickFocus);
    QCOMPARE(box->palette().color(QPalette::Text), QColor(0, 0, 128));
    QCOMPARE(box->font().pointSizeF(), 9.75);
    QVERIFY(!window.upBut()->isEnabled());
    QCOMPARE(window.upBut()->text(), u"\u25B2"_s);
    QCOMPARE(window.downBut()->text(), u"\u25BC"_s);
    auto *banner = window.findChild<QLabel *>(u"vessPict"_s);
    QCOMPARE(banner->pixmap().size(), QSize(475, 49));
}

void TestMainWindow::captionCarriesTheVersionOnce_data()
{
    QTest::addColumn<int>("activations");
    QTest::newRow("first activation") << 1;
    QTest::newRow("returning three times") << 4;
}

void TestMainWindow::captionCarriesTheVersionOnce()
{
    QFETCH(int, activations);
    LauncherFixture launcher;
    launcher.addComponents(1);
    launcher.start();
    for (int i = 1; i < activations; ++i) {
        QEvent deactivate(QEvent::WindowDeactivate);
        QApplication::sendEvent(launcher.window.get(), &deactivate);
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(launcher.window.get(), &activate);
    }
    // Two blanks between the dash and "Version": the design caption ends with one.
    QCOMPARE(launcher.window->windowTitle(),
             u"Kestrelkit Launcher - Vessaly Software Solutions, Inc -  Version 1.1.0"_s);
}

void TestMainWindow::defaultButtonColorIsTheFreshButtonColour()
{
    LauncherFixture launcher;
    launcher.addComponents(2);
    launcher.start();
    QCOMPARE(launcher.window->defaultButtonColor(), ColourButton::buttonFace);
    QCOMPARE(launcher.buttons().backColor(1), launcher.window->defaultButtonColor());
    QCOMPARE(launcher.button(1)->backColor(), launcher.window->defaultButtonColor());
}

void TestMainWindow::menus()
{
    LauncherFixture launcher;
    launcher.addComponents(1);
    launcher.start();
    const QList<QAction *> top = launcher.window->menuBar()->actions();
    QCOMPARE(top.size(), 2);
    QCOMPARE(top.at(0)->text(), u"File"_s);
    QCOMPARE(top.at(1)->text(), u"Help"_s);

    const auto describe = [](QMenu *menu) {
        QStringList items;
        for (QAction *action : menu->actions()) {
            const bool plain = action->shortcut().isEmpty() && action->isVisible()
                && action->isEnabled() && !action->text().contains(u'&');
            items << (action->isSeparator() ? u"-"_s : action->text())
                    + (plain ? u""_s : u" (not plain)"_s);
        }
        return items;
    };
    QCOMPARE(describe(top.at(0)->menu()), QStringList({u"-"_s, u"Exit"_s}));
    QCOMPARE(
        describe(top.at(1)->menu()),
        QStringList({u"Getting Help From Vessaly"_s, u"-"_s, u"Content"_s, u"-"_s, u"About"_s}));
    // A leading separator survives only when the menu does not collapse separators.
    QVERIFY(!top.at(0)->menu()->separatorsCollapsible());
}

void TestMainWindow::contentDoesNothing()
{
    LauncherFixture launcher;
    launcher.addComponents(1);
    launcher.start();
    auto *content = launcher.window->findChild<QAction *>(u"content"_s);
    QVERIFY(content);
    const QString title = launcher.window->windowTitle();
    content->trigger();
    QVERIFY(launcher.window->isVisible());
    QCOMPARE(launcher.window->windowTitle(), title);
    QVERIFY(launcher.services.messages.isEmpty());
    QVERIFY(!QApplication::activeModalWidget());
}

void TestMainWindow::pageDownEnabledAfterLoad_data()
{
    QTest::addColumn<int>("components");
    QTest::addColumn<bool>("pageDown");
    QTest::newRow("one") << 1 << false;
    QTest::newRow("five: one page") << 5 << false;
    QTest::newRow("six: a second page") << 6 << true;
}

void TestMainWindow::pageDownEnabledAfterLoad()
{
    QFETCH(int, components);
    QFETCH(bool, pageDown);
    LauncherFixture launcher;
    launcher.addComponents(components);
    launcher.start();
    QCOMPARE(launcher.window->downBut()->isEnabled(), pageDown);
    QVERIFY(!launcher.window->upBut()->isEnabled());
    QCOMPARE(launcher.buttons().count(), components);
    QCOMPARE(launcher.window->components().size(), components);
}

void TestMainWindow::buttonTopsForSevenComponents()
{
    LauncherFixture launcher;
    launcher.addComponents(7);
    launcher.start();
    const QList<int> twips = {360, 960, 1560, 2160, 2760, 360, 960};
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(launcher.buttons().top(i), twips.at(i));
        QVERIFY(launcher.buttons().isVisible(i));
        QVERIFY(launcher.buttons().hasPicture(i));
    }
    // The first page is what the user sees.
    for (int i = 0; i < 5; ++i) {
        ColourButton *button = launcher.button(i);
        QCOMPARE(button->y(), twips.at(i) / 15);
        QCOMPARE(button->geometry().size(), QSize(113, 41));
        QCOMPARE(button->x(), 0);
        QVERIFY(button->isVisible());
        QCOMPARE(button->objectName(), u"launchButs_%1"_s.arg(i));
        QCOMPARE(button->accessibleName(), LauncherFixture::folderName(i));
        QVERIFY(!button->accessibleDescription().isEmpty());
        QCOMPARE(button->picture().size(), QSize(32, 32));
    }
}

void TestMainWindow::lowerIndexLiesAbove()
{
    LauncherFixture launcher;
    launcher.addComponents(12);
    launcher.start();
    // All twelve are visible after start-up; each place shows the first page's button.
    for (int place = 0; place < 5; ++place) {
        QCOMPARE(launcher.buttons().shownIn(place), place);
        QCOMPARE(launcher.seenInPlace(place), launcher.button(place));
    }
}

void TestMainWindow::failedPictureKeepsLaterIndexes()
{
    LauncherFixture launcher;
    launcher.addComponents(3);
    QFile::remove(launcher.suite.filePath(u"Comp01/pic.png"_s));
    launcher.start();
    QCOMPARE(launcher.services.messages.size(), 1);
    const RecordingServices::Message box = launcher.services.messages.first();
    QCOMPARE(box.text,
             u"Error::File not found: "_s + launcher.suite.filePath(u"Comp01/pic.png"_s)
                 + u"\r\n"_s);
    QCOMPARE(box.title, u"Error::Kestrelkit"_s);
    QCOMPARE(box.icon, MessageIcon::Critical);
    QVERIFY(launcher.buttons().isVisible(0));
    QVERIFY(!launcher.buttons().isVisible(1));
    QVERIFY(launcher.buttons().isVisible(2));
    QCOMPARE(launcher.buttons().shownIn(1), -1);
    QVERIFY(!launcher.seenInPlace(1) || !qobject_cast<ColourButton *>(launcher.seenInPlace(1)));
    // The failed component still has its record, with the description composed.
    const QList<ComponentInfo> &records = launcher.window->components();
    QCOMPARE(records.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(records.at(i).index, i);
        QCOMPARE(records.at(i).folder, LauncherFixture::folderName(i));
    }
    QVERIFY(records.at(1).desc.startsWith(u"   COMP01 Utility \r\n"_s));
    launcher.window->launchButsMouseMove(2);
    QVERIFY(launcher.window->descTxt()->text().startsWith(u"   COMP02 Utility "_s));
}

void TestMainWindow::executableDecidesEnabledState_data()
{
    QTest::addColumn<QByteArray>("descriptor");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("executable present") << QByteArray("IMG:pic.png\r\nEXE:run.sh\r\n") << true;
    QTest::newRow("executable missing") << QByteArray("IMG:pic.png\r\nEXE:gone\r\n") << false;
    // The folder itself holds at least the descriptor.
    QTest::newRow("no EXE line") << QByteArray("IMG:pic.png\r\n") << true;
    QTest::newRow("executable in a sub-folder, backslash")
        << QByteArray("IMG:pic.png\r\nEXE:bin\\tool\r\n") << true;
    QTest::newRow("picture in a sub-folder, backslash")
        << QByteArray("IMG:art\\pic.png\r\nEXE:run.sh\r\n") << true;
}

void TestMainWindow::executableDecidesEnabledState()
{
    QFETCH(QByteArray, descriptor);
    QFETCH(bool, enabled);
    LauncherFixture launcher;
    launcher.suite.addComponent(u"Tool"_s);
    launcher.suite.writeDescriptor(u"Tool"_s, descriptor);
    launcher.suite.writeMarkerScript(u"Tool/bin/tool"_s, {}, {});
    launcher.suite.writePicture(u"Tool/art/pic.png"_s, Qt::blue);
    launcher.start();
    QVERIFY2(launcher.services.messages.isEmpty(),
             qPrintable(launcher.services.messages.value(0).text));
    QVERIFY(launcher.buttons().isVisible(0));
    QCOMPARE(launcher.buttons().isEnabled(0), enabled);
    QCOMPARE(launcher.button(0)->isEnabled(), enabled);
}

void TestMainWindow::noComponents()
{
    LauncherFixture launcher;
    launcher.suite.makeFolder(u"Empty"_s);
    launcher.suite.makeFolder(u"Deep/Inner"_s);
    launcher.suite.writeDescriptor(u"Deep/Inner"_s, "EXE:x\r\n");
    launcher.start();
    QCOMPARE(launcher.services.messages.size(), 1);
    QCOMPARE(
        launcher.services.messages.first(),
        (RecordingServices::Message{
            u"WARNING: no components were found.\r\nMake sure that the components were installed properly."_s,
            u"No Components Found..."_s, MessageIcon::Exclamation}));
    QCOMPARE(launcher.buttons().count(), 1);
    QVERIFY(!launcher.buttons().isVisible(0));
    QVERIFY(!launcher.buttons().placeWidget(0)->isVisible());
    QVERIFY(!launcher.window->downBut()->isEnabled());
    QVERIFY(launcher.window->components().isEmpty());
}

void TestMainWindow::failedSearchShowsTwoBoxes()
{
    LauncherFixture launcher;
    launcher.services.info.directory = launcher.suite.filePath(u"not-there"_s);
    launcher.window = std::make_unique<frmMain>(launcher.services);
    launcher.window->load();
    const QString missing = launcher.suite.filePath(u"not-there"_s);
    QCOMPARE(launcher.services.messages.size(), 2);
    QCOMPARE(launcher.services.messages.at(0),
             (RecordingServices::Message{u"Error::Path not found: "_s + missing + u"\r\n"_s,
                                         u"Error::Kestrelkit"_s, MessageIcon::Critical}));
    QCOMPARE(launcher.services.messages.at(1),
             (RecordingServices::Message{
                 u"Error::Subscript out of range\r\n(KK)::Could not Find Any components\r\n"_s,
                 u"Kestrelkit Error: findComponents()"_s, MessageIcon::Critical}));
    QCOMPARE(launcher.window->launchButs().count(), 1);
    QVERIFY(!launcher.window->downBut()->isEnabled());
}

void TestMainWindow::folderNamedNilIsAComponent()
{
    LauncherFixture launcher;
    launcher.suite.addComponent(u"NIL"_s);
    launcher.start();
    QVERIFY(launcher.services.messages.isEmpty());
    QCOMPARE(launcher.window->components().size(), 1);
    QCOMPARE(launcher.window->components().first().folder, u"NIL"_s);
    QVERIFY(launcher.button(0)->isVisible());
}

void TestMainWindow::refusalWhenAnotherCopyRuns()
{
    RecordingServices services;
    services.previous = true;
    services.info.exeName = u"kestrelkit-launcher"_s;
    const int result = Main(services);
    QCOMPARE(result, 0);
    // A copy that is refused has built no window before asking.
    QCOMPARE(services.windowsWhenAskedForPrevious, 0);
    QCOMPARE(services.messages.size(), 1);
    QCOMPARE(services.messages.first(),
             (RecordingServices::Message{u"kestrelkit-launcher is already Running..."_s,
                                         u"Already running..."_s, MessageIcon::Exclamation}));
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName()));
    }
}

void TestMainWindow::exitEndsAndShutdownRunsOnce()
{
    LauncherFixture launcher;
    launcher.addComponents(1);
    launcher.start();
    launcher.window->findChild<QAction *>(u"Exit"_s)->trigger();
    QCOMPARE(launcher.window->panelState().shutdownFlag, -1);
    // No window of the program is left, so the event loop ends.
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName()));
    }
    // Closing again, and destroying the window, unload nothing twice.
    launcher.window->close();
    launcher.window.reset();
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
