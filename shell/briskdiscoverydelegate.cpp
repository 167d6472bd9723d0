#include "shell/briskdiscoverydelegate.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QPainter>
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

    QFont font = option.font;
    font.setWeight(QFont::Bold);
    const QRect fillRect = option.rect.adjusted(0, 1, -2, -1);
    const QRect textRect = fillRect.adjusted(3, 0, -6, 0);

    QColor fill(Qt::white);
    if (column == 0) {
        if (const auto *view = qobject_cast<const QAbstractItemView *>(option.widget)) {
            const QItemSelectionModel *selection = view->selectionModel();
            if (selection && selection->isRowSelected(index.row(), index.parent()))
                fill = QColor(239, 228, 176);
        }
    }
    const Qt::Alignment alignment
        = column == 1 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter;

    painter->save();
    painter->setFont(font);
    painter->fillRect(fillRect, fill);
    painter->setPen(Qt::black);
    painter->drawText(textRect, int(alignment), item->text());
    painter->restore();
}
