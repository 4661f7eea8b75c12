#pragma once

#include "widgets/twips.h"

#include <QDialog>

#include <span>

class PlatformServices;
class QLabel;

// What the About and getting-help windows share. The program keeps one object of each, shown
// modally over the main window. Showing a window that is not loaded loads it first, which runs its
// load handler and so sets every text afresh; OK hides it and keeps it loaded, texts and whatever
// the user typed included; the close button unloads it.
class InfoWindow : public QDialog
{
    Q_OBJECT
public:
    // Loads the window when it is not loaded, then shows it modally over its owner; returns when
    // the window is hidden or closed.
    void showModal();
    bool isLoaded() const { return m_loaded; }
    // What the close button does: the next showModal() loads the window afresh.
    void unload();

protected:
    InfoWindow(PlatformServices &services, QWidget *owner, Qt::WindowFlags flags);

    // The load handler.
    virtual void load() = 0;

    // Places every control of `design` (found by object name), stacks them so that an earlier one
    // lies above a later one, and sets the focus order of the controls that take focus.
    void applyDesign(std::span<const ControlDesign> design,
                     std::span<const QStringView> focusOrder);

    // The control of this window named `name`; stops the program when there is none.
    QWidget *control(QStringView name) const;

    // A label as the designs have them: plain text that wraps at the label's width, starting at
    // the top, on a transparent background unless the caller fills it.
    static QLabel *designLabel(QWidget *container, QStringView name, const QColor &colour,
                               Qt::Alignment alignment, const QFont &font);

    PlatformServices &services() const { return m_services; }

    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    PlatformServices &m_services;
    bool m_loaded = false;
};
