#pragma once

#include "infowin/infowindow.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The About window: the application's title, version and copyright on a white panel, the maker's
// logo and name, the author's credit, and a notice on warranty and copyright that ends with the
// address for bug reports. The program keeps one object. OK hides it, texts and whatever the user
// typed into the notice included; the close button unloads it, and the next showing loads it
// afresh, which sets every text again.
class frmAbout final : public InfoWindow
{
    Q_OBJECT
public:
    frmAbout(PlatformServices &services, QWidget *owner);
    Q_DISABLE_COPY_MOVE(frmAbout)

    // The notice as it stands, with CR LF line breaks.
    QString noticeText() const;

protected:
    void load() override;

private:
    void buildDesign();
    void okButClick();

    QPlainTextEdit *m_txtInfo = nullptr;
    QPushButton *m_okBut = nullptr;
    QLabel *m_authorLbl = nullptr;
    QLabel *m_mainLbl[3] = {};
};
