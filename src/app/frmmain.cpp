#include "app/frmmain.h"

#include "catalogue/descriptor.h"
#include "catalogue/discovery.h"
#include "catalogue/errortrap.h"
#include "catalogue/int16.h"
#include "infowin/frmabout.h"
#include "infowin/frmgettinghelp.h"
#include "panel/launchbuttons.h"
#include "suite/componentreading.h"
#include "suite/loadedcomponent.h"
#include "widgets/colourbutton.h"
#include "widgets/descriptionbox.h"
#include "widgets/designlook.h"
#include "widgets/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>

using namespace Qt::StringLiterals;

namespace
{
constexpr int clientWidthTwips = 7530;
constexpr int clientHeightTwips = 4665;

// The window's controls in the design's stacking order: an earlier control lies above a later one
// where they overlap.
constexpr ControlDesign mainDesign[] = {
    {u"Picture1", u"", 120, 840, 1695, 3735},
    // A launch button shows its picture unscaled and centred, so a larger picture is cut to it.
    {u"launchButs_0", u"Picture1", 0, 360, 1695, 615},
    {u"downBut", u"Picture1", 0, 3360, 1695, 375},
    {u"upBut_0", u"Picture1", 0, 0, 1695, 375},
    {u"descPict", u"", 1680, 840, 5775, 3735},
    {u"descTxt", u"descPict", 120, 360, 5415, 3255},
    {u"vessPict", u"", 120, 0, 7275, 810},
};

const ControlDesign &designOf(QStringView name)
{
    return ::designOf(mainDesign, name);
}

QFont arrowFont()
{
    // The face of the window's other text, which has the triangles too: one face less to load.
    QFont font = designFont(15.75);
    return font;
}

// The descriptors' tags that suit the user, from the same languages as the launcher's own texts.
QStringList userDescriptorLanguages()
{
    return descriptorLanguages(QLocale::system().uiLanguages());
}

QFrame *flatBox(QWidget *parent, const QColor &background)
{
    auto *box = new QFrame(parent);
    box->setFrameStyle(QFrame::Box | QFrame::Plain);
    box->setLineWidth(1);
    setColour(box, QPalette::Window, background);
    box->setAutoFillBackground(true);
    return box;
}
} // namespace

