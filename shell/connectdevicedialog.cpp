#include "shell/connectdevicedialog.h"

#include "shell/dialogform.h"
#include "shell/dialogrunner.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHostAddress>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
uint unsignedValue(const QString &text)
{
    bool ok = false;
    const uint value = text.toUInt(&ok, 10);
    return ok ? value : 0;
}
} // namespace

ConnectDeviceDialog::ConnectDeviceDialog(QWidget *parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowSystemMenuHint)
{
    setWindowTitle(tr("Connect Remote Device"));
    setupUi();
    // Not resizable; wider only where the desktop's font would otherwise clip a text.
    setFixedSize(QSize(250, 185).expandedTo(minimumSizeHint()));
}

ConnectDeviceDialog::~ConnectDeviceDialog() = default;

uint ConnectDeviceDialog::port() const
{
    return unsignedValue(m_portEdit->text());
}

uint ConnectDeviceDialog::datagramPort() const
{
    if (m_tcpCheckBox->isChecked())
        return 1;
    return unsignedValue(m_udpPortEdit->text());
}

QString ConnectDeviceDialog::problem() const
{
    const QString address = m_addressEdit->text();
    const QHostAddress host(address);
    // Only a dotted IPv4 address of a single host can be connected to ("localhost", "10.1" and
    // the broadcast address cannot).
    const bool usable = !host.isNull() && host.protocol() == QAbstractSocket::IPv4Protocol
                        && address.count(QLatin1Char('.')) == 3 && host != QHostAddress::AnyIPv4
                        && host != QHostAddress::Broadcast && !host.isMulticast();
    if (address.isEmpty())
        return tr("IP Address: enter the device's IPv4 address, for example 192.168.1.20.");
    if (!usable) {
        return tr("IP Address: \"%1\" is not the IPv4 address of a device. Enter four numbers "
                  "from 0 to 255 separated by dots, for example 192.168.1.20.")
            .arg(address);
    }
    const uint tcpPort = port();
    if (tcpPort < 1 || tcpPort > 65535) {
        return tr("Port: \"%1\" is not a TCP port. Enter a number from 1 to 65535.")
            .arg(m_portEdit->text());
    }
    return {};
}

void ConnectDeviceDialog::okClicked()
{
    const QString text = problem();
    if (text.isEmpty()) {
        accept();
        return;
    }
    // The dialog stays open on the field to correct.
    showCritical(this, windowTitle(), text);
    QLineEdit *field = text.startsWith(tr("Port:")) ? m_portEdit : m_addressEdit;
    field->setFocus();
    field->selectAll();
}

void ConnectDeviceDialog::cancelClicked()
{
    reject();
}

void ConnectDeviceDialog::setupUi()
{
    QGridLayout *grid = createFormGrid(this);

    m_addressEdit = new QLineEdit(this);
    m_addressEdit->setObjectName(QStringLiteral("addressEdit"));
    m_portEdit = new QLineEdit(QStringLiteral("7001"), this);
    m_portEdit->setObjectName(QStringLiteral("portEdit"));
    m_udpPortEdit = new QLineEdit(QStringLiteral("3000"), this);
    m_udpPortEdit->setObjectName(QStringLiteral("udpPortEdit"));
    m_udpPortEdit->setEnabled(false);
    m_tcpCheckBox = new QCheckBox(tr("Use TCP instead of UDP"), this);
    m_tcpCheckBox->setObjectName(QStringLiteral("tcpCheckBox"));

    grid->addLayout(createDialogHeading(tr("Device Information"), this), 0, 0, 1, 2);
    grid->addWidget(new QLabel(tr("IP Address"), this), 1, 0);
    grid->addWidget(m_addressEdit, 1, 1);
    grid->addWidget(new QLabel(tr("Port"), this), 2, 0);
    grid->addWidget(m_portEdit, 2, 1);
    grid->addLayout(createDialogHeading(tr("Audio levels"), this), 3, 0, 1, 2);
    grid->addWidget(new QLabel(tr("UDP Port"), this), 4, 0);
    grid->addWidget(m_udpPortEdit, 4, 1);
    grid->addWidget(m_tcpCheckBox, 5, 1);

    grid->addLayout(
        createOkCancelRow(this, tr("OK"), tr("Cancel"), 10, m_okButton, m_cancelButton), 6, 1);

    connect(m_okButton, &QPushButton::clicked, this, &ConnectDeviceDialog::okClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &ConnectDeviceDialog::cancelClicked);
}
