// The Network section: the network page (1) with the outgoing and secondary networks and the
// codec mode, and the ISDN, Ethernet, mobile and Wi-Fi interface pages (11-23), which edit the
// settings page's own copies of the interface controllers and write them on Apply. The editable
// rows of an interface page are a field table over its copy (settingsfields.h), like the SIP
// pages'; the Ethernet DHCP switch and the mobile PIN stay outside it, because the switch decides
// which address rows count and the PIN is applied on its own before the others.

#include "settings/qvantelsettingspage.h"
#include "settings/settingsfields.h"
#include "settings/settingsids.h"
#include "settings/settingsrows.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "model/accesslevel.h"
#include "model/comaoipcontroller.h"
#include "model/combaseconnection.h"
#include "model/comdevice.h"
#include "model/modelkeys.h"
#include "model/textconversions.h"
#include "widgets/qvantellocalize.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenupalette.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelmenuselectable.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>

#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kNoRow = -1;
constexpr int kInterfaceCount = 4;
constexpr int kUnknown = -1;

constexpr int kModeManual = TComEthernetController::ModeManual;
constexpr int kPinTimeoutMs = 15000;

// One entry of a choice row: its value, its source text and, where the unit must offer it, the
// capability bit that does.
struct Choice
{
    int value;
    const char *text;
    quint32 capability = 0;
};

// The capability bit of an entry shown only while it is the unit's own value: no unit offers it.
constexpr quint32 kShownWhileHeld = 1;

const std::vector<Choice> kLinkModes
    = {{TComEthernetController::LinkAutonegotiation,
        QT_TRANSLATE_NOOP("QVantelSettingsPage", "Auto Negotiation")},
       {TComEthernetController::Link100BaseTFd, "100BaseT-FD"},
       {TComEthernetController::Link100BaseTHd, "100BaseT-HD"},
       {TComEthernetController::Link10BaseTFd, "10BaseT-FD"},
       {TComEthernetController::Link10BaseTHd, "10BaseT-HD"}};

const std::vector<Choice> kQualities = {
    {5, QT_TRANSLATE_NOOP("QVantelSettingsPage", "Very High")},
    {4, QT_TRANSLATE_NOOP("QVantelSettingsPage", "High")},
    {3, QT_TRANSLATE_NOOP("QVantelSettingsPage", "Middle")},
    {2, QT_TRANSLATE_NOOP("QVantelSettingsPage", "Low")},
    {1, QT_TRANSLATE_NOOP("QVantelSettingsPage", "Bad")},
    {0, QT_TRANSLATE_NOOP("QVantelSettingsPage", "Very Bad")},
};

const std::vector<Choice> kAjbProfiles = {
    {0, QT_TRANSLATE_NOOP("QVantelSettingsPage", "Safe")},
    {1, QT_TRANSLATE_NOOP("QVantelSettingsPage", "Standard")},
    {2, QT_TRANSLATE_NOOP("QVantelSettingsPage", "Punchy")},
};

const std::vector<Choice> kIsdnProtocols = {
    {TComIsdnController::ProtocolUdss1, QT_TRANSLATE_NOOP("QVantelSettingsPage", "Euro ISDN")},
    {TComIsdnController::ProtocolNi2, QT_TRANSLATE_NOOP("QVantelSettingsPage", "NI-1 / NI-2")},
    {TComIsdnController::ProtocolNtt, QT_TRANSLATE_NOOP("QVantelSettingsPage", "NTT")},
    // Shown only while it is the unit's protocol, so that it reads as what it is; it is not
    // offered as a protocol to change to.
    {TComIsdnController::ProtocolNi1,
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "NI-1"),
     kShownWhileHeld},
};

const std::vector<Choice> kRats = {
    {TComMobileController::RatAuto,
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Auto"),
     TComMobileController::CapRatAuto},
    {TComMobileController::RatOnlyGsm, "2G", TComMobileController::CapRatOnlyGsm},
    {TComMobileController::RatOnlyUmts, "3G", TComMobileController::CapRatOnlyUmts},
    {TComMobileController::RatOnlyLte,
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "4G/LTE"),
     TComMobileController::CapRatOnlyLte},
    {TComMobileController::RatOnlyLte5G,
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "4G/LTE and 5G"),
     TComMobileController::CapRatOnlyLte5G},
    {TComMobileController::RatOnly5G, "5G", TComMobileController::CapRatOnly5G},
};

const std::vector<Choice> kMobileModes = {
    {TComMobileController::ServiceGsmVoice, QT_TRANSLATE_NOOP("QVantelSettingsPage", "Cellphone")},
    {TComMobileController::ServiceData, QT_TRANSLATE_NOOP("QVantelSettingsPage", "Audio over IP")},
};

const std::vector<Choice> kMobileAuthentications = {
    {TComMobileController::AuthPap, "PAP"},
    {TComMobileController::AuthChap, "CHAP"},
};

const std::vector<Choice> kWifiSecurities = {
    {TComWifiController::AuthNone, QT_TRANSLATE_NOOP("QVantelSettingsPage", "None")},
    {TComWifiController::AuthAuto, QT_TRANSLATE_NOOP("QVantelSettingsPage", "Auto")},
    {TComWifiController::AuthWep, "WEP"},
    {TComWifiController::AuthWpaPsk, "WPA-PSK"},
    {TComWifiController::AuthWpa2Psk, "WPA2-PSK"},
};

// A text row of page, added to it, showing value; read-only rows only show it.
QVantelMenuItem *addTextRow(QVantelMenuItems *page,
                            int id,
                            int kind,
                            const QString &label,
                            const std::string &value,
                            bool readOnly,
                            int left = 10)
{
    QVantelMenuItem *row = addSettingsRow(page, id, kind, label, left);
    row->setValueText(toQString(value));
    row->setReadOnly(readOnly);
    return row;
}

QVantelMenuItem *addSwitchRow(
    QVantelMenuItems *page, int id, const QString &label, bool on, bool readOnly, int left = 10)
{
    QVantelMenuItem *row = addSettingsRow(page, id, QVantelMenuItem::Switch, label, left);
    row->setChecked(on);
    row->setReadOnly(readOnly);
    return row;
}

