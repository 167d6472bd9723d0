#pragma once

#include <QItemDelegate>

// Paints the cells of the known-device table: bold black text on white, or on a pale yellow for
// every cell of a selected row; the name column left-aligned, the others centred. Needs the
// model to be a QStandardItemModel and option.widget to be the table; a cell without an item
// is left unpainted.
class ManageDevicesDelegate : public QItemDelegate
{
    Q_OBJECT

public:
    explicit ManageDevicesDelegate(QObject *parent = nullptr);
    ~ManageDevicesDelegate() override;
    Q_DISABLE_COPY_MOVE(ManageDevicesDelegate)

    void paint(QPainter *painter,
               const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};
