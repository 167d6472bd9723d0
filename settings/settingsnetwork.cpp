// The Network section: the network page (1) with the outgoing and secondary networks and the
// codec mode, and the ISDN, Ethernet, mobile and Wi-Fi interface pages (11-23), which edit the
// settings page's own copies of the interface controllers and write them on Apply.

#include "settings/qvantelsettingspage.h"
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

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

// Row ids of the Network page and of the interface pages.
enum NetworkRow {
    RowDefaultNetwork = 7,
    RowSecondaryNetwork = 8,
    RowCodecMode = 9,
    RowAoip = 10,
    RowIsdn = 11,
    RowEthernet = 12,
    RowMobile = 16,
    RowWifi = 20,
    RowDhcp = 24,
    RowIpAddress = 25,
    RowSubnet = 26,
    RowGateway = 27,
    RowDns1 = 28,
    RowDns2 = 29,
    RowLinkMode = 30,
    RowEthernetQuality = 31,
    RowMacAddress = 32,
    RowEthernetAjb = 33,
    Row5as = 34,
    RowProtocol = 35,
    RowLocalNumber1 = 36,
    RowLocalNumber2 = 37,
    RowSubAddress1 = 38,
    RowSubAddress2 = 39,
    RowSpid = 40,
    RowPin = 41,
    RowPinSave = 42,
    RowRat = 43,
    RowOperator = 44,
    RowMobileMode = 45,
    RowDataService = 46,
    RowApn = 47,
    RowAuthentication = 48,
    RowUsername = 49,
    RowPassword = 50,
    RowMobileQuality = 51,
    RowMobileAjb = 52,
    RowManufacturer = 53,
    RowModel = 54,
    RowRevision = 55,
    RowImei = 56,
    RowImsi = 57,
    RowSubscriber = 58,
    RowWifiActive = 59,
    RowWifiList = 60,
    RowSsid = 61,
    RowSecurity = 62,
    RowPassphrase = 63,
    RowWifiQuality = 64,
    RowWifiAjb = 65,
};

constexpr int kNoRow = -1;
constexpr int kNetworkPage = 1;
constexpr int kIsdnPage = 11;
constexpr int kEthernetFirst = 12;
constexpr int kMobileFirst = 16;
constexpr int kWifiFirst = 20;
constexpr int kInterfaceCount = 4;
constexpr int kUnknown = -1;

constexpr int kModeManual = TComEthernetController::ModeManual;
constexpr int kPinTimeoutMs = 15000;
constexpr int kApplyingMs = 1000;

// One entry of a choice row: its value, its source text and, where the unit must offer it, the
// capability bit that does.
struct Choice
{
    int value;
    const char *text;
    quint32 capability = 0;
};

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
    {TComIsdnController::ProtocolNi1, QT_TRANSLATE_NOOP("QVantelSettingsPage", "NI-1"), 1},
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

// A row of page, added to it, with its label and its layout's contents margins.

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

// The value of an editable choice row's current entry; nothing for a missing, read-only or
// unselected row.
std::optional<int> choiceValue(const QVantelMenuItems *page, int id)
{
    const QVantelMenuItem *row = editableRow(page, id);
    if (!row || !row->currentValue())
        return std::nullopt;
    return row->currentValue()->value;
}

std::optional<bool> switchValue(const QVantelMenuItems *page, int id)
{
    const QVantelMenuItem *row = editableRow(page, id);
    if (!row)
        return std::nullopt;
    return row->isChecked();
}

// The shown text of an editable text row in the unit's 8-bit form.
std::optional<std::string> textValue(const QVantelMenuItems *page, int id)
{
    const QVantelMenuItem *row = editableRow(page, id);
    if (!row)
        return std::nullopt;
    return toStdString(row->valueText());
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

// The Name (SSID) row of a Wi-Fi page as the unit's bytes; nothing when absent or read-only.
std::optional<std::string> ssidValue(const QVantelMenuItems *page, const TComWifiController &copy)
{
    const QVantelMenuItem *row = editableRow(page, RowSsid);
    if (!row)
        return std::nullopt;
    return networkNameBytes(row->valueText(), copy);
}

template<typename T>
bool differs(const std::optional<T> &shown, const T &held)
{
    return shown && *shown != held;
}

std::string interfaceId(const char *prefix, int index)
{
    return prefix + std::to_string(index);
}

bool isSpidProtocol(int protocol)
{
    return protocol == TComIsdnController::ProtocolNi2
           || protocol == TComIsdnController::ProtocolNi1;
}

// What an Apply stages in an edit copy: the keys to write, and how to put the copy back when the
// unit refuses them, so that the rows still differ from the copy afterwards and a retry sends
// them again.
class StagedChanges
{
public:
    template<typename C, typename T>
    void stage(C &copy,
               bool (C::*setter)(T, bool),
               std::decay_t<T> value,
               const std::string &key,
               std::decay_t<T> before)
    {
        (copy.*setter)(value, false);
        m_keys.push_back(key);
        m_undo.push_back([&copy, setter, before] { (copy.*setter)(before, false); });
    }

    [[nodiscard]] bool isEmpty() const { return m_keys.empty(); }
    [[nodiscard]] const std::vector<std::string> &keys() const { return m_keys; }

    void undo()
    {
        for (auto it = m_undo.rbegin(); it != m_undo.rend(); ++it)
            (*it)();
        m_undo.clear();
    }

private:
    std::vector<std::string> m_keys;
    std::vector<std::function<void()>> m_undo;
};

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

} // namespace

// --- Network page ---------------------------------------------------------------------------

