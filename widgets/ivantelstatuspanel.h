#pragma once

// The status setters of a front-panel status strip. The status panel implements them, and so does
// every page that carries one (by forwarding to its panel), so the front-panel window can update
// the status of whatever page shows without knowing its class. A link argument of 1 means the
// programme link; any other value means the coordination link.
class IVantelStatusPanel
{
public:
    virtual ~IVantelStatusPanel() = default;

    // 0 hidden, 1 playing (filled), 2 short-cut available (outlined).
    virtual void setSoundIdState(int state) = 0;
    // 0 to 100 charge, 120 charging, 140 mains; negative hides the battery.
    virtual void setBatteryLevel(int level) = 0;
    // A network family (0x100 Ethernet, 0x200 ISDN, 0x300 mobile, 0x400 Wi-Fi, others none) and,
    // for mobile, the radio technology plus 1.
    virtual void setNetworkType(int type, int technology) = 0;
    virtual void setCodecMode(int codecMode, int coordinationMode) = 0;
    virtual void setDataActive(bool active) = 0;
    // A controller state and 0 to 5 signal bars.
    virtual void setSignalQuality(int mode, int bars) = 0;
    virtual void setAudioLevels(int programTxLeft,
                                int coordinationTx,
                                int programRxLeft,
                                int coordinationRx,
                                int programTxRight,
                                int programRxRight,
                                bool immediate)
        = 0;
    virtual void setLinkState(int link, int state) = 0;
    virtual void setLinkEnabled(int link, bool enabled) = 0;
    virtual void setLinkQuality(int link, int transmitQuality, int receiveQuality) = 0;
    virtual void setSipState(int link, int state) = 0;

protected:
    IVantelStatusPanel() = default;
    IVantelStatusPanel(const IVantelStatusPanel &) = default;
    IVantelStatusPanel &operator=(const IVantelStatusPanel &) = default;
};
