#include "shell/briskdiscoverydialog.h"

#include "shell/briskdiscoveryview.h"
#include "shell/deviceinfodialog.h"
#include "shell/dialogrunner.h"

#include <QAction>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

BriskDiscoveryDialog::BriskDiscoveryDialog(const QString &configurationFile, QWidget *parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowSystemMenuHint)
    , m_configuration(configurationFile)
{
    setWindowTitle(tr("Tolv Device Discovery"));
    resize(750, 300);

    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->setAlignment(Qt::AlignTop);
    m_view = new BriskDiscoveryView(this);
    m_view->setObjectName(QStringLiteral("view"));
    box->addWidget(m_view, 0);
    m_view->setDialog(this);

    m_updateTimer = new QTimer(this);
    m_updateTimer->setSingleShot(true);
    m_updateTimer->setInterval(kTableUpdateMs);
    connect(m_updateTimer, &QTimer::timeout, this, &BriskDiscoveryDialog::updateTable);

    auto *refresh = new QAction(this);
    refresh->setShortcut(QKeySequence::Refresh);
    refresh->setShortcutContext(Qt::WindowShortcut);
    connect(refresh, &QAction::triggered, this, &BriskDiscoveryDialog::refreshClicked);
    addAction(refresh);
}

BriskDiscoveryDialog::~BriskDiscoveryDialog()
{
    // The view reaches back into the dialog; cut that before the members go.
    m_view->setDialog(nullptr);
}

void BriskDiscoveryDialog::setDiscovery(BriskDiscovery *discovery)
{
    if (m_discovery)
        disconnect(m_discovery, nullptr, this, nullptr);
    m_discovery = discovery;
    if (!m_discovery)
        return;
    connect(m_discovery, &BriskDiscovery::changed, this, &BriskDiscoveryDialog::devicesChanged);
    m_configuration.readConfiguration();
    m_discovery->sendRequest();
}

void BriskDiscoveryDialog::selectDevice(const BriskDiscovery::DeviceInfo &device)
{
    m_selection = device;
    accept();
}

void BriskDiscoveryDialog::devicesChanged()
{
    if (!m_discovery)
        return;
    // An emptied list shows at once; additions are gathered for the next update.
    if (m_discovery->devices().isEmpty())
        updateTable();
    else if (!m_updateTimer->isActive())
        m_updateTimer->start();
}

void BriskDiscoveryDialog::updateTable()
{
    m_updateTimer->stop();
    if (!m_discovery)
        return;
    BriskDiscovery::DeviceMap devices = m_discovery->devices();
    for (auto it = devices.begin(); it != devices.end(); ++it) {
        const auto known = m_configuration.knownDevices.constFind(it.key());
        if (known != m_configuration.knownDevices.cend() && !known->name.isEmpty())
            it->name = known->name;
    }
    m_view->setDevices(devices);
}

void BriskDiscoveryDialog::refreshClicked()
{
    if (!m_discovery)
        return;
    m_configuration.readConfiguration();
    m_discovery->sendRequest();
}

void BriskDiscoveryDialog::addDeviceClicked()
{
    const QString address = m_selection.address;
    if (address.isEmpty() || m_configuration.knownDevices.contains(address))
        return;

    KnownDevice prepared;
    prepared.address = QHostAddress(address);
    prepared.port = m_configuration.defaultPort;
    prepared.audioLevels = false;

    DeviceInfoDialog form(this);
    form.setWindowTitle(tr("Add Device"));
    form.addressEdit()->setReadOnly(true);
    form.setDeviceInfo(prepared);
    if (runDialog(form) != QDialog::Accepted)
        return;

    const KnownDevice device = form.deviceInfo();
    if (!DeviceInfoDialog::isStorable(device))
        return;
    m_configuration.knownDevices.insert(device.address.toString(), device);
    m_configuration.writeConfiguration();
    updateTable();
}
