#include "infowin/frmabout.h"

#include "widgets/appidentity.h"
#include "widgets/designlook.h"
#include "widgets/platformservices.h"
#include "widgets/twips.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace
{
constexpr int clientWidthTwips = 7215;
constexpr int clientHeightTwips = 5745;

// The window's controls in the design's stacking order: an earlier control lies above a later one
// where they overlap.
constexpr ControlDesign aboutDesign[] = {
    {u"txtInfo", u"", 120, 3120, 6972, 2052},
    {u"okBut", u"", 3120, 5280, 1092, 375},
    // The white panel starts left of the window, so that its left border is never seen.
    {u"Frame1", u"", -360, 0, 7572, 3012},
    {u"authorLbl", u"Frame1", 5160, 2760, 2412, 252},
    {u"mainLbl_2", u"Frame1", 360, 2400, 7212, 372},
    {u"mainLbl_1", u"Frame1", 360, 1200, 7212, 492},
    {u"mainLbl_0", u"Frame1", 360, 240, 7212, 852},
    {u"Label1", u"Frame1", 1920, 1920, 4092, 372},
    {u"Image1", u"Frame1", 1440, 1920, 450, 480},
};

// The focus order, first to last. Only okBut takes focus from the keyboard; the notice takes it
// from a click, so that Tab never leaves OK.
constexpr QStringView focusOrder[] = {u"Frame1",    u"okBut",     u"Label1",  u"mainLbl_0",
                                      u"mainLbl_1", u"mainLbl_2", u"txtInfo", u"authorLbl"};

const QColor navy(0, 0, 128);
const QColor grey(128, 128, 128);
const QColor green(0, 128, 0);
const QColor lightGrey(224, 224, 224);

} // namespace

frmAbout::frmAbout(PlatformServices &services, QWidget *owner)
    : InfoWindow(services, owner,
                 Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                     | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(u"frmAbout"_s);
    setWindowTitle(tr("About"));
    setWindowIcon(QIcon(u":/resources/about-icon.png"_s));
    setFont(designFont(8.25));
    setColour(this, QPalette::Window, palette().color(QPalette::Button));
    setAutoFillBackground(true);
    const qreal dpi = designDpi(this);
    setFixedSize(twipsToPixels(clientWidthTwips, dpi), twipsToPixels(clientHeightTwips, dpi));
    buildDesign();
}

void frmAbout::buildDesign()
{
    const QColor buttonFace = palette().color(QPalette::Button);

    auto *frame = new QFrame(this);
    frame->setObjectName(u"Frame1"_s);
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    setColour(frame, QPalette::Window, palette().color(QPalette::Base));
    frame->setAutoFillBackground(true);

    m_authorLbl = designLabel(frame, u"authorLbl", green, Qt::AlignRight, font());
    m_authorLbl->setFrameStyle(QFrame::Box | QFrame::Plain);
    // A framed label would otherwise keep the width of an "x" clear inside its border, which pushes
    // the line below the label's bottom edge.
    m_authorLbl->setIndent(1);
    setColour(m_authorLbl, QPalette::Window, buttonFace);
    m_authorLbl->setAutoFillBackground(true);

    m_mainLbl[0] = designLabel(frame, u"mainLbl_0", grey, Qt::AlignHCenter,
                               designFont(20.25, true, DesignFace::Arial));
    m_mainLbl[0]->setText(tr("Name"));
    m_mainLbl[1] = designLabel(frame, u"mainLbl_1", navy, Qt::AlignHCenter,
                               designFont(9.75, true, DesignFace::Arial));
    m_mainLbl[1]->setText(tr("Version"));
    m_mainLbl[2] = designLabel(frame, u"mainLbl_2", navy, Qt::AlignHCenter,
                               designFont(8.25, false, DesignFace::Arial));
    m_mainLbl[2]->setText(tr("CopyRight"));

    QLabel *maker = designLabel(frame, u"Label1", navy, Qt::AlignLeft,
                                designFont(14.25, false, DesignFace::Arial));
    maker->setText(u"Vessaly Software Solutions, Inc."_s);

    auto *logo = new QLabel(frame);
    logo->setObjectName(u"Image1"_s);
    logo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    logo->setPixmap(QPixmap(u":/resources/about-logo.jpg"_s));

    m_txtInfo = new QPlainTextEdit(this);
    m_txtInfo->setObjectName(u"txtInfo"_s);
    m_txtInfo->setAccessibleName(tr("Notice"));
    m_txtInfo->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_txtInfo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_txtInfo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_txtInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_txtInfo->setFocusPolicy(Qt::ClickFocus);
    m_txtInfo->setTabChangesFocus(true);
    // The slim margins of a plain edit box: Qt's wider default leaves the last line of the notice
    // out of sight, and there is no scroll bar to reach it.
    m_txtInfo->document()->setDocumentMargin(2);
    {
        QPalette palette = m_txtInfo->palette();
        palette.setColor(QPalette::Base, lightGrey);
        palette.setColor(QPalette::Text, navy);
        m_txtInfo->setPalette(palette);
    }
    m_txtInfo->setPlainText(tr("This software is provided as is."));

    m_okBut = new QPushButton(tr("OK"), this);
    m_okBut->setObjectName(u"okBut"_s);
    connect(m_okBut, &QPushButton::clicked, this, &frmAbout::okButClick);

    applyDesign(aboutDesign, focusOrder);
}

void frmAbout::load()
{
    const AppInfo app = services().appInfo();
    //: %1 is the application's title.
    setWindowTitle(tr("About %1").arg(app.title));
    m_mainLbl[0]->setText(app.title);
    //: %1 is the version number, as 1.1.0.
    m_mainLbl[1]->setText(tr("Version %1").arg(app.versionText()));
    m_mainLbl[2]->setText(app.copyright);
    //: %1 is the author's name; the three blanks after it keep it clear of the label's border.
    m_authorLbl->setText(tr("Programmed by: %1   ").arg(AppIdentity::author));

    // One text for translators, paragraphs and all: a sentence runs on from one piece into the
    // next.
    //: %1 is the e-mail address for bug reports. The box has no scroll bar: the whole notice must
    //: fit it.
    const QString notice = tr("This software is provided as-is, with no warranties and/or support "
                              "expressed or implied.  By using this software, you "
                              "agree to indemnify Vessaly Software Solutions and the author(s) "
                              "of all damages associated with the use of this software.  "
                              "\r\n\r\n"
                              "This program is protected by copyright laws.  "
                              "Copying or reselling this program, "
                              "or any portion of it, unless otherwise noted, may result in severe "
                              "civil and criminal penalties, and will be prosecuted to "
                              "the maximum extent possible under the law."
                              "\r\n\r\n"
                              "Email all bugs to: %1\r\n")
                               .arg(AppIdentity::bugEmail);
    m_txtInfo->setPlainText(notice);
}

QString frmAbout::noticeText() const
{
    QString text = m_txtInfo->toPlainText();
    text.replace(u'\n', u"\r\n"_s);
    return text;
}

void frmAbout::okButClick()
{
    hide();
}
