#pragma once

#include "shell/briskdiscovery.h"

#include <QString>
#include <QTableView>

#include <memory>

class BriskDiscoveryDialog;
class QMenu;
class QStandardItemModel;

// The table of the devices a discovery has found: address, name (the known name or the model),
// serial number, MAC address and firmware, one row each. Read-only, single selection of whole
// rows, sortable by a header click (addresses numerically, the rest as text).
//
// A double click on a listed device picks it: the dialog's selectDevice(), which accepts the
// dialog. The right button offers "Refresh View" and, on a device that is not known yet, "Add to
// Managed Devices". The model and the delegate are children of the view.
class BriskDiscoveryView : public QTableView
{
    Q_OBJECT

public:
    explicit BriskDiscoveryView(QWidget *parent = nullptr);
    ~BriskDiscoveryView() override;
    Q_DISABLE_COPY_MOVE(BriskDiscoveryView)

    // The dialog whose discovery and known devices the view consults; null until set.
    void setDialog(BriskDiscoveryDialog *dialog) { m_dialog = dialog; }
    BriskDiscoveryDialog *dialog() const { return m_dialog; }

    // Replaces the rows with the devices of the map, then sorts by the header's column and order.
    void setDevices(const BriskDiscovery::DeviceMap &devices);

    // The address of the listed device at pos (viewport coordinates); empty on empty space, when
    // the device is no longer in the discovery's collection, or without dialog or discovery.
    [[nodiscard]] QString addressAt(const QPoint &pos) const;

    // The address of the row last right-clicked or double-clicked.
    QString currentAddress() const { return m_currentAddress; }

    // What a right click at pos (viewport coordinates) does before the menu shows: records the
    // address there, makes a listed device the dialog's selection, and builds the menu, whose
    // actions are wired to the dialog. Null without dialog. The caller owns the menu.
    [[nodiscard]] std::unique_ptr<QMenu> createContextMenu(const QPoint &pos);

    QStandardItemModel *deviceModel() const { return m_model; }

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    BriskDiscoveryDialog *m_dialog = nullptr;
    QStandardItemModel *m_model = nullptr;
    QString m_currentAddress;
};
