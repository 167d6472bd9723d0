#pragma once

#include <QList>
#include <QStandardItemModel>
#include <QString>

#include <optional>

class QModelIndex;
class QPainter;
class QStyleOptionViewItem;
class QTableView;

// What the two device tables (known devices and discovered devices) have in common.

// The table's behaviour once its model is set: no grid; the last column stretches (down to its
// caption's width) and the others get widths; the sort indicator shows, on column 0 ascending; rows
// 19 pixels high without a row header; read-only; single selection of whole rows; sorting by a
// header click.
void setupDeviceTable(QTableView *view, const QList<int> &widths);

// Sorts the view's model by the column and order its header shows, so that the user's choice
// survives a refill.
void sortAsHeaderShows(QTableView *view);

// Refills model, the view's, with one row a device in the map's order, the row's cells made by
// cellsOf(device) from column 0 on; then sorts as the header shows. An empty map leaves the model
// empty.
template<typename Map, typename Cells>
void fillDeviceTable(QTableView *view, QStandardItemModel *model, const Map &devices, Cells cellsOf)
{
    model->removeRows(0, model->rowCount());
    if (devices.isEmpty())
        return;

    model->setRowCount(int(devices.size()));
    int row = 0;
    for (auto it = devices.cbegin(); it != devices.cend(); ++it, ++row) {
        const QList<QStandardItem *> cells = cellsOf(it.value());
        for (int column = 0; column < cells.size(); ++column)
            model->setItem(row, column, cells.at(column));
    }
    sortAsHeaderShows(view);
}

// The text of index's cell when its model is a QStandardItemModel with an item there.
[[nodiscard]] std::optional<QString> deviceCellText(const QModelIndex &index);

// Whether the row of index is selected in the view that option.widget names.
[[nodiscard]] bool isRowSelected(const QStyleOptionViewItem &option, const QModelIndex &index);

// Paints one cell: its rectangle less one pixel at the top and bottom and two at the right,
// filled pale yellow when highlighted and white otherwise, and text in bold black within a
// further three pixels off the left and six off the right; left-aligned in the name column
// (column 1), centred elsewhere.
void paintDeviceCell(QPainter *painter,
                     const QStyleOptionViewItem &option,
                     int column,
                     const QString &text,
                     bool highlighted);
