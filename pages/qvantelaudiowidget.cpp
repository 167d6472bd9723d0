#include "pages/qvantelaudiowidget.h"

#include "resources/tallydeskresources.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelstatuspanel.h"

#include <QIcon>

QVantelAudioWidget::QVantelAudioWidget(QWidget *parent)
    : QWidget(parent)
{
    initTallydeskResources();
    m_statusPanel = new QVantelStatusPanel(true, this);
    m_statusPanel->setObjectName(QStringLiteral("statusPanel"));
    m_statusPanel->move(132, 7);
    m_statusPanel->setCodecMode(1, 0);

    m_homeButton = new QVantelButton(this);
    m_homeButton->setObjectName(QStringLiteral("homeButton"));
    m_homeButton->setGeometry(10, 7, 98, 66);
    m_homeButton->setBorderWidth(4);
    QPalette palette = m_homeButton->palette();
    palette.setBrush(QPalette::All, QPalette::Window, QBrush(Qt::white, Qt::SolidPattern));
    palette.setBrush(QPalette::All, QPalette::WindowText, QBrush(Qt::black, Qt::SolidPattern));
    m_homeButton->setPalette(palette);
    m_homeButton->setIcon(QIcon(QStringLiteral(":/images/home.png")));
    connect(m_homeButton, &QVantelButton::clicked, this, &QVantelAudioWidget::pageClicked);
}

QVantelAudioWidget::~QVantelAudioWidget() = default;

void QVantelAudioWidget::pageClicked()
{
    emit pageActivated(QVantel::MainPage);
}

void QVantelAudioWidget::setSoundIdState(int state)
{
    m_statusPanel->setSoundIdState(state);
}

void QVantelAudioWidget::setBatteryLevel(int level)
{
    m_statusPanel->setBatteryLevel(level);
}

void QVantelAudioWidget::setNetworkType(int type, int technology)
{
    m_statusPanel->setNetworkType(type, technology);
}

void QVantelAudioWidget::setCodecMode(int codecMode, int coordinationMode)
{
    m_statusPanel->setCodecMode(codecMode, coordinationMode);
}

void QVantelAudioWidget::setDataActive(bool active)
{
    m_statusPanel->setDataActive(active);
}

void QVantelAudioWidget::setSignalQuality(int mode, int bars)
{
    m_statusPanel->setSignalQuality(mode, bars);
}

void QVantelAudioWidget::setAudioLevels(int programTxLeft,
                                        int coordinationTx,
                                        int programRxLeft,
                                        int coordinationRx,
                                        int programTxRight,
                                        int programRxRight,
                                        bool immediate)
{
    m_statusPanel->setAudioLevels(programTxLeft,
                                  coordinationTx,
                                  programRxLeft,
                                  coordinationRx,
                                  programTxRight,
                                  programRxRight,
                                  immediate);
}

void QVantelAudioWidget::setLinkState(int link, int state)
{
    m_statusPanel->setLinkState(link, state);
}

void QVantelAudioWidget::setLinkEnabled(int link, bool enabled)
{
    m_statusPanel->setLinkEnabled(link, enabled);
}

void QVantelAudioWidget::setLinkQuality(int link, int transmitQuality, int receiveQuality)
{
    m_statusPanel->setLinkQuality(link, transmitQuality, receiveQuality);
}

void QVantelAudioWidget::setSipState(int link, int state)
{
    m_statusPanel->setSipState(link, state);
}
