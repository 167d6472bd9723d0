#pragma once

#include <QStandardItem>

// A table cell that orders IPv4 address texts by their numeric value ("10.0.0.9" before
// "10.0.0.10"); any other content orders as a plain QStandardItem does.
class QStandardItemEx : public QStandardItem
{
public:
    QStandardItemEx() = default;
    explicit QStandardItemEx(const QString &text);
    ~QStandardItemEx() override;

    bool operator<(const QStandardItem &other) const override;
};
