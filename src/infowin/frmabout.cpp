#include "frmabout.h"

frmAbout::frmAbout(PlatformServices &services, QWidget *owner)
    : QDialog(owner)
    , m_services(services)
{
}

void frmAbout::load()
{
    m_loaded = true;
}

void frmAbout::showModal()
{
    if (!m_loaded) {
        load();
    }
    exec();
}

void frmAbout::unload()
{
    if (isVisible()) {
        reject();
    }
    m_loaded = false;
}
