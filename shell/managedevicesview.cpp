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
    m_model->removeRows(0, m_model->rowCount());
    if (devices.isEmpty())
        return;

    m_model->setRowCount(devices.size());
    int row = 0;
    for (auto it = devices.cbegin(); it != devices.cend(); ++it, ++row) {
        const KnownDevice &device = it.value();
        m_model->setItem(row, 0, new QStandardItem(device.address.toString()));
        m_model->setItem(row, 1, new QStandardItem(device.name));
        m_model->setItem(row, 2, new QStandardItem(QString::number(device.port)));
        m_model->setItem(
            row,
            3,
            new QStandardItem(device.audioLevels ? QStringLiteral("TCP") : QStringLiteral("UDP")));
    }
    sortAsHeaderShows(this);
}
