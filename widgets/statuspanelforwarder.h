#pragma once

#include "widgets/ivantelstatuspanel.h"

// The status setters of a page that carries a status strip: each setter goes unchanged to the
// strip the page names with setForwardedStatusPanel(). Until one is named the setters do nothing.
// The strip is normally a child widget of the page, so it lives exactly as long as the page.
class StatusPanelForwarder : public IVantelStatusPanel
{
public:
    void setSoundIdState(int state) override
    {
        if (m_target)
            m_target->setSoundIdState(state);
    }
    void setBatteryLevel(int level) override
    {
        if (m_target)
            m_target->setBatteryLevel(level);
    }
    void setNetworkType(int type, int technology) override
    {
        if (m_target)
            m_target->setNetworkType(type, technology);
    }
    void setCodecMode(int codecMode, int coordinationMode) override
    {
        if (m_target)
            m_target->setCodecMode(codecMode, coordinationMode);
    }
    void setDataActive(bool active) override
    {
        if (m_target)
            m_target->setDataActive(active);
    }
    void setSignalQuality(int mode, int bars) override
    {
        if (m_target)
            m_target->setSignalQuality(mode, bars);
    }
    void setAudioLevels(int programTxLeft,
                        int coordinationTx,
                        int programRxLeft,
                        int coordinationRx,
                        int programTxRight,
                        int programRxRight,
                        bool immediate) override
    {
        if (m_target)
            m_target->setAudioLevels(programTxLeft,
                                     coordinationTx,
                                     programRxLeft,
                                     coordinationRx,
                                     programTxRight,
                                     programRxRight,
                                     immediate);
    }
    void setLinkState(int link, int state) override
    {
        if (m_target)
            m_target->setLinkState(link, state);
    }
    void setLinkEnabled(int link, bool enabled) override
    {
        if (m_target)
            m_target->setLinkEnabled(link, enabled);
    }
    void setLinkQuality(int link, int transmitQuality, int receiveQuality) override
    {
        if (m_target)
            m_target->setLinkQuality(link, transmitQuality, receiveQuality);
    }
    void setSipState(int link, int state) override
    {
        if (m_target)
            m_target->setSipState(link, state);
    }

protected:
    StatusPanelForwarder() = default;
    void setForwardedStatusPanel(IVantelStatusPanel *target) { m_target = target; }

private:
    IVantelStatusPanel *m_target = nullptr;
};
