#include "frmgettinghelp.h"

frmGettingHelp::frmGettingHelp(PlatformServices &services, QWidget *owner)
    : QDialog(owner)
    , m_services(services)
{
}

void frmGettingHelp::load()
{
    m_loaded = true;
}

void frmGettingHelp::showModal()
{
    if (!m_loaded) {
        load();
    }
    exec();
}

void frmGettingHelp::unload()
{
    if (isVisible()) {
        reject();
    }
    m_loaded = false;
}