frmMain::frmMain(PlatformServices &services)
    : QMainWindow(nullptr,
                  Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                      | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_services(services)
    , m_app(services.appInfo())
{
    setObjectName(u"frmMain"_s);
    setWindowTitle(designCaption());
    setWindowIcon(QIcon(u":/resources/kestrelkit-32.png"_s));
    setFont(designFont(8.25));
    buildDesign();
    buildMenus();
    // Fixed size: the client area as designed plus the menu bar.
    setFixedSize(sizeHint());
    // The column's keys work wherever the window's focus is, ahead of the widget that has it; the
    // wheel over the column arrives at the column's frame from whichever of its buttons is under
    // it.
    qApp->installEventFilter(this);
}

frmMain::~frmMain()
{
    // The terminate handler: shutdown runs once, whichever of close or destruction comes first.
    unloadAllForms();
}

void frmMain::buildDesign()
{
    auto *client = new QWidget(this);
    client->setObjectName(u"client"_s);
    setColour(client, QPalette::Window, Qt::white);
    client->setAutoFillBackground(true);
    setCentralWidget(client);
    const qreal dpi = designDpi(this);
    client->setFixedSize(twipsToPixels(clientWidthTwips, dpi),
                         twipsToPixels(clientHeightTwips, dpi));

    const QColor buttonFace = palette().color(QPalette::Button);

    // Created from the bottom of the stacking order up, since a later sibling lies above.
    m_vessPict = new QLabel(client);
    m_vessPict->setObjectName(u"vessPict"_s);
    m_vessPict->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_vessPict->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_vessPict->setPixmap(QPixmap(u":/resources/main-banner.png"_s));
    m_vessPict->setAutoFillBackground(true);
    m_vessPict->setAccessibleName(tr("Vessaly Software Solutions"));
    setColour(m_vessPict, QPalette::Window, m_vessPict->palette().color(QPalette::Base));
    placeControl(m_vessPict, designOf(u"vessPict"));

    m_descPict = flatBox(client, buttonFace);
    m_descPict->setObjectName(u"descPict"_s);
    m_descPict->setAccessibleName(tr("Description panel"));
    placeControl(m_descPict, designOf(u"descPict"));

    m_descTxt = new DescriptionBox(m_descPict);
    m_descTxt->setObjectName(u"descTxt"_s);
    m_descTxt->setAccessibleName(tr("Description"));
    m_descTxt->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_descTxt->setFont(designFont(9.75));
    m_descTxt->setFocusPolicy(Qt::ClickFocus);
    setColour(m_descTxt, QPalette::Base, Qt::white);
    setColour(m_descTxt, QPalette::Text, QColor(0, 0, 128));
    m_descTxt->setText(tr("Select the utility to run.") + u"\r\n"_s);
    placeControl(m_descTxt, designOf(u"descTxt"));

    m_picture1 = flatBox(client, buttonFace);
    m_picture1->setObjectName(u"Picture1"_s);
    m_picture1->setAccessibleName(tr("Components"));
    placeControl(m_picture1, designOf(u"Picture1"));

    m_upBut = new ColourButton(0, m_picture1);
    m_upBut->setObjectName(u"upBut_0"_s);
    m_upBut->setAccessibleName(tr("Page up"));
    m_upBut->setFont(arrowFont());
    m_upBut->setText(u"\u25B2"_s);
    m_upBut->setEnabled(false);
    m_upBut->setAutoDefault(true);
    placeControl(m_upBut, designOf(u"upBut_0"));
    connect(m_upBut, &ColourButton::clickedAt, this, &frmMain::upButClick);

    m_downBut = new ColourButton(0, m_picture1);
    m_downBut->setObjectName(u"downBut"_s);
    m_downBut->setAccessibleName(tr("Page down"));
    m_downBut->setFont(arrowFont());
    m_downBut->setText(u"\u25BC"_s);
    m_downBut->setEnabled(false);
    m_downBut->setAutoDefault(true);
    placeControl(m_downBut, designOf(u"downBut"));
    connect(m_downBut, &QPushButton::clicked, this, &frmMain::downButClick);

    const ControlDesign &first = designOf(u"launchButs_0");
    m_launchButs = new LaunchButtons(m_picture1, designRect(first, dpi),
                                     twipsToPixels(LaunchButtons::placeSpacingTwips, dpi),
                                     static_cast<qint16>(first.top));
    m_column = std::make_unique<LaunchColumn>(
        m_services, m_app.directory,
        LaunchColumn::Controls{m_launchButs, m_upBut, m_downBut, m_descTxt}, m_components, m_panel,
        m_defaultButtonColor);
    connect(m_launchButs, &LaunchButtons::pointerMoved, this, &frmMain::launchButsMouseMove);
    connect(m_launchButs, &LaunchButtons::clicked, this, &frmMain::launchButsClick);
    connect(m_launchButs, &LaunchButtons::pointerEntered, this,
            [this] { m_column->pointerEntered(); });
    m_launchButs->setAccessibleTexts(
        [this](qint16 index) { return m_column->accessibleTexts(index); });
    // Made after the page buttons, the launch buttons lie above them where they overlap; they
    // follow them in the focus order too.
    QWidget *previous = m_downBut;
    setTabOrder(m_upBut, m_downBut);
    for (int place = 0; place < LaunchButtons::places; ++place) {
        setTabOrder(previous, m_launchButs->placeWidget(place));
        previous = m_launchButs->placeWidget(place);
    }
}

void frmMain::buildMenus()
{
    QMenu *file = menuBar()->addMenu(tr("File"));
    file->setObjectName(u"File"_s);
    // The File menu opens with its separator line, which Qt would otherwise drop.
    file->setSeparatorsCollapsible(false);
    file->addSeparator()->setObjectName(u"sep"_s);
    QAction *exit = file->addAction(tr("Exit"));
    exit->setObjectName(u"Exit"_s);
    connect(exit, &QAction::triggered, this, &frmMain::exitClick);

    QMenu *help = menuBar()->addMenu(tr("Help"));
    help->setObjectName(u"Help"_s);
    help->setSeparatorsCollapsible(false);
    QAction *gettingHelp = help->addAction(tr("Getting Help From Vessaly"));
    gettingHelp->setObjectName(u"GettingHelpFromVessaly"_s);
    connect(gettingHelp, &QAction::triggered, this, &frmMain::gettingHelpClick);
    help->addSeparator()->setObjectName(u"sep10"_s);
    help->addAction(tr("Content"))->setObjectName(u"content"_s);
    help->addSeparator()->setObjectName(u"sep3"_s);
    QAction *about = help->addAction(tr("About"));
    about->setObjectName(u"About"_s);
    connect(about, &QAction::triggered, this, &frmMain::aboutClick);
}

QString frmMain::designCaption()
{
    //: The main window's caption; the version follows it.
    return tr("Kestrelkit Launcher - Vessaly Software Solutions, Inc - ");
}

QSize frmMain::launchButtonSize(qreal logicalDpi)
{
    return designRect(designOf(u"launchButs_0"), logicalDpi).size();
}

std::unique_ptr<ComponentReading> frmMain::startReading(const QString &directory)
{
    // The window is not built yet: the button's size follows the screen it will open on.
    QSize area;
    qreal ratio = 1;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        // As a widget on that screen takes it, in whole dots.
        ratio = screen->devicePixelRatio();
        area = ColourButton::pictureArea(launchButtonSize(qRound(screen->logicalDotsPerInchY())),
                                         ratio);
    }
    return std::make_unique<ComponentReading>(
        directory, area, ratio, ComponentReading::defaultThreads(), userDescriptorLanguages());
}

