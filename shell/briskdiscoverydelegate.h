#pragma once

#include <QItemDelegate>

// Paints the cells of the discovery table: bold black text on white; the address cell of a
// selected row on pale yellow (the other cells of that row stay white). The address column and
// the columns 2 to 4 are centred, the name column left-aligned; columns beyond 4 and cells
// without an item are left unpainted. Needs a QStandardItemModel and option.widget to be the
// table.
class BriskDiscoveryDelegate : public QItemDelegate
{
    Q_OBJECT

public:
    explicit BriskDiscoveryDelegate(QObject *parent = nullptr);
    ~BriskDiscoveryDelegate() override;
    Q_DISABLE_COPY_MOVE(BriskDiscoveryDelegate)

    void paint(QPainter *painter,
               const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};
