#pragma once

#include "widgets/qvantelpopup.h"

class QVantelAudioInput;
class QVantelButton;

// The popup in which the operator sets the gain and panning of one source of a headphone mix on
// a single strip. The opener presets the strip (input, gain, panning), shows the popup and reads
// the strip back in its popupClosed() slot, when accepted() tells that OK closed it. The popup
// never touches the model; it deletes itself after closing.
class QVantelHeadphoneAudio : public QVantelPopup
{
    Q_OBJECT

public:
    explicit QVantelHeadphoneAudio(QWidget *parent = nullptr);
    ~QVantelHeadphoneAudio() override;
    Q_DISABLE_COPY_MOVE(QVantelHeadphoneAudio)

    [[nodiscard]] bool accepted() const { return m_accepted; }
    [[nodiscard]] QVantelAudioInput *strip() const { return m_strip; }
    [[nodiscard]] QVantelButton *okButton() const { return m_okButton; }
    [[nodiscard]] QVantelButton *cancelButton() const { return m_cancelButton; }

public slots:
    void okClicked();
    void cancelClicked();

private:
    bool m_accepted = false;
    QVantelAudioInput *m_strip = nullptr;
    QVantelButton *m_cancelButton = nullptr;
    QVantelButton *m_okButton = nullptr;
};
