#pragma once

#include <QDialog>

class PlatformServices;

class frmGettingHelp final : public QDialog
{
    Q_OBJECT
public:
    frmGettingHelp(PlatformServices &services, QWidget *owner);

    // Loads the window when it is not loaded (running its load handler), then shows it modally
    // over its owner; returns when the window is hidden or closed.
    void showModal();
    bool isLoaded() const { return m_loaded; }
    // What the close button does: the next showModal() loads the window afresh.
    void unload();

private:
    void load();

    PlatformServices &m_services;
    bool m_loaded = false;
};