// Fills a choice row and selects value (text shown). An unknown value (-1) gives the single entry
// "Unknown" and locks the row. A value the list lacks makes the first entry current, unless
// ownWord is given: then the row shows that word with no current entry, so that no Apply made
// for another row writes a value over the one the unit has.
void fillChoice(QVantelMenuItem *row,
                const std::vector<Choice> &choices,
                int value,
                bool readOnly,
                const QString &ownWord = QString(),
                quint32 offered = ~quint32(0))
{
    if (value == kUnknown) {
        row->addValue(kUnknown, settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Unknown")));
        row->selectValue(kUnknown, true, false);
        row->setReadOnly(true);
        return;
    }
    for (const Choice &choice : choices) {
        if (choice.capability == 0 || (offered & choice.capability) != 0)
            row->addValue(choice.value, settingsText(choice.text));
    }
    if (!ownWord.isEmpty() && row->findValue(value, true) < 0) {
        row->selectValue(value, false, true);
        row->setValueText(ownWord, true);
    } else {
        row->selectValue(value, true, false);
    }
    row->setReadOnly(readOnly);
}

void addSpacer(QVantelMenuItems *page, const QString &label)
{
    addSettingsRow(page, kNoRow, QVantelMenuItem::Caption, label, 10, 20);
}

// The unit's bytes for a network name shown as text: the bytes the name was read or listed
// with when it is one of those, so that it goes back unchanged; typed text as UTF-8.
std::string networkNameBytes(const QString &text, const TComWifiController &copy)
{
    if (text == QVantelSettingsPage::networkNameText(copy.ssid()))
        return copy.ssid();
    for (const std::string &listed : copy.ssidList()) {
        if (text == QVantelSettingsPage::networkNameText(listed))
            return listed;
    }
    const QByteArray typed = text.toUtf8();
    return std::string(typed.constData(), std::size_t(typed.size()));
}

// The network an interface page edits: page 11 is "isdn.0", pages 12-15 are "eth.0" to "eth.3",
// 16-19 "mobile.0" to "mobile.3" and 20-23 "wifi.0" to "wifi.3".
std::string interfaceNetwork(int pageId)
{
    if (pageId >= kPageWifiFirst)
        return TComDevice::networkToString(TComDevice::WifiFamily + pageId - kPageWifiFirst);
    if (pageId >= kPageMobileFirst)
        return TComDevice::networkToString(TComDevice::MobileFamily + pageId - kPageMobileFirst);
    if (pageId >= kPageEthernetFirst)
        return TComDevice::networkToString(TComDevice::EthernetFamily + pageId
                                           - kPageEthernetFirst);
    return TComDevice::networkToString(TComDevice::IsdnFamily);
}

// Only the primary Ethernet interface's link mode may be changed.
bool isPrimaryEthernet(const std::string &network)
{
    return network == interfaceNetwork(kPageEthernetFirst);
}

// The protocol row: NI-1 is offered only while it is the unit's protocol.
void fillIsdnProtocols(QVantelMenuItem *row, int protocol, bool readOnly)
{
    fillChoice(row,
               kIsdnProtocols,
               protocol,
               readOnly,
               QString(),
               protocol == TComIsdnController::ProtocolNi1 ? ~quint32(0) : ~kShownWhileHeld);
}

bool isSpidProtocol(int protocol)
{
    return protocol == TComIsdnController::ProtocolNi2
           || protocol == TComIsdnController::ProtocolNi1;
}

// Writes what was staged: nothing staged is a success without a message; otherwise "Applying
// changes..." and one write of the copy. A refusal puts the copy back and says so.
bool writeStaged(QVantelMenuWidget *menu, TComController &copy, StagedChanges &staged)
{
    if (staged.isEmpty())
        return true;
    menu->showMessage(settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Applying changes...")),
                      kApplyingMs);
    if (copy.write(staged.keys()))
        return true;
    staged.undo();
    menu->showMessage(
        settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Failed to apply changes!")), 0);
    return false;
}

// --- Field tables of the interface pages: the editable rows over each edit copy, in the order
// their keys are written.

using Ethernet = TComEthernetController;
using Isdn = TComIsdnController;
using Mobile = TComMobileController;
using Wifi = TComWifiController;

// The address rows of an Ethernet page; they count only while DHCP is off.
const SettingsFields<Ethernet> &ethernetAddressFields()
{
    using Field = SettingsField<Ethernet>;
    static const SettingsFields<Ethernet> fields = {
        Field::text(kRowEthernetIpAddress,
                    kEthernetKeyLocalAddr,
                    &Ethernet::localAddr,
                    &Ethernet::setLocalAddr),
        Field::text(
            kRowEthernetSubnet, kEthernetKeySubnet, &Ethernet::subnet, &Ethernet::setSubnet),
        Field::text(
            kRowEthernetGateway, kEthernetKeyGateway, &Ethernet::gateway, &Ethernet::setGateway),
        Field::text(kRowEthernetDns1, kEthernetKeyDns1, &Ethernet::dns1, &Ethernet::setDns1),
        Field::text(kRowEthernetDns2, kEthernetKeyDns2, &Ethernet::dns2, &Ethernet::setDns2),
    };
    return fields;
}

const SettingsFields<Ethernet> &ethernetChoiceFields()
{
    using Field = SettingsField<Ethernet>;
    static const SettingsFields<Ethernet> fields = {
        Field::choice(kRowEthernetLinkMode,
                      kEthernetKeyLinkMode,
                      &Ethernet::linkMode,
                      &Ethernet::setLinkMode),
        Field::choice(kRowEthernetQuality,
                      kNetworkKeyNetworkQuality,
                      &Ethernet::networkQuality,
                      &Ethernet::setNetworkQuality),
        Field::choice(kRowEthernetAjb,
                      kNetworkKeyAjbProfile,
                      &Ethernet::ajbProfile,
                      &Ethernet::setAjbProfile),
    };
    return fields;
}

const SettingsFields<Isdn> &isdnFields()
{
    using Field = SettingsField<Isdn>;
    static const SettingsFields<Isdn> fields = {
        Field::flag(kRowIsdn5as, kIsdnKey5as, &Isdn::fiveAs, &Isdn::set5as),
        Field::choice(kRowIsdnProtocol, kIsdnKeyProtocol, &Isdn::protocol, &Isdn::setProtocol),
        Field::text(
            kRowIsdnLocalNumber1, kIsdnKeyAddrSb0Ch0, &Isdn::localNumber1, &Isdn::setLocalNumber1),
        Field::text(
            kRowIsdnLocalNumber2, kIsdnKeyAddrSb0Ch1, &Isdn::localNumber2, &Isdn::setLocalNumber2),
        Field::text(
            kRowIsdnSubAddress1, kIsdnKeySubaddrSb0Ch0, &Isdn::subAddress1, &Isdn::setSubAddress1),
        Field::text(
            kRowIsdnSubAddress2, kIsdnKeySubaddrSb0Ch1, &Isdn::subAddress2, &Isdn::setSubAddress2),
        Field::text(kRowIsdnSpid, kIsdnKeySpid, &Isdn::spid, &Isdn::setSpid),
    };
    return fields;
}

// The operator row shows the unit's word "auto" as its "Auto" entry.
bool operatorDiffers(const Mobile &copy, const QVantelMenuItem *row, FieldValue &value)
{
    value.text = row->valueText() == settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Auto"))
                     ? std::string("auto")
                     : toStdString(row->valueText());
    return value.text != copy.plmn();
}

// The PIN row is no field: it is applied on its own before the others.
const SettingsFields<Mobile> &mobileFields()
{
    using Field = SettingsField<Mobile>;
    static const SettingsFields<Mobile> fields = {
        Field::flag(kRowMobilePinSave,
                    kMobileKeyPinPersistent,
                    &Mobile::pinPersistent,
                    &Mobile::setPinPersistent),
        Field::choice(kRowMobileRat,
                      kMobileKeyRat,
                      &Mobile::preferredTechnology,
                      &Mobile::setPreferredTechnology),
        Field::text(kRowMobileOperator, kMobileKeyPlmn, &Mobile::plmn, &Mobile::setPlmn)
            .comparedBy(operatorDiffers),
        Field::choice(
            kRowMobileMode, kMobileKeyMode, &Mobile::serviceMode, &Mobile::setServiceMode),
        Field::flag(kRowMobileDataService,
                    kMobileKeyDataConnection,
                    &Mobile::dataConnection,
                    &Mobile::setDataConnection),
        Field::choice(kRowMobileQuality,
                      kNetworkKeyNetworkQuality,
                      &Mobile::networkQuality,
                      &Mobile::setNetworkQuality),
        Field::choice(
            kRowMobileAjb, kNetworkKeyAjbProfile, &Mobile::ajbProfile, &Mobile::setAjbProfile),
        Field::text(kRowMobileApn, kMobileKeyApn, &Mobile::apn, &Mobile::setApn),
        Field::choice(kRowMobileAuthentication,
                      kMobileKeyAuthentication,
                      &Mobile::authentication,
                      &Mobile::setAuthentication),
        Field::text(
            kRowMobileUsername, kMobileKeyUsername, &Mobile::username, &Mobile::setUsername),
        Field::text(
            kRowMobilePassword, kMobileKeyPassword, &Mobile::password, &Mobile::setPassword),
    };
    return fields;
}

// The Name (SSID) row compared as the unit's bytes.
bool ssidDiffers(const Wifi &copy, const QVantelMenuItem *row, FieldValue &value)
{
    value.text = networkNameBytes(row->valueText(), copy);
    return value.text != copy.ssid();
}

// A security other than automatic is written as the custom network's security too.
void stageSecurity(Wifi &copy,
                   const FieldValue &value,
                   const std::string &key,
                   StagedChanges &staged)
{
    staged.stage(copy, &Wifi::setAuthentication, value.number, key, copy.authentication());
    if (value.number != Wifi::AuthAuto)
        staged.stage(copy,
                     &Wifi::setCustomAuthentication,
                     value.number,
                     kWifiKeyAuthenticationCustom,
                     copy.customAuthentication());
}

const SettingsFields<Wifi> &wifiFields()
{
    using Field = SettingsField<Wifi>;
    static const SettingsFields<Wifi> fields = {
        Field::flag(kRowWifiActive,
                    kWifiKeyDataConnection,
                    &Wifi::dataConnection,
                    &Wifi::setDataConnection),
        Field::text(kRowWifiSsid, kWifiKeySsid, &Wifi::ssid, &Wifi::setSsid)
            .comparedBy(ssidDiffers),
        Field::choice(kRowWifiSecurity,
                      kWifiKeyAuthentication,
                      &Wifi::authentication,
                      &Wifi::setAuthentication)
            .stagedBy(stageSecurity),
        Field::text(
            kRowWifiPassphrase, kWifiKeyPassphrase, &Wifi::passphrase, &Wifi::setPassphrase),
        Field::choice(kRowWifiQuality,
                      kNetworkKeyNetworkQuality,
                      &Wifi::networkQuality,
                      &Wifi::setNetworkQuality),
        Field::choice(kRowWifiAjb, kNetworkKeyAjbProfile, &Wifi::ajbProfile, &Wifi::setAjbProfile),
    };
    return fields;
}

} // namespace

// --- Network page ---------------------------------------------------------------------------

void QVantelSettingsPage::createNetworkMenu()
{
    auto *page = new QVantelMenuItems(kPageNetwork, this);
    TComDevice *device = comDevice();
    device->readNetworks();
    std::set<int> networks;
    for (const auto &entry : device->networks())
        networks.insert(entry.first);

    QVantelMenuItem *row = addSettingsRow(
        page, kRowDefaultNetwork, QVantelMenuItem::Choice, tr("Network for Outgoing Calls"));
    for (int id : networks) {
        if (id != TComDevice::AoipFamily)
            row->addValue(id, QVantelLocalize::interfaceName(id));
    }
    refreshNetworkRow(row);

    if (device->deviceOptions() & TComDevice::OptionIpDoubleStreamMulti) {
        row = addSettingsRow(page,
                             kRowSecondaryNetwork,
                             QVantelMenuItem::Choice,
                             tr("Secondary IP Network for Double Streaming"));
        for (int id : networks) {
            if (TComDevice::networkIdTransport(id) == TComDevice::TransportIp)
                row->addValue(id, QVantelLocalize::interfaceName(id));
        }
        refreshNetworkRow(row);
    }

    row = addSettingsRow(page, kRowCodecMode, QVantelMenuItem::Choice, tr("Codec Mode"));
    row->addValue(0, tr("Single Codec"));
    row->addValue(1, tr("Double Codec"));
    if (networks.count(TComDevice::MobileFamily)) {
        if (mobileCapabilities == kUnknown
            && editMobile.setNetwork(interfaceNetwork(kPageMobileFirst),
                                     TComMobileController::CapabilitiesFlag,
                                     false)) {
            mobileCapabilities = int(editMobile.capabilities());
        }
        if (mobileCapabilities != kUnknown
            && (quint32(mobileCapabilities) & TComMobileController::CapGsmVoice)) {
            row->addValue(2, tr("Single Codec and Mobile Voice Coordination"));
        }
    }
    refreshNetworkRow(row);

    addSpacer(page, QString());

    const bool operatorLevel = accessLevel == AccessLevel::Operator;
    const auto addNavigation = [&](int id, const QString &label, const QString &description) {
        QVantelMenuItem *navigation = addSettingsRow(page, id, QVantelMenuItem::Navigation, label);
        navigation->setReadOnly(operatorLevel);
        navigation->setValueText(description, QVantelMenuPalette::kGrey);
        return navigation;
    };
    if (networks.count(TComDevice::AoipFamily))
        addNavigation(kPageSip, tr("AoIP settings"), tr("Configure the AoIP controller"));
    for (int i = 0; i < kInterfaceCount; ++i) {
        if (!networks.count(TComDevice::EthernetFamily + i))
            continue;
        QString description = tr("Configure the external Ethernet interface");
        if (i == 0)
            description = tr("Configure the primary Ethernet interface");
        else if (i == 1)
            description = tr("Configure the auxiliary Ethernet interface");
        addNavigation(kPageEthernetFirst + i, tr("LAN%1 settings").arg(i + 1), description);
    }
    if (networks.count(TComDevice::IsdnFamily))
        addNavigation(kPageIsdn, tr("ISDN settings"), tr("Configure the ISDN controller"));
    const bool internalPair = device->deviceOptions() & TComDevice::OptionHardware3;
    for (int i = 0; i < kInterfaceCount; ++i) {
        if (!networks.count(TComDevice::MobileFamily + i))
            continue;
        QString label;
        if (internalPair)
            label = i < 2 ? tr("Mobile settings (Internal %1)").arg(i + 1)
                          : tr("Mobile settings (External %1)").arg(i - 1);
        else
            label = i == 0 ? tr("Mobile settings (Internal)")
                           : tr("Mobile settings (External %1)").arg(i);
        addSettingsRow(page, kPageMobileFirst + i, QVantelMenuItem::Navigation, label)
            ->setVisible(false);
    }
    for (int i = 0; i < kInterfaceCount; ++i) {
        if (networks.count(TComDevice::WifiFamily + i))
            addNavigation(kPageWifiFirst + i,
                          tr("Wi-Fi settings (External %1)").arg(i + 1),
                          tr("Configure the Wi-Fi controller"));
    }

    updateMobileEntries(page);
    pushPage(page);
}

void QVantelSettingsPage::showSimState(QVantelMenuItem *row, int state)
{
    switch (state) {
    case TComController::StateSimMissing:
        row->setValueText(tr("SIM Missing"), Qt::red);
        break;
    case TComController::StateSimLocked:
        row->setValueText(tr("SIM Locked"), Qt::red);
        break;
    case TComController::StatePinRequired:
        row->setValueText(tr("PIN Required"), Qt::red);
        break;
    default:
        row->setValueText(tr("Configure the Mobile controller"), QVantelMenuPalette::kAccentBlue);
        break;
    }
}

void QVantelSettingsPage::updateMobileEntries(QVantelMenuItems *page)
{
    if (!page)
        return;
    for (int id = kPageMobileFirst; id < kPageMobileFirst + kInterfaceCount; ++id) {
        QVantelMenuItem *row = page->findItem(id);
        if (!row)
            continue;
        if (!editMobile.setNetwork(
                interfaceNetwork(id), TComMobileController::CapabilitiesFlag, false))
            continue;
        showSimState(row, editMobile.state());
        row->setVisible(true);
    }
}

namespace {

// The entry of the Codec Mode row (9) that the unit's audio routing stands for.
int unitCodecMode()
{
    TComDevice *device = comDevice();
    const int routing = device->audioRouting();
    const bool extended = device->isExtendedMode();
    if (routing == TComDevice::RoutingMonoCoordination
        || (extended && routing == TComDevice::RoutingCoordination)) {
        return 2;
    }
    if (routing == TComDevice::RoutingDouble
        || (extended && routing == TComDevice::RoutingDoubleStereo)) {
        return 1;
    }
    return 0;
}

} // namespace

void QVantelSettingsPage::refreshNetworkRow(QVantelMenuItem *row)
{
    if (!row || !row->page() || row->page()->id() != kPageNetwork)
        return;
    TComDevice *device = comDevice();
    switch (row->id()) {
    case kRowDefaultNetwork:
        row->selectValue(TComDevice::networkFromString(device->defaultNetwork()), true, true);
        break;
    case kRowSecondaryNetwork: {
        const bool editable = device->codecMode() != 1 && device->dstreamMode() == 1;
        row->setReadOnly(!editable);
        const int secondary = TComDevice::networkFromString(device->secondaryNetwork());
        if (row->selectValue(secondary, true, true) < 0) {
            if (editable)
                row->setValueText(QVantelLocalize::interfaceName(secondary), Qt::red, true);
            else
                row->setValueText(QVantelLocalize::interfaceName(secondary), true);
        }
        break;
    }
    case kRowCodecMode: {
        const int value = unitCodecMode();
        if (row->findValue(value, true) >= 0)
            row->selectValue(value, true, false);
        break;
    }
    default:
        break;
    }
}

// --- Ethernet pages ---------------------------------------------------------------------------

void QVantelSettingsPage::createEthernetPage(int pageId)
{
    auto *page = new QVantelMenuItems(pageId, this);
    const std::string network = interfaceNetwork(pageId);
    editEthernet.setNetwork(network, TComNetworkController::ReadAllFlag, false);
    const bool pageLock = editEthernet.state() == TComController::StateUnknown;
    const bool addressLock = pageLock || editEthernet.mode() != kModeManual;

    QVantelMenuItem *dhcp = addSwitchRow(
        page, kRowEthernetDhcp, tr("DHCP"), editEthernet.mode() != kModeManual, pageLock);
    // Nothing was read: the controller's default mode is not the unit's.
    if (pageLock)
        showUnread(dhcp);
    using Entry = QVantelMenuItem;
    addTextRow(page,
               kRowEthernetIpAddress,
               Entry::NumericEntry,
               tr("IP Address"),
               editEthernet.localAddr(),
               addressLock);
    addTextRow(page,
               kRowEthernetSubnet,
               Entry::NumericEntry,
               tr("Subnet Mask"),
               editEthernet.subnet(),
               addressLock);
    addTextRow(page,
               kRowEthernetGateway,
               Entry::NumericEntry,
               tr("Default Gateway"),
               editEthernet.gateway(),
               addressLock);
    addTextRow(page,
               kRowEthernetDns1,
               Entry::NumericEntry,
               tr("Preferred DNS"),
               editEthernet.dns1(),
               addressLock);
    addTextRow(page,
               kRowEthernetDns2,
               Entry::NumericEntry,
               tr("Auxiliary DNS"),
               editEthernet.dns2(),
               addressLock);

    fillChoice(addSettingsRow(page, kRowEthernetLinkMode, Entry::Choice, tr("Link Mode")),
               kLinkModes,
               editEthernet.linkMode(),
               pageLock || !isPrimaryEthernet(network),
               toQString(TComEthernetController::linkModeText(editEthernet.linkMode())));
    if (comDevice()->aoipController()->jitterab())
        fillChoice(addSettingsRow(page, kRowEthernetAjb, Entry::Choice, tr("AJB Policy")),
                   kAjbProfiles,
                   editEthernet.ajbProfile(),
                   pageLock);
    else
        fillChoice(addSettingsRow(page, kRowEthernetQuality, Entry::Choice, tr("Network Quality")),
                   kQualities,
                   editEthernet.networkQuality(),
                   pageLock);
    addTextRow(page,
               kRowEthernetMacAddress,
               Entry::NumericEntry,
               tr("MAC Address"),
               editEthernet.hwAddr(),
               true);

    pushPage(page);
}

void QVantelSettingsPage::refreshEthernetRows(QVantelMenuItems *page)
{
    if (!page)
        return;
    const bool unknown = editEthernet.state() == TComController::StateUnknown;
    const bool manual = editEthernet.mode() == kModeManual;
    if (QVantelMenuItem *row = page->findItem(kRowEthernetDhcp)) {
        if (unknown) {
            showUnread(row);
        } else {
            showSwitchRead(row);
            row->setChecked(!manual);
            row->setReadOnly(false);
        }
    }
    for (const SettingsField<Ethernet> &field : ethernetAddressFields()) {
        if (QVantelMenuItem *row = page->findItem(field.row)) {
            row->setValueText(toQString((editEthernet.*field.getText)()));
            row->setReadOnly(unknown || !manual);
        }
    }
    // Only the primary interface's link mode may be changed, whatever the event says.
    const bool foreignLink = !isPrimaryEthernet(editEthernet.networkId());
    for (const SettingsField<Ethernet> &field : ethernetChoiceFields()) {
        QVantelMenuItem *row = page->findItem(field.row);
        if (!row)
            continue;
        const int value = (editEthernet.*field.getNumber)();
        if (row->findValue(value, true) >= 0)
            row->selectValue(value, true, false);
        row->setReadOnly(unknown || row->values().size() < 2
                         || (field.row == kRowEthernetLinkMode && foreignLink));
    }
}

bool QVantelSettingsPage::hasEthernetChanges(QVantelMenuItems *page)
{
    if (!page)
        return false;
    bool changed = false;
    if (const QVantelMenuItem *dhcp = editableRow(page, kRowEthernetDhcp)) {
        // A PPPoE or BGAN interface shows the switch on: it counts as changed only when the user
        // turned it off, never just because the unit's mode is neither DHCP nor manual.
        changed = dhcp->isChecked() == (editEthernet.mode() == kModeManual);
        if (!dhcp->isChecked())
            changed = changed || fieldsDiffer(page, editEthernet, ethernetAddressFields());
    }
    return changed || fieldsDiffer(page, editEthernet, ethernetChoiceFields());
}

bool QVantelSettingsPage::applyEthernetPage(QVantelMenuItems *page)
{
    if (!page)
        return false;
    TComEthernetController &copy = editEthernet;
    StagedChanges staged;
    int wanted = copy.mode();
    bool modeChanged = false;
    if (const QVantelMenuItem *dhcp = editableRow(page, kRowEthernetDhcp)) {
        wanted = dhcp->isChecked() ? TComEthernetController::ModeDhcp : kModeManual;
        if (dhcp->isChecked() == (copy.mode() == kModeManual)) {
            staged.stage(
                copy, &TComEthernetController::setMode, wanted, kEthernetKeyMode, copy.mode());
            modeChanged = true;
        }
    }
    if (wanted == kModeManual) {
        // Leaving DHCP writes every address shown, changed or not.
        for (const SettingsField<Ethernet> &field : ethernetAddressFields()) {
            const QVantelMenuItem *row = editableRow(page, field.row);
            FieldValue value;
            if (row && (fieldDiffers(copy, field, row, value) || modeChanged))
                stageField(copy, field, value, staged);
        }
    }
    stageChangedFields(page, copy, ethernetChoiceFields(), staged);
    return writeStaged(this, copy, staged);
}

// --- Mobile pages -----------------------------------------------------------------------------

void QVantelSettingsPage::createMobilePage(int pageId)
{
    auto *page = new QVantelMenuItems(pageId, this);
    editMobile.setNetwork(interfaceNetwork(pageId),
                          TComNetworkController::ReadAllFlag
                              | TComMobileController::CapabilitiesFlag,
                          false);
    TComMobileController &copy = editMobile;
    const int state = copy.state();
    const bool pageLock = state == TComController::StateUnknown;
    const bool operatorLock = pageLock || accessLevel == AccessLevel::Operator;
    const bool simUnusable
        = state == TComController::StateSimMissing || state == TComController::StateSimLocked;
    const bool pinRequired = state == TComController::StatePinRequired;
    const bool settings = !simUnusable && !pinRequired;
    using Entry = QVantelMenuItem;

    if (pinRequired)
        addSettingsRow(page, kRowMobilePin, Entry::NumericMaskedEntry, tr("PIN Code"));
    if (!simUnusable)
        addSwitchRow(page, kRowMobilePinSave, tr("PIN Save"), copy.pinPersistent(), false);
    if (settings) {
        const int rat = copy.preferredTechnology();
        // "UMTS first", "GSM first" and "only GSM UMTS" are not offered: shown as the unit's
        // word with no current entry, so that they stay as they are.
        const bool foreignRat = rat >= TComMobileController::RatUmtsFirst
                                && rat <= TComMobileController::RatOnlyGsmUmts;
        fillChoice(addSettingsRow(
                       page, kRowMobileRat, Entry::Choice, tr("Preferred Radio Access Technology")),
                   kRats,
                   rat,
                   pageLock,
                   foreignRat ? toQString(TComMobileController::preferredTechnologyText(rat))
                              : QString(),
                   copy.capabilities());
        QVantelMenuItem *row = addSettingsRow(
            page, kRowMobileOperator, Entry::Action, tr("Preferred Network Operator"));
        row->setValueText(copy.plmn() == "auto" ? tr("Auto") : toQString(copy.plmn()));
        row->setReadOnly(operatorLock);
        fillChoice(addSettingsRow(page, kRowMobileMode, Entry::Choice, tr("Mode")),
                   kMobileModes,
                   copy.serviceMode(),
                   pageLock || copy.serviceMode() != TComMobileController::ServiceGsmVoice);
        addSpacer(page, tr("Audio over IP"));
        addSwitchRow(
            page, kRowMobileDataService, tr("Data Service"), copy.dataConnection(), pageLock, 60);
        if (comDevice()->aoipController()->jitterab())
            fillChoice(addSettingsRow(page, kRowMobileAjb, Entry::Choice, tr("AJB Policy"), 60),
                       kAjbProfiles,
                       copy.ajbProfile(),
                       operatorLock);
        else
            fillChoice(
                addSettingsRow(page, kRowMobileQuality, Entry::Choice, tr("Network Quality"), 60),
                kQualities,
                copy.networkQuality(),
                operatorLock);
        addTextRow(page,
                   kRowMobileApn,
                   Entry::TextEntry,
                   tr("Access Point Name"),
                   copy.apn(),
                   pageLock,
                   60);
        row = addSettingsRow(
            page, kRowMobileAuthentication, Entry::Choice, tr("Authentication Mode"), 60);
        if (copy.authentication() == TComMobileController::AuthNone) {
            row->addValue(TComMobileController::AuthNone, tr("Not Applicable"));
            row->selectValue(TComMobileController::AuthNone, true, false);
            row->setReadOnly(true);
        } else {
            fillChoice(row, kMobileAuthentications, copy.authentication(), operatorLock);
        }
        addTextRow(page,
                   kRowMobileUsername,
                   Entry::TextEntry,
                   tr("Authentication User Name"),
                   copy.username(),
                   operatorLock,
                   60);
        addTextRow(page,
                   kRowMobilePassword,
                   Entry::TextEntry,
                   tr("Authentication Password"),
                   copy.password(),
                   operatorLock,
                   60);
    }
    addSpacer(page, tr("Information"));
    addTextRow(page,
               kRowMobileManufacturer,
               Entry::TextEntry,
               tr("Manufacturer"),
               copy.manufacturer(),
               true,
               60);
    addTextRow(page, kRowMobileModel, Entry::TextEntry, tr("Model"), copy.model(), true, 60);
    addTextRow(
        page, kRowMobileRevision, Entry::TextEntry, tr("Revision"), copy.revision(), true, 60);
    addTextRow(page, kRowMobileImei, Entry::TextEntry, tr("IMEI"), copy.imei(), true, 60);
    if (settings) {
        addTextRow(page, kRowMobileImsi, Entry::TextEntry, tr("IMSI"), copy.imsi(), true, 60);
        QVantelMenuItem *row = addTextRow(page,
                                          kRowMobileSubscriber,
                                          Entry::TextEntry,
                                          tr("Subscriber Number"),
                                          copy.msisdn(),
                                          true,
                                          60);
        if (copy.msisdn().empty())
            row->setValueText(tr("Not Available"));
    }
    if (pageLock) {
        // Nothing was read: the rows that would show the controller's defaults say so. PIN Save
        // stays as it is: it is never locked, so that a PIN can be saved whatever was read.
        for (const int id :
             {kRowMobileDataService, kRowMobileAuthentication, kRowMobileSubscriber}) {
            showUnread(page->findItem(id));
        }
    }
    pushPage(page);
}

bool QVantelSettingsPage::hasMobileChanges(QVantelMenuItems *page)
{
    if (!page)
        return false;
    const QVantelMenuItem *pin = editableRow(page, kRowMobilePin);
    return (pin && !pin->valueText().isEmpty()) || fieldsDiffer(page, editMobile, mobileFields());
}

bool QVantelSettingsPage::applyMobilePage(QVantelMenuItems *page)
{
    if (!page)
        return false;
    TComMobileController &copy = editMobile;
    // The PIN waits for the SIM; the page may be gone by then.
    const QPointer<QVantelMenuItems> guard = page;
    const int pageId = page->id();
    if (QVantelMenuItem *pinRow = editableRow(page, kRowMobilePin);
        pinRow && !pinRow->valueText().isEmpty()) {
        showMessage(tr("Applying PIN code..."), 0);
        const int result = copy.applyPinCode(toStdString(pinRow->valueText()), kPinTimeoutMs);
        if (result == TComMobileController::PinWrong
            || result == TComMobileController::PinPukRequired) {
            // A PIN the SIM refused must never go out again with a later Apply: the row is
            // emptied and no longer offered for Apply, and the Network page shows what the SIM
            // asks for now.
            if (guard) {
                pinRow->setValueText(QString());
                if (currentPage() == guard)
                    header()->setModified(hasMobileChanges(guard));
            }
            if (QVantelMenuItems *network = findPage(kPageNetwork)) {
                if (QVantelMenuItem *row = network->findItem(pageId))
                    showSimState(row, copy.state());
            }
        }
        if (result == TComMobileController::PinWrong) {
            showMessage(tr("Wrong PIN code!"), 0);
            return false;
        }
        if (result != TComMobileController::PinAccepted) {
            showMessage(tr("Failed to apply PIN code!"), 0);
            return false;
        }
        closeMessage();
        // The SIM took the PIN; the rest of a page left meanwhile goes with it.
        if (!guard)
            return true;
    }

    StagedChanges staged;
    stageChangedFields(page, copy, mobileFields(), staged);
    return writeStaged(this, copy, staged);
}

SettingsApplied QVantelSettingsPage::applyMobilePageAndPin(QVantelMenuItems *page)
{
    QPointer<QVantelMenuItems> shown = page;
    const int pageId = page->id();
    // Only a PIN typed now and taken by the SIM opens it; an empty PIN row sends nothing and
    // proves nothing.
    const QVantelMenuItem *pinRow = page->findItem(kRowMobilePin);
    const bool pinEntered = pinRow && !pinRow->isReadOnly() && !pinRow->valueText().isEmpty();
    if (!applyMobilePage(page))
        return SettingsApplied::Refused;
    if (!pinEntered)
        return SettingsApplied::Done;
    if (QVantelMenuItems *network = findPage(kPageNetwork)) {
        if (QVantelMenuItem *row = network->findItem(pageId)) {
            // The SIM took the PIN: it is open now, whatever the last read said.
            showSimState(row, TComController::StateReady);
            row->setReadOnly(comDevice()->hasAudioConnection());
        }
    }
    // The PIN page is left at once, unless it was left already while the SIM was asked; it is
    // deleted later and not touched again.
    if (shown && currentPage() == shown)
        backClicked();
    return SettingsApplied::Left;
}

void QVantelSettingsPage::scanMobileOperators(QVantelMenuItem *row)
{
    // The scan waits for the modem; the row is gone when its page went meanwhile.
    const QPointer<QVantelMenuItem> scanned = row;
    showMessage(tr("Scanning available networks..."), 0);
    std::vector<std::string> operators;
    if (!editMobile.scanOperators(operators)) {
        showMessage(tr("Failed to scan networks!"), 0);
        return;
    }
    closeMessage();
    if (!scanned)
        return;
    row->clearValues();
    row->addValue(0, tr("Auto"));
    int value = 1;
    for (const std::string &name : operators)
        row->addValue(value++, toQString(name));
    // The operator the row names is marked, as a choice row marks its current entry.
    row->selectText(row->valueText(), false, true);
    showSelection(tr("Select Network"), row, true);
}

// --- Wi-Fi pages ------------------------------------------------------------------------------

void QVantelSettingsPage::createWifiPage(int pageId)
{
    auto *page = new QVantelMenuItems(pageId, this);
    editWifi.setNetwork(interfaceNetwork(pageId), TComNetworkController::ReadAllFlag, false);
    TComWifiController &copy = editWifi;
    const bool pageLock = copy.state() == TComController::StateUnknown;
    const bool connectionLock = pageLock || copy.dataConnection();
    using Entry = QVantelMenuItem;

    QVantelMenuItem *active
        = addSwitchRow(page, kRowWifiActive, tr("Active"), copy.dataConnection(), pageLock);
    QVantelMenuItem *row = addSettingsRow(page, kRowWifiList, Entry::Action, tr("Network List"));
    const bool listed = copy.refreshSsidList();
    int value = 0;
    for (const std::string &ssid : copy.ssidList())
        row->addValue(value++, networkNameText(ssid));
    if (copy.ssidList().empty() && !listed) {
        // The unit was not asked successfully: it has not said that it sees no network.
        showUnread(row);
    } else if (copy.ssidList().empty()) {
        row->setValueText(tr("No Wi-Fi network Found"));
        row->setReadOnly(true);
    } else {
        row->setValueText(tr("Select a Wi-Fi network from list"));
        row->setReadOnly(connectionLock);
    }
    QVantelMenuItem *name = addSettingsRow(page, kRowWifiSsid, Entry::TextEntry, tr("Name (SSID)"));
    name->setValueText(networkNameText(copy.ssid()));
    name->setReadOnly(connectionLock);
    fillChoice(addSettingsRow(page, kRowWifiSecurity, Entry::Choice, tr("Security")),
               kWifiSecurities,
               copy.authentication(),
               connectionLock);
    addTextRow(page,
               kRowWifiPassphrase,
               Entry::MaskedEntry,
               tr("Passphrase"),
               copy.passphrase(),
               connectionLock);
    if (comDevice()->aoipController()->jitterab())
        fillChoice(addSettingsRow(page, kRowWifiAjb, Entry::Choice, tr("AJB Policy")),
                   kAjbProfiles,
                   copy.ajbProfile(),
                   pageLock);
    else
        fillChoice(addSettingsRow(page, kRowWifiQuality, Entry::Choice, tr("Network Quality")),
                   kQualities,
                   copy.networkQuality(),
                   pageLock);
    if (pageLock) {
        // Nothing was read: the controller's defaults are not the unit's.
        showUnread(active);
        showUnread(page->findItem(kRowWifiSecurity));
    }
    pushPage(page);
}

bool QVantelSettingsPage::hasWifiChanges(QVantelMenuItems *page)
{
    return page && fieldsDiffer(page, editWifi, wifiFields());
}

bool QVantelSettingsPage::applyWifiPage(QVantelMenuItems *page)
{
    if (!page)
        return false;
    TComWifiController &copy = editWifi;
    const QVantelMenuItem *active = editableRow(page, kRowWifiActive);
    const bool activityChanged = active && active->isChecked() != copy.dataConnection();
    StagedChanges staged;
    stageChangedFields(page, copy, wifiFields(), staged);
    const QPointer<QVantelMenuItems> guard = page;
    if (!writeStaged(this, copy, staged))
        return false;
    if (activityChanged && guard) {
        const bool locked = copy.dataConnection();
        for (int id : {kRowWifiList, kRowWifiSsid, kRowWifiSecurity, kRowWifiPassphrase}) {
            QVantelMenuItem *row = page->findItem(id);
            if (row)
                row->setReadOnly(locked || (id == kRowWifiList && row->values().isEmpty()));
        }
    }
    return true;
}

void QVantelSettingsPage::wifiNetworkChosen(QVantelMenuItem *row, QVantelMenuSelect *select)
{
    QVantelMenuItems *page = row->page();
    const QVantelMenuSelectable *chosen = select ? select->currentSelectable() : nullptr;
    if (!page || !chosen)
        return;
    // Compared and taken as the bytes the unit listed, so that a name in any script is neither
    // mistaken for a change nor written back altered.
    const std::string ssid = networkNameBytes(chosen->label()->text(), editWifi);
    if (ssid == editWifi.ssid())
        return;
    QVantelMenuItem *name = page->findItem(kRowWifiSsid);
    // The marked network taken again keeps the security and passphrase given for it.
    if (name && name->valueText() == networkNameText(ssid))
        return;
    if (name)
        name->setValueText(networkNameText(ssid));
    if (QVantelMenuItem *security = page->findItem(kRowWifiSecurity))
        security->selectValue(TComWifiController::AuthAuto, true, false);
    if (QVantelMenuItem *passphrase = page->findItem(kRowWifiPassphrase))
        passphrase->setValueText(QString());
    header()->setModified(hasWifiChanges(page));
}

void QVantelSettingsPage::mobileOperatorChosen(QVantelMenuItem *row, QVantelMenuSelect *select)
{
    QVantelMenuItems *page = row->page();
    const QVantelMenuSelectable *chosen = select ? select->currentSelectable() : nullptr;
    if (!page || !chosen)
        return;
    row->setValueText(chosen->label()->text());
    header()->setModified(hasMobileChanges(page));
}

// --- ISDN page --------------------------------------------------------------------------------

void QVantelSettingsPage::createIsdnPage()
{
    auto *page = new QVantelMenuItems(kPageIsdn, this);
    editIsdn.setNetwork(interfaceNetwork(kPageIsdn), TComNetworkController::ReadAllFlag, false);
    const TComIsdnController &copy = editIsdn;
    const bool pageLock = copy.state() == TComController::StateUnknown;
    const bool spid = isSpidProtocol(copy.protocol());
    const bool numberLock = pageLock || spid;
    using Entry = QVantelMenuItem;

    QVantelMenuItem *fiveAs
        = addSwitchRow(page, kRowIsdn5as, QStringLiteral("5AS"), copy.fiveAs(), pageLock);
    QVantelMenuItem *protocol
        = addSettingsRow(page, kRowIsdnProtocol, Entry::Choice, tr("Protocol"));
    fillIsdnProtocols(protocol, copy.protocol(), pageLock);
    if (pageLock) {
        // Nothing was read: the controller's defaults are not the unit's.
        showUnread(fiveAs);
        showUnread(protocol);
    }
    addTextRow(page,
               kRowIsdnLocalNumber1,
               Entry::NumericEntry,
               tr("Local Number 1"),
               copy.localNumber1(),
               numberLock);
    addTextRow(page,
               kRowIsdnLocalNumber2,
               Entry::NumericEntry,
               tr("Local Number 2"),
               copy.localNumber2(),
               numberLock);
    addTextRow(page,
               kRowIsdnSubAddress1,
               Entry::NumericEntry,
               tr("Sub-Address 1"),
               copy.subAddress1(),
               numberLock);
    addTextRow(page,
               kRowIsdnSubAddress2,
               Entry::NumericEntry,
               tr("Sub-Address 2"),
               copy.subAddress2(),
               numberLock);
    // With the page locked every row is, SPID included.
    addTextRow(page,
               kRowIsdnSpid,
               Entry::NumericEntry,
               QStringLiteral("SPID"),
               copy.spid(),
               pageLock || !spid);
    pushPage(page);
}

bool QVantelSettingsPage::hasIsdnChanges(QVantelMenuItems *page)
{
    return page && fieldsDiffer(page, editIsdn, isdnFields());
}

bool QVantelSettingsPage::applyIsdnPage(QVantelMenuItems *page)
{
    if (!page)
        return false;
    StagedChanges staged;
    stageChangedFields(page, editIsdn, isdnFields(), staged);
    QPointer<QVantelMenuItems> guard = page;
    if (!writeStaged(this, editIsdn, staged))
        return false;
    // NI-1 stays offered only while the unit holds it.
    if (QVantelMenuItem *protocol = guard ? guard->findItem(kRowIsdnProtocol) : nullptr) {
        protocol->clearValues();
        fillIsdnProtocols(protocol, editIsdn.protocol(), protocol->isReadOnly());
    }
    return true;
}

// --- The section's share of the menu hooks ----------------------------------------------------

void QVantelSettingsPage::commitNetworkItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    Q_UNUSED(page)
    TComDevice *device = comDevice();
    const int id = item->id();
    // The writes wait for the unit; the row is gone when its page went meanwhile.
    const QPointer<QVantelMenuItem> row = item;
    if (id == kRowSecondaryNetwork) {
        // Re-applying the lock resets the value's colour after a red "not listed" text.
        item->setReadOnly(item->isReadOnly());
    }
    if (id < kRowDefaultNetwork || id > kRowCodecMode || !item->currentValue())
        return;
    const int value = item->currentValue()->value;
    // A choice of what the unit already has writes nothing.
    const std::string network = TComDevice::networkToString(value);
    if ((id == kRowDefaultNetwork && network == device->defaultNetwork())
        || (id == kRowSecondaryNetwork && network == device->secondaryNetwork())
        || (id == kRowCodecMode && value == unitCodecMode())) {
        return;
    }
    if (device->hasAudioConnection()) {
        refreshNetworkRow(item);
        showMessage(tr("Cannot apply changes\n(a connection is established)"), 0);
        return;
    }
    if (id == kRowDefaultNetwork || id == kRowSecondaryNetwork) {
        showMessage(tr("Applying changes..."), kApplyingMs);
        const bool done = id == kRowDefaultNetwork ? device->setDefaultNetwork(network, true)
                                                   : device->setSecondaryNetwork(network, true);
        if (!done) {
            refreshNetworkRow(row);
            showMessage(tr("Failed to apply changes!"), 0);
        }
        return;
    }

    showMessage(tr("Applying changes..."), 0);
    bool done = true;
    if (value == 0 || value == 1) {
        done = device->setCoordinationMode(0, true) && device->setCodecMode(value, true);
    } else if (value == 2) {
        TCodecConfig coder = device->coder1();
        if (applyMonoFallback(coder, 0))
            device->setCodec(1, codecConfigToString(coder), true);
        done = device->setCoordinationMode(1, true) && device->setCodecMode(0, true);
    }
    if (!done)
        showMessage(tr("Failed to apply changes!"), 0);
    // Put back by the unit's own state, extended operation mode included.
    refreshNetworkRow(row);
    if (done)
        closeMessage();
}

