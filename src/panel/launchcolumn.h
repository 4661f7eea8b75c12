#pragma once

#include "catalogue/componentinfo.h"
#include "panel/launchbuttons.h"
#include "suite/loadedcomponent.h"

#include <QElapsedTimer>
#include <QList>

class DescriptionBox;
class QKeyEvent;
class PlatformServices;

// The main window's small state; every field is 16-bit and starts at 0.
struct PanelState {
    qint16 scrollOffset = 0; // first launch button of the page shown: 0, 5, 10, ...
    qint16 componentCount = 0; // components handled so far: the index of the next record
    qint16 shutdownFlag = 0; // -1 once the windows have been unloaded
    qint16 hoveredIndex = 0; // the launch button the hover handler handled last

    friend bool operator==(const PanelState &, const PanelState &) = default;
};

// The launch column's work: a button made and loaded for each component, paging five at a time,
// the hover highlight with the description, and starting a component. The window owns what it
// works on (the controls, the component records, the panel state and the normal button colour)
// and hands it over once; every step that can fail runs inside the uniform error trap.
class LaunchColumn
{
public:
    struct Controls {
        LaunchButtons *launchButs;
        ColourButton *upBut;
        ColourButton *downBut;
        DescriptionBox *descTxt;
    };
    LaunchColumn(PlatformServices &services, const QString &directory, Controls controls,
                 QList<ComponentInfo> &components, PanelState &panel,
                 const quint32 &defaultButtonColor);
    Q_DISABLE_COPY_MOVE(LaunchColumn)

    // Launch button `index` for the component of that index, placed in its place.
    qint16 createButton(qint16 index);
    // What was read for the next record, given to it and to launch button `button`; a failure is
    // met here, at the step where reading the component now would meet it.
    void loadComponent(LoadedComponent loaded, qint16 button);
    // What a screen reader is told of launch button `index`.
    LaunchButtons::AccessibleTexts accessibleTexts(qint16 index) const;

    // The handlers of the column's controls.
    void pointerMoved(qint16 index);
    // The pointer's own moves, which go to the hover handler except while the pointer still rests
    // on the button it was on when a key last reached a component: only coming onto a button
    // takes the highlight back from the keys.
    void pointerMovedOver(qint16 index);
    void pointerEntered();
    void clicked(qint16 index);
    // A page button's click turns one page; a key that reaches a component pages away turns them
    // all in one go, which ends as that many clicks would.
    void pageUp(qint16 pages = 1);
    void pageDown(qint16 pages = 1);

    // A key pressed while the main window has the keyboard; true when the key was the column's.
    // What a key reaches is shown as hovering shows it, and takes the keyboard focus, so that a
    // screen reader follows.
    bool keyPressed(const QKeyEvent &event);
    // The wheel turned over the column: a notch, or finer steps adding up to one, turns one page.
    void wheelTurned(QPoint angleDelta);

private:
    const ComponentInfo &component(qint16 index) const;
    qint16 shiftPage(qint32 up);

    qint16 reachableCount() const;
    bool onShownPage(qint16 index) const;
    qint16 current() const;
    void reach(qint16 index);
    void turnPageKeepingPlace(bool down);
    void findTyped(const QString &text);
    void startReached();

    PlatformServices &m_services;
    const QString m_directory;
    const Controls m_controls;
    QList<ComponentInfo> &m_components;
    PanelState &m_panel;
    const quint32 &m_defaultButtonColor;

    QString m_typed;
    QElapsedTimer m_sinceTyped;
    int m_wheelRest = 0;
    bool m_keyReachedLast = false;
};
