// Troubleshooting (241) and remote assistance (245) of the Tools section.

#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"
#include "settings/settingsrows.h"

#include "link/valueconversions.h"
#include "model/accesslevel.h"
#include "model/comdevice.h"
#include "model/comgeneralsettings.h"
#include "model/firmwareversion.h"
#include "model/textconversions.h"
#include "widgets/qvantellocalize.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelmenuselectable.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QVariant>

#include <array>
#include <map>
#include <string>

namespace {

constexpr int kLogLevelCoarse = 5;
constexpr int kNetworkAuto = 0xFFFF;

// The reset categories of row 244, by value, with the device word of each.
enum ResetCategory : int {
    ResetSipProfiles = 3,
    ResetDefaults = 5,
    ResetFull = 6,
    ResetSipAccounts = 7,
};

struct ResetEntry
{
    const char *text;
    const char *level;
};

constexpr std::array<ResetEntry, 8> kResetCategories{{
    {QT_TRANSLATE_NOOP("QVantelSettingsPage", "Call History"), "addrhistory"},
    {QT_TRANSLATE_NOOP("QVantelSettingsPage", "Call Profiles"), "remote_profile"},
    {QT_TRANSLATE_NOOP("QVantelSettingsPage", "Presets"), "local_profile"},
    {QT_TRANSLATE_NOOP("QVantelSettingsPage", "SIP Profiles"), "sip_profile"},
    {QT_TRANSLATE_NOOP("QVantelSettingsPage", "Snapshots"), "snapshot"},
    {QT_TRANSLATE_NOOP("QVantelSettingsPage", "Restore Default Settings"), "settings"},
    {QT_TRANSLATE_NOOP("QVantelSettingsPage", "Full Factory Reset"), "full"},
    {QT_TRANSLATE_NOOP("QVantelSettingsPage", "Reload the Factory SIP Accounts"), "sipaccount"},
}};

const std::string kOn = "on";
const std::string kOff = "off";
const std::string kAuto = "auto";

QVantelMenuItem *
addTextRow(QVantelMenuItems *page, int id, const QString &label, const QString &text, bool readOnly)
{
    QVantelMenuItem *row = addSettingsRow(page, id, QVantelMenuItem::TextEntry, label);
    row->setValueText(text);
    row->setReadOnly(readOnly);
    return row;
}

TComGeneralSettings generalSettings()
{
    return TComGeneralSettings(comDevice()->com());
}

const std::string *reported(const std::map<std::string, std::string> &values,
                            const std::string &key)
{
    const auto it = values.find(key);
    return it == values.end() ? nullptr : &it->second;
}

// Set on a remote-assistance row whose setting the page could not read: until a later read
// brings it, the row shows "Unknown" (a text row nothing) and is locked, so that no default is
// shown as the device's value nor written over it. The second property holds whether the row is
// editable once read.
const char kUnreadProperty[] = "unread";
const char kEditableOnceReadProperty[] = "editableOnceRead";

void showRemoteUnread(QVantelMenuItem *row)
{
    row->setProperty(kEditableOnceReadProperty, !row->isReadOnly());
    // A choice keeps its entries for the read that fills it.
    showUnreadKeepingChoices(row);
}

// A writable row that shows the device's value or the operator's edit: editableRow() less the
// unread rows, whose default would otherwise be compared with the unit and sent.
QVantelMenuItem *comparableRow(QVantelMenuItems *page, int id)
{
    QVantelMenuItem *row = editableRow(page, id);
    return row && !row->property(kUnreadProperty).toBool() ? row : nullptr;
}

// The keys of the remote-assistance rows the operator changed against values the device
// reported now. A row whose key the device did not report takes no part, nor does a row the
// page could not fill and the operator has not touched: what nobody has seen is never
// overwritten.
std::map<std::string, std::string>
remoteAssistanceChanges(QVantelMenuItems *page, const std::map<std::string, std::string> &device)
{
    std::map<std::string, std::string> changes;
    if (QVantelMenuItem *row = comparableRow(page, kRowRemoteAccess)) {
        if (const std::string *value = reported(device, kGeneralKeyRemoteAccess)) {
            if (row->isChecked() != (*value == kOn))
                changes[kGeneralKeyRemoteAccess] = row->isChecked() ? kOn : kOff;
        }
    }
    if (QVantelMenuItem *row = comparableRow(page, kRowRemoteNetwork)) {
        const std::string *value = reported(device, kGeneralKeyRemoteAccessNetwork);
        const QVantelMenuItem::Value *current = row->currentValue();
        if (value && current && current->value != TComDevice::networkFromString(*value)) {
            changes[kGeneralKeyRemoteAccessNetwork]
                = current->value == kNetworkAuto ? kAuto
                                                 : TComDevice::networkToString(current->value);
        }
    }
    const std::pair<int, const std::string *> texts[] = {
        {kRowRemoteServer, &kGeneralKeyRemoteAccessServer},
        {kRowRemotePassword, &kGeneralKeyRemoteAccessPwd},
    };
    for (const auto &[id, key] : texts) {
        QVantelMenuItem *row = comparableRow(page, id);
        const std::string *value = reported(device, *key);
        if (row && value && row->valueText() != fromDeviceString(*value))
            changes[*key] = toDeviceString(row->valueText());
    }
    return changes;
}

std::map<std::string, std::string> readRemoteAssistance()
{
    return generalSettings().read({kGeneralKeySerialNo,
                                   kGeneralKeyCodecId,
                                   kGeneralKeyRemoteAccess,
                                   kGeneralKeyRemoteAccessNetwork,
                                   kGeneralKeyRemoteAccessServer,
                                   kGeneralKeyRemoteAccessPwd});
}

// Shows what the device reported in the rows the page could not fill until now, and unlocks
// those the operator may edit. A filled row is unread no longer.
void fillUnreadRemoteRows(QVantelMenuItems *page, const std::map<std::string, std::string> &values)
{
    const auto take = [page, &values](int id, const std::string &key) -> const std::string * {
        QVantelMenuItem *row = page ? page->findItem(id) : nullptr;
        const std::string *value = reported(values, key);
        if (!row || !value || !row->property(kUnreadProperty).toBool())
            return nullptr;
        row->setProperty(kUnreadProperty, QVariant());
        if (row->property(kEditableOnceReadProperty).isValid()) {
            showSwitchRead(row);
            row->setReadOnly(!row->property(kEditableOnceReadProperty).toBool());
        }
        return value;
    };
    if (const std::string *value = take(kRowRemoteAccess, kGeneralKeyRemoteAccess))
        page->findItem(kRowRemoteAccess)->setChecked(*value == kOn);
    if (const std::string *value = take(kRowRemoteNetwork, kGeneralKeyRemoteAccessNetwork)) {
        QVantelMenuItem *row = page->findItem(kRowRemoteNetwork);
        const int networkId = TComDevice::networkFromString(*value);
        row->selectValue(networkId, true, true);
        // An interface the row does not offer is shown in red, with no current entry.
        if (!row->currentValue())
            row->setValueText(QVantelLocalize::interfaceName(networkId), Qt::red, true);
    }
    const std::pair<int, const std::string *> texts[] = {
        {kRowRemoteServer, &kGeneralKeyRemoteAccessServer},
        {kRowRemotePassword, &kGeneralKeyRemoteAccessPwd},
    };
    for (const auto &[id, key] : texts) {
        if (const std::string *value = take(id, *key))
            page->findItem(id)->setValueText(fromDeviceString(*value));
    }
    for (const auto &[id, key] :
         {std::pair<int, const std::string *>{kRowRemoteSerialNo, &kGeneralKeySerialNo},
          {kRowRemoteCodecId, &kGeneralKeyCodecId}}) {
        if (const std::string *value = take(id, *key))
            page->findItem(id)->setValueText(toQString(*value));
    }
}

} // namespace

