#pragma once

#include "widgets/ivantelstatuspanel.h"

#include <QWidget>

class QVantelStatusPanel;
class QVantelWindow;

// Common base of the main and connection pages: a page of the front-panel window carrying the
// full status strip at (132, 7), and itself an IVantelStatusPanel that forwards each of the
// eleven status setters unchanged to that strip. Subclasses override single setters and call the
// strip themselves.
//
// The window given to the constructor is the page's Qt parent; the strip is a child of the page,
// never null after construction. No signals of its own.
class QVantelBasePage : public QWidget, public IVantelStatusPanel
{
    Q_OBJECT

public:
    explicit QVantelBasePage(QVantelWindow *window);
    ~QVantelBasePage() override;
    Q_DISABLE_COPY_MOVE(QVantelBasePage)

    QVantelWindow *vantelWindow() const { return m_window; }
    QVantelStatusPanel *statusPanel() const { return m_statusPanel; }

    void setSoundIdState(int state) override;
    void setBatteryLevel(int level) override;
    void setNetworkType(int type, int technology) override;
    void setCodecMode(int codecMode, int coordinationMode) override;
    void setDataActive(bool active) override;
    void setSignalQuality(int mode, int bars) override;
    void setAudioLevels(int programTxLeft,
                        int coordinationTx,
                        int programRxLeft,
                        int coordinationRx,
                        int programTxRight,
                        int programRxRight,
                        bool immediate) override;
    void setLinkState(int link, int state) override;
    void setLinkEnabled(int link, bool enabled) override;
    void setLinkQuality(int link, int transmitQuality, int receiveQuality) override;
    void setSipState(int link, int state) override;

protected:
    // Creates the full-height strip at (132, 7), showing codec mode 1 with coordination mode 0
    // until the window sends the real mode.
    void createStatusPanel();

private:
    QVantelWindow *m_window = nullptr;
    QVantelStatusPanel *m_statusPanel = nullptr;
};
