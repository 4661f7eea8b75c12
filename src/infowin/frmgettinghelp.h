#pragma once

#include "infowin/infowindow.h"

class LinkPicture;
class QLabel;

// The getting-help window: the terms of this version, the maker's services, and how to reach its
// support and where to send bug reports. Clicking the banner across the top hands the maker's web
// address to the browser. The window is sizable, but nothing in it moves or stretches: widening it
// only shows more of the banner. As with the About window the program keeps one object, OK hides
// it and the close button unloads it.
class frmGettingHelp final : public InfoWindow
{
    Q_OBJECT
public:
    frmGettingHelp(PlatformServices &services, QWidget *owner);
    Q_DISABLE_COPY_MOVE(frmGettingHelp)

protected:
    void load() override;

private:
    void buildDesign();
    void command1Click();
    void image1Click();

    LinkPicture *m_image1 = nullptr;
    QLabel *m_lblMain[4] = {};
};
