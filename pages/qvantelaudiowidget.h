#pragma once

#include "frontpanel/ivantelresetpage.h"
#include "widgets/ivantelstatuspanel.h"
#include "widgets/qvantelpage.h"

#include <QWidget>

class QVantelButton;
class QVantelStatusPanel;

// Common base of the four audio pages of the front panel: the compact status strip at (132, 7)
// and the home button at (10, 7) that asks for the main page. The page is itself an
// IVantelStatusPanel that hands each of the eleven status setters unchanged to its strip, so the
// window can push status into whichever page shows; and an IVantelResetPage, whose resetView()
// every page implements and the window calls after each login.
//
// Both widgets are children of the page and never null after construction. Signals:
// pageActivated(page) when the page asks the window to show another page (the home button asks
// for the main page). GUI thread only.
class QVantelAudioWidget : public QWidget, public IVantelStatusPanel, public IVantelResetPage
{
    Q_OBJECT

public:
    explicit QVantelAudioWidget(QWidget *parent = nullptr);
    ~QVantelAudioWidget() override;
    Q_DISABLE_COPY_MOVE(QVantelAudioWidget)

    [[nodiscard]] QVantelStatusPanel *statusPanel() const { return m_statusPanel; }
    [[nodiscard]] QVantelButton *homeButton() const { return m_homeButton; }

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

signals:
    void pageActivated(QVantel::Page page);

private slots:
    void pageClicked();

private:
    QVantelStatusPanel *m_statusPanel = nullptr;
    QVantelButton *m_homeButton = nullptr;
};