void QVantelSettingsPage::createTroubleshootingPage()
{
    auto *page = new QVantelMenuItems(kPageTroubleshooting, this);
    addSettingsRow(page, kRowLogLevel, QVantelMenuItem::Choice, tr("Log Level"));
    addTextRow(page, kRowLogAddr, tr("Syslog Server"), QString(), false);

    QVantelMenuItem *reset = addSettingsRow(page, kRowReset, QVantelMenuItem::Action, tr("Reset"));
    for (int value = 0; value < int(kResetCategories.size()); ++value) {
        if (value == ResetSipProfiles && !firmwareAtLeast(kFirmware1_7_2))
            continue;
        reset->addValue(value, settingsText(kResetCategories[size_t(value)].text));
    }
    reset->selectValue(0, false, false);
    reset->setValueText(tr("Select the category of settings to reset"));

    refreshTroubleshootingPage(page);
    pushPage(page);
}

void QVantelSettingsPage::refreshTroubleshootingPage(QVantelMenuItems *page)
{
    if (!page)
        return;
    const QPointer<QVantelMenuItems> guard = page;
    const std::map<std::string, std::string> values
        = generalSettings().read({kGeneralKeyLogLevel, kGeneralKeyLogAddr});
    if (!guard)
        return;
    if (QVantelMenuItem *row = page->findItem(kRowLogLevel)) {
        const std::string *level = reported(values, kGeneralKeyLogLevel);
        rememberUnitWord(row, level ? *level : std::string());
        if (!level) {
            // Not read, or not sent: no level is shown as if the unit logged at it.
            showUnread(row);
        } else {
            row->clearValues();
            row->addValue(5, tr("Coarse"));
            row->addValue(6, tr("Normal"));
            row->addValue(8, tr("Debug"));
            int value = stringToInt(*level);
            // A level the list does not offer (7 among them) shows the first entry.
            if (value != 5 && value != 6 && value != 8)
                value = kLogLevelCoarse;
            row->selectValue(value, true, false);
            row->setReadOnly(false);
        }
    }
    if (QVantelMenuItem *row = page->findItem(kRowLogAddr)) {
        const std::string *address = reported(values, kGeneralKeyLogAddr);
        row->setValueText(address ? toQString(*address) : QString());
        row->setReadOnly(!address);
    }
}

