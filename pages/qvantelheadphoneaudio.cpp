#include "pages/qvantelheadphoneaudio.h"

#include "widgets/qvantelaudioinput.h"
#include "widgets/qvantelbutton.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>

QVantelHeadphoneAudio::QVantelHeadphoneAudio(QWidget *parent)
    : QVantelPopup(parent)
{
    setPanelLook(QSize(300, 240));

    m_strip = new QVantelAudioInput(true, this, false, false);
    m_strip->setObjectName(QStringLiteral("popupStrip"));
    m_strip->setInput(QVantel::Inputs(0));
    m_strip->setPanning(QVantel::PanBoth);

    m_cancelButton = makePanelButton(tr("Cancel"));
    m_okButton = makePanelButton(tr("OK"));
    QFont font = QApplication::font();
    font.setPixelSize(18);
    m_cancelButton->setFont(font);
    m_okButton->setFont(font);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(0);
    column->addWidget(m_strip, 1, Qt::AlignHCenter);
    auto *row = new QHBoxLayout;
    row->setContentsMargins(10, 10, 10, 10);
    row->setSpacing(20);
    row->addWidget(m_cancelButton);
    row->addWidget(m_okButton);
    column->addLayout(row);

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
