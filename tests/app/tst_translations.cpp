// Every shipped translation within the fixed windows of the design: each text the user reads,
// measured with the font of the control that shows it against that control's rectangle, at the
// scale the test runs at. New languages and new controls are covered as they come.

#include "app/frmmain.h"
#include "app/translations.h"
#include "infowin/frmabout.h"
#include "infowin/frmgettinghelp.h"
#include "support/infowindowtesting.h"
#include "support/recordingservices.h"

#include <QAbstractButton>
#include <QAbstractTextDocumentLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QtMath>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace
{
QString where(const QWidget *widget, const QString &text)
{
    return u"%1 (\"%2\")"_s.arg(widget->objectName(), text);
}

// A label's text as QLabel draws it: within the contents less the margin and the indent, wrapped
// at its width where it wraps.
void measureLabel(const QLabel *label, QStringList &overflows)
{
    if (label->text().isEmpty()) {
        return;
    }
    const QFontMetrics metrics(label->font());
    QRect room = label->contentsRect().marginsRemoved(
        QMargins(label->margin(), label->margin(), label->margin(), label->margin()));
    int indent = label->indent();
    if (indent < 0 && label->frameWidth() > 0) {
        indent = metrics.horizontalAdvance(u'x') / 2;
    }
    if (indent > 0) {
        room.adjust(indent, 0, -indent, 0);
    }
    int flags = int(label->alignment());
    if (label->wordWrap()) {
        flags |= Qt::TextWordWrap;
    }
    const QRect needed = metrics.boundingRect(room, flags, label->text());
    if (needed.width() > room.width() || needed.height() > room.height()) {
        overflows.append(where(label, label->text())
                         + u": needs %1 x %2, has %3 x %4"_s.arg(needed.width())
                               .arg(needed.height())
                               .arg(room.width())
                               .arg(room.height()));
    }
}

// A button's caption within the button, less the margins the style keeps around it.
void measureButton(const QAbstractButton *button, QStringList &overflows)
{
    if (button->text().isEmpty()) {
        return;
    }
    const QFontMetrics metrics(button->font());
    QStyleOptionButton option;
    option.initFrom(button);
    const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, &option, button);
    const int room = button->contentsRect().width() - 2 * margin;
    const int needed = metrics.horizontalAdvance(button->text());
    if (needed > room || metrics.height() > button->contentsRect().height()) {
        overflows.append(where(button, button->text())
                         + u": needs %1, has %2"_s.arg(needed).arg(room));
    }
}

// A menu title within the place the menu bar gives it, and every title within the bar.
void measureMenuBar(const QMenuBar *bar, QStringList &overflows)
{
    const QFontMetrics metrics(bar->font());
    for (QAction *action : bar->actions()) {
        const QRect place = bar->actionGeometry(action);
        const int needed = metrics.horizontalAdvance(action->text());
        if (place.isEmpty() || !bar->rect().contains(place) || needed > place.width()) {
            overflows.append(u"menu bar (\"%1\"): needs %2, has %3"_s.arg(action->text())
                                 .arg(needed)
                                 .arg(place.width()));
        }
    }
}

// A menu's items within the menu, which is as wide as its widest item.
void measureMenu(QMenu *menu, QStringList &overflows)
{
    menu->ensurePolished();
    menu->adjustSize();
    const QFontMetrics metrics(menu->font());
    for (QAction *action : menu->actions()) {
        if (action->isSeparator()) {
            continue;
        }
        const int needed = metrics.horizontalAdvance(action->text());
        if (needed > menu->actionGeometry(action).width()) {
            overflows.append(
                where(menu, action->text())
                + u": needs %1, has %2"_s.arg(needed).arg(menu->actionGeometry(action).width()));
        }
    }
}

