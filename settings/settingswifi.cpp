// The Wi-Fi interface pages (20-23) of the Network section.

#include "settings/qvantelsettingspage.h"
#include "settings/settingsfields.h"
#include "settings/settingsids.h"
#include "settings/settingsnetworkfields.h"
#include "settings/settingsrows.h"

#include "link/protocolkeys.h"
#include "model/comdevice.h"
#include "model/modelkeys.h"
#include "model/textconversions.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelmenuselectable.h"

#include <QPointer>

#include <string>
#include <utility>
#include <vector>

using namespace NetworkFields;

namespace {

const std::vector<Choice> kWifiSecurities = {
    {TComWifiController::AuthNone, QT_TRANSLATE_NOOP("QVantelSettingsPage", "None")},
    {TComWifiController::AuthAuto, QT_TRANSLATE_NOOP("QVantelSettingsPage", "Auto")},
    {TComWifiController::AuthWep, "WEP"},
    {TComWifiController::AuthWpaPsk, "WPA-PSK"},
    {TComWifiController::AuthWpa2Psk, "WPA2-PSK"},
};

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

// --- Field tables: the editable rows over the edit copy, in the order their keys are written.

using Wifi = TComWifiController;

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

// --- Wi-Fi pages ------------------------------------------------------------------------------

void QVantelSettingsPage::createWifiPage(int pageId)
{
    auto *page = new QVantelMenuItems(pageId, this);
    editWifi.setNetwork(interfaceNetwork(pageId), TComNetworkController::ReadAllFlag, false);
    TComWifiController &copy = editWifi;
    const bool pageLock = copy.state() == TComController::StateUnknown;
    // The network is edited only while the interface is known to be inactive.
    const bool connectionLock
        = pageLock || copy.dataConnection() || !copy.isKnown(kWifiKeyDataConnection);
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
        // Choosing a network sets the name, which stays locked while the unit did not send it.
        row->setReadOnly(connectionLock || !copy.isKnown(kWifiKeySsid));
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
    // Nor is the default of a setting the unit did not send.
    showUnreadFields(page, copy, wifiFields());
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
        // A row the unit did not send stays locked.
        const std::pair<int, const std::string *> rows[]
            = {{kRowWifiList, &kWifiKeySsid},
               {kRowWifiSsid, &kWifiKeySsid},
               {kRowWifiSecurity, &kWifiKeyAuthentication},
               {kRowWifiPassphrase, &kWifiKeyPassphrase}};
        for (const auto &[id, key] : rows) {
            QVantelMenuItem *row = page->findItem(id);
            if (row)
                row->setReadOnly(locked || !copy.isKnown(*key)
                                 || (id == kRowWifiList && row->values().isEmpty()));
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
    QVantelMenuItem *name = page->findItem(kRowWifiSsid);
    // The marked network taken again keeps the security and passphrase given for it.
    if (name && name->valueText() == networkNameText(ssid))
        return;
    // The unit's own network brings back what the unit holds for it; another starts afresh.
    const bool own = ssid == editWifi.ssid();
    if (name)
        name->setValueText(networkNameText(ssid));
    if (QVantelMenuItem *security = page->findItem(kRowWifiSecurity))
        security->selectValue(
            own ? editWifi.authentication() : TComWifiController::AuthAuto, true, false);
    if (QVantelMenuItem *passphrase = page->findItem(kRowWifiPassphrase))
        passphrase->setValueText(own ? toQString(editWifi.passphrase()) : QString());
    header()->setModified(hasWifiChanges(page));
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