void QVantelSettingsPage::commitIsdnItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    if (item->id() != kRowIsdnProtocol || !item->currentValue())
        return;
    const bool spid = isSpidProtocol(item->currentValue()->value);
    for (int id :
         {kRowIsdnLocalNumber1, kRowIsdnLocalNumber2, kRowIsdnSubAddress1, kRowIsdnSubAddress2}) {
        if (QVantelMenuItem *number = page->findItem(id))
            number->setReadOnly(spid);
    }
    if (QVantelMenuItem *spidRow = page->findItem(kRowIsdnSpid))
        spidRow->setReadOnly(!spid);
}

void QVantelSettingsPage::commitEthernetItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    if (item->id() != kRowEthernetDhcp)
        return;
    for (const SettingsField<Ethernet> &field : ethernetAddressFields()) {
        if (QVantelMenuItem *address = page->findItem(field.row))
            address->setReadOnly(item->isChecked());
    }
}

// A configuration event of an Ethernet interface reaches the edit copy once it has been read;
// the copy's new configuration then refreshes the page.
void QVantelSettingsPage::noticeEthernetPage(QVantelMenuItems *page, const SettingsNotice &notice)
{
    if (notice.kind == SettingsNotice::EthernetConfiguration) {
        refreshEthernetRows(page);
    } else if (notice.kind == SettingsNotice::Configuration
               && *notice.message->param(kKeyEventType, true) == kEventConfigInfo
               && TComDevice::networkFamily(*notice.message->param(kKeyNetwork, true))
                      == TComDevice::EthernetFamily
               && editEthernet.state() != TComController::StateUnknown) {
        editEthernet.handleEvent(*notice.message);
    }
}

