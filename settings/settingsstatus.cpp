// The Status section: the Status page (6), audio connections (259), call statistics (270, 271),
// the AoIP controller (279) and the mobile interfaces (289-292).

#include "settings/qvantelsettingspage.h"

#include "model/comdevice.h"
#include "model/comgeneralsettings.h"
#include "model/modelkeys.h"
#include "model/textconversions.h"
#include "widgets/qvantellocalize.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenupalette.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>

#include <map>
#include <set>
#include <string>

namespace {

constexpr int kStatusPage = 6;
constexpr int kRowMode = 256;
constexpr int kRowCodec1 = 257;
constexpr int kRowCodec2 = 258;
constexpr int kRowConnections = 259;
constexpr int kRowAoipController = 279;
constexpr int kFirstEthernetRow = 285;
constexpr int kFirstMobileRow = 289;
constexpr int kLastMobileRow = 292;
constexpr int kFirstWifiRow = 297;
constexpr int kRowRemoteAccess = 301;
constexpr int kRowSerialNumber = 302;
constexpr int kRowFirmwareVersion = 303;
constexpr int kRowAoipVersion = 304;
constexpr int kRowSoftwareBuild = 305;
// Rows of a mobile interface's status page.
constexpr int kRowMobileOperator = 293;
constexpr int kRowMobileTechnology = 294;
constexpr int kRowMobileSignal = 295;
constexpr int kRowMobileDataService = 296;
// Interfaces per family that the Status page can show.
constexpr int kInterfacesPerFamily = 4;
// The mobile voice algorithm a coordination line uses.
constexpr int kMobileVoiceAlgorithm = 17;

const std::string kOff = "off";
const std::string kRemoteConnected = "connected";
const std::string kRemoteProcessing = "processing";

QString translated(const char *text)
{
    return QCoreApplication::translate("QVantelSettingsPage", text);
}

// A row of the Status section's pages: indented by left, titled when a title is given.
QVantelMenuItem *
addStatusRow(QVantelMenuItems *page, int id, int kind, const QString &title, int left = 10)
{
    auto *row = new QVantelMenuItem(id, kind, page);
    if (id >= 0)
        row->setObjectName(QStringLiteral("item%1").arg(id));
    row->grid()->setContentsMargins(left, 0, 10, 0);
    if (!title.isEmpty())
        row->titleLabel()->setText(title);
    page->addItem(row);
    return row;
}

const std::string *reportedValue(const std::map<std::string, std::string> &values,
                                 const std::string &key)
{
    const auto it = values.find(key);
    return it == values.end() ? nullptr : &it->second;
}

QString aboutText(const std::map<std::string, std::string> &values, const std::string &key)
{
    const std::string *value = reportedValue(values, key);
    return value ? toQString(*value)
                 : translated(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Not Available"));
}

// The remote access service as the unit reports it; the words are compared exactly.
QString remoteAccessText(const std::map<std::string, std::string> &values)
{
    const std::string *enabled = reportedValue(values, kGeneralKeyRemoteAccess);
    if (!enabled)
        return translated(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Not Available"));
    if (*enabled == kOff)
        return translated(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Disabled"));
    const std::string *status = reportedValue(values, kGeneralKeyRemoteAccessStatus);
    if (!status)
        return translated(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Not Available"));
    if (*status == kRemoteConnected)
        return translated(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Connection Established"));
    if (*status == kRemoteProcessing)
        return translated(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Connection in Progress"));
    return translated(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Not Connected or Failure"));
}

// The Mode row's entry for an audio routing code.
int modeValue(int routing)
{
    if (routing == TComDevice::RoutingCoordination
        || routing == TComDevice::RoutingMonoCoordination)
        return 2;
    if (routing == TComDevice::RoutingDoubleStereo || routing == TComDevice::RoutingDouble)
        return 1;
    return 0;
}

QString interfaceOf(const std::string &network)
{
    return QVantelLocalize::interfaceName(TComDevice::networkFromString(network));
}

} // namespace

void QVantelSettingsPage::createStatusMenu()
{
    auto *page = new QVantelMenuItems(kStatusPage, this);
    header()->setRefreshVisible(true);

    TComDevice *device = comDevice();
    // A failed read keeps the networks the model knew.
    (void)device->readNetworks();
    std::set<int> networks;
    for (const auto &entry : device->networks())
        networks.insert(entry.first);

    addStatusRow(page, -1, QVantelMenuItem::Caption, tr("Current State"));
    QVantelMenuItem *mode = addStatusRow(page, kRowMode, QVantelMenuItem::Choice, tr("Mode"), 60);
    mode->addValue(0, tr("Single Codec"));
    mode->addValue(1, tr("Double Codec"));
    mode->addValue(2, tr("Single Codec and Mobile Voice Coordination"));
    mode->setReadOnly(true);
    for (const int id : {kRowCodec1, kRowCodec2})
        addStatusRow(page, id, QVantelMenuItem::ReadOnlyValue, QString(), 60)->setReadOnly(true);
    addStatusRow(page, kRowConnections, QVantelMenuItem::Navigation, tr("Audio Connections"))
        ->setValueText(tr("Status of the audio connections"), QVantelMenuPalette::kGrey);
    addStatusRow(page, kRowAoipController, QVantelMenuItem::Navigation, tr("AoIP Controller"))
        ->setValueText(tr("Status of the AoIP controller"), QVantelMenuPalette::kGrey);

    // One row per interface the unit has, family by family; a missing index leaves no gap.
    const struct
    {
        int family;
        int firstRow;
        int kind;
    } families[] = {
        {TComDevice::EthernetFamily, kFirstEthernetRow, QVantelMenuItem::ReadOnlyValue},
        {TComDevice::MobileFamily, kFirstMobileRow, QVantelMenuItem::Navigation},
        {TComDevice::WifiFamily, kFirstWifiRow, QVantelMenuItem::ReadOnlyValue},
    };
    for (const auto &family : families) {
        for (int index = 0; index < kInterfacesPerFamily; ++index) {
            const int network = family.family + index;
            if (networks.count(network) == 0)
                continue;
            QVantelMenuItem *row = addStatusRow(page,
                                                family.firstRow + index,
                                                family.kind,
                                                QVantelLocalize::interfaceName(network));
            if (family.kind != QVantelMenuItem::Navigation)
                row->setReadOnly(true);
        }
    }

    const std::map<std::string, std::string> about
        = TComGeneralSettings(device->com())
              .read({kGeneralKeySerialNo, kGeneralKeyVersion, kGeneralKeyBuildDate});

    const bool remoteAccess = (device->deviceOptions() & TComDevice::OptionRemoteAccess) != 0;
    addStatusRow(page,
                 kRowRemoteAccess,
                 QVantelMenuItem::ReadOnlyValue,
                 remoteAccess ? tr("Remote Access Service") : tr("Remote Assistance Service"))
        ->setReadOnly(true);

    addStatusRow(page, -1, QVantelMenuItem::Caption, tr("About"));
    const std::string &aoipVersion = device->aoipController()->aoipVersion();
    const struct
    {
        int id;
        QString title;
        QString value;
    } aboutRows[] = {
        {kRowSerialNumber, tr("Serial Number"), aboutText(about, kGeneralKeySerialNo)},
        {kRowFirmwareVersion, tr("Firmware Version"), aboutText(about, kGeneralKeyVersion)},
        {kRowAoipVersion,
         tr("AoIP Version"),
         aoipVersion.empty() ? tr("Not Available") : toQString(aoipVersion)},
        {kRowSoftwareBuild, tr("Software Build"), aboutText(about, kGeneralKeyBuildDate)},
    };
    for (const auto &entry : aboutRows) {
        QVantelMenuItem *row
            = addStatusRow(page, entry.id, QVantelMenuItem::ReadOnlyValue, entry.title, 60);
        row->setValueText(entry.value);
        row->setReadOnly(true);
    }

    refreshStatusMenu(page);
    pushPage(page);
}

void QVantelSettingsPage::refreshStatusMenu(QVantelMenuItems *page)
{
    if (!page)
        return;
    // The device calls below run a nested event loop; the page is looked at again after each.
    QPointer<QVantelMenuItems> guard(page);
    TComDevice *device = comDevice();
    const int codecMode = device->codecMode();
    const int routing = device->audioRouting();
    const bool coordination = routing == TComDevice::RoutingCoordination
                              || routing == TComDevice::RoutingMonoCoordination;

    if (QVantelMenuItem *row = page->findItem(kRowMode))
        row->selectValue(modeValue(routing), true, false);
    const QString defaultInterface = interfaceOf(device->defaultNetwork());
    if (QVantelMenuItem *row = page->findItem(kRowCodec1)) {
        row->titleLabel()->setText(tr("Codec 1 [ %1 ]").arg(defaultInterface));
        row->setValueText(QVantelLocalize::codingSummary(device->coder1()));
    }
    if (QVantelMenuItem *row = page->findItem(kRowCodec2)) {
        if (codecMode == 1) {
            row->titleLabel()->setText(tr("Codec 2 [ %1 ]").arg(defaultInterface));
            row->setValueText(QVantelLocalize::codingSummary(device->coder2()));
        } else if (coordination) {
            row->titleLabel()->setText(
                tr("Codec 2 [ %1 ]").arg(QVantelLocalize::interfaceName(TComDevice::MobileFamily)));
            row->setValueText(QVantelLocalize::codecName(kMobileVoiceAlgorithm));
        } else {
            row->titleLabel()->setText(tr("Codec 2"));
            row->setValueText(tr("Not applicable in single codec mode"));
        }
    }

    if (page->findItem(kRowAoipController)) {
        TComAoIPController *aoip = device->aoipController();
        // A failed read shows the mode the model already held.
        (void)aoip->read({kAoipKeyAudioMode});
        if (!guard)
            return;
        if (QVantelMenuItem *row = guard->findItem(kRowAoipController)) {
            row->setValueText(tr("Default Protocol is %1").arg(audioModeText(aoip->audioMode())),
                              QVantelMenuPalette::kGrey);
        }
    }

    for (int index = 0; index < kInterfacesPerFamily && guard; ++index)
        refreshEthernetStatusRow(guard, kFirstEthernetRow + index);
    for (int index = 0; index < kInterfacesPerFamily && guard; ++index)
        refreshMobileStatus(guard, kFirstMobileRow + index);
    for (int index = 0; index < kInterfacesPerFamily && guard; ++index)
        refreshWifiStatusRow(guard, kFirstWifiRow + index);

    if (!guard || !guard->findItem(kRowRemoteAccess))
        return;
    const std::map<std::string, std::string> remote
        = TComGeneralSettings(device->com())
              .read({kGeneralKeyRemoteAccess, kGeneralKeyRemoteAccessStatus});
    if (!guard)
        return;
    if (QVantelMenuItem *row = guard->findItem(kRowRemoteAccess))
        row->setValueText(remoteAccessText(remote));
}

void QVantelSettingsPage::refreshEthernetStatusRow(QVantelMenuItems *page, int rowId)
{
    if (!page || !page->findItem(rowId))
        return;
    QPointer<QVantelMenuItems> guard(page);
    const int network = TComDevice::EthernetFamily + (rowId - kFirstEthernetRow);
    (void)editEthernet.setNetwork(TComDevice::networkToString(network), 0, false);
    (void)editEthernet.read({kEthernetKeyMode, kEthernetKeyLocalAddr, kEthernetKeyLinkModeNeg});
    QVantelMenuItem *row = guard ? guard->findItem(rowId) : nullptr;
    if (!row)
        return;
    row->setValueText(QStringLiteral("%1 [ %2, %3 ]")
                          .arg(toQString(editEthernet.localAddr()),
                               ethernetModeText(editEthernet.mode()),
                               linkModeText(editEthernet.linkModeNeg())));
}

void QVantelSettingsPage::refreshWifiStatusRow(QVantelMenuItems *page, int rowId)
{
    if (!page || !page->findItem(rowId))
        return;
    QPointer<QVantelMenuItems> guard(page);
    const int network = TComDevice::WifiFamily + (rowId - kFirstWifiRow);
    (void)editWifi.setNetwork(TComDevice::networkToString(network), 0, false);
    (void)editWifi.read({kWifiKeySsid,
                         kWifiKeySignalQualityDbm,
                         kWifiKeyLocalAddr,
                         kWifiKeyDataConnection,
                         kWifiKeyDataConnectionState});
    QVantelMenuItem *row = guard ? guard->findItem(rowId) : nullptr;
    if (!row)
        return;
    const QString ssid = fromDeviceString(editWifi.ssid());
    const QString state = activityStateText(editWifi.dataConnectionState());
    const QString signal = QString::number(editWifi.signalDbm());
    if (ssid.isEmpty())
        row->setValueText(tr("No network configured"));
    else if (!editWifi.dataConnection())
        row->setValueText(QStringLiteral("%1 [ %2 ]").arg(ssid, state));
    else if (editWifi.localAddress().empty())
        row->setValueText(QStringLiteral("%1 [ %2, %3 dBm ]").arg(ssid, state, signal));
    else
        row->setValueText(QStringLiteral("%1 [ %2, %3 dBm ]")
                              .arg(ssid, toQString(editWifi.localAddress()), signal));
}

void QVantelSettingsPage::createConnectionStatusPage() {}

void QVantelSettingsPage::refreshConnectionLink(QVantelMenuItems *page, int link)
{
    Q_UNUSED(page)
    Q_UNUSED(link)
}

void QVantelSettingsPage::showAudioConnection(QVantelMenuItems *page,
                                              TComAudioConnection *connection)
{
    Q_UNUSED(page)
    Q_UNUSED(connection)
}

void QVantelSettingsPage::createCallStatisticsPage(int pageId)
{
    Q_UNUSED(pageId)
}

void QVantelSettingsPage::refreshCallStatisticsPage(QVantelMenuItems *page)
{
    Q_UNUSED(page)
}

void QVantelSettingsPage::createAoipStatusPage() {}

void QVantelSettingsPage::refreshAoipStatusPage(QVantelMenuItems *page)
{
    Q_UNUSED(page)
}

void QVantelSettingsPage::createMobileStatusPage(int pageId)
{
    auto *page = new QVantelMenuItems(pageId, this);
    header()->setRefreshVisible(true);
    const std::pair<int, QString> rows[] = {
        {kRowMobileTechnology, tr("Radio Access Technology")},
        {kRowMobileOperator, tr("Operator")},
        {kRowMobileSignal, tr("Signal Strength")},
        {kRowMobileDataService, tr("Data Service")},
    };
    for (const auto &[id, title] : rows)
        addStatusRow(page, id, QVantelMenuItem::ReadOnlyValue, title)->setReadOnly(true);
    refreshMobileStatus(page, pageId);
    pushPage(page);
}

void QVantelSettingsPage::refreshMobileStatus(QVantelMenuItems *page, int pageId)
{
    if (!page || pageId < kFirstMobileRow || pageId > kLastMobileRow)
        return;
    const bool statusPage = page->id() == kStatusPage;
    if (!statusPage && page->id() != pageId)
        return;
    if (statusPage && !page->findItem(pageId))
        return;
    QPointer<QVantelMenuItems> guard(page);
    const int network = TComDevice::MobileFamily + (pageId - kFirstMobileRow);
    // Pointing the controller at the interface asks the modem for its SIM and registration.
    (void)editMobile.setNetwork(TComDevice::networkToString(network), 0, false);

    if (statusPage) {
        QVantelMenuItem *row = guard ? guard->findItem(pageId) : nullptr;
        if (!row)
            return;
        switch (editMobile.state()) {
        case TComController::StateSimMissing:
            row->setValueText(tr("SIM Missing"), QVantelMenuPalette::kGrey);
            return;
        case TComController::StateSimLocked:
            row->setValueText(tr("SIM Locked"), QVantelMenuPalette::kGrey);
            return;
        case TComController::StatePinRequired:
            row->setValueText(tr("PIN Required"), QVantelMenuPalette::kGrey);
            return;
        default:
            break;
        }
        (void)editMobile.read({kMobileKeyOperatorLong, kMobileKeyTechnology});
        row = guard ? guard->findItem(pageId) : nullptr;
        if (!row)
            return;
        if (editMobile.technology() == -1) {
            row->setValueText(tr("Not Registered on the network"), QVantelMenuPalette::kGrey);
        } else {
            row->setValueText(tr("Current network is %1 [ %2 ]")
                                  .arg(mobileTechnologyText(editMobile.technology()),
                                       toQString(editMobile.operatorLong())),
                              QVantelMenuPalette::kGrey);
        }
        return;
    }

    (void)editMobile.read({kMobileKeyOperatorLong,
                           kMobileKeyTechnology,
                           kMobileKeySignalQualityDbm,
                           kMobileKeyDataConnectionState});
    if (!guard)
        return;
    if (QVantelMenuItem *row = guard->findItem(kRowMobileTechnology))
        row->setValueText(mobileTechnologyText(editMobile.technology()));
    if (QVantelMenuItem *row = guard->findItem(kRowMobileOperator))
        row->setValueText(toQString(editMobile.operatorLong()));
    if (QVantelMenuItem *row = guard->findItem(kRowMobileSignal))
        row->setValueText(QStringLiteral("%1 dBm").arg(editMobile.signalQuality()));
    if (QVantelMenuItem *row = guard->findItem(kRowMobileDataService))
        row->setValueText(connectionStateText(editMobile.dataConnectionState()));
}
