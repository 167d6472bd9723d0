#include "shell/managedevicesdelegate.h"

#include "shell/devicetable.h"

#include <QStandardItemModel>

ManageDevicesDelegate::ManageDevicesDelegate(QObject *parent)
    : QItemDelegate(parent)
{}

ManageDevicesDelegate::~ManageDevicesDelegate() = default;

void ManageDevicesDelegate::paint(QPainter *painter,
                                  const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    const auto *model = qobject_cast<const QStandardItemModel *>(index.model());
    const QStandardItem *item = model ? model->itemFromIndex(index) : nullptr;
    if (!item)
        return;
    paintDeviceCell(painter, option, index.column(), item->text(), isRowSelected(option, index));
}
