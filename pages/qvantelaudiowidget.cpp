#include "pages/qvantelaudiowidget.h"

#include "resources/tallydeskresources.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantellazyicon.h"
#include "widgets/qvantelstatuspanel.h"

QVantelAudioWidget::QVantelAudioWidget(QWidget *parent)
    : QWidget(parent)
{
    initTallydeskResources();
    m_statusPanel = new QVantelStatusPanel(true, this);
    setForwardedStatusPanel(m_statusPanel);
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
    m_homeButton->setIcon(QVantelLazyIcon::icon(QStringLiteral(":/images/home.png")));
    connect(m_homeButton, &QVantelButton::clicked, this, &QVantelAudioWidget::pageClicked);
}

QVantelAudioWidget::~QVantelAudioWidget() = default;

void QVantelAudioWidget::pageClicked()
{
    emit pageActivated(QVantel::MainPage);
}
