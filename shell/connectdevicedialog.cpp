#include "shell/connectdevicedialog.h"

#include "shell/dialogform.h"

#include <QCheckBox>
#include <QGridLayout>
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
    const QString address = addressProblem(tr("IP Address"), m_addressEdit->text());
    return address.isEmpty() ? portProblem(tr("Port"), m_portEdit->text()) : address;
}

void ConnectDeviceDialog::okClicked()
{
    if (checkDeviceFields(this, m_addressEdit, tr("IP Address"), m_portEdit, tr("Port")))
        accept();
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