void QVantelSettingsPage::tapMobileItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    if (item->id() != kRowMobileOperator)
        return;
    const std::string network = interfaceNetwork(page->id());
    TComDevice *device = comDevice();
    if (device->findAudioConnection(network))
        showMessage(tr("Cannot change setting\n(a connection is established)"), 0);
    else if (device->findConnection(TComBaseConnection::DataLink, network))
        showMessage(tr("Cannot change setting\n(the data service is active)"), 0);
    else
        confirmAction(tr("This may take a while\n\nAre you sure to proceed?"), item);
}

void QVantelSettingsPage::tapWifiItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    if (item->id() != kRowWifiList)
        return;
    // The network the page names is marked, as a choice row marks its current entry.
    const QVantelMenuItem *name = page->findItem(kRowWifiSsid);
    item->selectText(name ? name->valueText() : QString(), false, true);
    showSelection(QString(), item, true);
}

// --- The section's pages ---------------------------------------------------------------------

namespace {

// True while a call runs on the interface a page edits, which refuses Apply on that page.
bool callOnInterface(QVantelSettingsPage &, int pageId)
{
    return comDevice()->findAudioConnection(interfaceNetwork(pageId)) != nullptr;
}

} // namespace

void QVantelSettingsPage::refreshNetworkRows(QVantelMenuItems *page,
                                             std::initializer_list<int> rowIds)
{
    QPointer<QVantelMenuItems> shown = page;
    for (const int rowId : rowIds) {
        if (!shown)
            return;
        if (QVantelMenuItem *row = shown->findItem(rowId))
            refreshNetworkRow(row);
    }
}

