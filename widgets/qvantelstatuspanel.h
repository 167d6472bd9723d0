#pragma once

#include "widgets/ivantelstatuspanel.h"

#include <QWidget>

class QLabel;
class QVantelBars;
class QVantelBattery;
class QVantelButton;
class QVantelDataActive;
class QVantelNetQuality;
class QVantelSigQuality;

// The status strip across the top of the front-panel pages, 534 pixels wide: the programme and
// coordination buttons coloured by link state, a SIP button per link, the network label and
// mobile signal, data activity, the battery, a sound-ID button, the transmit and receive level
// bars and, in the full (80-pixel) form, the network quality gauges of both links. The compact
// (54-pixel) form has the transmit bars only and no quality gauges.
//
// Each setter does nothing when its values are those shown already (the level and quality
// setters hand their values to gauges that ignore unchanged input themselves). Children are
// owned by the panel. Signal: soundIdClicked() when the sound-ID button is clicked.
class QVantelStatusPanel : public QWidget, public IVantelStatusPanel
{
    Q_OBJECT

public:
    explicit QVantelStatusPanel(bool compact, QWidget *parent = nullptr);
    ~QVantelStatusPanel() override;
    Q_DISABLE_COPY_MOVE(QVantelStatusPanel)

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

    bool isCompact() const { return m_compact; }
    int codecMode() const { return m_codecMode; }
    int coordinationMode() const { return m_coordinationMode; }
    int networkType() const { return m_networkType; }
    int technology() const { return m_technology; }
    bool isDataActive() const { return m_dataActive; }
    int batteryLevel() const { return m_batteryLevel; }
    int soundIdState() const { return m_soundIdState; }
    int linkState(int link) const;
    int sipState(int link) const;
    bool isLinkEnabled(int link) const;

    QLabel *networkLabel() const { return m_networkLabel; }
    QVantelSigQuality *signalQuality() const { return m_signalQuality; }
    QVantelDataActive *dataActive() const { return m_dataActiveGlyph; }
    QVantelBattery *battery() const { return m_battery; }
    QVantelButton *soundIdButton() const { return m_soundIdButton; }
    QVantelButton *linkButton(int link) const;
    QVantelButton *sipButton(int link) const;
    // The transmit (receive false) or receive bars of a link; the receive bars are null on a
    // compact panel.
    QVantelBars *bars(int link, bool receive) const;
    // The upward (transmit) or downward (receive) quality gauge of a link; null on a compact
    // panel.
    QVantelNetQuality *qualityGauge(int link, bool receive) const;

signals:
    void soundIdClicked();

public slots:
    void soundLabelClicked();

private:
    struct Link
    {
        bool enabled = false;
        int state = 0;
        int sipState = 0;
        QVantelButton *button = nullptr;
        QVantelButton *sipButton = nullptr;
        QVantelBars *txBars = nullptr;
        QVantelBars *rxBars = nullptr;
        QVantelNetQuality *txQuality = nullptr;
        QVantelNetQuality *rxQuality = nullptr;
    };

    Link &link(int number) { return number == 1 ? m_link1 : m_link2; }
    const Link &link(int number) const { return number == 1 ? m_link1 : m_link2; }
    QVantelButton *makeButton(const QString &text, const QRect &geometry);
    QLabel *makeLabel(const QString &text, const QRect &geometry);
    QVantelBars *makeBars(const QRect &geometry);
    QVantelNetQuality *makeGauge(const QPoint &position, bool downward);
    static void colourButton(QVantelButton *button, const QColor &fill);

    const bool m_compact;
    int m_codecMode = -1;
    int m_coordinationMode = -1;
    int m_networkType = 0xFFFF;
    int m_technology = 0;
    bool m_dataActive = false;
    QLabel *m_networkLabel = nullptr;
    QVantelSigQuality *m_signalQuality = nullptr;
    QVantelDataActive *m_dataActiveGlyph = nullptr;
    Link m_link1;
    Link m_link2;
    int m_batteryLevel = -1;
    QVantelBattery *m_battery = nullptr;
    int m_soundIdState = 0;
    QVantelButton *m_soundIdButton = nullptr;
};
