// What a screen reader and a keyboard user meet: names, roles and descriptions of the controls,
// the focus order, and pressing buttons without a pointer.

#include "support/launcherfixture.h"
#include "widgets/descriptionbox.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QMenuBar>

using namespace Qt::StringLiterals;

class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void namesAndRoles_data();
    void namesAndRoles();
    void launchButtonDescribesItsComponent();
    void pagingRenamesThePlaces();
    void tabReachesThePageAndLaunchButtons();
    void keysPressTheFocusedButton_data();
    void keysPressTheFocusedButton();
    void accessiblePressAction();
};

void TestAccessibility::namesAndRoles_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    QTest::newRow("page up") << u"upBut_0"_s << u"Page up"_s << int(QAccessible::Button);
    QTest::newRow("page down") << u"downBut"_s << u"Page down"_s << int(QAccessible::Button);
    QTest::newRow("description") << u"descTxt"_s << u"Description"_s
                                 << int(QAccessible::EditableText);
    QTest::newRow("banner") << u"vessPict"_s << u"Vessaly Software Solutions"_s
                            << int(QAccessible::Graphic);
    QTest::newRow("first launch button")
        << u"launchButs_0"_s << u"Comp00"_s << int(QAccessible::Button);
}

void TestAccessibility::namesAndRoles()
{
    QFETCH(QString, object);
    QFETCH(QString, name);
    QFETCH(int, role);
    LauncherFixture launcher;
    launcher.addComponents(6);
    launcher.start();
    auto *widget = launcher.window->findChild<QWidget *>(object);
    QVERIFY(widget);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Name), name);
    QCOMPARE(int(iface->role()), role);
}

void TestAccessibility::launchButtonDescribesItsComponent()
{
    LauncherFixture launcher;
    launcher.addComponents(2);
    launcher.start();
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(launcher.button(1));
    // The component's own paragraph out of the drawn block, without its breaks, rule or file names.
    const QString description = iface->text(QAccessible::Description);
    QString block = launcher.window->components().at(1).desc;
    QVERIFY(!description.isEmpty());
    QVERIFY(block.remove(u"\r\n"_s).contains(description));
    QVERIFY(!description.contains(u'\n') && !description.contains(u'\r'));
    QVERIFY(!description.contains(u'_'));
    QVERIFY(!description.contains(u"run.sh"_s) && !description.contains(u"pic.png"_s));
    QVERIFY(!iface->state().disabled);
    // The menus read as a menu bar with File and Help.
    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(launcher.window->menuBar());
    QCOMPARE(bar->role(), QAccessible::MenuBar);
    QCOMPARE(bar->childCount(), 2);
    QCOMPARE(bar->child(0)->text(QAccessible::Name), u"File"_s);
    QCOMPARE(bar->child(1)->text(QAccessible::Name), u"Help"_s);
}

void TestAccessibility::pagingRenamesThePlaces()
{
    LauncherFixture launcher;
    launcher.addComponents(7);
    launcher.start();
    launcher.window->downButClick();
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(launcher.button(6));
    QCOMPARE(iface->text(QAccessible::Name), u"Comp06"_s);
    QCOMPARE(launcher.button(6)->objectName(), u"launchButs_6"_s);
}

void TestAccessibility::tabReachesThePageAndLaunchButtons()
{
    LauncherFixture launcher;
    launcher.addComponents(6);
    launcher.start();
    launcher.window->downBut()->setFocus();
    QVERIFY(launcher.window->downBut()->hasFocus());
    QList<QWidget *> reached;
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached << QApplication::focusWidget();
    }
    QList<QWidget *> expected;
    for (int i = 0; i < 5; ++i) {
        expected << launcher.button(i);
    }
    // Page up is disabled on the first page, so the round goes on to page down.
    expected << launcher.window->downBut();
    QCOMPARE(reached, expected);
    // The description box is reached by the pointer only.
    QVERIFY(!reached.contains(launcher.window->descTxt()));
}

void TestAccessibility::keysPressTheFocusedButton_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("space") << int(Qt::Key_Space);
    QTest::newRow("enter") << int(Qt::Key_Return);
}

void TestAccessibility::keysPressTheFocusedButton()
{
    QFETCH(int, key);
    LauncherFixture launcher;
    launcher.addComponents(7);
    launcher.start();
    launcher.button(2)->setFocus();
    QTest::keyClick(launcher.button(2), Qt::Key(key));
    QCOMPARE(launcher.services.started, QStringList{launcher.suite.filePath(u"Comp02/run.sh"_s)});
    launcher.window->downBut()->setFocus();
    QTest::keyClick(launcher.window->downBut(), Qt::Key(key));
    QCOMPARE(launcher.window->panelState().scrollOffset, 5);
}

void TestAccessibility::accessiblePressAction()
{
    LauncherFixture launcher;
    launcher.addComponents(3);
    launcher.start();
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(launcher.button(1));
    QAccessibleActionInterface *actions = iface->actionInterface();
    QVERIFY(actions);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    // The press is animated, as a click the user can see.
    QTRY_COMPARE(launcher.services.started,
                 QStringList{launcher.suite.filePath(u"Comp01/run.sh"_s)});
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
