// The Ethernet interface pages (12-15) of the Network section.

#include "settings/qvantelsettingspage.h"
#include "settings/settingsfields.h"
#include "settings/settingsids.h"
#include "settings/settingsnetworkfields.h"
#include "settings/settingsrows.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "model/comdevice.h"
#include "model/modelkeys.h"
#include "model/textconversions.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

#include <QScopedValueRollback>

#include <set>
#include <string>
#include <vector>

using namespace NetworkFields;

namespace {

constexpr int kModeManual = TComEthernetController::ModeManual;

const std::vector<Choice> kLinkModes
    = {{TComEthernetController::LinkAutonegotiation,
        QT_TRANSLATE_NOOP("QVantelSettingsPage", "Auto Negotiation")},
       {TComEthernetController::Link100BaseTFd, "100BaseT-FD"},
       {TComEthernetController::Link100BaseTHd, "100BaseT-HD"},
       {TComEthernetController::Link10BaseTFd, "10BaseT-FD"},
       {TComEthernetController::Link10BaseTHd, "10BaseT-HD"}};

// Only the primary Ethernet interface's link mode may be changed.
bool isPrimaryEthernet(const std::string &network)
{
    return network == interfaceNetwork(kPageEthernetFirst);
}

// Whether the DHCP switch (an editable row) differs from the interface's mode. A PPPoE or BGAN
// interface shows the switch on: it counts as changed only when the user turned it off, never
// just because the unit's mode is neither DHCP nor manual.
bool dhcpChanged(const QVantelMenuItem *dhcp, const TComEthernetController &ethernet)
{
    return dhcp->isChecked() == (ethernet.mode() == kModeManual);
}

// --- Field tables: the editable rows over the edit copy, in the order their keys are written.

using Ethernet = TComEthernetController;

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

} // namespace

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
    // Nothing was read, or not the mode: the controller's default mode is not the unit's.
    if (pageLock || !editEthernet.isKnown(kEthernetKeyMode))
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
    // A setting the unit did not send shows no default as its value and is never written.
    showUnreadFields(page, editEthernet, ethernetAddressFields());
    showUnreadFields(page, editEthernet, ethernetChoiceFields());

    pushPage(page);
}

void QVantelSettingsPage::refreshEthernetRows(QVantelMenuItems *page)
{
    if (!page)
        return;
    const std::set<int> &kept = keptEthernetRows;
    const auto isKept = [&kept](int rowId) { return kept.count(rowId) != 0; };
    const bool unknown = editEthernet.state() == TComController::StateUnknown;
    // The addresses are open while the switch shows DHCP off, the unit's or the operator's.
    bool manual = editEthernet.mode() == kModeManual;
    if (QVantelMenuItem *row = page->findItem(kRowEthernetDhcp)) {
        if (unknown || !editEthernet.isKnown(kEthernetKeyMode)) {
            showUnread(row);
        } else if (isKept(kRowEthernetDhcp)) {
            manual = !row->isChecked();
        } else {
            showSwitchRead(row);
            row->setChecked(!manual);
            row->setReadOnly(false);
        }
    }
    for (const SettingsField<Ethernet> &field : ethernetAddressFields()) {
        QVantelMenuItem *row = page->findItem(field.row);
        if (row && !editEthernet.isKnown(*field.key)) {
            showUnread(row);
        } else if (row) {
            if (!isKept(field.row))
                row->setValueText(toQString(field.getText(editEthernet)));
            row->setReadOnly(unknown || !manual);
        }
    }
    // Only the primary interface's link mode may be changed, whatever the event says.
    const bool foreignLink = !isPrimaryEthernet(editEthernet.networkId());
    for (const SettingsField<Ethernet> &field : ethernetChoiceFields()) {
        QVantelMenuItem *row = page->findItem(field.row);
        if (!row)
            continue;
        const int value = field.getNumber(editEthernet);
        if (!isKept(field.row) && row->findValue(value, true) >= 0)
            row->selectValue(value, true, false);
        row->setReadOnly(unknown || row->values().size() < 2 || !editEthernet.isKnown(*field.key)
                         || (field.row == kRowEthernetLinkMode && foreignLink));
    }
}

std::set<int> QVantelSettingsPage::ethernetEdits(QVantelMenuItems *page)
{
    if (!page)
        return {};
    std::set<int> rows = changedRows(page, editEthernet, ethernetAddressFields());
    rows.merge(changedRows(page, editEthernet, ethernetChoiceFields()));
    if (const QVantelMenuItem *dhcp = editableRow(page, kRowEthernetDhcp);
        dhcp && dhcpChanged(dhcp, editEthernet)) {
        rows.insert(kRowEthernetDhcp);
    }
    return rows;
}

bool QVantelSettingsPage::hasEthernetChanges(QVantelMenuItems *page)
{
    if (!page)
        return false;
    bool changed = false;
    if (const QVantelMenuItem *dhcp = editableRow(page, kRowEthernetDhcp)) {
        changed = dhcpChanged(dhcp, editEthernet);
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

void QVantelSettingsPage::commitEthernetItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    if (item->id() != kRowEthernetDhcp)
        return;
    for (const SettingsField<Ethernet> &field : ethernetAddressFields()) {
        if (QVantelMenuItem *address = page->findItem(field.row))
            address->setReadOnly(item->isChecked() || !editEthernet.isKnown(*field.key));
    }
}

// A configuration event of an Ethernet interface reaches the edit copy once it has been read;
// the copy's new configuration then refreshes the page. The rows the operator has changed and
// not applied keep the operator's values: they are taken before the copy takes the event, and
// the refresh leaves them alone (the core then marks the page by what still differs).
void QVantelSettingsPage::noticeEthernetPage(QVantelMenuItems *page, const SettingsNotice &notice)
{
    if (notice.kind == SettingsNotice::EthernetConfiguration) {
        refreshEthernetRows(page);
    } else if (notice.kind == SettingsNotice::Configuration
               && *notice.message->param(kKeyEventType, true) == kEventConfigInfo
               && TComDevice::networkFamily(*notice.message->param(kKeyNetwork, true))
                      == TComDevice::EthernetFamily
               && editEthernet.state() != TComController::StateUnknown) {
        const QScopedValueRollback<std::set<int>> kept(keptEthernetRows, ethernetEdits(page));
        editEthernet.handleEvent(*notice.message);
    }
}
