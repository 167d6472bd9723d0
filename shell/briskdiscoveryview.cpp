#include "shell/briskdiscoveryview.h"

#include "shell/briskdiscoverydelegate.h"
#include "shell/briskdiscoverydialog.h"
#include "shell/devicetable.h"
#include "shell/qstandarditemex.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStandardItemModel>

BriskDiscoveryView::BriskDiscoveryView(QWidget *parent)
    : QTableView(parent)
{
    setItemDelegate(new BriskDiscoveryDelegate(this));

    m_model = new QStandardItemModel(0, 5, this);
    m_model->setHorizontalHeaderLabels({tr("IP Address"),
                                        tr("Device Name"),
                                        tr("Serial Number"),
                                        tr("MAC Address"),
                                        tr("Firmware")});
    setModel(m_model);

    setupDeviceTable(this, {130, 230, 140, 150});
}

BriskDiscoveryView::~BriskDiscoveryView() = default;

void BriskDiscoveryView::setDevices(const BriskDiscovery::DeviceMap &devices)
{
    fillDeviceTable(this, m_model, devices, [](const BriskDiscovery::DeviceInfo &device) {
        return QList<QStandardItem *>{
            new QStandardItemEx(device.address),
            new QStandardItem(device.name.isEmpty() ? device.model : device.name),
            new QStandardItem(device.serialNumber),
            new QStandardItem(device.macAddress),
            new QStandardItem(device.firmware)};
    });
}

QString BriskDiscoveryView::addressAt(const QPoint &pos) const
{
    if (!m_dialog || !m_dialog->discovery())
        return QString();
    const QModelIndex index = indexAt(pos);
    if (!index.isValid())
        return QString();
    const QStandardItem *item = m_model->item(index.row(), 0);
    if (!item)
        return QString();
    const QString address = item->text();
    return m_dialog->discovery()->devices().contains(address) ? address : QString();
}

std::unique_ptr<QMenu> BriskDiscoveryView::createContextMenu(const QPoint &pos)
{
    m_currentAddress = addressAt(pos);
    if (!m_dialog)
        return nullptr;

    auto menu = std::make_unique<QMenu>(this);
    QAction *refresh = menu->addAction(tr("Refresh View"));
    refresh->setShortcut(QKeySequence::Refresh);
    connect(refresh, &QAction::triggered, m_dialog, &BriskDiscoveryDialog::refreshClicked);

    const BriskDiscovery *discovery = m_dialog->discovery();
    if (discovery && !m_currentAddress.isEmpty()) {
        m_dialog->m_selection = discovery->devices().value(m_currentAddress);
        if (!m_dialog->configuration().knownDevices.contains(m_currentAddress)) {
            menu->addSeparator();
            QAction *add = menu->addAction(tr("Add to Managed Devices"));
            connect(add, &QAction::triggered, m_dialog, &BriskDiscoveryDialog::addDeviceClicked);
        }
    }
    return menu;
}

void BriskDiscoveryView::contextMenuEvent(QContextMenuEvent *event)
{
    const std::unique_ptr<QMenu> menu = createContextMenu(event->pos());
    if (menu)
        menu->exec(event->globalPos());
}

void BriskDiscoveryView::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_currentAddress = addressAt(event->position().toPoint());
    if (!m_dialog || !m_dialog->discovery() || m_currentAddress.isEmpty())
        return;
    const BriskDiscovery::DeviceMap &devices = m_dialog->discovery()->devices();
    const auto it = devices.constFind(m_currentAddress);
    if (it != devices.cend())
        m_dialog->selectDevice(it.value());
}
