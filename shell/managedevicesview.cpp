#include "shell/managedevicesview.h"

#include "shell/devicetable.h"
#include "shell/managedevicesdelegate.h"

#include <QStandardItemModel>

ManageDevicesView::ManageDevicesView(QWidget *parent)
    : QTableView(parent)
    , m_model(new QStandardItemModel(0, 4, this))
{
    m_model->setHorizontalHeaderLabels(
        {tr("IP Adress"), tr("Device Name"), tr("Device Port"), tr("Audio Levels")});
    setModel(m_model);
    setItemDelegate(new ManageDevicesDelegate(this));
    setupDeviceTable(this, {130, 230, 130});
}

ManageDevicesView::~ManageDevicesView() = default;

void ManageDevicesView::setDevices(const QMap<QString, KnownDevice> &devices)
{
    fillDeviceTable(this, m_model, devices, [](const KnownDevice &device) {
        return QList<QStandardItem *>{
            new QStandardItem(device.address.toString()),
            new QStandardItem(device.name),
            new QStandardItem(QString::number(device.port)),
            new QStandardItem(device.audioLevels ? QStringLiteral("TCP") : QStringLiteral("UDP"))};
    });
}
