// The mobile interface pages (16-19) of the Network section.

#include "settings/qvantelsettingspage.h"
#include "settings/settingsfields.h"
#include "settings/settingsids.h"
#include "settings/settingsnetworkfields.h"
#include "settings/settingsrows.h"

#include "link/protocolkeys.h"
#include "model/accesslevel.h"
#include "model/combaseconnection.h"
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
#include <vector>

using namespace NetworkFields;

namespace {

constexpr int kPinTimeoutMs = 15000;

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

// --- Field tables: the editable rows over the edit copy, in the order their keys are written.

using Mobile = TComMobileController;

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

} // namespace

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
    if (!simUnusable) {
        QVantelMenuItem *pinSave
            = addSwitchRow(page, kRowMobilePinSave, tr("PIN Save"), copy.pinPersistent(), false);
        // Unread, its switch would show a default the unit may not hold, and Apply write it.
        if (!copy.isKnown(kMobileKeyPinPersistent))
            showUnread(pinSave);
    }
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
    // A setting the unit did not send shows no default as its value and is never written.
    showUnreadFields(page, copy, mobileFields());
    if (pageLock) {
        // Nothing was read: the rows that would show the controller's defaults say so.
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

void QVantelSettingsPage::mobileOperatorChosen(QVantelMenuItem *row, QVantelMenuSelect *select)
{
    QVantelMenuItems *page = row->page();
    const QVantelMenuSelectable *chosen = select ? select->currentSelectable() : nullptr;
    if (!page || !chosen)
        return;
    row->setValueText(chosen->label()->text());
    header()->setModified(hasMobileChanges(page));
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