void frmMain::load()
{
    load(nullptr);
}

void frmMain::load(std::unique_ptr<ComponentReading> reading)
{
    m_reading = std::move(reading);
    m_phases.startLoading();
    if (findComponents() > 4) {
        m_downBut->setEnabled(true);
    }
    // Whatever was read ahead and not used, after a failure, is let go.
    m_reading.reset();
}

void frmMain::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        // The first position is the middle of the screen.
        m_placed = true;
        if (const QScreen *screen = this->screen()) {
            move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, frameGeometry().size(),
                                     screen->availableGeometry())
                     .topLeft());
        }
    }
    QMainWindow::showEvent(event);
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
#ifdef KK_PHASE_TIMES
    case QEvent::Paint:
        if (watched == centralWidget()) {
            m_phases.firstPaint();
        }
        break;
#endif
    case QEvent::KeyPress: {
        // Only where the key was first sent: a key passed on to the parents is seen again there.
        QWidget *focused = QApplication::focusWidget();
        QObject *receiver = focused ? static_cast<QObject *>(focused) : this;
        if (watched == receiver && (watched == this || focused->window() == this)
            && !qobject_cast<QMenuBar *>(watched) && !QApplication::activePopupWidget()
            && m_panel.shutdownFlag != -1
            && m_column->keyPressed(*static_cast<QKeyEvent *>(event))) {
            return true;
        }
        break;
    }
    case QEvent::Wheel:
        if (watched == m_picture1) {
            m_column->wheelTurned(static_cast<QWheelEvent *>(event)->angleDelta());
            return true;
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool frmMain::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate) {
        activated();
    }
    return QMainWindow::event(event);
}

