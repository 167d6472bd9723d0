#include "shell/briskdiscoverydelegate.h"

#include "shell/devicetable.h"

BriskDiscoveryDelegate::BriskDiscoveryDelegate(QObject *parent)
    : QItemDelegate(parent)
{}

BriskDiscoveryDelegate::~BriskDiscoveryDelegate() = default;

void BriskDiscoveryDelegate::paint(QPainter *painter,
                                   const QStyleOptionViewItem &option,
                                   const QModelIndex &index) const
{
    const std::optional<QString> text = deviceCellText(index);
    const int column = index.column();
    if (!text || column < 0 || column > 4)
        return;
    // Only the address cell shows the selection.
    paintDeviceCell(painter, option, column, *text, column == 0 && isRowSelected(option, index));
}
