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
    m_statusPanel->move(132, 7);
    m_statusPanel->setCodecMode(1, 0);
}

void QVantelBasePage::setSoundIdState(int state)
{
    m_statusPanel->setSoundIdState(state);
}

void QVantelBasePage::setBatteryLevel(int level)
{
    m_statusPanel->setBatteryLevel(level);
}

void QVantelBasePage::setNetworkType(int type, int technology)
{
    m_statusPanel->setNetworkType(type, technology);
}

void QVantelBasePage::setCodecMode(int codecMode, int coordinationMode)
{
    m_statusPanel->setCodecMode(codecMode, coordinationMode);
}

void QVantelBasePage::setDataActive(bool active)
{
    m_statusPanel->setDataActive(active);
}

void QVantelBasePage::setSignalQuality(int mode, int bars)
{
    m_statusPanel->setSignalQuality(mode, bars);
}

void QVantelBasePage::setAudioLevels(int programTxLeft,
                                     int coordinationTx,
                                     int programRxLeft,
                                     int coordinationRx,
                                     int programTxRight,
                                     int programRxRight,
                                     bool immediate)
{
    m_statusPanel->setAudioLevels(programTxLeft,
                                  coordinationTx,
                                  programRxLeft,
                                  coordinationRx,
                                  programTxRight,
                                  programRxRight,
                                  immediate);
}

void QVantelBasePage::setLinkState(int link, int state)
{
    m_statusPanel->setLinkState(link, state);
}

void QVantelBasePage::setLinkEnabled(int link, bool enabled)
{
    m_statusPanel->setLinkEnabled(link, enabled);
}

void QVantelBasePage::setLinkQuality(int link, int transmitQuality, int receiveQuality)
{
    m_statusPanel->setLinkQuality(link, transmitQuality, receiveQuality);
}

void QVantelBasePage::setSipState(int link, int state)
{
    m_statusPanel->setSipState(link, state);
}