void frmMain::activated()
{
    m_defaultButtonColor = m_upBut->backColor();
    //: Between the window's caption and the version number, with a blank before and after.
    setWindowTitle(designCaption() + tr(" Version ") + m_app.versionText());
}

QStringList frmMain::getFileDirInfoStringByComponents(const QString &directory,
                                                      const QString &fileName)
{
    QStringList list;
    withErrorTrap(m_services, [&] {
        if (fileName != descriptorFileName) {
            list = componentFolders(directory, fileName, m_services);
            return;
        }
        if (!m_reading || m_reading->directory() != directory) {
            // Nothing read ahead for this folder: the window reads it itself, in the same way.
            const ColourButton *button = m_launchButs->placeWidget(0);
            m_reading = std::make_unique<ComponentReading>(
                directory, ColourButton::pictureArea(button->size(), button->devicePixelRatioF()),
                button->devicePixelRatioF(), 0, userDescriptorLanguages());
        }
        const PhaseTimes::Scope waiting(m_phases, PhaseTimes::Discovery);
        list = m_reading->takeFolders(m_services);
    });
    return list;
}

qint16 frmMain::findComponents()
{
    qint16 highest = 0;
    withErrorTrap(
        [&] {
            const QStringList list
                = getFileDirInfoStringByComponents(m_app.directory, descriptorFileName.toString());
            if (list.isEmpty()) {
                throw RuntimeError::subscriptOutOfRange();
            }
            const qint16 upper = toInt16(list.size() - 1);
            if (isNoComponentsMarker(list)) {
                showNoComponentsBox(m_services);
                return;
            }
            m_components.reserve(list.size());
            for (qint16 i = 0; i <= upper; i = add16(i, 1)) {
                const qint16 button = m_column->createButton(i);
                LoadedComponent loaded = takeComponent(i);
                const PhaseTimes::Scope timing(m_phases, PhaseTimes::Buttons);
                m_column->loadComponent(std::move(loaded), button);
            }
            highest = upper;
        },
        [this](const RuntimeError &error) {
            //: The first line holds the description of what went wrong.
            m_services.showMessage(
                tr("Error::%1\r\n(KK)::Could not Find Any components\r\n").arg(error.description()),
                tr("Kestrelkit Error: findComponents()"), MessageIcon::Critical);
        });
    return highest;
}

LoadedComponent frmMain::takeComponent(qint16 index)
{
    const PhaseTimes::Scope timing(m_phases, PhaseTimes::Waiting);
    if (!m_reading) {
        throw RuntimeError::subscriptOutOfRange();
    }
    return m_reading->take(index);
}

void frmMain::launchButsMouseMove(qint16 index)
{
    m_column->pointerMovedOver(index);
}

void frmMain::launchButsClick(qint16 index)
{
    m_column->clicked(index);
}

void frmMain::upButClick(qint16 /*index*/)
{
    m_column->pageUp();
}

void frmMain::downButClick()
{
    m_column->pageDown();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // The unload handler never refuses the close.
    unloadAllForms();
    event->accept();
}

void frmMain::unloadAllForms()
{
    if (m_panel.shutdownFlag == -1) {
        return;
    }
    m_panel.shutdownFlag = -1;
    // Every loaded window in load order: this one first, then the information windows.
    close();
    if (m_about && m_about->isLoaded()) {
        m_about->unload();
    }
    if (m_gettingHelp && m_gettingHelp->isLoaded()) {
        m_gettingHelp->unload();
    }
}

void frmMain::exitClick()
{
    close();
}

void frmMain::aboutClick()
{
    if (!m_about) {
        m_about = new frmAbout(m_services, this);
    }
    m_about->showModal();
}

void frmMain::gettingHelpClick()
{
    if (!m_gettingHelp) {
        m_gettingHelp = new frmGettingHelp(m_services, this);
    }
    m_gettingHelp->showModal();
}
