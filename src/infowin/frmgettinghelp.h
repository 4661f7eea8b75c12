#pragma once

#include <QDialog>

class PlatformServices;
class QLabel;

// The getting-help window: the terms of this version, the maker's services, and how to reach its
// support and where to send bug reports. Clicking the banner across the top hands the maker's web
// address to the browser. The window is sizable, but nothing in it moves or stretches: widening it
// only shows more of the banner. As with the About window the program keeps one object, OK hides
// it and the close button unloads it.
class frmGettingHelp final : public QDialog
{
    Q_OBJECT
public:
    frmGettingHelp(PlatformServices &services, QWidget *owner);
    Q_DISABLE_COPY_MOVE(frmGettingHelp)

    // Loads the window when it is not loaded (running its load handler), then shows it modally
    // over its owner; returns when the window is hidden or closed.
    void showModal();
    bool isLoaded() const { return m_loaded; }
    // What the close button does: the next showModal() loads the window afresh.
    void unload();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildDesign();
    void load();
    void command1Click();
    void image1Click();

    PlatformServices &m_services;
    bool m_loaded = false;

    QLabel *m_image1 = nullptr;
    QLabel *m_lblMain[4] = {};
    bool m_bannerPressed = false;
};
