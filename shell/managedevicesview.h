#pragma once

#include "shell/knowndevice.h"

#include <QMap>
#include <QString>
#include <QTableView>

class QStandardItemModel;

// The table of known devices: address, name, port and level-meter transport ("UDP"/"TCP"), one
// row per device, read-only, single selection of whole rows, sortable by a click on a header
// (as text). The model and the delegate are children of the view.
class ManageDevicesView : public QTableView
{
    Q_OBJECT

public:
    explicit ManageDevicesView(QWidget *parent = nullptr);
    ~ManageDevicesView() override;
    Q_DISABLE_COPY_MOVE(ManageDevicesView)

    // Replaces the rows with the devices of the map, then sorts by the column and order the
    // header shows, so that the user's sort survives a refill.
    void setDevices(const QMap<QString, KnownDevice> &devices);

    QStandardItemModel *deviceModel() const { return m_model; }

private:
    QStandardItemModel *m_model = nullptr;
};