void QVantelSettingsPage::networkPages(SettingsPageTable &rows)
{
    const auto markChanges = [](Page &menu, Items *page, int, int) { menu.showChanges(page); };

    rows.push_back(SettingsPageRow(kPageNetwork)
                       .entered([](Page &menu) { menu.createNetworkMenu(); })
                       .onReturn([](Page &menu, Items *page, int, int) {
                           menu.refreshNetworkRows(
                               page, {kRowDefaultNetwork, kRowSecondaryNetwork, kRowCodecMode});
                       })
                       .commits([](Page &menu, Items *page, Item *item) {
                           menu.commitNetworkItem(page, item);
                       })
                       .notices([](Page &menu, Items *page, const SettingsNotice &notice) {
                           if (notice.kind != SettingsNotice::Configuration)
                               return;
                           const std::string &type = *notice.message->param(kKeyEventType, true);
                           if (type == kEventDefaultNetwork)
                               menu.refreshNetworkRows(page, {kRowDefaultNetwork});
                           else if (type == kEventSecondaryNetwork || type == kEventCodecChange)
                               menu.refreshNetworkRows(page, {kRowSecondaryNetwork});
                           else if (type == kEventDefaultCodec)
                               menu.refreshNetworkRows(page, {kRowSecondaryNetwork, kRowCodecMode});
                       }));

    rows.push_back(
        SettingsPageRow(kPageIsdn)
            .opens([](Page &menu, int) { menu.createIsdnPage(); })
            .onReturn(markChanges)
            .refusesApply(callOnInterface)
            .changes([](Page &menu, Items *page) { return menu.hasIsdnChanges(page); })
            .applies(
                [](Page &menu, Items *page) { return settingsAppliedIf(menu.applyIsdnPage(page)); })
            .commits([](Page &menu, Items *page, Item *item) { menu.commitIsdnItem(page, item); }));

    rows.push_back(
        SettingsPageRow(kPageEthernetFirst, kPageEthernetLast)
            .opens([](Page &menu, int id) { menu.createEthernetPage(id); })
            .onReturn(markChanges)
            .refusesApply(callOnInterface)
            .changes([](Page &menu, Items *page) { return menu.hasEthernetChanges(page); })
            .applies([](Page &menu, Items *page) {
                return settingsAppliedIf(menu.applyEthernetPage(page));
            })
            .commits(
                [](Page &menu, Items *page, Item *item) { menu.commitEthernetItem(page, item); })
            .notices([](Page &menu, Items *page, const SettingsNotice &notice) {
                menu.noticeEthernetPage(page, notice);
            }));

    rows.push_back(
        SettingsPageRow(kPageMobileFirst, kPageMobileLast)
            .opens([](Page &menu, int id) { menu.createMobilePage(id); })
            .onReturn(markChanges)
            .refusesApply(callOnInterface)
            .changes([](Page &menu, Items *page) { return menu.hasMobileChanges(page); })
            .applies([](Page &menu, Items *page) { return menu.applyMobilePageAndPin(page); })
            .commits([](Page &menu, Items *, Item *item) {
                if (item->id() == kRowMobileOperator)
                    menu.scanMobileOperators(item);
            })
            .taps([](Page &menu, Items *page, Item *item) { menu.tapMobileItem(page, item); })
            .chooses([](Page &menu, Items *, Item *item, QVantelMenuSelect *select) {
                if (item->id() == kRowMobileOperator)
                    menu.mobileOperatorChosen(item, select);
            }));

    rows.push_back(
        SettingsPageRow(kPageWifiFirst, kPageWifiLast)
            .opens([](Page &menu, int id) { menu.createWifiPage(id); })
            .onReturn(markChanges)
            .refusesApply(callOnInterface)
            .changes([](Page &menu, Items *page) { return menu.hasWifiChanges(page); })
            .applies(
                [](Page &menu, Items *page) { return settingsAppliedIf(menu.applyWifiPage(page)); })
            // No row writes at once; the commit hook is there for the change
            // test the core runs after it.
            .commits([](Page &, Items *, Item *) {})
            .taps([](Page &menu, Items *page, Item *item) { menu.tapWifiItem(page, item); })
            .chooses([](Page &menu, Items *, Item *item, QVantelMenuSelect *select) {
                if (item->id() == kRowWifiList)
                    menu.wifiNetworkChosen(item, select);
            }));
}
