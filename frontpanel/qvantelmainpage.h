#pragma once

#include "frontpanel/qvantelbasepage.h"
#include "model/qvantelrouting.h"

#include <QMap>
#include <QString>

#include <array>

class QLabel;
class QShowEvent;
class QVantelBanner;
class QVantelButton;
class QVantelSoftkey;

// The home page of the front panel (page 1): the names of the inputs on two columns of input
// buttons, the seven soft keys with their functions, two info and two contact lamps with their
// labels, the banner summing up both call links, and the Mixing, Settings and Status buttons.
//
// It follows the routing matrix (input names and audio configurations), the soft-key model
// (functions and labels) and its status strip's sound-ID button; the front-panel window sets the
// lamps and reaches the banner through banner(). The only device write is the sound-ID toggle.
// setCodecMode() and setLinkState() extend the status strip to the banner and do nothing when
// the strip already shows the values. Children are owned by the page. No signals.
class QVantelMainPage : public QVantelBasePage
{
    Q_OBJECT

public:
    static constexpr int kInputButtons = 8;
    static constexpr int kSoftkeyButtons = 7;

    explicit QVantelMainPage(QVantelWindow *parent);
    ~QVantelMainPage() override;
    Q_DISABLE_COPY_MOVE(QVantelMainPage)

    // Both columns from the current audio configurations.
    void refreshInputNames();
    // Index 1 is the second lamp, any other value the first; red when on, white when off.
    void setInfoLamp(int index, bool on);
    void setContactLamp(int index, bool on);
    // which 1 is the second lamp, any other value the first; an empty text shows the lamp's
    // default name ("Info 1", "Contact 2").
    void setInfoLabel(int which, const QString &text);
    void setContactLabel(int which, const QString &text);

    void setCodecMode(int routingCode, int coordinationMode) override;
    void setLinkState(int link, int state) override;

    [[nodiscard]] QVantelBanner *banner() const { return m_banner; }
    // Input buttons 0 to 3 are the left column, 4 to 7 the right one, top to bottom.
    [[nodiscard]] QVantelButton *inputButton(int index) const;
    [[nodiscard]] QVantelButton *softkeyButton(int index) const;
    [[nodiscard]] QVantelButton *infoLamp(int index) const;
    [[nodiscard]] QVantelButton *contactLamp(int index) const;
    [[nodiscard]] static bool isLampOn(const QVantelButton *lamp);
    [[nodiscard]] QVantelButton *mixingButton() const { return m_mixingButton; }
    [[nodiscard]] QLabel *mixingCaption() const { return m_mixingCaption; }
    [[nodiscard]] QVantelButton *settingsButton() const { return m_settingsButton; }
    [[nodiscard]] QVantelButton *statusButton() const { return m_statusButton; }

public slots:
    // The argument carries the audio configuration position: 0 the left column, 1 the right.
    void matrixAudioConfigChanged(QVantel::Inputs position);
    void matrixInputNameChanged(QVantel::Inputs input);
    void softKeyFunctionChanged(QVantelSoftkey *key);
    void infoLabelChanged(int index, const QString &text);
    void contactLabelChanged(int index, const QString &text);
    void soundIdClicked();
    void page1Clicked();
    void page2Clicked();
    void page3Clicked();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setupUi();
    QVantelButton *makeButton(const QRect &geometry,
                              const QPalette &palette,
                              int pixelSize,
                              int borderWidth,
                              bool squareCorners);
    static void colourLamp(QVantelButton *lamp, const QColor &colour);
    QString contactName(int which) const;

    QMap<int, QVantelButton *> m_softkeyMap;
    QString m_contactLabel1;
    QString m_contactLabel2;
    QVantelBanner *m_banner = nullptr;
    std::array<QVantelButton *, kInputButtons> m_inputButtons{};
    std::array<QVantelButton *, kSoftkeyButtons> m_softkeyButtons{};
    QVantelButton *m_infoLamp1 = nullptr;
    QVantelButton *m_infoLamp2 = nullptr;
    QVantelButton *m_contactLamp1 = nullptr;
    QVantelButton *m_contactLamp2 = nullptr;
    QVantelButton *m_settingsButton = nullptr;
    QVantelButton *m_statusButton = nullptr;
    QVantelButton *m_mixingButton = nullptr;
    QLabel *m_mixingCaption = nullptr;
};
