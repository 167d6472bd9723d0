#include "shell/deviceinfodialog.h"

#include "shell/dialogform.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

DeviceInfoDialog::DeviceInfoDialog(QWidget *parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowSystemMenuHint)
{
    setWindowTitle(tr("Device Information"));
    setupUi();
    // Not resizable; wider only where the desktop's font would otherwise clip a text.
    setFixedSize(QSize(340, 155).expandedTo(minimumSizeHint()));
}

DeviceInfoDialog::~DeviceInfoDialog() = default;

KnownDevice DeviceInfoDialog::deviceInfo() const
{
    KnownDevice device;
    // A text that is not an address gives a null address.
    device.address = QHostAddress(m_addressEdit->text());
    device.name = m_nameEdit->text();
    bool ok = false;
    const int port = m_portEdit->text().toInt(&ok, 10);
    device.port = ok ? port : 0;
    device.audioLevels = m_levelsCombo->currentIndex() == 1;
    return device;
}

bool DeviceInfoDialog::isStorable(const KnownDevice &device, bool addressKept)
{
    return (addressKept || isDeviceAddress(device.address)) && device.port >= 1
           && device.port <= 65535;
}

void DeviceInfoDialog::setDeviceInfo(const KnownDevice &device)
{
    if (device.address.isNull() || device.port < 1)
        return;
    m_addressEdit->setText(device.address.toString());
    m_nameEdit->setText(device.name);
    m_portEdit->setText(QString::number(device.port));
    m_levelsCombo->setCurrentIndex(device.audioLevels ? 1 : 0);
}

void DeviceInfoDialog::okClicked()
{
    // The same check as the connect form's: what cannot be connected to is not kept either.
    if (checkDeviceFields(this, m_addressEdit, tr("Device Address"), m_portEdit, tr("Device Port")))
        accept();
}

void DeviceInfoDialog::cancelClicked()
{
    reject();
}

void DeviceInfoDialog::setupUi()
{
    QGridLayout *grid = createFormGrid(this);

    m_addressEdit = new QLineEdit(this);
    m_addressEdit->setObjectName(QStringLiteral("addressEdit"));
    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setObjectName(QStringLiteral("nameEdit"));
    m_portEdit = new QLineEdit(this);
    m_portEdit->setObjectName(QStringLiteral("portEdit"));
    m_levelsCombo = new QComboBox(this);
    m_levelsCombo->setObjectName(QStringLiteral("levelsCombo"));
    m_levelsCombo->setEditable(false);
    m_levelsCombo->addItem(QStringLiteral("UDP"));
    m_levelsCombo->addItem(QStringLiteral("TCP"));
    m_levelsCombo->setCurrentIndex(0);

    grid->addLayout(createDialogHeading(tr("Device Information"), this), 0, 0, 1, 2);
    grid->addWidget(new QLabel(tr("Device Address"), this), 1, 0);
    grid->addWidget(m_addressEdit, 1, 1);
    grid->addWidget(new QLabel(tr("Device Name"), this), 2, 0);
    grid->addWidget(m_nameEdit, 2, 1);
    grid->addWidget(new QLabel(tr("Device Port"), this), 3, 0);
    grid->addWidget(m_portEdit, 3, 1);
    grid->addWidget(new QLabel(tr("Audio Levels"), this), 4, 0);
    grid->addWidget(m_levelsCombo, 4, 1);

    grid->addLayout(
        createOkCancelRow(this, tr("OK"), tr("Cancel"), 0, m_okButton, m_cancelButton), 5, 1);

    connect(m_okButton, &QPushButton::clicked, this, &DeviceInfoDialog::okClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &DeviceInfoDialog::cancelClicked);
}
