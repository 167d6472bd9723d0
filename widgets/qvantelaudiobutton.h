#pragma once

#include "widgets/qvantelaudiobase.h"

class QLabel;
class QMouseEvent;
class QPaintEvent;
class QVantelButton;

// The tappable button strip (98 x 96): a button showing the input's display name and, below it,
// the gain ("Off" or "<n>dB") between the panning marks. A left tap on the button emits
// buttonClicked(), a right press anywhere on the strip rightButtonClicked(). The page marks the
// strip it last activated with setSelected. setBalance does nothing.
class QVantelAudioButton : public QVantelAudioBase
{
    Q_OBJECT

public:
    explicit QVantelAudioButton(QWidget *parent = nullptr);
    ~QVantelAudioButton() override;

    void setInput(QVantel::Inputs input) override;
    void setPanning(QVantel::PanCtrl panning) override;
    void setGain(int gain) override;
    void setName(const QString &label, bool force) override;
    void setBalance(int balance) override;

    bool isSelected() const { return m_selected; }
    void setSelected(bool on);

    QVantelButton *button() const { return m_button; }
    QLabel *levelLabel() const { return m_levelLabel; }

signals:
    void buttonClicked();
    void rightButtonClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void updateButtonText();

    bool m_selected = false;
    QVantelButton *m_button = nullptr;
    QLabel *m_levelLabel = nullptr;

    Q_DISABLE_COPY_MOVE(QVantelAudioButton)
};
