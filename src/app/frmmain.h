#pragma once

/*
 * The launcher's main window, and how the pieces fit together.
 *
 * Before anything is shown, main() installs the translation for the user's languages
 * (app/translations.h), so that every text from here on, the catalogue's errors included, is in
 * that language; the same languages choose each descriptor's DESC, NAME and TIP lines.
 *
 * Main() first asks the platform services whether another copy already runs, and if so shows the
 * refusal box and ends, having read nothing. Otherwise it starts reading the components on other
 * threads (suite/componentreading.h) and builds the window meanwhile, then calls load() and shows
 * the window. load() is the window's load handler: findComponents() takes the component folders
 * (every immediate sub-folder of the application directory that holds a kk.cfg), then, for each
 * folder in list order, creates launch button i in the five-place column and calls
 * loadComponent(), which puts what was read into components[i] (the descriptor, with its
 * description block composed), gives the button its picture, shows it and enables it when the
 * executable exists. A component that fails reports its error in one box, at its own step in list
 * order, and still takes its index, so button i always belongs to components[i].
 *
 * From then on everything is driven by the user: pointer moves over a launch button highlight it
 * and show its description, the page buttons show the column five buttons at a time, a click
 * starts the component as a detached process, and the Help menu opens the information windows.
 * Keys reach a component as the pointer does (through the same hover and click handlers, and the
 * page buttons' handlers when a page turns), and the wheel over the column turns its pages.
 * Every handler that can fail runs inside the uniform error trap (catalogue/errortrap.h): the
 * failure is shown in one box and the launcher carries on. Closing the window, or File > Exit,
 * unloads every window once and the program ends; started components keep running.
 *
 * The launch buttons form a control array (panel/launchbuttons.h) that keeps every button's state
 * but gives real widgets only to the five places of the column, so that a suite of thousands of
 * components starts as fast as a small one. What the column does (loading each component into its
 * button, paging, hover, launching) is the panel's (panel/launchcolumn.h); the window holds the
 * design, the menus, activation, start-up and shutdown, and hands its handlers to the column.
 */

#include "app/phasetimes.h"
#include "catalogue/componentinfo.h"
#include "panel/launchbuttons.h"
#include "panel/launchcolumn.h"
#include "widgets/platformservices.h"

#include <QList>
#include <QMainWindow>

#include <memory>

class ColourButton;
class ComponentReading;
struct LoadedComponent;
class DescriptionBox;
class QAction;
class QFrame;
class QLabel;
class frmAbout;
class frmGettingHelp;

class frmMain final : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(PlatformServices &services);
    ~frmMain() override;
    Q_DISABLE_COPY_MOVE(frmMain)

    // The caption the design gives; activation appends the version.
    static QString designCaption();

    // The launch button's size in pixels at `logicalDpi`, as the design gives it.
    static QSize launchButtonSize(qreal logicalDpi);

    // Begins finding and reading the components of `directory` on other threads, for load().
    static std::unique_ptr<ComponentReading> startReading(const QString &directory);

    // The load handler: finds the components, builds the launch column and enables page-down
    // when there is more than one page. With `reading` begun on the application's folder before the
    // window was built, what it found and read so far is used instead of finding it again.
    void load();
    void load(std::unique_ptr<ComponentReading> reading);

    // The component list for `directory`: sub-folders holding `fileName`, the two-entry "NIL"
    // marker when there are none, or no entry at all when the search failed (after its error box).
    QStringList getFileDirInfoStringByComponents(const QString &directory, const QString &fileName);

    // What the window holds, for the information windows and for tests.
    const QList<ComponentInfo> &components() const { return m_components; }
    const PanelState &panelState() const { return m_panel; }
    quint32 defaultButtonColor() const { return m_defaultButtonColor; }
    LaunchButtons &launchButs() const { return *m_launchButs; }
    ColourButton *upBut() const { return m_upBut; }
    ColourButton *downBut() const { return m_downBut; }
    DescriptionBox *descTxt() const { return m_descTxt; }
    frmAbout *aboutWindow() const { return m_about; }
    frmGettingHelp *gettingHelpWindow() const { return m_gettingHelp; }

    // The handlers of the launch column; the buttons call them, and so may tests.
    void launchButsMouseMove(qint16 index);
    void launchButsClick(qint16 index);
    void upButClick(qint16 index);
    void downButClick();

    // The menu commands.
    void exitClick();
    void aboutClick();
    void gettingHelpClick();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildDesign();
    void buildMenus();
    void activated();
    void unloadAllForms();

    qint16 findComponents();
    LoadedComponent takeComponent(qint16 index);

    PlatformServices &m_services;
    const AppInfo m_app;

    QList<ComponentInfo> m_components;
    PanelState m_panel;
    quint32 m_defaultButtonColor = 0;
    bool m_placed = false;
    PhaseTimes m_phases;
    std::unique_ptr<ComponentReading> m_reading;

    QFrame *m_picture1 = nullptr;
    QFrame *m_descPict = nullptr;
    QLabel *m_vessPict = nullptr;
    DescriptionBox *m_descTxt = nullptr;
    ColourButton *m_upBut = nullptr;
    ColourButton *m_downBut = nullptr;
    LaunchButtons *m_launchButs = nullptr;
    std::unique_ptr<LaunchColumn> m_column;

    frmAbout *m_about = nullptr;
    frmGettingHelp *m_gettingHelp = nullptr;
};
