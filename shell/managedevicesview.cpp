#include "shell/managedevicesview.h"

#include "shell/managedevicesdelegate.h"

#include <QHeaderView>
#include <QStandardItemModel>

ManageDevicesView::ManageDevicesView(QWidget *parent)
    : QTableView(parent)
    , m_model(new QStandardItemModel(0, 4, this))
{
    m_model->setHorizontalHeaderLabels(
        {tr("IP Adress"), tr("Device Name"), tr("Device Port"), tr("Audio Levels")});
    setModel(m_model);
    setItemDelegate(new ManageDevicesDelegate(this));
    setShowGrid(false);

    QHeaderView *header = horizontalHeader();
    header->setStretchLastSection(true);
    header->resizeSection(0, 130);
    header->resizeSection(1, 230);
    header->resizeSection(2, 130);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(0, Qt::AscendingOrder);

    verticalHeader()->setDefaultSectionSize(19);
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSortingEnabled(true);
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
    const QHeaderView *header = horizontalHeader();
    m_model->sort(header->sortIndicatorSection(), header->sortIndicatorOrder());
}
