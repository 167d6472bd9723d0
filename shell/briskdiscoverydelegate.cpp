#include "shell/briskdiscoverydelegate.h"

#include "shell/devicetable.h"

#include <QStandardItemModel>

BriskDiscoveryDelegate::BriskDiscoveryDelegate(QObject *parent)
    : QItemDelegate(parent)
{}

BriskDiscoveryDelegate::~BriskDiscoveryDelegate() = default;

void BriskDiscoveryDelegate::paint(QPainter *painter,
                                   const QStyleOptionViewItem &option,
                                   const QModelIndex &index) const
{
    const auto *model = qobject_cast<const QStandardItemModel *>(index.model());
    const QStandardItem *item = model ? model->itemFromIndex(index) : nullptr;
    if (!item)
        return;
    const int column = index.column();
    if (column < 0 || column > 4)
        return;
    // Only the address cell shows the selection.
    paintDeviceCell(
        painter, option, column, item->text(), column == 0 && isRowSelected(option, index));
}
