#include "frontpanel/qvantelbasepage.h"

#include "frontpanel/qvantelwindow.h"
#include "widgets/qvantelstatuspanel.h"

QVantelBasePage::QVantelBasePage(QVantelWindow *window)
    : QWidget(window)
    , m_window(window)
{
    createStatusPanel();
}

QVantelBasePage::~QVantelBasePage() = default;

void QVantelBasePage::createStatusPanel()
{
    m_statusPanel = new QVantelStatusPanel(false, this);
    setForwardedStatusPanel(m_statusPanel);
    m_statusPanel->move(132, 7);
    m_statusPanel->setCodecMode(1, 0);
}