void QVantelSettingsPage::createRemoteAssistancePage()
{
    auto *page = new QVantelMenuItems(kPageRemoteAssistance, this);
    TComDevice *device = comDevice();
    const quint32 options = device->deviceOptions();
    const bool remoteAccess = options & TComDevice::OptionRemoteAccess;
    const bool fullService = options & TComDevice::OptionRemoteAccessFull;
    const bool administrator = accessLevel == AccessLevel::Administrator;

    const std::map<std::string, std::string> values = readRemoteAssistance();
    // Every row starts as unread; the rows the device reported are then filled, and the others
    // show no value, locked, until the change test, which reads the device again, fills them.
    // An Apply never overwrites a setting nobody has seen. Only a read that failed as a whole is
    // told to the operator (by the menu, as on every page): a unit may simply not know a key.
    const auto unread = [](QVantelMenuItem *row) {
        row->setProperty(kUnreadProperty, true);
        return row;
    };

    unread(addSettingsRow(page,
                          kRowRemoteAccess,
                          QVantelMenuItem::Switch,
                          remoteAccess ? tr("Remote Access") : tr("Remote Assistance")))
        ->setChecked(false);

    QVantelMenuItem *network = unread(addSettingsRow(
        page, kRowRemoteNetwork, QVantelMenuItem::Choice, tr("Interface for Control")));
    network->addValue(kNetworkAuto, tr("Auto"));
    (void)device->readNetworks();
    const std::map<int, std::string> networks = device->networks();
    for (const auto &[id, name] : networks) {
        if (TComDevice::networkIdTransport(id) == 0)
            network->addValue(id, QVantelLocalize::interfaceName(id));
    }
    network->selectValue(kNetworkAuto, true, true);

    if (remoteAccess) {
        unread(addTextRow(page,
                          kRowRemoteServer,
                          tr("Remote Access Server"),
                          QString(),
                          !(administrator && fullService)));
    }
    unread(addTextRow(page, kRowRemoteSerialNo, tr("Serial Number"), QString(), true));
    unread(addTextRow(page, kRowRemoteCodecId, tr("Codec Identifier"), QString(), true));
    if (remoteAccess) {
        unread(
            addTextRow(page, kRowRemotePassword, tr("Codec Password"), QString(), !administrator));
    }
    fillUnreadRemoteRows(page, values);
    for (QVantelMenuItem *row : page->items()) {
        if (row->property(kUnreadProperty).toBool())
            showRemoteUnread(row);
    }
    pushPage(page);
}

bool QVantelSettingsPage::remoteAssistanceHasChanges(QVantelMenuItems *page)
{
    if (!page)
        return false;
    const QPointer<QVantelMenuItems> guard = page;
    const std::map<std::string, std::string> device = readRemoteAssistance();
    if (!guard)
        return false;
    // A later read fills what the first one could not.
    fillUnreadRemoteRows(page, device);
    return !remoteAssistanceChanges(page, device).empty();
}

