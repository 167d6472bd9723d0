#pragma once

#include "model/qvantelrouting.h"

#include <QFrame>
#include <QString>

// Common base of the channel strips of the audio and headphone pages: one routed matrix input
// with its gain (dB, -160 meaning off), panning flags, balance step and optional user label.
//
// A strip holds what the page last set or the user last chose and never talks to the device.
// The setters are implemented by the strips; each emits its signal (inputChanged, panningChanged,
// gainChanged, balanceChanged) on a real change, visible or not.
class QVantelAudioBase : public QFrame
{
    Q_OBJECT

public:
    explicit QVantelAudioBase(QWidget *parent = nullptr);
    ~QVantelAudioBase() override;

    int gain() const { return m_gain; }
    int balance() const { return m_balance; }
    int input() const { return m_input; }
    int panning() const { return m_panning; }
    QString label() const { return m_label; }

    virtual void setInput(QVantel::Inputs input) = 0;
    virtual void setPanning(QVantel::PanCtrl panning) = 0;
    virtual void setGain(int gain) = 0;
    virtual void setName(const QString &label, bool force) = 0;
    virtual void setBalance(int balance) = 0;

    // The input's display name, then "\n" and the user label when one is set.
    QString displayName() const;

signals:
    void inputChanged(QVantel::Inputs input);
    void panningChanged(QVantel::PanCtrl panning);
    void gainChanged(int gain);
    void balanceChanged(int balance);

protected:
    int m_gain = -160;
    int m_balance = 0;
    int m_input = -1;
    int m_panning = 0;
    QString m_label;

private:
    Q_DISABLE_COPY_MOVE(QVantelAudioBase)
};
