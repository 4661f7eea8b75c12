#pragma once

#include <QDialog>

class PlatformServices;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The About window: the application's title, version and copyright on a white panel, the maker's
// logo and name, the author's credit, and a notice on warranty and copyright that ends with the
// address for bug reports. The program keeps one object. OK hides it, texts and whatever the user
// typed into the notice included; the close button unloads it, and the next showing loads it
// afresh, which sets every text again.
class frmAbout final : public QDialog
{
    Q_OBJECT
public:
    frmAbout(PlatformServices &services, QWidget *owner);
    Q_DISABLE_COPY_MOVE(frmAbout)

    // Loads the window when it is not loaded (running its load handler), then shows it modally
    // over its owner; returns when the window is hidden or closed.
    void showModal();
    bool isLoaded() const { return m_loaded; }
    // What the close button does: the next showModal() loads the window afresh.
    void unload();

    // The notice as it stands, with CR LF line breaks.
    QString noticeText() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildDesign();
    void load();
    void okButClick();

    PlatformServices &m_services;
    bool m_loaded = false;

    QPlainTextEdit *m_txtInfo = nullptr;
    QPushButton *m_okBut = nullptr;
    QLabel *m_authorLbl = nullptr;
    QLabel *m_mainLbl[3] = {};
};