// A text box's text as the box lays it out: every block, wrapped at the box's width where it
// wraps, within the box's viewport less the document's margin on each side.
void measureTextBox(const QPlainTextEdit *box, QStringList &overflows)
{
    const QTextDocument *document = box->document();
    const int margin = qCeil(document->documentMargin());
    const QSize room = box->viewport()->size() - QSize(2 * margin, 2 * margin);
    const QFontMetrics metrics(box->font());
    qreal height = 0;
    int width = 0;
    // Up to the last line with text: the empty line after a text's final line break shows nothing.
    QTextBlock last = document->lastBlock();
    while (last.isValid() && last.text().isEmpty()) {
        last = last.previous();
    }
    for (QTextBlock block = document->begin(); last.isValid() && block.isValid();
         block = block.next()) {
        height += document->documentLayout()->blockBoundingRect(block).height();
        width = std::max(width, metrics.horizontalAdvance(block.text()));
        if (block == last) {
            break;
        }
    }
    const bool wraps = box->lineWrapMode() != QPlainTextEdit::NoWrap;
    if (qCeil(height) > room.height() || (!wraps && width > room.width())) {
        overflows.append(box->objectName()
                         + u": needs %1 x %2, has %3 x %4"_s.arg(wraps ? room.width() : width)
                               .arg(qCeil(height))
                               .arg(room.width())
                               .arg(room.height()));
    }
}

QStringList overflowsIn(QWidget *window)
{
    QStringList overflows;
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (label->isVisibleTo(window)) {
            measureLabel(label, overflows);
        }
    }
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (button->isVisibleTo(window)) {
            measureButton(button, overflows);
        }
    }
    for (const QMenuBar *bar : window->findChildren<QMenuBar *>()) {
        measureMenuBar(bar, overflows);
    }
    for (QMenu *menu : window->findChildren<QMenu *>()) {
        measureMenu(menu, overflows);
    }
    for (const QPlainTextEdit *box : window->findChildren<QPlainTextEdit *>()) {
        if (box->isVisibleTo(window)) {
            measureTextBox(box, overflows);
        }
    }
    return overflows;
}
} // namespace

class TestTranslations final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void fits_data();
    void fits();
    void chosenLanguage_data();
    void chosenLanguage();
};

void TestTranslations::cleanup()
{
    removeTranslations();
}

void TestTranslations::fits_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("window");

    const QStringList shipped = shippedTranslations();
    QVERIFY2(!shipped.isEmpty(), "no translation is compiled in");
    // English too: the texts as written must fit as well.
    for (const QString &language : QStringList{QString()} + shipped) {
        for (const QString &window : {u"frmMain"_s, u"frmAbout"_s, u"frmGettingHelp"_s}) {
            const QString name = language.isEmpty() ? u"English"_s : language;
            QTest::addRow("%s %s", qPrintable(name), qPrintable(window)) << language << window;
        }
    }
}

void TestTranslations::fits()
{
    QFETCH(QString, language);
    QFETCH(QString, window);

    if (!language.isEmpty()) {
        QCOMPARE(installTranslations({language}), language);
    }
    RecordingServices services;
    frmMain main(services);
    main.load();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));

    QStringList overflows;
    if (window == u"frmMain") {
        overflows = overflowsIn(&main);
    } else {
        std::unique_ptr<InfoWindow> info;
        if (window == u"frmAbout") {
            info = std::make_unique<frmAbout>(services, &main);
        } else {
            info = std::make_unique<frmGettingHelp>(services, &main);
        }
        whileShown(*info, [&] {
            overflows = overflowsIn(info.get());
            info->hide();
        });
    }
    QVERIFY2(overflows.isEmpty(), qPrintable(overflows.join(u"\n"_s)));
}

void TestTranslations::chosenLanguage_data()
{
    QTest::addColumn<QStringList>("uiLanguages");
    QTest::addColumn<bool>("translated");

    // Any shipped language serves; what matters is where it stands among the user's languages.
    const QString shipped = shippedTranslations().value(0);
    const QString withTerritory = shipped + u"-ZZ"_s;
    QTest::newRow("the language alone") << QStringList{shipped} << true;
    QTest::newRow("the language of another territory") << QStringList{withTerritory} << true;
    QTest::newRow("after a language without a translation")
        << QStringList{u"xx-YY"_s, shipped} << true;
    QTest::newRow("after English: the texts as written")
        << QStringList{u"en-GB"_s, shipped} << false;
    QTest::newRow("C") << QStringList{u"C"_s} << false;
    QTest::newRow("no language at all") << QStringList{} << false;
}

void TestTranslations::chosenLanguage()
{
    QFETCH(QStringList, uiLanguages);
    QFETCH(bool, translated);

    QCOMPARE(installTranslations(uiLanguages).isEmpty(), !translated);
    // The menu's title speaks the language installed, or English.
    RecordingServices services;
    const frmMain main(services);
    const QString title = main.findChild<QMenu *>(u"File"_s)->title();
    QCOMPARE(title == u"File", !translated);
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
