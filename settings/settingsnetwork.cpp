// The Network section: the network page (1) with the outgoing and secondary networks and the
// codec mode, and the ISDN, Ethernet, mobile and Wi-Fi interface pages (11-23), which edit the
// settings page's own copies of the interface controllers and write them on Apply. The editable
// rows of an interface page are a field table over its copy (settingsfields.h), like the SIP
// pages'; the Ethernet DHCP switch and the mobile PIN stay outside it, because the switch decides
// which address rows count and the PIN is applied on its own before the others.
// The interface pages stand in settingsisdn.cpp, settingsethernet.cpp, settingsmobile.cpp and
// settingswifi.cpp; the helpers and choice lists they share are in settingsnetworkfields.h.

#include "settings/qvantelsettingspage.h"
#include "settings/settingsfields.h"
#include "settings/settingsids.h"
#include "settings/settingsnetworkfields.h"
#include "settings/settingsrows.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "model/accesslevel.h"
#include "model/comaoipcontroller.h"
#include "model/combaseconnection.h"
#include "model/comdevice.h"
#include "model/modelkeys.h"
#include "model/textconversions.h"
#include "model/writereport.h"
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

// The entries of the default-network row (7): every network the unit lists but the AoIP
// controller.
void fillDefaultNetworkRow(QVantelMenuItem *row)
{
    row->clearValues();
    for (const auto &entry : comDevice()->networks()) {
        if (entry.first != TComDevice::AoipFamily)
            row->addValue(entry.first, QVantelLocalize::interfaceName(entry.first));
    }
}

} // namespace

namespace NetworkFields {

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

QVantelMenuItem *addTextRow(QVantelMenuItems *page,
                            int id,
                            int kind,
                            const QString &label,
                            const std::string &value,
                            bool readOnly,
                            int left)
{
    QVantelMenuItem *row = addSettingsRow(page, id, kind, label, left);
    row->setValueText(toQString(value));
    row->setReadOnly(readOnly);
    return row;
}

QVantelMenuItem *
addSwitchRow(QVantelMenuItems *page, int id, const QString &label, bool on, bool readOnly, int left)
{
    QVantelMenuItem *row = addSettingsRow(page, id, QVantelMenuItem::Switch, label, left);
    row->setChecked(on);
    row->setReadOnly(readOnly);
    return row;
}

void fillChoice(QVantelMenuItem *row,
                const std::vector<Choice> &choices,
                int value,
                bool readOnly,
                const QString &ownWord,
                quint32 offered)
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

} // namespace NetworkFields

using namespace NetworkFields;

// --- Network page ---------------------------------------------------------------------------

void QVantelSettingsPage::createNetworkMenu()
{
    auto *page = new QVantelMenuItems(kPageNetwork, this);
    TComDevice *device = comDevice();
    device->readNetworks();
    // A default network left unknown by a write nobody saw the end of is asked for again.
    if (!device->defaultNetworkKnown())
        (void)device->readDefaultNetwork();
    std::set<int> networks;
    for (const auto &entry : device->networks())
        networks.insert(entry.first);

    QVantelMenuItem *row = addSettingsRow(
        page, kRowDefaultNetwork, QVantelMenuItem::Choice, tr("Network for Outgoing Calls"));
    fillDefaultNetworkRow(row);
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
    // The first modem, when its capabilities are read here, is read once for the whole page.
    int mobileRead = -1;
    if (networks.count(TComDevice::MobileFamily)) {
        if (mobileCapabilities == kUnknown
            && editMobile.setNetwork(interfaceNetwork(kPageMobileFirst),
                                     TComMobileController::CapabilitiesFlag,
                                     false)) {
            mobileCapabilities = int(editMobile.capabilities());
            mobileRead = kPageMobileFirst;
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

    updateMobileEntries(page, mobileRead);
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

void QVantelSettingsPage::updateMobileEntries(QVantelMenuItems *page, int readPage)
{
    if (!page)
        return;
    for (int id = kPageMobileFirst; id < kPageMobileFirst + kInterfaceCount; ++id) {
        QVantelMenuItem *row = page->findItem(id);
        if (!row)
            continue;
        if (id != readPage
            && !editMobile.setNetwork(
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
        // Not known (a write whose end nobody saw): no network is shown as the unit's, and none
        // can be chosen over it, until the unit's is read or reported.
        if (!device->defaultNetworkKnown()) {
            showUnread(row);
            break;
        }
        if (showsUnreadChoice(row)) {
            fillDefaultNetworkRow(row);
            row->setReadOnly(false);
        }
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
    if ((id == kRowDefaultNetwork && device->defaultNetworkKnown()
         && network == device->defaultNetwork())
        || (id == kRowSecondaryNetwork && network == device->secondaryNetwork())
        || (id == kRowCodecMode && value == unitCodecMode())) {
        return;
    }
    if (device->hasAudioConnection()) {
        refreshNetworkRow(item);
        showMessage(tr("Cannot apply changes\n(a connection is established)"), 0);
        return;
    }
    const auto putBack = [this](QVantelMenuItem *r) { refreshNetworkRow(r); };
    if (id == kRowDefaultNetwork || id == kRowSecondaryNetwork) {
        showMessage(tr("Applying changes..."), kApplyingMs);
        const WriteWatch watch;
        const bool done = id == kRowDefaultNetwork ? device->setDefaultNetwork(network, true)
                                                   : device->setSecondaryNetwork(network, true);
        if (!done)
            showWriteFailed(this, row, watch, putBack);
        return;
    }

    showMessage(tr("Applying changes..."), 0);
    if (value == 2) {
        TCodecConfig coder = device->coder1();
        if (applyMonoFallback(coder, 0))
            device->setCodec(1, codecConfigToString(coder), true);
    }
    // The coding written for the coordination decides nothing; the modes' writes do.
    const WriteWatch watch;
    bool done = true;
    if (value == 0 || value == 1)
        done = device->setCoordinationMode(0, true) && device->setCodecMode(value, true);
    else if (value == 2)
        done = device->setCoordinationMode(1, true) && device->setCodecMode(0, true);
    // Put back by the unit's own state, extended operation mode included.
    if (!done) {
        showWriteFailed(this, row, watch, putBack);
        return;
    }
    refreshNetworkRow(row);
    closeMessage();
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