void QVantelSettingsPage::createNetworkMenu()
{
    auto *page = new QVantelMenuItems(1, this);
    TComDevice *device = comDevice();
    device->readNetworks();
    std::set<int> networks;
    for (const auto &entry : device->networks())
        networks.insert(entry.first);

    QVantelMenuItem *row = addSettingsRow(
        page, RowDefaultNetwork, QVantelMenuItem::Choice, tr("Network for Outgoing Calls"));
    for (int id : networks) {
        if (id != TComDevice::AoipFamily)
            row->addValue(id, QVantelLocalize::interfaceName(id));
    }
    refreshNetworkRow(row);

    if (device->deviceOptions() & TComDevice::OptionIpDoubleStreamMulti) {
        row = addSettingsRow(page,
                             RowSecondaryNetwork,
                             QVantelMenuItem::Choice,
                             tr("Secondary IP Network for Double Streaming"));
        for (int id : networks) {
            if (TComDevice::networkIdTransport(id) == TComDevice::TransportIp)
                row->addValue(id, QVantelLocalize::interfaceName(id));
        }
        refreshNetworkRow(row);
    }

    row = addSettingsRow(page, RowCodecMode, QVantelMenuItem::Choice, tr("Codec Mode"));
    row->addValue(0, tr("Single Codec"));
    row->addValue(1, tr("Double Codec"));
    if (networks.count(TComDevice::MobileFamily)) {
        if (mobileCapabilities == kUnknown
            && editMobile.setNetwork(
                interfaceId("mobile.", 0), TComMobileController::CapabilitiesFlag, false)) {
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
        addNavigation(RowAoip, tr("AoIP settings"), tr("Configure the AoIP controller"));
    for (int i = 0; i < kInterfaceCount; ++i) {
        if (!networks.count(TComDevice::EthernetFamily + i))
            continue;
        QString description = tr("Configure the external Ethernet interface");
        if (i == 0)
            description = tr("Configure the primary Ethernet interface");
        else if (i == 1)
            description = tr("Configure the auxiliary Ethernet interface");
        addNavigation(RowEthernet + i, tr("LAN%1 settings").arg(i + 1), description);
    }
    if (networks.count(TComDevice::IsdnFamily))
        addNavigation(RowIsdn, tr("ISDN settings"), tr("Configure the ISDN controller"));
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
        addSettingsRow(page, RowMobile + i, QVantelMenuItem::Navigation, label)->setVisible(false);
    }
    for (int i = 0; i < kInterfaceCount; ++i) {
        if (networks.count(TComDevice::WifiFamily + i))
            addNavigation(RowWifi + i,
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
    if (!page || page->id() != 1)
        return;
    for (int id = RowMobile; id < RowMobile + kInterfaceCount; ++id) {
        QVantelMenuItem *row = page->findItem(id);
        if (!row)
            continue;
        if (!editMobile.setNetwork(interfaceId("mobile.", id - RowMobile),
                                   TComMobileController::CapabilitiesFlag,
                                   false)) {
            continue;
        }
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
    const bool extended = device->operationMode() != 0;
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
    if (!row || !row->page() || row->page()->id() != 1)
        return;
    TComDevice *device = comDevice();
    switch (row->id()) {
    case RowDefaultNetwork:
        row->selectValue(TComDevice::networkFromString(device->defaultNetwork()), true, true);
        break;
    case RowSecondaryNetwork: {
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
    case RowCodecMode: {
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
    const std::string network = interfaceId("eth.", pageId - kEthernetFirst);
    editEthernet.setNetwork(network, TComNetworkController::ReadAllFlag, false);
    const bool pageLock = editEthernet.state() == TComController::StateUnknown;
    const bool addressLock = pageLock || editEthernet.mode() != kModeManual;

    addSwitchRow(page, RowDhcp, tr("DHCP"), editEthernet.mode() != kModeManual, pageLock);
    using Entry = QVantelMenuItem;
    addTextRow(page,
               RowIpAddress,
               Entry::NumericEntry,
               tr("IP Address"),
               editEthernet.localAddr(),
               addressLock);
    addTextRow(page,
               RowSubnet,
               Entry::NumericEntry,
               tr("Subnet Mask"),
               editEthernet.subnet(),
               addressLock);
    addTextRow(page,
               RowGateway,
               Entry::NumericEntry,
               tr("Default Gateway"),
               editEthernet.gateway(),
               addressLock);
    addTextRow(
        page, RowDns1, Entry::NumericEntry, tr("Preferred DNS"), editEthernet.dns1(), addressLock);
    addTextRow(
        page, RowDns2, Entry::NumericEntry, tr("Auxiliary DNS"), editEthernet.dns2(), addressLock);

    fillChoice(addSettingsRow(page, RowLinkMode, Entry::Choice, tr("Link Mode")),
               kLinkModes,
               editEthernet.linkMode(),
               pageLock || network != "eth.0",
               toQString(TComEthernetController::linkModeText(editEthernet.linkMode())));
    if (comDevice()->aoipController()->jitterab())
        fillChoice(addSettingsRow(page, RowEthernetAjb, Entry::Choice, tr("AJB Policy")),
                   kAjbProfiles,
                   editEthernet.ajbProfile(),
                   pageLock);
    else
        fillChoice(addSettingsRow(page, RowEthernetQuality, Entry::Choice, tr("Network Quality")),
                   kQualities,
                   editEthernet.networkQuality(),
                   pageLock);
    addTextRow(
        page, RowMacAddress, Entry::NumericEntry, tr("MAC Address"), editEthernet.hwAddr(), true);

    pushPage(page);
}

void QVantelSettingsPage::refreshEthernetRows(QVantelMenuItems *page)
{
    if (!page)
        return;
    const bool unknown = editEthernet.state() == TComController::StateUnknown;
    const bool manual = editEthernet.mode() == kModeManual;
    if (QVantelMenuItem *row = page->findItem(RowDhcp)) {
        row->setChecked(!manual);
        row->setReadOnly(unknown);
    }
    const std::pair<int, const std::string *> addresses[] = {
        {RowIpAddress, &editEthernet.localAddr()},
        {RowSubnet, &editEthernet.subnet()},
        {RowGateway, &editEthernet.gateway()},
        {RowDns1, &editEthernet.dns1()},
        {RowDns2, &editEthernet.dns2()},
    };
    for (const auto &[id, text] : addresses) {
        if (QVantelMenuItem *row = page->findItem(id)) {
            row->setValueText(toQString(*text));
            row->setReadOnly(unknown || !manual);
        }
    }
    // Only the primary interface's link mode may be changed, whatever the event says.
    const bool foreignLink = editEthernet.networkId() != "eth.0";
    const std::pair<int, int> choices[] = {
        {RowLinkMode, editEthernet.linkMode()},
        {RowEthernetQuality, editEthernet.networkQuality()},
        {RowEthernetAjb, editEthernet.ajbProfile()},
    };
    for (const auto &[id, value] : choices) {
        QVantelMenuItem *row = page->findItem(id);
        if (!row)
            continue;
        if (row->findValue(value, true) >= 0)
            row->selectValue(value, true, false);
        row->setReadOnly(unknown || row->values().size() < 2 || (id == RowLinkMode && foreignLink));
    }
}

bool QVantelSettingsPage::hasEthernetChanges(QVantelMenuItems *page)
{
    if (!page)
        return false;
    bool changed = false;
    const std::optional<bool> dhcp = switchValue(page, RowDhcp);
    if (dhcp) {
        // A PPPoE or BGAN interface shows the switch on: it counts as changed only when the user
        // turned it off, never just because the unit's mode is neither DHCP nor manual.
        changed = *dhcp == (editEthernet.mode() == kModeManual);
        if (!*dhcp) {
            changed = differs(textValue(page, RowIpAddress), editEthernet.localAddr()) || changed;
            changed = differs(textValue(page, RowSubnet), editEthernet.subnet()) || changed;
            changed = differs(textValue(page, RowGateway), editEthernet.gateway()) || changed;
            changed = differs(textValue(page, RowDns1), editEthernet.dns1()) || changed;
            changed = differs(textValue(page, RowDns2), editEthernet.dns2()) || changed;
        }
    }
    changed = differs(choiceValue(page, RowLinkMode), editEthernet.linkMode()) || changed;
    changed
        = differs(choiceValue(page, RowEthernetQuality), editEthernet.networkQuality()) || changed;
    changed = differs(choiceValue(page, RowEthernetAjb), editEthernet.ajbProfile()) || changed;
    return changed;
}

bool QVantelSettingsPage::applyEthernetPage(QVantelMenuItems *page)
{
    if (!page)
        return false;
    TComEthernetController &copy = editEthernet;
    StagedChanges staged;
    int wanted = copy.mode();
    bool modeChanged = false;
    if (const std::optional<bool> dhcp = switchValue(page, RowDhcp)) {
        wanted = *dhcp ? TComEthernetController::ModeDhcp : kModeManual;
        if (*dhcp == (copy.mode() == kModeManual)) {
            staged.stage(
                copy, &TComEthernetController::setMode, wanted, kEthernetKeyMode, copy.mode());
            modeChanged = true;
        }
    }
    if (wanted == kModeManual) {
        using Setter = bool (TComEthernetController::*)(const std::string &, bool);
        const struct
        {
            int row;
            Setter setter;
            const std::string &key;
            std::string held;
        } addresses[] = {
            {RowIpAddress,
             &TComEthernetController::setLocalAddr,
             kEthernetKeyLocalAddr,
             copy.localAddr()},
            {RowSubnet, &TComEthernetController::setSubnet, kEthernetKeySubnet, copy.subnet()},
            {RowGateway, &TComEthernetController::setGateway, kEthernetKeyGateway, copy.gateway()},
            {RowDns1, &TComEthernetController::setDns1, kEthernetKeyDns1, copy.dns1()},
            {RowDns2, &TComEthernetController::setDns2, kEthernetKeyDns2, copy.dns2()},
        };
        for (const auto &address : addresses) {
            const std::optional<std::string> text = textValue(page, address.row);
            if (text && (modeChanged || *text != address.held))
                staged.stage(copy, address.setter, *text, address.key, address.held);
        }
    }
    const auto stageChoice = [&](int row,
                                 bool (TComEthernetController::*setter)(int, bool),
                                 int held,
                                 const std::string &key) {
        if (differs(choiceValue(page, row), held))
            staged.stage(copy, setter, *choiceValue(page, row), key, held);
    };
    stageChoice(
        RowLinkMode, &TComEthernetController::setLinkMode, copy.linkMode(), kEthernetKeyLinkMode);
    stageChoice(RowEthernetQuality,
                &TComEthernetController::setNetworkQuality,
                copy.networkQuality(),
                kNetworkKeyNetworkQuality);
    stageChoice(RowEthernetAjb,
                &TComEthernetController::setAjbProfile,
                copy.ajbProfile(),
                kNetworkKeyAjbProfile);
    return writeStaged(this, copy, staged);
}

// --- Mobile pages -----------------------------------------------------------------------------

void QVantelSettingsPage::createMobilePage(int pageId)
{
    auto *page = new QVantelMenuItems(pageId, this);
    editMobile.setNetwork(interfaceId("mobile.", pageId - kMobileFirst),
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
        addSettingsRow(page, RowPin, Entry::NumericMaskedEntry, tr("PIN Code"));
    if (!simUnusable)
        addSwitchRow(page, RowPinSave, tr("PIN Save"), copy.pinPersistent(), false);
    if (settings) {
        const int rat = copy.preferredTechnology();
        // "UMTS first", "GSM first" and "only GSM UMTS" are not offered: shown as the unit's
        // word with no current entry, so that they stay as they are.
        const bool foreignRat = rat >= TComMobileController::RatUmtsFirst
                                && rat <= TComMobileController::RatOnlyGsmUmts;
        fillChoice(
            addSettingsRow(page, RowRat, Entry::Choice, tr("Preferred Radio Access Technology")),
            kRats,
            rat,
            pageLock,
            foreignRat ? toQString(TComMobileController::preferredTechnologyText(rat)) : QString(),
            copy.capabilities());
        QVantelMenuItem *row
            = addSettingsRow(page, RowOperator, Entry::Action, tr("Preferred Network Operator"));
        row->setValueText(copy.plmn() == "auto" ? tr("Auto") : toQString(copy.plmn()));
        row->setReadOnly(operatorLock);
        fillChoice(addSettingsRow(page, RowMobileMode, Entry::Choice, tr("Mode")),
                   kMobileModes,
                   copy.serviceMode(),
                   pageLock || copy.serviceMode() != TComMobileController::ServiceGsmVoice);
        addSpacer(page, tr("Audio over IP"));
        addSwitchRow(page, RowDataService, tr("Data Service"), copy.dataConnection(), pageLock, 60);
        if (comDevice()->aoipController()->jitterab())
            fillChoice(addSettingsRow(page, RowMobileAjb, Entry::Choice, tr("AJB Policy"), 60),
                       kAjbProfiles,
                       copy.ajbProfile(),
                       operatorLock);
        else
            fillChoice(
                addSettingsRow(page, RowMobileQuality, Entry::Choice, tr("Network Quality"), 60),
                kQualities,
                copy.networkQuality(),
                operatorLock);
        addTextRow(
            page, RowApn, Entry::TextEntry, tr("Access Point Name"), copy.apn(), pageLock, 60);
        row = addSettingsRow(page, RowAuthentication, Entry::Choice, tr("Authentication Mode"), 60);
        if (copy.authentication() == TComMobileController::AuthNone) {
            row->addValue(TComMobileController::AuthNone, tr("Not Applicable"));
            row->selectValue(TComMobileController::AuthNone, true, false);
            row->setReadOnly(true);
        } else {
            fillChoice(row, kMobileAuthentications, copy.authentication(), operatorLock);
        }
        addTextRow(page,
                   RowUsername,
                   Entry::TextEntry,
                   tr("Authentication User Name"),
                   copy.username(),
                   operatorLock,
                   60);
        addTextRow(page,
                   RowPassword,
                   Entry::TextEntry,
                   tr("Authentication Password"),
                   copy.password(),
                   operatorLock,
                   60);
    }
    addSpacer(page, tr("Information"));
    addTextRow(
        page, RowManufacturer, Entry::TextEntry, tr("Manufacturer"), copy.manufacturer(), true, 60);
    addTextRow(page, RowModel, Entry::TextEntry, tr("Model"), copy.model(), true, 60);
    addTextRow(page, RowRevision, Entry::TextEntry, tr("Revision"), copy.revision(), true, 60);
    addTextRow(page, RowImei, Entry::TextEntry, tr("IMEI"), copy.imei(), true, 60);
    if (settings) {
        addTextRow(page, RowImsi, Entry::TextEntry, tr("IMSI"), copy.imsi(), true, 60);
        QVantelMenuItem *row = addTextRow(page,
                                          RowSubscriber,
                                          Entry::TextEntry,
                                          tr("Subscriber Number"),
                                          copy.msisdn(),
                                          true,
                                          60);
        if (copy.msisdn().empty())
            row->setValueText(tr("Not Available"));
    }
    pushPage(page);
}

bool QVantelSettingsPage::hasMobileChanges(QVantelMenuItems *page)
{
    if (!page)
        return false;
    const TComMobileController &copy = editMobile;
    bool changed = false;
    if (const std::optional<std::string> pin = textValue(page, RowPin))
        changed = !pin->empty();
    changed = differs(switchValue(page, RowPinSave), copy.pinPersistent()) || changed;
    changed = differs(choiceValue(page, RowRat), copy.preferredTechnology()) || changed;
    changed = differs(operatorChoice(page), copy.plmn()) || changed;
    changed = differs(choiceValue(page, RowMobileMode), copy.serviceMode()) || changed;
    changed = differs(switchValue(page, RowDataService), copy.dataConnection()) || changed;
    changed = differs(choiceValue(page, RowMobileQuality), copy.networkQuality()) || changed;
    changed = differs(choiceValue(page, RowMobileAjb), copy.ajbProfile()) || changed;
    changed = differs(textValue(page, RowApn), copy.apn()) || changed;
    changed = differs(choiceValue(page, RowAuthentication), copy.authentication()) || changed;
    changed = differs(textValue(page, RowUsername), copy.username()) || changed;
    changed = differs(textValue(page, RowPassword), copy.password()) || changed;
    return changed;
}

std::optional<std::string> QVantelSettingsPage::operatorChoice(const QVantelMenuItems *page) const
{
    const QVantelMenuItem *row = editableRow(page, RowOperator);
    if (!row)
        return std::nullopt;
    if (row->valueText() == tr("Auto"))
        return std::string("auto");
    return toStdString(row->valueText());
}

bool QVantelSettingsPage::applyMobilePage(QVantelMenuItems *page)
{
    if (!page)
        return false;
    TComMobileController &copy = editMobile;
    if (QVantelMenuItem *pinRow = editableRow(page, RowPin);
        pinRow && !pinRow->valueText().isEmpty()) {
        showMessage(tr("Applying PIN code..."), 0);
        const int result = copy.applyPinCode(toStdString(pinRow->valueText()), kPinTimeoutMs);
        if (result == TComMobileController::PinWrong
            || result == TComMobileController::PinPukRequired) {
            // A PIN the SIM refused must never go out again with a later Apply: the row is
            // emptied and no longer offered for Apply, and the Network page shows what the SIM
            // asks for now.
            pinRow->setValueText(QString());
            header()->setModified(hasMobileChanges(page));
            if (QVantelMenuItems *network = findPage(kNetworkPage)) {
                if (QVantelMenuItem *row = network->findItem(page->id()))
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
    }

    StagedChanges staged;
    if (differs(switchValue(page, RowPinSave), copy.pinPersistent()))
        staged.stage(copy,
                     &TComMobileController::setPinPersistent,
                     !copy.pinPersistent(),
                     kMobileKeyPinPersistent,
                     copy.pinPersistent());
    if (differs(choiceValue(page, RowRat), copy.preferredTechnology()))
        staged.stage(copy,
                     &TComMobileController::setPreferredTechnology,
                     *choiceValue(page, RowRat),
                     kMobileKeyRat,
                     copy.preferredTechnology());
    if (differs(operatorChoice(page), copy.plmn()))
        staged.stage(copy,
                     &TComMobileController::setPlmn,
                     *operatorChoice(page),
                     kMobileKeyPlmn,
                     copy.plmn());
    if (differs(choiceValue(page, RowMobileMode), copy.serviceMode()))
        staged.stage(copy,
                     &TComMobileController::setServiceMode,
                     *choiceValue(page, RowMobileMode),
                     kMobileKeyMode,
                     copy.serviceMode());
    if (differs(switchValue(page, RowDataService), copy.dataConnection()))
        staged.stage(copy,
                     &TComMobileController::setDataConnection,
                     !copy.dataConnection(),
                     kMobileKeyDataConnection,
                     copy.dataConnection());
    if (differs(choiceValue(page, RowMobileQuality), copy.networkQuality()))
        staged.stage(copy,
                     &TComMobileController::setNetworkQuality,
                     *choiceValue(page, RowMobileQuality),
                     kNetworkKeyNetworkQuality,
                     copy.networkQuality());
    if (differs(choiceValue(page, RowMobileAjb), copy.ajbProfile()))
        staged.stage(copy,
                     &TComMobileController::setAjbProfile,
                     *choiceValue(page, RowMobileAjb),
                     kNetworkKeyAjbProfile,
                     copy.ajbProfile());
    if (differs(textValue(page, RowApn), copy.apn()))
        staged.stage(copy,
                     &TComMobileController::setApn,
                     *textValue(page, RowApn),
                     kMobileKeyApn,
                     copy.apn());
    if (differs(choiceValue(page, RowAuthentication), copy.authentication()))
        staged.stage(copy,
                     &TComMobileController::setAuthentication,
                     *choiceValue(page, RowAuthentication),
                     kMobileKeyAuthentication,
                     copy.authentication());
    if (differs(textValue(page, RowUsername), copy.username()))
        staged.stage(copy,
                     &TComMobileController::setUsername,
                     *textValue(page, RowUsername),
                     kMobileKeyUsername,
                     copy.username());
    if (differs(textValue(page, RowPassword), copy.password()))
        staged.stage(copy,
                     &TComMobileController::setPassword,
                     *textValue(page, RowPassword),
                     kMobileKeyPassword,
                     copy.password());
    return writeStaged(this, copy, staged);
}

void QVantelSettingsPage::scanMobileOperators(QVantelMenuItem *row)
{
    showMessage(tr("Scanning available networks..."), 0);
    std::vector<std::string> operators;
    if (!editMobile.scanOperators(operators)) {
        showMessage(tr("Failed to scan networks!"), 0);
        return;
    }
    closeMessage();
    row->clearValues();
    row->addValue(0, tr("Auto"));
    int value = 1;
    for (const std::string &name : operators)
        row->addValue(value++, toQString(name));
    showSelection(tr("Select Network"), row, true);
}

// --- Wi-Fi pages ------------------------------------------------------------------------------

void QVantelSettingsPage::createWifiPage(int pageId)
{
    auto *page = new QVantelMenuItems(pageId, this);
    editWifi.setNetwork(
        interfaceId("wifi.", pageId - kWifiFirst), TComNetworkController::ReadAllFlag, false);
    TComWifiController &copy = editWifi;
    const bool pageLock = copy.state() == TComController::StateUnknown;
    const bool connectionLock = pageLock || copy.dataConnection();
    using Entry = QVantelMenuItem;

    addSwitchRow(page, RowWifiActive, tr("Active"), copy.dataConnection(), pageLock);
    QVantelMenuItem *row = addSettingsRow(page, RowWifiList, Entry::Action, tr("Network List"));
    copy.refreshSsidList();
    int value = 0;
    for (const std::string &ssid : copy.ssidList())
        row->addValue(value++, networkNameText(ssid));
    if (copy.ssidList().empty()) {
        row->setValueText(tr("No Wi-Fi network Found"));
        row->setReadOnly(true);
    } else {
        row->setValueText(tr("Select a Wi-Fi network from list"));
        row->setReadOnly(connectionLock);
    }
    QVantelMenuItem *name = addSettingsRow(page, RowSsid, Entry::TextEntry, tr("Name (SSID)"));
    name->setValueText(networkNameText(copy.ssid()));
    name->setReadOnly(connectionLock);
    fillChoice(addSettingsRow(page, RowSecurity, Entry::Choice, tr("Security")),
               kWifiSecurities,
               copy.authentication(),
               connectionLock);
    addTextRow(page,
               RowPassphrase,
               Entry::MaskedEntry,
               tr("Passphrase"),
               copy.passphrase(),
               connectionLock);
    if (comDevice()->aoipController()->jitterab())
        fillChoice(addSettingsRow(page, RowWifiAjb, Entry::Choice, tr("AJB Policy")),
                   kAjbProfiles,
                   copy.ajbProfile(),
                   pageLock);
    else
        fillChoice(addSettingsRow(page, RowWifiQuality, Entry::Choice, tr("Network Quality")),
                   kQualities,
                   copy.networkQuality(),
                   pageLock);
    pushPage(page);
}

bool QVantelSettingsPage::hasWifiChanges(QVantelMenuItems *page)
{
    if (!page)
        return false;
    const TComWifiController &copy = editWifi;
    bool changed = differs(switchValue(page, RowWifiActive), copy.dataConnection());
    changed = differs(ssidValue(page, copy), copy.ssid()) || changed;
    changed = differs(choiceValue(page, RowSecurity), copy.authentication()) || changed;
    changed = differs(textValue(page, RowPassphrase), copy.passphrase()) || changed;
    changed = differs(choiceValue(page, RowWifiQuality), copy.networkQuality()) || changed;
    changed = differs(choiceValue(page, RowWifiAjb), copy.ajbProfile()) || changed;
    return changed;
}

bool QVantelSettingsPage::applyWifiPage(QVantelMenuItems *page)
{
    if (!page)
        return false;
    TComWifiController &copy = editWifi;
    StagedChanges staged;
    bool activityChanged = false;
    if (differs(switchValue(page, RowWifiActive), copy.dataConnection())) {
        staged.stage(copy,
                     &TComWifiController::setDataConnection,
                     !copy.dataConnection(),
                     kWifiKeyDataConnection,
                     copy.dataConnection());
        activityChanged = true;
    }
    if (const std::optional<std::string> ssid = ssidValue(page, copy); differs(ssid, copy.ssid()))
        staged.stage(copy, &TComWifiController::setSsid, *ssid, kWifiKeySsid, copy.ssid());
    if (differs(choiceValue(page, RowSecurity), copy.authentication())) {
        const int security = *choiceValue(page, RowSecurity);
        staged.stage(copy,
                     &TComWifiController::setAuthentication,
                     security,
                     kWifiKeyAuthentication,
                     copy.authentication());
        if (security != TComWifiController::AuthAuto)
            staged.stage(copy,
                         &TComWifiController::setCustomAuthentication,
                         security,
                         kWifiKeyAuthenticationCustom,
                         copy.customAuthentication());
    }
    if (differs(textValue(page, RowPassphrase), copy.passphrase()))
        staged.stage(copy,
                     &TComWifiController::setPassphrase,
                     *textValue(page, RowPassphrase),
                     kWifiKeyPassphrase,
                     copy.passphrase());
    if (differs(choiceValue(page, RowWifiQuality), copy.networkQuality()))
        staged.stage(copy,
                     &TComWifiController::setNetworkQuality,
                     *choiceValue(page, RowWifiQuality),
                     kNetworkKeyNetworkQuality,
                     copy.networkQuality());
    if (differs(choiceValue(page, RowWifiAjb), copy.ajbProfile()))
        staged.stage(copy,
                     &TComWifiController::setAjbProfile,
                     *choiceValue(page, RowWifiAjb),
                     kNetworkKeyAjbProfile,
                     copy.ajbProfile());
    if (!writeStaged(this, copy, staged))
        return false;
    if (activityChanged) {
        const bool locked = copy.dataConnection();
        for (int id : {RowWifiList, RowSsid, RowSecurity, RowPassphrase}) {
            QVantelMenuItem *row = page->findItem(id);
            if (row)
                row->setReadOnly(locked || (id == RowWifiList && row->values().isEmpty()));
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
    if (QVantelMenuItem *name = page->findItem(RowSsid))
        name->setValueText(networkNameText(ssid));
    if (QVantelMenuItem *security = page->findItem(RowSecurity))
        security->selectValue(TComWifiController::AuthAuto, true, false);
    if (QVantelMenuItem *passphrase = page->findItem(RowPassphrase))
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
    auto *page = new QVantelMenuItems(kIsdnPage, this);
    editIsdn.setNetwork("isdn.0", TComNetworkController::ReadAllFlag, false);
    const TComIsdnController &copy = editIsdn;
    const bool pageLock = copy.state() == TComController::StateUnknown;
    const bool spid = isSpidProtocol(copy.protocol());
    const bool numberLock = pageLock || spid;
    using Entry = QVantelMenuItem;

    addSwitchRow(page, Row5as, QStringLiteral("5AS"), copy.fiveAs(), pageLock);
    fillChoice(addSettingsRow(page, RowProtocol, Entry::Choice, tr("Protocol")),
               kIsdnProtocols,
               copy.protocol(),
               pageLock,
               QString(),
               copy.protocol() == TComIsdnController::ProtocolNi1 ? ~quint32(0) : ~quint32(1));
    addTextRow(page,
               RowLocalNumber1,
               Entry::NumericEntry,
               tr("Local Number 1"),
               copy.localNumber1(),
               numberLock);
    addTextRow(page,
               RowLocalNumber2,
               Entry::NumericEntry,
               tr("Local Number 2"),
               copy.localNumber2(),
               numberLock);
    addTextRow(page,
               RowSubAddress1,
               Entry::NumericEntry,
               tr("Sub-Address 1"),
               copy.subAddress1(),
               numberLock);
    addTextRow(page,
               RowSubAddress2,
               Entry::NumericEntry,
               tr("Sub-Address 2"),
               copy.subAddress2(),
               numberLock);
    // With the page locked every row is, SPID included.
    addTextRow(
        page, RowSpid, Entry::NumericEntry, QStringLiteral("SPID"), copy.spid(), pageLock || !spid);
    pushPage(page);
}

bool QVantelSettingsPage::hasIsdnChanges(QVantelMenuItems *page)
{
    if (!page)
        return false;
    const TComIsdnController &copy = editIsdn;
    bool changed = differs(switchValue(page, Row5as), copy.fiveAs());
    changed = differs(choiceValue(page, RowProtocol), copy.protocol()) || changed;
    changed = differs(textValue(page, RowLocalNumber1), copy.localNumber1()) || changed;
    changed = differs(textValue(page, RowLocalNumber2), copy.localNumber2()) || changed;
    changed = differs(textValue(page, RowSubAddress1), copy.subAddress1()) || changed;
    changed = differs(textValue(page, RowSubAddress2), copy.subAddress2()) || changed;
    changed = differs(textValue(page, RowSpid), copy.spid()) || changed;
    return changed;
}

bool QVantelSettingsPage::applyIsdnPage(QVantelMenuItems *page)
{
    if (!page)
        return false;
    TComIsdnController &copy = editIsdn;
    StagedChanges staged;
    if (differs(switchValue(page, Row5as), copy.fiveAs()))
        staged.stage(copy, &TComIsdnController::set5as, !copy.fiveAs(), kIsdnKey5as, copy.fiveAs());
    if (differs(choiceValue(page, RowProtocol), copy.protocol()))
        staged.stage(copy,
                     &TComIsdnController::setProtocol,
                     *choiceValue(page, RowProtocol),
                     kIsdnKeyProtocol,
                     copy.protocol());
    using Setter = bool (TComIsdnController::*)(const std::string &, bool);
    const struct
    {
        int row;
        Setter setter;
        const std::string &key;
        std::string held;
    } texts[] = {
        {RowLocalNumber1,
         &TComIsdnController::setLocalNumber1,
         kIsdnKeyAddrSb0Ch0,
         copy.localNumber1()},
        {RowLocalNumber2,
         &TComIsdnController::setLocalNumber2,
         kIsdnKeyAddrSb0Ch1,
         copy.localNumber2()},
        {RowSubAddress1,
         &TComIsdnController::setSubAddress1,
         kIsdnKeySubaddrSb0Ch0,
         copy.subAddress1()},
        {RowSubAddress2,
         &TComIsdnController::setSubAddress2,
         kIsdnKeySubaddrSb0Ch1,
         copy.subAddress2()},
        {RowSpid, &TComIsdnController::setSpid, kIsdnKeySpid, copy.spid()},
    };
    for (const auto &text : texts) {
        if (differs(textValue(page, text.row), text.held))
            staged.stage(copy, text.setter, *textValue(page, text.row), text.key, text.held);
    }
    return writeStaged(this, copy, staged);
}

// --- The section's share of the menu hooks ----------------------------------------------------

namespace {

bool isInterfacePage(int id, int first)
{
    return id >= first && id < first + kInterfaceCount;
}

} // namespace

void QVantelSettingsPage::commitNetworkItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    Q_UNUSED(page)
    TComDevice *device = comDevice();
    const int id = item->id();
    if (id == RowSecondaryNetwork) {
        // Re-applying the lock resets the value's colour after a red "not listed" text.
        item->setReadOnly(item->isReadOnly());
    }
    if (id < RowDefaultNetwork || id > RowCodecMode || !item->currentValue())
        return;
    const int value = item->currentValue()->value;
    // A choice of what the unit already has writes nothing.
    const std::string network = TComDevice::networkToString(value);
    if ((id == RowDefaultNetwork && network == device->defaultNetwork())
        || (id == RowSecondaryNetwork && network == device->secondaryNetwork())
        || (id == RowCodecMode && value == unitCodecMode())) {
        return;
    }
    if (device->hasAudioConnection()) {
        refreshNetworkRow(item);
        showMessage(tr("Cannot apply changes\n(a connection is established)"), 0);
        return;
    }
    if (id == RowDefaultNetwork || id == RowSecondaryNetwork) {
        showMessage(tr("Applying changes..."), kApplyingMs);
        const bool done = id == RowDefaultNetwork ? device->setDefaultNetwork(network, true)
                                                  : device->setSecondaryNetwork(network, true);
        if (!done) {
            refreshNetworkRow(item);
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
    refreshNetworkRow(item);
    if (done)
        closeMessage();
}

void QVantelSettingsPage::commitInterfaceItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    const int pageId = page->id();
    if (pageId == kIsdnPage && item->id() == RowProtocol && item->currentValue()) {
        const bool spid = isSpidProtocol(item->currentValue()->value);
        for (int id : {RowLocalNumber1, RowLocalNumber2, RowSubAddress1, RowSubAddress2}) {
            if (QVantelMenuItem *number = page->findItem(id))
                number->setReadOnly(spid);
        }
        if (QVantelMenuItem *spidRow = page->findItem(RowSpid))
            spidRow->setReadOnly(!spid);
    } else if (isInterfacePage(pageId, kEthernetFirst) && item->id() == RowDhcp) {
        for (int id = RowIpAddress; id <= RowDns2; ++id) {
            if (QVantelMenuItem *address = page->findItem(id))
                address->setReadOnly(item->isChecked());
        }
    } else if (isInterfacePage(pageId, kMobileFirst) && item->id() == RowOperator) {
        scanMobileOperators(item);
    }
}

void QVantelSettingsPage::tapInterfaceItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    const int pageId = page->id();
    if (isInterfacePage(pageId, kMobileFirst) && item->id() == RowOperator) {
        const std::string network = interfaceId("mobile.", pageId - kMobileFirst);
        TComDevice *device = comDevice();
        if (device->findAudioConnection(network))
            showMessage(tr("Cannot change setting\n(a connection is established)"), 0);
        else if (device->findConnection(TComBaseConnection::DataLink, network))
            showMessage(tr("Cannot change setting\n(the data service is active)"), 0);
        else
            confirmAction(tr("This may take a while\n\nAre you sure to proceed?"), item);
    } else if (isInterfacePage(pageId, kWifiFirst) && item->id() == RowWifiList) {
        showSelection(QString(), item, true);
    }
}

void QVantelSettingsPage::selectInterfaceItem(QVantelMenuItems *page,
                                              QVantelMenuItem *item,
                                              QVantelMenuSelect *select)
{
    if (isInterfacePage(page->id(), kMobileFirst) && item->id() == RowOperator)
        mobileOperatorChosen(item, select);
    else if (isInterfacePage(page->id(), kWifiFirst) && item->id() == RowWifiList)
        wifiNetworkChosen(item, select);
}

// --- The section's pages ---------------------------------------------------------------------

namespace {

// True while a call runs on the interface of that family and index, which refuses Apply on the
// interface's page.
bool callOnInterface(int family, int index)
{
    return comDevice()->findAudioConnection(TComDevice::networkToString(family + index))
           != nullptr;
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

    rows.push_back(
        SettingsPageRow(kPageNetwork)
            .entered([](Page &menu) { menu.createNetworkMenu(); })
            .onReturn([](Page &menu, Items *page, int, int) {
                menu.refreshNetworkRows(page, {RowDefaultNetwork, RowSecondaryNetwork, RowCodecMode});
            })
            .commits([](Page &menu, Items *page, Item *item) { menu.commitNetworkItem(page, item); })
            .notices([](Page &menu, Items *page, const SettingsNotice &notice) {
                if (notice.kind != SettingsNotice::Configuration)
                    return;
                const std::string &type = *notice.message->param(kKeyEventType, true);
                if (type == kEventDefaultNetwork)
                    menu.refreshNetworkRows(page, {RowDefaultNetwork});
                else if (type == kEventSecondaryNetwork || type == kEventCodecChange)
                    menu.refreshNetworkRows(page, {RowSecondaryNetwork});
                else if (type == kEventDefaultCodec)
                    menu.refreshNetworkRows(page, {RowSecondaryNetwork, RowCodecMode});
            }));

    rows.push_back(
        SettingsPageRow(kPageIsdn)
            .opens([](Page &menu, int) { menu.createIsdnPage(); })
            .onReturn(markChanges)
            .refusesApply([](Page &, int) { return callOnInterface(TComDevice::IsdnFamily, 0); })
            .changes([](Page &menu, Items *page) { return menu.hasIsdnChanges(page); })
            .applies([](Page &menu, Items *page) {
                return settingsAppliedIf(menu.applyIsdnPage(page));
            })
            .commits([](Page &menu, Items *page, Item *item) { menu.commitInterfaceItem(page, item); })
            .taps([](Page &menu, Items *page, Item *item) { menu.tapInterfaceItem(page, item); }));

    rows.push_back(
        SettingsPageRow(kPageEthernetFirst, kPageEthernetLast)
            .opens([](Page &menu, int id) { menu.createEthernetPage(id); })
            .onReturn(markChanges)
            .refusesApply([](Page &, int pageId) {
                return callOnInterface(TComDevice::EthernetFamily, pageId - kPageEthernetFirst);
            })
            .changes([](Page &menu, Items *page) { return menu.hasEthernetChanges(page); })
            .applies([](Page &menu, Items *page) {
                return settingsAppliedIf(menu.applyEthernetPage(page));
            })
            .commits([](Page &menu, Items *page, Item *item) { menu.commitInterfaceItem(page, item); })
            .taps([](Page &menu, Items *page, Item *item) { menu.tapInterfaceItem(page, item); })
            .notices([](Page &menu, Items *page, const SettingsNotice &notice) {
                if (notice.kind == SettingsNotice::EthernetConfiguration) {
                    menu.refreshEthernetRows(page);
                } else if (notice.kind == SettingsNotice::Configuration
                           && *notice.message->param(kKeyEventType, true) == kEventConfigInfo
                           && TComDevice::networkFamily(*notice.message->param(kKeyNetwork, true))
                                  == TComDevice::EthernetFamily
                           && menu.editEthernet.state() != TComController::StateUnknown) {
                    menu.editEthernet.handleEvent(*notice.message);
                }
            }));

    rows.push_back(
        SettingsPageRow(kPageMobileFirst, kPageMobileLast)
            .opens([](Page &menu, int id) { menu.createMobilePage(id); })
            .onReturn(markChanges)
            .refusesApply([](Page &, int pageId) {
                return callOnInterface(TComDevice::MobileFamily, pageId - kPageMobileFirst);
            })
            .changes([](Page &menu, Items *page) { return menu.hasMobileChanges(page); })
            .applies([](Page &menu, Items *page) { return menu.applyMobilePageAndPin(page); })
            .commits([](Page &menu, Items *page, Item *item) { menu.commitInterfaceItem(page, item); })
            .taps([](Page &menu, Items *page, Item *item) { menu.tapInterfaceItem(page, item); })
            .chooses([](Page &menu, Items *page, Item *item, QVantelMenuSelect *select) {
                menu.selectInterfaceItem(page, item, select);
            }));

    rows.push_back(
        SettingsPageRow(kPageWifiFirst, kPageWifiLast)
            .opens([](Page &menu, int id) { menu.createWifiPage(id); })
            .onReturn(markChanges)
            .refusesApply([](Page &, int pageId) {
                return callOnInterface(TComDevice::WifiFamily, pageId - kPageWifiFirst);
            })
            .changes([](Page &menu, Items *page) { return menu.hasWifiChanges(page); })
            .applies([](Page &menu, Items *page) {
                return settingsAppliedIf(menu.applyWifiPage(page));
            })
            .commits([](Page &menu, Items *page, Item *item) { menu.commitInterfaceItem(page, item); })
            .taps([](Page &menu, Items *page, Item *item) { menu.tapInterfaceItem(page, item); })
            .chooses([](Page &menu, Items *page, Item *item, QVantelMenuSelect *select) {
                menu.selectInterfaceItem(page, item, select);
            }));
}

SettingsApplied QVantelSettingsPage::applyMobilePageAndPin(QVantelMenuItems *page)
{
    QPointer<QVantelMenuItems> shown = page;
    // Only a PIN typed now and taken by the SIM opens it; an empty PIN row sends nothing and
    // proves nothing.
    const QVantelMenuItem *pinRow = page->findItem(RowPin);
    const bool pinEntered = pinRow && !pinRow->isReadOnly() && !pinRow->valueText().isEmpty();
    if (!applyMobilePage(page))
        return SettingsApplied::Refused;
    if (!shown || !pinEntered)
        return SettingsApplied::Done;
    if (QVantelMenuItems *network = findPage(kPageNetwork)) {
        if (QVantelMenuItem *row = network->findItem(page->id())) {
            // The SIM took the PIN: it is open now, whatever the last read said.
            showSimState(row, TComController::StateReady);
            row->setReadOnly(comDevice()->hasAudioConnection());
        }
    }
    // The PIN page is left at once; it is deleted later and not touched again.
    backClicked();
    return SettingsApplied::Left;
}
