#include "infowin/frmgettinghelp.h"

#include "widgets/appidentity.h"
#include "widgets/designlook.h"
#include "widgets/linkpicture.h"
#include "widgets/platformservices.h"
#include "widgets/twips.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace
{
constexpr int clientWidthTwips = 7650;
constexpr int clientHeightTwips = 5415;

// The window's controls in the design's stacking order: an earlier control lies above a later one
// where they overlap. The frame, the band behind OK and the banner run past the window's right
// edge, so that a wider window shows more of them.
constexpr ControlDesign helpDesign[] = {
    {u"Command1", u"", 3120, 4920, 972, 372},
    {u"Frame1", u"", 0, 600, 7692, 4092},
    {u"lblMain_3", u"Frame1", 120, 2280, 7452, 852},
    {u"lblMain_2", u"Frame1", 120, 3720, 7452, 252},
    {u"lblMain_1", u"Frame1", 120, 3120, 7452, 612},
    {u"lblMain_0", u"Frame1", 120, 240, 7452, 2052},
    {u"Label1", u"", 0, 4800, 7692, 612},
    {u"Image1", u"", 0, 120, 8880, 375},
};

// The focus order, first to last; of these only the OK button takes focus.
constexpr QStringView focusOrder[]
    = {u"Frame1", u"Command1", u"lblMain_0", u"lblMain_1", u"lblMain_2", u"Label1", u"lblMain_3"};

const QColor green(0, 128, 0);
const QColor blue(0, 0, 192);
const QColor red(192, 0, 0);

QSize designClientSize(const QWidget *window)
{
    const qreal dpi = designDpi(window);
    return {twipsToPixels(clientWidthTwips, dpi), twipsToPixels(clientHeightTwips, dpi)};
}
} // namespace

frmGettingHelp::frmGettingHelp(PlatformServices &services, QWidget *owner)
    : InfoWindow(services, owner,
                 Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                     | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                     | Qt::WindowCloseButtonHint)
{
    setObjectName(u"frmGettingHelp"_s);
    setWindowTitle(tr("Getting Help From Vessaly Software Solutions, Inc."));
    setWindowIcon(QIcon(u":/resources/help-icon.png"_s));
    setFont(designFont(8.25));
    setColour(this, QPalette::Window, Qt::white);
    setAutoFillBackground(true);
    resize(designClientSize(this));
    buildDesign();
}

void frmGettingHelp::buildDesign()
{
    const QColor buttonFace = palette().color(QPalette::Button);

    m_image1 = new LinkPicture(AppIdentity::webAddress.toString(), this);
    m_image1->setObjectName(u"Image1"_s);
    m_image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_image1->setPixmap(QPixmap(u":/resources/help-banner.jpg"_s));
    //: %1 is the host name of the maker's web site.
    m_image1->setToolTip(tr("Click to goto %1").arg(QUrl(m_image1->address()).host()));
    connect(m_image1, &LinkPicture::clicked, this, &frmGettingHelp::image1Click);

    auto *band = new QLabel(this);
    band->setObjectName(u"Label1"_s);
    setColour(band, QPalette::Window, buttonFace);
    band->setAutoFillBackground(true);

    auto *frame = new QFrame(this);
    frame->setObjectName(u"Frame1"_s);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    setColour(frame, QPalette::Window, buttonFace);
    frame->setAutoFillBackground(true);

    const QFont bold = designFont(8.25, true);
    // The four text labels, each with the design's placeholder until the load handler runs.
    const auto textLabel = [](QWidget *container, int index, const QColor &colour,
                              Qt::Alignment alignment, const QFont &font) {
        QLabel *label = designLabel(container, u"lblMain_"_s + QString::number(index), colour,
                                    alignment, font);
        label->setText(u"<label>"_s);
        return label;
    };
    m_lblMain[0] = textLabel(frame, 0, blue, Qt::AlignLeft, bold);
    m_lblMain[1] = textLabel(frame, 1, red, Qt::AlignHCenter, bold);
    m_lblMain[2] = textLabel(frame, 2, blue, Qt::AlignHCenter, font());
    m_lblMain[3] = textLabel(frame, 3, green, Qt::AlignLeft, bold);

    auto *ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(u"Command1"_s);
    connect(ok, &QPushButton::clicked, this, &frmGettingHelp::command1Click);

    // Nothing is in a layout, so resizing the window moves nothing.
    applyDesign(helpDesign, focusOrder);
}

void frmGettingHelp::load()
{
    // A window loaded afresh opens at its designed size.
    setWindowState(Qt::WindowNoState);
    resize(designClientSize(this));

    const QString title = services().appInfo().title;
    //: %1 is the application's title. The two empty lines at the end belong to the label.
    m_lblMain[0]->setText(
        tr("This version of the %1 is provided as-is and free of charge "
           "and without warranty and/or support expressed or implied. By using this software "
           "you agree to indemnify Vessaly Software Solutions, Inc. and the author(s) of "
           "damages associated with the use of this software"
           "\r\n\r\n"
           "Vessaly Software Solutions, Inc. can assist your organization "
           "in configuring this software by providing on-site support and/or training.  "
           "In addition, Vessaly Software can customize, modify and/or enhance this tool "
           "to better suite your organization."
           "\r\n\r\n")
            .arg(title));
    m_lblMain[3]->setText(
        tr("For more information on pricing, availability, end-user support and "
           "upgrade information relating to product features and/or Vessaly's support "
           "services, contact: "));
    //: %1 is the support e-mail address, %2 the support telephone number.
    m_lblMain[1]->setText(
        tr("Email: %1\r\nPhone: %2").arg(AppIdentity::supportEmail, AppIdentity::supportPhone));
    //: %1 is the e-mail address for bug reports.
    m_lblMain[2]->setText(tr("Submit bugs to: %1").arg(AppIdentity::bugEmail));
}

void frmGettingHelp::command1Click()
{
    hide();
}

void frmGettingHelp::image1Click()
{
    // Whether a browser took the address is not this window's concern: it says nothing and stays
    // as it is.
    services().openUrl(QUrl(m_image1->address()));
}
