#include "shell/managedevicesdelegate.h"

#include "shell/devicetable.h"

ManageDevicesDelegate::ManageDevicesDelegate(QObject *parent)
    : QItemDelegate(parent)
{}

ManageDevicesDelegate::~ManageDevicesDelegate() = default;

void ManageDevicesDelegate::paint(QPainter *painter,
                                  const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    if (const std::optional<QString> text = deviceCellText(index))
        paintDeviceCell(painter, option, index.column(), *text, isRowSelected(option, index));
}
