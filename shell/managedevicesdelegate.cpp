#include "shell/managedevicesdelegate.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QPainter>
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

    QFont font = option.font;
    font.setWeight(QFont::Bold);

    const QRect fillRect = option.rect.adjusted(0, 1, -2, -1);
    const QRect textRect = option.rect.adjusted(3, 1, -8, -1);

    bool selected = false;
    if (const auto *view = qobject_cast<const QAbstractItemView *>(option.widget)) {
        if (const QItemSelectionModel *selection = view->selectionModel())
            selected = selection->isRowSelected(index.row(), index.parent());
    }

    painter->save();
    painter->setFont(font);
    painter->fillRect(fillRect, selected ? QColor(239, 228, 176) : QColor(Qt::white));
    painter->setPen(Qt::black);
    const Qt::Alignment alignment
        = index.column() == 1 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter;
    painter->drawText(textRect, int(alignment), item->text());
    painter->restore();
}
