// The Status section: the Status page (6), audio connections (259), call statistics (270, 271),
// the AoIP controller (279) and the mobile interfaces (289-292).

#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"
#include "settings/settingsrows.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "link/valueconversions.h"
#include "model/comaoipcontroller.h"
#include "model/comdevice.h"
#include "model/comgeneralsettings.h"
#include "model/modelkeys.h"
#include "model/textconversions.h"
#include "widgets/qvantellocalize.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenupalette.h"

#include <QColor>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMargins>
#include <QPointer>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace {

// Interfaces per family that the Status page can show.
constexpr int kInterfacesPerFamily = 4;
// The mobile voice algorithm a coordination line uses.
constexpr int kMobileVoiceAlgorithm = 17;

const std::string kOff = "off";
const std::string kRemoteConnected = "connected";
const std::string kRemoteProcessing = "processing";

// The value the unit reported for key; null when it reported none.
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
                 : settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Not Available"));
}

// The remote access service as the unit reports it; the words are compared exactly.
QString remoteAccessText(const std::map<std::string, std::string> &values)
{
    const std::string *enabled = reportedValue(values, kGeneralKeyRemoteAccess);
    if (!enabled)
        return settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Not Available"));
    if (*enabled == kOff)
        return settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Disabled"));
    const std::string *status = reportedValue(values, kGeneralKeyRemoteAccessStatus);
    if (!status)
        return settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Not Available"));
    if (*status == kRemoteConnected)
        return settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Connection Established"));
    if (*status == kRemoteProcessing)
        return settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Connection in Progress"));
    return settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Not Connected or Failure"));
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
    auto *page = new QVantelMenuItems(kPageStatus, this);
    header()->setRefreshVisible(true);

    TComDevice *device = comDevice();
    // A failed read keeps the networks the model knew.
    (void)device->readNetworks();
    std::set<int> networks;
    for (const auto &entry : device->networks())
        networks.insert(entry.first);

    addSettingsRow(page, -1, QVantelMenuItem::Caption, tr("Current State"));
    QVantelMenuItem *mode
        = addSettingsRow(page, kRowStatusMode, QVantelMenuItem::Choice, tr("Mode"), 60);
    mode->addValue(0, tr("Single Codec"));
    mode->addValue(1, tr("Double Codec"));
    mode->addValue(2, tr("Single Codec and Mobile Voice Coordination"));
    mode->setReadOnly(true);
    for (const int id : {kRowStatusCodec1, kRowStatusCodec2})
        addSettingsRow(page, id, QVantelMenuItem::ReadOnlyValue, QString(), 60)->setReadOnly(true);
    addSettingsRow(page, kPageConnections, QVantelMenuItem::Navigation, tr("Audio Connections"))
        ->setValueText(tr("Status of the audio connections"), QVantelMenuPalette::kGrey);
    addSettingsRow(page, kPageAoipStatus, QVantelMenuItem::Navigation, tr("AoIP Controller"))
        ->setValueText(tr("Status of the AoIP controller"), QVantelMenuPalette::kGrey);

    // One row per interface the unit has, family by family; a missing index leaves no gap.
    const struct
    {
        int family;
        int firstRow;
        int kind;
    } families[] = {
        {TComDevice::EthernetFamily, kRowStatusEthernetFirst, QVantelMenuItem::ReadOnlyValue},
        {TComDevice::MobileFamily, kPageMobileStatusFirst, QVantelMenuItem::Navigation},
        {TComDevice::WifiFamily, kRowStatusWifiFirst, QVantelMenuItem::ReadOnlyValue},
    };
    for (const auto &family : families) {
        for (int index = 0; index < kInterfacesPerFamily; ++index) {
            const int network = family.family + index;
            if (networks.count(network) == 0)
                continue;
            QVantelMenuItem *row = addSettingsRow(page,
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
    addSettingsRow(page,
                   kRowStatusRemoteAccess,
                   QVantelMenuItem::ReadOnlyValue,
                   remoteAccess ? tr("Remote Access Service") : tr("Remote Assistance Service"))
        ->setReadOnly(true);

    addSettingsRow(page, -1, QVantelMenuItem::Caption, tr("About"));
    const std::string &aoipVersion = device->aoipController()->aoipVersion();
    const struct
    {
        int id;
        QString title;
        QString value;
    } aboutRows[] = {
        {kRowStatusSerialNumber, tr("Serial Number"), aboutText(about, kGeneralKeySerialNo)},
        {kRowStatusFirmwareVersion, tr("Firmware Version"), aboutText(about, kGeneralKeyVersion)},
        {kRowStatusAoipVersion,
         tr("AoIP Version"),
         aoipVersion.empty() ? tr("Not Available") : toQString(aoipVersion)},
        {kRowStatusSoftwareBuild, tr("Software Build"), aboutText(about, kGeneralKeyBuildDate)},
    };
    for (const auto &entry : aboutRows) {
        QVantelMenuItem *row
            = addSettingsRow(page, entry.id, QVantelMenuItem::ReadOnlyValue, entry.title, 60);
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

    if (QVantelMenuItem *row = page->findItem(kRowStatusMode))
        row->selectValue(modeValue(routing), true, false);
    const QString defaultInterface = interfaceOf(device->defaultNetwork());
    if (QVantelMenuItem *row = page->findItem(kRowStatusCodec1)) {
        row->titleLabel()->setText(tr("Codec 1 [ %1 ]").arg(defaultInterface));
        row->setValueText(QVantelLocalize::codingSummary(device->coder1()));
    }
    if (QVantelMenuItem *row = page->findItem(kRowStatusCodec2)) {
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

    if (page->findItem(kPageAoipStatus)) {
        TComAoIPController *aoip = device->aoipController();
        // A failed read shows the mode the model already held.
        (void)aoip->read({kAoipKeyAudioMode});
        if (!guard)
            return;
        if (QVantelMenuItem *row = guard->findItem(kPageAoipStatus)) {
            row->setValueText(tr("Default Protocol is %1").arg(audioModeText(aoip->audioMode())),
                              QVantelMenuPalette::kGrey);
        }
    }

    for (int index = 0; index < kInterfacesPerFamily && guard; ++index)
        refreshEthernetStatusRow(guard, kRowStatusEthernetFirst + index);
    for (int index = 0; index < kInterfacesPerFamily && guard; ++index)
        refreshMobileStatus(guard, kPageMobileStatusFirst + index);
    for (int index = 0; index < kInterfacesPerFamily && guard; ++index)
        refreshWifiStatusRow(guard, kRowStatusWifiFirst + index);

    if (!guard || !guard->findItem(kRowStatusRemoteAccess))
        return;
    const std::map<std::string, std::string> remote
        = TComGeneralSettings(device->com())
              .read({kGeneralKeyRemoteAccess, kGeneralKeyRemoteAccessStatus});
    if (!guard)
        return;
    if (QVantelMenuItem *row = guard->findItem(kRowStatusRemoteAccess))
        row->setValueText(remoteAccessText(remote));
}

void QVantelSettingsPage::refreshEthernetStatusRow(QVantelMenuItems *page, int rowId)
{
    // A configuration report for eth.4 or above would name a mobile or Wi-Fi row of the page.
    if (!page || rowId < kRowStatusEthernetFirst || rowId > kRowStatusEthernetLast
        || !page->findItem(rowId))
        return;
    QPointer<QVantelMenuItems> guard(page);
    const int network = TComDevice::EthernetFamily + (rowId - kRowStatusEthernetFirst);
    (void)editEthernet.setNetwork(TComDevice::networkToString(network), 0, false);
    (void)editEthernet.read({kEthernetKeyMode, kEthernetKeyLocalAddr, kEthernetKeyLinkModeNeg});
    QVantelMenuItem *row = guard ? guard->findItem(rowId) : nullptr;
    if (!row)
        return;
    const QString address = toQString(editEthernet.localAddr());
    const QString states
        = QStringLiteral("[ %1, %2 ]")
              .arg(ethernetModeText(editEthernet.mode()), linkModeText(editEthernet.linkModeNeg()));
    // No address (an interface that could not be read) leaves no blank before the states.
    row->setValueText(address.isEmpty() ? states : address + QLatin1Char(' ') + states);
}

void QVantelSettingsPage::refreshWifiStatusRow(QVantelMenuItems *page, int rowId)
{
    if (!page || rowId < kRowStatusWifiFirst || rowId > kRowStatusWifiLast
        || !page->findItem(rowId))
        return;
    QPointer<QVantelMenuItems> guard(page);
    const int network = TComDevice::WifiFamily + (rowId - kRowStatusWifiFirst);
    (void)editWifi.setNetwork(TComDevice::networkToString(network), 0, false);
    const bool read = editWifi.read({kWifiKeySsid,
                                     kWifiKeySignalQualityDbm,
                                     kWifiKeyLocalAddr,
                                     kWifiKeyDataConnection,
                                     kWifiKeyDataConnectionState});
    QVantelMenuItem *row = guard ? guard->findItem(rowId) : nullptr;
    if (!row)
        return;
    if (!read || !editWifi.isKnown(kWifiKeySsid)) {
        // Not "No network configured": the unit has not said so.
        row->setValueText(tr("Unknown"));
        return;
    }
    const QString ssid = networkNameText(editWifi.ssid());
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

// --- Audio connections (259), call statistics (270, 271), AoIP controller (279) ----------------

namespace {

// The mobile interface 0, which carries link 2 while the coordination line is routed.
constexpr int kMobileInterface0 = 0x300;

const QColor &kGrey = QVantelMenuPalette::kGrey;
const QColor kSyncLostColour(240, 101, 101);
const QColor kReleasingColour(234, 177, 102);

QVantelMenuItem *addLinkRow(QVantelMenuItems *page,
                            int id,
                            int data,
                            int kind,
                            const QString &label,
                            const QMargins &margins)
{
    auto *row = new QVantelMenuItem(id, data, kind, page);
    row->grid()->setContentsMargins(margins);
    row->titleLabel()->setText(label);
    page->addItem(row);
    return row;
}

// Changes a row only when its visibility differs; a missing row is skipped.
void showRow(QVantelMenuItem *row, bool visible)
{
    if (row && row->isHidden() == visible)
        row->setVisible(visible);
}

void hideAndEmpty(QVantelMenuItem *row)
{
    if (!row)
        return;
    showRow(row, false);
    row->setValueText(QString());
}

void putStateText(QVantelMenuItem *row, int status)
{
    if (!row)
        return;
    const QString progress = QVantelSettingsPage::tr("Call in progress (%1)");
    const QString established = QVantelSettingsPage::tr("Call established (%1)");
    switch (status) {
    case TComAudioConnection::StatusAutoRedial:
        row->setValueText(QVantelSettingsPage::tr("Call redial pending..."), Qt::yellow);
        break;
    // Dialled or accepted, the call is under way before the unit reports it proceeding.
    case TComAudioConnection::StatusDialled:
    case TComAudioConnection::StatusAccepted:
    case TComAudioConnection::StatusProceeding:
        row->setValueText(QVantelSettingsPage::tr("Call in progress..."), Qt::yellow);
        break;
    case TComAudioConnection::StatusRinging:
        row->setValueText(QVantelSettingsPage::tr("Incoming call..."), Qt::yellow);
        break;
    case TComAudioConnection::StatusActive:
    case TComAudioConnection::StatusNegotiating:
        row->setValueText(progress.arg(QVantelSettingsPage::tr("negociating")), Qt::yellow);
        break;
    case TComAudioConnection::StatusWaitingForSync:
        row->setValueText(progress.arg(QVantelSettingsPage::tr("waiting for sync")), Qt::yellow);
        break;
    case TComAudioConnection::StatusSync:
        row->setValueText(established.arg(QVantelSettingsPage::tr("synchronized")), Qt::red);
        break;
    case TComAudioConnection::StatusSyncLost:
        row->setValueText(established.arg(QVantelSettingsPage::tr("sync lost")), kSyncLostColour);
        break;
    case TComAudioConnection::StatusDisconnecting:
        row->setValueText(QVantelSettingsPage::tr("Releasing call..."), kReleasingColour);
        break;
    default:
        row->setValueText(QVantelSettingsPage::tr("Call released"), kGrey);
        break;
    }
}

// "87%", or "87% / 80%" with the second stream's quality when that stream reports.
QString qualityText(int first, int second, bool twoStreams)
{
    if (twoStreams && second >= 0)
        return QVantelSettingsPage::tr("%1% / %2%").arg(first).arg(second);
    return QVantelSettingsPage::tr("%1%").arg(first);
}

QString durationText(qint32 seconds)
{
    // A negative duration can only come from a malformed report; it reads as no time at all.
    std::string text;
    formatDuration(quint64(std::max<qint32>(seconds, 0)), text);
    return QString::fromStdString(text);
}

// lost x 100 / denominator. No packets counted, or a denominator that is not positive (a
// malformed report), gives 0 rather than a division by zero or a figure of the wrong sign.
double lossPercent(qint32 total, qint32 lost, qint64 denominator)
{
    if (total < 1 || denominator <= 0)
        return 0.0;
    return double(lost) * 100.0 / double(denominator);
}

QString txPacketsText(const TxQualityReport &report)
{
    return QVantelSettingsPage::tr("Total: %1, Lost: %2 (%3%)")
        .arg(report.packetsTotal)
        .arg(report.packetsLost)
        .arg(lossPercent(report.packetsTotal, report.packetsLost, report.packetsTotal), 0, 'f', 2);
}

QString rxPacketsText(const RxQualityReport &report)
{
    const qint64 received = qint64(report.packetsTotal) + report.packetsLost;
    return QVantelSettingsPage::tr(
               "Total: %1, Lost: %2 (%3%)\nDiscarded: %4, Duplicated: %5, Reordered: %6")
        .arg(report.packetsTotal)
        .arg(report.packetsLost)
        .arg(lossPercent(report.packetsTotal, report.packetsLost, received), 0, 'f', 2)
        .arg(report.packetsDiscarded)
        .arg(report.packetsDuplicated)
        .arg(report.packetsReordered);
}

QString jitterText(qint32 average, qint32 maximum)
{
    return QVantelSettingsPage::tr("Average: %1 ms, Maximum: %2 ms").arg(average).arg(maximum);
}

// The first stream's text, and the second stream's on a line of its own when it counts.
QString withSecondStream(const QString &first, bool second, const QString &secondText)
{
    return second ? first + QLatin1Char('\n') + secondText : first;
}

void putValue(QVantelMenuItems *page, int id, const QString &text)
{
    if (QVantelMenuItem *row = page->findItem(id))
        row->setValueText(text);
}

} // namespace

void QVantelSettingsPage::createConnectionStatusPage()
{
    auto *page = new QVantelMenuItems(kPageConnections, this);
    header()->setRefreshVisible(true);
    const QMargins subRow(60, 0, 10, 0);
    const QMargins detailRow(120, 0, 10, 0);
    for (const int link : {1, 2}) {
        const int data = link == 1 ? kConnectionsLink1 : kConnectionsLink2;
        addLinkRow(page,
                   -1,
                   data,
                   QVantelMenuItem::Caption,
                   tr("Connection %1").arg(link),
                   QMargins(10, link == 1 ? 0 : 10, 10, 0));
        const struct
        {
            int id;
            int kind;
            const char *label;
            QMargins margins;
        } rows[] = {
            {kRowCallState, QVantelMenuItem::ReadOnlyValue, QT_TR_NOOP("State"), subRow},
            {kRowCallNetwork, QVantelMenuItem::ReadOnlyValue, QT_TR_NOOP("Network"), subRow},
            {kRowRemoteAddress,
             QVantelMenuItem::ReadOnlyValue,
             QT_TR_NOOP("Remote Address"),
             subRow},
            {kRowCallQuality, QVantelMenuItem::Caption, QT_TR_NOOP("Quality"), subRow},
            {kRowTransmission,
             QVantelMenuItem::ReadOnlyValue,
             QT_TR_NOOP("Transmission"),
             detailRow},
            {kRowReception, QVantelMenuItem::ReadOnlyValue, QT_TR_NOOP("Reception"), detailRow},
            {kRowDetailedStatistics,
             QVantelMenuItem::Navigation,
             QT_TR_NOOP("Detailed Statistics"),
             detailRow},
            {kRowLatestStatistics,
             QVantelMenuItem::Navigation,
             QT_TR_NOOP("Latest AoIP Statistics"),
             subRow},
        };
        for (const auto &entry : rows) {
            QVantelMenuItem *row
                = addLinkRow(page, entry.id, data, entry.kind, tr(entry.label), entry.margins);
            if (entry.kind == QVantelMenuItem::ReadOnlyValue)
                row->setReadOnly(true);
            if (entry.id >= kRowRemoteAddress && entry.id <= kRowDetailedStatistics)
                row->setVisible(false);
        }
        page->findItem(kRowDetailedStatistics, data)
            ->setValueText(tr("Show detailed statistics"), kGrey);
        page->findItem(kRowLatestStatistics, data)
            ->setValueText(tr("Show detailed statistics of latest AoIP call"), kGrey);
    }
    refreshConnectionLink(page, 1);
    refreshConnectionLink(page, 2);
    pushPage(page);
}

void QVantelSettingsPage::refreshConnectionLink(QVantelMenuItems *page, int link)
{
    if (!page)
        return;
    TComDevice *device = comDevice();
    if (TComAudioConnection *connection = device->audioConnection(link)) {
        showAudioConnection(page, connection);
        return;
    }
    const int data = link == 1 ? kConnectionsLink1 : kConnectionsLink2;
    if (QVantelMenuItem *row = page->findItem(kRowCallState, data))
        row->setValueText(tr("Idle"), kGrey);
    if (QVantelMenuItem *row = page->findItem(kRowCallNetwork, data)) {
        const int network = link == 2 && device->hasCoordinationLine()
                                ? kMobileInterface0
                                : TComDevice::networkFromString(device->defaultNetwork());
        row->setValueText(QVantelLocalize::interfaceName(network));
    }
    for (const int id : {kRowRemoteAddress, kRowTransmission, kRowReception})
        hideAndEmpty(page->findItem(id, data));
    for (const int id : {kRowCallQuality, kRowDetailedStatistics})
        showRow(page->findItem(id, data), false);
    showRow(page->findItem(kRowLatestStatistics, data), true);
}

void QVantelSettingsPage::showAudioConnection(QVantelMenuItems *page,
                                              TComAudioConnection *connection)
{
    if (!page || !connection)
        return;
    const int data = connection->type() == TComBaseConnection::AudioLink1 ? kConnectionsLink1
                                                                          : kConnectionsLink2;
    const auto row = [page, data](int id) { return page->findItem(id, data); };
    const int status = connection->status();
    putStateText(row(kRowCallState), status);
    const QString network
        = QVantelLocalize::interfaceName(TComDevice::networkFromString(connection->network()));

    const bool inProgress = status >= TComAudioConnection::StatusDialled
                            && status <= TComAudioConnection::StatusDisconnecting;
    if (!inProgress) {
        if (QVantelMenuItem *networkRow = row(kRowCallNetwork))
            networkRow->setValueText(network);
        for (const int id : {kRowRemoteAddress, kRowTransmission, kRowReception})
            hideAndEmpty(row(id));
        for (const int id : {kRowCallQuality, kRowDetailedStatistics})
            showRow(row(id), false);
        showRow(row(kRowLatestStatistics), true);
        return;
    }

    if (QVantelMenuItem *networkRow = row(kRowCallNetwork)) {
        const TCodecConfig &coding = connection->codecTx();
        networkRow->setValueText(coding.algorithm != -1
                                     ? network + QLatin1Char('\n')
                                           + QVantelLocalize::codingSummary(coding)
                                     : network);
    }
    if (QVantelMenuItem *address = row(kRowRemoteAddress)) {
        showRow(address, true);
        address->setValueText(toQString(connection->remoteAddresses()));
    }
    showRow(row(kRowLatestStatistics), false);

    // Only calls over an IP interface report their quality.
    if (TComDevice::connectionTransport(connection) != TComDevice::TransportIp)
        return;
    const int tx1 = connection->txStatistics(0).netQuality;
    const int tx2 = connection->txStatistics(1).netQuality;
    const int rx1 = connection->rxStatistics(0).netQuality;
    const int rx2 = connection->rxStatistics(1).netQuality;
    if (tx1 < 0 && rx1 < 0)
        return;
    const bool twoStreams = connection->streamAddressing();
    showRow(row(kRowCallQuality), true);
    if (QVantelMenuItem *transmission = row(kRowTransmission); transmission && tx1 >= 0) {
        showRow(transmission, true);
        transmission->setValueText(qualityText(tx1, tx2, twoStreams));
    }
    if (QVantelMenuItem *reception = row(kRowReception); reception && rx1 >= 0) {
        showRow(reception, true);
        reception->setValueText(qualityText(rx1, rx2, twoStreams));
    }
    showRow(row(kRowDetailedStatistics), true);
}

void QVantelSettingsPage::createCallStatisticsPage(int pageId)
{
    if (pageId != kPageCallStatistics1 && pageId != kPageCallStatistics2)
        return;
    auto *page = new QVantelMenuItems(pageId, this);
    header()->setRefreshVisible(false);
    const std::pair<int, const char *> rows[] = {
        {kRowTxDuration, QT_TR_NOOP("Tx Duration")},
        {kRowTxPackets, QT_TR_NOOP("Tx Packets")},
        {kRowTxJitter, QT_TR_NOOP("Tx Jitter")},
        {kRowRxDuration, QT_TR_NOOP("Rx Duration")},
        {kRowRxPackets, QT_TR_NOOP("Rx Packets")},
        {kRowRxJitter, QT_TR_NOOP("Rx Jitter")},
        {kRowRxBuffer, QT_TR_NOOP("Rx Buffer")},
    };
    for (const auto &[id, label] : rows) {
        addLinkRow(page, id, -1, QVantelMenuItem::ReadOnlyValue, tr(label), QMargins(10, 0, 10, 0))
            ->setReadOnly(true);
    }
    refreshCallStatisticsPage(page);
    pushPage(page);
}

void QVantelSettingsPage::refreshCallStatisticsPage(QVantelMenuItems *page)
{
    if (!page || (page->id() != kPageCallStatistics1 && page->id() != kPageCallStatistics2))
        return;
    // Slot (stream - 1) * 2 + (link - 1).
    const int link = page->id() == kPageCallStatistics1 ? 0 : 1;
    const RxQualityReport &rx1 = callStatistics[link];
    const RxQualityReport &rx2 = callStatistics[2 + link];
    const TxQualityReport &tx1 = callStatistics2[link];
    const TxQualityReport &tx2 = callStatistics2[2 + link];
    // A second transmit stream counts once it reports; a second receive stream only with a
    // quality above 0.
    const bool txSecond = tx2.netQuality >= 0;
    const bool rxSecond = rx2.netQuality > 0;

    putValue(page,
             kRowTxDuration,
             withSecondStream(durationText(tx1.duration), txSecond, durationText(tx2.duration)));
    putValue(
        page, kRowTxPackets, withSecondStream(txPacketsText(tx1), txSecond, txPacketsText(tx2)));
    putValue(page,
             kRowTxJitter,
             withSecondStream(jitterText(tx1.jitterAverage, tx1.jitterMax),
                              txSecond,
                              jitterText(tx2.jitterAverage, tx2.jitterMax)));
    putValue(page,
             kRowRxDuration,
             withSecondStream(durationText(rx1.duration), rxSecond, durationText(rx2.duration)));
    putValue(
        page, kRowRxPackets, withSecondStream(rxPacketsText(rx1), rxSecond, rxPacketsText(rx2)));
    putValue(page,
             kRowRxJitter,
             withSecondStream(jitterText(rx1.jitterAverage, rx1.jitterMax),
                              rxSecond,
                              jitterText(rx2.jitterAverage, rx2.jitterMax)));
    QString buffer = tr("Latency: %1 ms").arg(rx1.bufferCurrent);
    if (rx1.bufferMark > 0)
        buffer += tr(", Initial: %1 ms").arg(rx1.bufferMark);
    putValue(page, kRowRxBuffer, buffer);
}

void QVantelSettingsPage::createAoipStatusPage()
{
    auto *page = new QVantelMenuItems(kPageAoipStatus, this);
    header()->setRefreshVisible(true);
    const QMargins margins(10, 0, 10, 0);
    QVantelMenuItem *protocol = addLinkRow(page,
                                           kRowAoipDefaultProtocol,
                                           -1,
                                           QVantelMenuItem::Choice,
                                           tr("Default Protocol"),
                                           margins);
    for (int mode = TComAoIPController::AudioModeSip;
         mode <= TComAoIPController::AudioModeMulticast;
         ++mode)
        protocol->addValue(mode, audioModeText(mode));
    protocol->setReadOnly(true);
    const std::pair<int, const char *> texts[] = {
        {kRowAoipSipUser1, QT_TR_NOOP("SIP User 1")},
        {kRowAoipSipUser2, QT_TR_NOOP("SIP User 2")},
        {kRowAoipPublicAddress, QT_TR_NOOP("Public IP")},
    };
    for (const auto &[id, label] : texts)
        addLinkRow(page, id, -1, QVantelMenuItem::ReadOnlyValue, tr(label), margins)
            ->setReadOnly(true);
    QVantelMenuItem *nat
        = addLinkRow(page, kRowAoipNatType, -1, QVantelMenuItem::Choice, tr("NAT Type"), margins);
    for (int type = TComAoIPController::NatUnknown; type <= TComAoIPController::NatPortRestricted;
         ++type)
        nat->addValue(type, natTypeText(type));
    nat->setReadOnly(true);

    refreshAoipStatusPage(page);
    pushPage(page);
}

void QVantelSettingsPage::refreshAoipStatusPage(QVantelMenuItems *page)
{
    if (!page)
        return;
    QPointer<QVantelMenuItems> guard = page;
    TComAoIPController *aoip = comDevice()->aoipController();
    // A failed read leaves the controller as it was; the rows then show what the model holds.
    (void)aoip->read({kAoipKeyAudioMode,
                      kAoipKeyStunNatType,
                      kAoipKeyPublicAddr,
                      kAoipKeySipUser,
                      kAoipKeySipUser2});
    if (!guard)
        return;
    if (QVantelMenuItem *row = page->findItem(kRowAoipDefaultProtocol))
        row->selectValue(aoip->audioMode(), true, false);
    putValue(page, kRowAoipSipUser1, toQString(aoip->account1().user()));
    putValue(page, kRowAoipSipUser2, toQString(aoip->account2().user()));
    putValue(page, kRowAoipPublicAddress, toQString(aoip->publicAddr()));
    if (QVantelMenuItem *row = page->findItem(kRowAoipNatType))
        row->selectValue(aoip->stunNatType(), true, false);
}

void QVantelSettingsPage::createMobileStatusPage(int pageId)
{
    auto *page = new QVantelMenuItems(pageId, this);
    header()->setRefreshVisible(true);
    const std::pair<int, QString> rows[] = {
        {kRowMobileStatusTechnology, tr("Radio Access Technology")},
        {kRowMobileStatusOperator, tr("Operator")},
        {kRowMobileStatusSignal, tr("Signal Strength")},
        {kRowMobileStatusDataService, tr("Data Service")},
    };
    for (const auto &[id, title] : rows)
        addSettingsRow(page, id, QVantelMenuItem::ReadOnlyValue, title)->setReadOnly(true);
    refreshMobileStatus(page, pageId);
    pushPage(page);
}

void QVantelSettingsPage::refreshMobileStatus(QVantelMenuItems *page, int pageId)
{
    if (!page || pageId < kPageMobileStatusFirst || pageId > kPageMobileStatusLast)
        return;
    const bool statusPage = page->id() == kPageStatus;
    if (!statusPage && page->id() != pageId)
        return;
    if (statusPage && !page->findItem(pageId))
        return;
    QPointer<QVantelMenuItems> guard(page);
    const int network = TComDevice::MobileFamily + (pageId - kPageMobileStatusFirst);
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

    const bool read = editMobile.read({kMobileKeyOperatorLong,
                                       kMobileKeyTechnology,
                                       kMobileKeySignalQualityDbm,
                                       kMobileKeyDataConnectionState});
    if (!guard)
        return;
    if (!read) {
        // The controller's defaults (0 dBm, no data service) are not the modem's.
        for (const int id : {kRowMobileStatusTechnology,
                             kRowMobileStatusOperator,
                             kRowMobileStatusSignal,
                             kRowMobileStatusDataService}) {
            showUnread(guard->findItem(id));
        }
        return;
    }
    if (QVantelMenuItem *row = guard->findItem(kRowMobileStatusTechnology))
        row->setValueText(mobileTechnologyText(editMobile.technology()));
    if (QVantelMenuItem *row = guard->findItem(kRowMobileStatusOperator))
        row->setValueText(toQString(editMobile.operatorLong()));
    if (QVantelMenuItem *row = guard->findItem(kRowMobileStatusSignal))
        row->setValueText(QStringLiteral("%1 dBm").arg(editMobile.signalQuality()));
    if (QVantelMenuItem *row = guard->findItem(kRowMobileStatusDataService))
        row->setValueText(connectionStateText(editMobile.dataConnectionState()));
    // Nor are the defaults of what the unit's answer left out.
    const std::pair<int, const std::string *> rows[] = {
        {kRowMobileStatusTechnology, &kMobileKeyTechnology},
        {kRowMobileStatusOperator, &kMobileKeyOperatorLong},
        {kRowMobileStatusSignal, &kMobileKeySignalQualityDbm},
        {kRowMobileStatusDataService, &kMobileKeyDataConnectionState},
    };
    for (const auto &[id, key] : rows) {
        if (!editMobile.isKnown(*key))
            showUnread(guard->findItem(id));
    }
}

// --- The section's pages ---------------------------------------------------------------------

void QVantelSettingsPage::statusPages(SettingsPageTable &rows)
{
    static const auto refreshLinks = [](Page &menu, Items *page) {
        QPointer<QVantelMenuItems> shown = page;
        menu.refreshConnectionLink(page, 1);
        if (shown)
            menu.refreshConnectionLink(page, 2);
    };

    rows.push_back(
        SettingsPageRow(kPageStatus)
            .entered([](Page &menu) { menu.createStatusMenu(); })
            .onReturn([](Page &menu, Items *, int, int) { menu.header()->setRefreshVisible(true); })
            .refreshes([](Page &menu, Items *page) { menu.refreshStatusMenu(page); })
            .notices([](Page &menu, Items *page, const SettingsNotice &notice) {
                TComEthernetController &ethernet = menu.editEthernet;
                if (notice.kind == SettingsNotice::EthernetConfiguration) {
                    menu.refreshEthernetStatusRow(
                        page,
                        kRowStatusEthernetFirst + TComDevice::networkIndex(ethernet.networkId()));
                    return;
                }
                if (notice.kind != SettingsNotice::Configuration)
                    return;
                const std::string &type = *notice.message->param(kKeyEventType, true);
                if (type == kEventDefaultNetwork || type == kEventDefaultCodec) {
                    menu.refreshStatusMenu(page);
                } else if (type == kEventConfigInfo) {
                    const std::string &network = *notice.message->param(kKeyNetwork, true);
                    if (TComDevice::networkFamily(network) != TComDevice::EthernetFamily)
                        return;
                    if (ethernet.networkId() != network && !ethernet.setNetwork(network, 0, false))
                        return;
                    ethernet.handleEvent(*notice.message);
                }
            }));

    rows.push_back(SettingsPageRow(kPageConnections)
                       .opens([](Page &menu, int) { menu.createConnectionStatusPage(); })
                       .onReturn([](Page &menu, Items *page, int, int) {
                           menu.header()->setRefreshVisible(true);
                           refreshLinks(menu, page);
                       })
                       .refreshes(refreshLinks)
                       .notices([](Page &menu, Items *page, const SettingsNotice &notice) {
                           if (notice.kind == SettingsNotice::CallStatus
                               || notice.kind == SettingsNotice::CallStatistics)
                               menu.showAudioConnection(page, notice.connection);
                       }));

    // The statistics rows of a link's part open that link's statistics page.
    rows.push_back(
        SettingsPageRow(kRowDetailedStatistics, kRowLatestStatistics)
            .forData(kConnectionsLink1)
            .opens([](Page &menu, int) { menu.createCallStatisticsPage(kPageCallStatistics1); }));
    rows.push_back(
        SettingsPageRow(kRowDetailedStatistics, kRowLatestStatistics)
            .forData(kConnectionsLink2)
            .opens([](Page &menu, int) { menu.createCallStatisticsPage(kPageCallStatistics2); }));
    rows.push_back(SettingsPageRow(kPageCallStatistics1, kPageCallStatistics2)
                       .notices([](Page &menu, Items *page, const SettingsNotice &notice) {
                           if (notice.kind == SettingsNotice::CallStatistics)
                               menu.refreshCallStatisticsPage(page);
                       }));

    rows.push_back(
        SettingsPageRow(kPageAoipStatus)
            .opens([](Page &menu, int) { menu.createAoipStatusPage(); })
            .refreshes([](Page &menu, Items *page) { menu.refreshAoipStatusPage(page); }));
    rows.push_back(SettingsPageRow(kPageMobileStatusFirst, kPageMobileStatusLast)
                       .opens([](Page &menu, int id) { menu.createMobileStatusPage(id); })
                       .refreshes([](Page &menu, Items *page) {
                           menu.refreshMobileStatus(page, page->id());
                       }));
}
