#include "shell/qstandarditemex.h"

#include <QHostAddress>
#include <QStandardItemModel>

namespace {
QVariant sortValue(const QStandardItem &item)
{
    const QStandardItemModel *model = item.model();
    return item.data(model ? model->sortRole() : int(Qt::DisplayRole));
}

// True with the address value when text is an IPv4 address.
bool ipv4Value(const QVariant &value, quint32 &result)
{
    if (value.typeId() != QMetaType::QString)
        return false;
    const QHostAddress address(value.toString());
    if (address.protocol() != QAbstractSocket::IPv4Protocol)
        return false;
    result = address.toIPv4Address();
    return true;
}
} // namespace

QStandardItemEx::QStandardItemEx(const QString &text)
    : QStandardItem(text)
{}

QStandardItemEx::~QStandardItemEx() = default;

bool QStandardItemEx::operator<(const QStandardItem &other) const
{
    quint32 mine = 0;
    if (!ipv4Value(sortValue(*this), mine))
        return QStandardItem::operator<(other);
    // The other cell read the same way; a text that is no IPv4 address counts as 0.
    quint32 theirs = 0;
    ipv4Value(sortValue(other), theirs);
    return mine < theirs;
}
