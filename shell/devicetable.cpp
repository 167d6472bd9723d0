#include "shell/devicetable.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyleOptionViewItem>
#include <QTableView>

void setupDeviceTable(QTableView *view, const QList<int> &widths)
{
    view->setShowGrid(false);

    QHeaderView *header = view->horizontalHeader();
    header->setStretchLastSection(true);
    for (int column = 0; column < widths.size(); ++column)
        header->resizeSection(column, widths.at(column));
    // The stretching last column never shrinks below the width it had before it stretched: give
    // it no more than its caption needs, so that the columns fit wherever their widths do and
    // the horizontal scroll bar shows only when they do not.
    const int last = view->model() ? view->model()->columnCount() - 1 : -1;
    if (last >= widths.size())
        header->resizeSection(last, header->sectionSizeHint(last));
    header->setSortIndicatorShown(true);
    header->setSortIndicator(0, Qt::AscendingOrder);

    view->verticalHeader()->setDefaultSectionSize(19);
    view->verticalHeader()->hide();
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSortingEnabled(true);
}

void sortAsHeaderShows(QTableView *view)
{
    const QHeaderView *header = view->horizontalHeader();
    view->model()->sort(header->sortIndicatorSection(), header->sortIndicatorOrder());
}

bool isRowSelected(const QStyleOptionViewItem &option, const QModelIndex &index)
{
    const auto *view = qobject_cast<const QAbstractItemView *>(option.widget);
    const QItemSelectionModel *selection = view ? view->selectionModel() : nullptr;
    return selection && selection->isRowSelected(index.row(), index.parent());
}

void paintDeviceCell(QPainter *painter,
                     const QStyleOptionViewItem &option,
                     int column,
                     const QString &text,
                     bool highlighted)
{
    QFont font = option.font;
    font.setWeight(QFont::Bold);
    const QRect fillRect = option.rect.adjusted(0, 1, -2, -1);
    const QRect textRect = fillRect.adjusted(3, 0, -6, 0);
    const Qt::Alignment alignment
        = column == 1 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter;

    painter->save();
    painter->setFont(font);
    painter->fillRect(fillRect, highlighted ? QColor(239, 228, 176) : QColor(Qt::white));
    painter->setPen(Qt::black);
    painter->drawText(textRect, int(alignment), text);
    painter->restore();
}

std::optional<QString> deviceCellText(const QModelIndex &index)
{
    const auto *model = qobject_cast<const QStandardItemModel *>(index.model());
    const QStandardItem *item = model ? model->itemFromIndex(index) : nullptr;
    if (!item)
        return std::nullopt;
    return item->text();
}