bool QVantelSettingsPage::applyRemoteAssistancePage(QVantelMenuItems *page)
{
    if (!page)
        return false;
    // Every request waits for the unit; the page may be gone after any of them.
    const QPointer<QVantelMenuItems> guard = page;
    const std::map<std::string, std::string> device = readRemoteAssistance();
    if (!guard)
        return false;
    if (device.empty()) {
        // Nothing to compare with: the edits stay for another try.
        showMessage(tr("Failed to apply changes!"), 0);
        return false;
    }
    fillUnreadRemoteRows(page, device);
    const std::map<std::string, std::string> changes = remoteAssistanceChanges(page, device);
    if (changes.empty())
        return true;
    TComGeneralSettings settings = generalSettings();
    if (!settings.write(changes)) {
        showMessage(tr("Failed to apply changes!"), 0);
        return false;
    }
    if (changes.count(kGeneralKeyRemoteAccessPwd) != 0) {
        const std::map<std::string, std::string> readBack
            = settings.read({kGeneralKeyRemoteAccessPwd});
        QVantelMenuItem *row = editableRow(guard, kRowRemotePassword);
        // A failed read-back keeps the text that was written.
        if (const std::string *password = reported(readBack, kGeneralKeyRemoteAccessPwd);
            row && password)
            row->setValueText(fromDeviceString(*password));
    }
    return true;
}

// Event-log commits are sent at once and their failures stay silent; the row keeps the
// operator's value.
void QVantelSettingsPage::commitTroubleshootingItem(QVantelMenuItem *item)
{
    if (item->id() == kRowLogLevel) {
        const QVantelMenuItem::Value *current = item->currentValue();
        const std::string level = current ? std::to_string(current->value) : std::string();
        // A choice of the level the unit already logs at sends nothing. The write waits for the
        // unit; the row is gone when its page went meanwhile.
        const QPointer<QVantelMenuItem> row = item;
        if (current && !unitHolds(item, level)
            && generalSettings().changeSyslog(kGeneralKeyLogLevel, level) && row) {
            rememberUnitWord(row, level);
        }
    } else if (item->id() == kRowLogAddr) {
        (void)generalSettings().changeSyslog(kGeneralKeyLogAddr, toStdString(item->valueText()));
    }
}

void QVantelSettingsPage::commitRemoteAssistanceItem(QVantelMenuItem *item)
{
    // Chosen now: the red of an interface that was not offered goes.
    if (item->id() == kRowRemoteNetwork)
        item->setReadOnly(item->isReadOnly());
}

void QVantelSettingsPage::selectTroubleshootingItem(QVantelMenuItems *page,
                                                    QVantelMenuItem *item,
                                                    QVantelMenuSelect *select)
{
    if (!page || !item || !select || item->id() != kRowReset)
        return;
    const QVantelMenuSelectable *chosen = select->currentSelectable();
    if (!chosen)
        return;
    const int category = chosen->id();
    if (category < 0 || category >= int(kResetCategories.size()))
        return;
    const std::string level = kResetCategories[size_t(category)].level;
    const TComGeneralSettings settings = generalSettings();
    QPointer<QVantelMenuItems> guard(page);
    if (category == ResetDefaults || category == ResetFull) {
        showMessage(tr("Reset settings..."), 0);
        if (settings.reset(level, TComGeneralSettings::kLongResetTimeoutMs)) {
            if (guard)
                refreshTroubleshootingPage(guard);
            closeMessage();
        } else {
            showMessage(tr("Failed to perform reset action!"), 0);
        }
    } else if (category == ResetSipAccounts) {
        showMessage(tr("Reloading SIP Accounts..."), 0);
        if (settings.reset(level, TComGeneralSettings::kTimeoutMs))
            closeMessage();
        else
            showMessage(tr("Failed to reload the SIP Accounts!"), 0);
    } else if (!settings.reset(level, TComGeneralSettings::kTimeoutMs)) {
        showMessage(tr("Failed to perform reset action!"), 0);
    }
}

// --- The section's pages ---------------------------------------------------------------------

void QVantelSettingsPage::troubleshootingPages(SettingsPageTable &rows)
{
    rows.push_back(
        SettingsPageRow(kPageTroubleshooting)
            .opens([](Page &menu, int) { menu.createTroubleshootingPage(); })
            .commits([](Page &menu, Items *, Item *item) { menu.commitTroubleshootingItem(item); })
            .taps([](Page &menu, Items *, Item *item) {
                if (item->id() == kRowReset)
                    menu.showSelection(QString(), item, true);
            })
            .chooses([](Page &menu, Items *page, Item *item, QVantelMenuSelect *select) {
                menu.selectTroubleshootingItem(page, item, select);
            }));
    rows.push_back(
        SettingsPageRow(kPageRemoteAssistance)
            .opens([](Page &menu, int) { menu.createRemoteAssistancePage(); })
            .changes([](Page &menu, Items *page) { return menu.remoteAssistanceHasChanges(page); })
            .applies([](Page &menu, Items *page) {
                return settingsAppliedIf(menu.applyRemoteAssistancePage(page));
            })
            .commits(
                [](Page &menu, Items *, Item *item) { menu.commitRemoteAssistanceItem(item); }));
}
