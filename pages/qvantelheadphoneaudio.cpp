#include "pages/qvantelheadphoneaudio.h"

#include "widgets/qvantelaudioinput.h"
#include "widgets/qvantelbutton.h"

QVantelHeadphoneAudio::QVantelHeadphoneAudio(QWidget *parent)
    : QVantelPopup(parent)
{
    setPanelLook(QSize(300, 240));

    m_strip = new QVantelAudioInput(true, this, false, false);
    m_strip->setObjectName(QStringLiteral("popupStrip"));
    m_strip->setInput(QVantel::Input1);
    m_strip->setPanning(QVantel::PanBoth);

    const CancelOk buttons = layOutAboveCancelOk(m_strip, Qt::AlignHCenter);
    m_cancelButton = buttons.cancel;
    m_okButton = buttons.ok;

    connect(m_okButton, &QAbstractButton::clicked, this, &QVantelHeadphoneAudio::okClicked);
    connect(m_cancelButton, &QAbstractButton::clicked, this, &QVantelHeadphoneAudio::cancelClicked);
}

QVantelHeadphoneAudio::~QVantelHeadphoneAudio() = default;

void QVantelHeadphoneAudio::okClicked()
{
    m_accepted = true;
    clearCancelled();
    close();
}

void QVantelHeadphoneAudio::cancelClicked()
{
    close();
}
