#pragma once

#include "shell/briskdiscovery.h"
#include "shell/configuration.h"

#include <QDialog>
#include <QPointer>
#include <QString>

class BriskDiscoveryView;
class QTimer;

// Shows the devices an attached BriskDiscovery finds and lets the user refresh the search, add a
// found device to the known devices and pick one to connect to.
//
// The discovery is not owned; setDiscovery() attaches it and starts a request. The table is
// rebuilt from the discovery's collection, with the names of known devices in place of the model
// name: at once when the collection has been emptied, otherwise once per kTableUpdateMs however
// many changed() arrive meanwhile, so a flood of answers cannot keep the dialog busy. The dialog
// keeps a configuration store of its own on the given file: it reads the file when a discovery is
// attached and on every refresh, and writes it at once when a device is added (through a
// DeviceInfoDialog run by runDialog(); a device without a valid address or a port of 1 to 65535 is
// not stored).
//
// exec() is accepted only through a double click on a listed device; selectedDevice() then holds
// it. The Refresh key (QKeySequence::Refresh) refreshes wherever the focus is.
class BriskDiscoveryDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kTableUpdateMs = 100;

    BriskDiscoveryDialog(const QString &configurationFile, QWidget *parent = nullptr);
    ~BriskDiscoveryDialog() override;
    Q_DISABLE_COPY_MOVE(BriskDiscoveryDialog)

    // Detaches the previous discovery, attaches this one (null detaches only), reads the
    // configuration file and sends a request.
    void setDiscovery(BriskDiscovery *discovery);
    BriskDiscovery *discovery() const { return m_discovery; }

    // The device the user last pointed at (right click or double click); the default record
    // until then.
    BriskDiscovery::DeviceInfo selectedDevice() const { return m_selection; }
    // Takes device as the selection and accepts the dialog.
    void selectDevice(const BriskDiscovery::DeviceInfo &device);

    BriskDiscoveryView *view() const { return m_view; }
    const Configuration &configuration() const { return m_configuration; }

private slots:
    void devicesChanged();
    void updateTable();
    void refreshClicked();
    void addDeviceClicked();

private:
    friend class BriskDiscoveryView;

    QPointer<BriskDiscovery> m_discovery;
    BriskDiscoveryView *m_view = nullptr;
    QTimer *m_updateTimer = nullptr;
    Configuration m_configuration;
    BriskDiscovery::DeviceInfo m_selection;
};
