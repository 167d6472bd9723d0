#include "shell/managedevicesdialog.h"

#include "shell/deviceinfodialog.h"
#include "shell/dialogrunner.h"
#include "shell/managedevicesview.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QVBoxLayout>

ManageDevicesDialog::ManageDevicesDialog(const Configuration &configuration, QWidget *parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowSystemMenuHint)
    , m_configuration(configuration.fileName())
{
    setWindowTitle(tr("Manage Known Devices"));
    resize(620, 300);
    setupUi();
    m_configuration.readConfiguration();
    m_view->setDevices(m_configuration.knownDevices);
}

ManageDevicesDialog::~ManageDevicesDialog() = default;

void ManageDevicesDialog::setupUi()
{
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->setAlignment(Qt::AlignTop);

    m_view = new ManageDevicesView(this);
    m_view->setObjectName(QStringLiteral("view"));
    box->addWidget(m_view, 1);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(10, 5, 10, 5);
    buttons->setSpacing(10);
    buttons->setAlignment(Qt::AlignLeft);

    m_addButton = new QPushButton(tr("&Add"), this);
    m_addButton->setObjectName(QStringLiteral("addButton"));
    m_deleteButton = new QPushButton(tr("&Delete"), this);
    m_deleteButton->setObjectName(QStringLiteral("deleteButton"));
    m_deleteButton->setEnabled(false);
    m_editButton = new QPushButton(tr("&Edit..."), this);
    m_editButton->setObjectName(QStringLiteral("editButton"));
    m_editButton->setEnabled(false);
    m_connectButton = new QPushButton(tr("&Connect"), this);
    m_connectButton->setObjectName(QStringLiteral("connectButton"));
    m_connectButton->setEnabled(false);
    for (QPushButton *button : {m_addButton, m_deleteButton, m_editButton, m_connectButton}) {
        // Enter in the table must not press a button behind the user's back.
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    box->addLayout(buttons);

    connect(m_addButton, &QPushButton::clicked, this, &ManageDevicesDialog::addButtonClicked);
    connect(m_deleteButton, &QPushButton::clicked, this, &ManageDevicesDialog::deleteButtonClicked);
    connect(m_editButton, &QPushButton::clicked, this, &ManageDevicesDialog::editButtonClicked);
    connect(
        m_connectButton, &QPushButton::clicked, this, &ManageDevicesDialog::connectButtonClicked);
    connect(m_view, &ManageDevicesView::clicked, this, &ManageDevicesDialog::onViewClicked);
}

void ManageDevicesDialog::onViewClicked(const QModelIndex &index)
{
    const bool valid = index.isValid();
    m_deleteButton->setEnabled(valid);
    m_editButton->setEnabled(valid);
    m_connectButton->setEnabled(valid);
}

QString ManageDevicesDialog::currentKey() const
{
    const QModelIndex current = m_view->currentIndex();
    if (!current.isValid())
        return QString();
    const QStandardItem *item = m_view->deviceModel()->item(current.row(), 0);
    if (!item)
        return QString();
    const QString key = item->text();
    return m_configuration.knownDevices.contains(key) ? key : QString();
}

void ManageDevicesDialog::storeChange()
{
    m_configuration.writeConfiguration();
    onViewClicked(QModelIndex());
    m_view->setDevices(m_configuration.knownDevices);
}

void ManageDevicesDialog::addButtonClicked()
{
    DeviceInfoDialog form(this);
    form.setWindowTitle(tr("Add Device"));
    form.addressEdit()->setReadOnly(false);
    form.portEdit()->setText(QString::number(m_configuration.defaultPort));
    if (runDialog(form) != QDialog::Accepted)
        return;

    const KnownDevice device = form.deviceInfo();
    if (!DeviceInfoDialog::isStorable(device))
        return;
    m_configuration.knownDevices.insert(device.address.toString(), device);
    storeChange();
}

void ManageDevicesDialog::editButtonClicked()
{
    const QString key = currentKey();
    if (key.isEmpty())
        return;

    DeviceInfoDialog form(this);
    form.setWindowTitle(tr("Edit Device"));
    form.addressEdit()->setReadOnly(true);
    form.setDeviceInfo(m_configuration.knownDevices.value(key));
    if (runDialog(form) != QDialog::Accepted)
        return;

    KnownDevice edited = form.deviceInfo();
    // An address is changed by adding the new one and deleting the old; the entry keeps the
    // address it is filed under, so the key and the record never disagree.
    if (!DeviceInfoDialog::isStorable(edited, true))
        return;
    KnownDevice &entry = m_configuration.knownDevices[key];
    edited.address = entry.address;
    entry = edited;
    storeChange();
}

void ManageDevicesDialog::deleteButtonClicked()
{
    const QString key = currentKey();
    if (key.isEmpty())
        return;
    if (!askYesCancel(this, tr("Delete Device"), tr("Are you sure?")))
        return;
    m_configuration.knownDevices.remove(key);
    storeChange();
}

void ManageDevicesDialog::connectButtonClicked()
{
    const QString key = currentKey();
    if (key.isEmpty())
        return;
    m_selectedAddress = key;
    accept();
}
