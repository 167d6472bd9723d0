// The SIP pages of the Network section: SIP settings (10) and the two SIP accounts (76, 77).
//
// The rows are views over the device's AoIP controller. Apply stages every changed row in the
// controller without sending, then writes the staged keys in one request and re-initialises the
// "aoip" network. Each staged field remembers the value it had; when the write or the
// re-initialisation fails every field is put back (without sending), so the controller stays
// as the unit has it, the modified mark stays and a retry finds the rows changed again.
// Number rows are checked before anything is staged: a text that is no number or lies outside
// its range fails the Apply instead of sending the value held before.

#include "settings/qvantelsettingspage.h"
#include "settings/settingsfields.h"
#include "settings/settingsids.h"
#include "settings/settingsrows.h"

#include "model/comaoipcontroller.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"
#include "model/modelkeys.h"
#include "model/sipaccount.h"
#include "model/textconversions.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

#include <QGridLayout>
#include <QLabel>
#include <QPointer>

#include <string>
#include <vector>

namespace {

// Distance of account 2's ports above the shared ones.
constexpr int kSecondAccountPortOffset = 2;

constexpr int kMaxPort = 65535;
constexpr int kMaxDscp = 63;

// Account 2's port for one of account 1's. A port the unit reports with no port two above it
// (below 1, or above 65533) is shown as the unit reports it.
int secondAccountPort(int port)
{
    return port >= 1 && port <= kMaxPort - kSecondAccountPortOffset
               ? port + kSecondAccountPortOffset
               : port;
}

using Aoip = TComAoIPController;
using Field = SettingsField<Aoip>;

// The firmware gates of these pages: the first version that has the rows or keys.
bool portsOnAccountPages()
{
    return firmwareAtLeast(kFirmware1_7_2);
}

bool registrarOnAccountPages()
{
    return firmwareAtLeast(kFirmware1_8_2);
}

// The default account row is a switch: on for account 2, off for account 1.
bool defaultAccountDiffers(const Aoip &controller, const QVantelMenuItem *row, FieldValue &value)
{
    value.number = row->isChecked() ? 2 : 1;
    return value.number != controller.sipDefAccount();
}

// The registrar row of the SIP page is account 1's.
bool registrarDiffers(const Aoip &controller, const QVantelMenuItem *row, FieldValue &value)
{
    value.text = toStdString(row->valueText());
    return value.text != controller.account1().registrar();
}

void stageRegistrar(Aoip &controller,
                    const FieldValue &value,
                    const std::string &key,
                    StagedChanges &staged)
{
    SipAccount &account = controller.account1();
    staged.stage(account, &SipAccount::setRegistrar, value.text, key, account.registrar());
}

// The shared ports: on the SIP page before firmware 1.7.2, on the account pages from then on.
Field sipPortField()
{
    return Field::number(
        kRowSipPort, kAoipKeySipUdpPort, &Aoip::sipUdpPort, &Aoip::setSipUdpPort, 1, kMaxPort);
}

Field rtpPortField()
{
    return Field::number(kRowSipRtpPort,
                         kAoipKeyRtpStartPort,
                         &Aoip::rtpStartPort,
                         &Aoip::setRtpStartPort,
                         1,
                         kMaxPort);
}

// The editable rows of the SIP settings page in the order they are compared and their keys are
// written.
const SettingsFields<Aoip> &sipFields()
{
    static const SettingsFields<Aoip> fields = {
        Field::choice(kRowSipProtocol, kAoipKeyAudioMode, &Aoip::audioMode, &Aoip::setAudioMode),
        Field::flag(
            kRowSipDoubleStream, kAoipKeyDoubleStream, &Aoip::doubleStream, &Aoip::setDoubleStream),
        Field::choice(kRowSipStreamPattern,
                      kAoipKeyStreamPattern,
                      &Aoip::streamPattern,
                      &Aoip::setStreamPattern),
        Field::flag(kRowSipJitterBuffer, kAoipKeyJitterab, &Aoip::jitterab, &Aoip::setJitterab),
        Field::flag(kRowSipStunMode, kAoipKeyStunMode, &Aoip::stunMode, &Aoip::setStunMode),
        Field::text(kRowSipStunServer, kAoipKeyStunServer, &Aoip::stunServer, &Aoip::setStunServer),
        Field::flag(kRowSipRegistration, kAoipKeySipMode, &Aoip::sipMode, &Aoip::setSipMode),
        Field::flag(
            kRowSipIncomingCalls, kAoipKeySipAccCalls, &Aoip::sipAccCalls, &Aoip::setSipAccCalls),
        Field::flag(
            kRowSipIncomingOrigin, kAoipKeySipChkCalls, &Aoip::sipChkCalls, &Aoip::setSipChkCalls),
        Field::choice(kRowSipDefaultAccount,
                      kAoipKeySipDefAccount,
                      &Aoip::sipDefAccount,
                      &Aoip::setSipDefAccount)
            .comparedBy(defaultAccountDiffers),
        Field::custom(kRowSipRegistrar1, kAoipKeySipRegistrar, registrarDiffers, stageRegistrar),
        Field::text(kRowSipOutboundProxy, kAoipKeySipProxy, &Aoip::sipProxy, &Aoip::setSipProxy),
        Field::choice(kRowSipKeepaliveInterval,
                      kAoipKeySipKaInterval,
                      &Aoip::sipKaInterval,
                      &Aoip::setSipKaInterval),
        Field::choice(
            kRowSipKeepaliveTarget, kAoipKeySipKaTarget, &Aoip::sipKaTarget, &Aoip::setSipKaTarget),
        Field::choice(
            kRowSipRegistrationPeriod, kAoipKeySipReRegTo, &Aoip::sipReRegTo, &Aoip::setSipReRegTo),
        sipPortField(),
        rtpPortField(),
        Field::flag(kRowSipSessionTimers,
                    kAoipKeySipSessTimers,
                    &Aoip::sipSessTimers,
                    &Aoip::setSipSessTimers),
        Field::flag(kRowSipDirectIncomingCalls,
                    kAoipKeyDrtpAccCalls,
                    &Aoip::drtpAccCalls,
                    &Aoip::setDrtpAccCalls),
        Field::flag(kRowSipDirectSendOnly,
                    kAoipKeyDrtpSendOnly,
                    &Aoip::drtpSendOnly,
                    &Aoip::setDrtpSendOnly),
        Field::number(kRowSipDirectRtpPort,
                      kAoipKeyDrtpRtpPort,
                      &Aoip::drtpRtpPort,
                      &Aoip::setDrtpRtpPort,
                      1,
                      kMaxPort),
        Field::choice(kRowSipDirectReleaseTimeout,
                      kAoipKeyDrtpRelTimeout,
                      &Aoip::drtpRelTimeout,
                      &Aoip::setDrtpRelTimeout),
        Field::number(kRowSipRtpDscp, kAoipKeyRtpTos, &Aoip::rtpTos, &Aoip::setRtpTos, 0, kMaxDscp),
        Field::choice(kRowSipPacketReplication,
                      kAoipKeyMpEcmBfShift,
                      &Aoip::mpEcmBfShift,
                      &Aoip::setMpEcmBfShift),
    };
    return fields;
}

// The rows of an account page over the account's own fields, in the order their keys are
// written; account 2's keys end in "2".
SettingsFields<SipAccount> accountFields(int account)
{
    using AccountField = SettingsField<SipAccount>;
    const auto key = [account](SipAccount::Field field) -> const std::string & {
        return SipAccount::key(field, account);
    };
    return {
        AccountField::text(
            kRowSipAccountUser, key(SipAccount::User), &SipAccount::user, &SipAccount::setUser),
        AccountField::text(kRowSipAccountDisplayName,
                           key(SipAccount::DisplayName),
                           &SipAccount::displayName,
                           &SipAccount::setDisplayName),
        AccountField::text(kRowSipAccountAuthUser,
                           key(SipAccount::AuthUser),
                           &SipAccount::authUser,
                           &SipAccount::setAuthUser),
        AccountField::text(kRowSipAccountPassword,
                           key(SipAccount::Password),
                           &SipAccount::password,
                           &SipAccount::setPassword),
        AccountField::text(kRowSipAccountRegistrar,
                           key(SipAccount::Registrar),
                           &SipAccount::registrar,
                           &SipAccount::setRegistrar),
    };
}

// The rows of an account page over the controller's shared fields, written after the
// account's own.
const SettingsFields<Aoip> &accountPortFields()
{
    static const SettingsFields<Aoip> fields = {
        Field::flag(kRowSipUseAlternatePort,
                    kAoipKeySipUseUport2,
                    &Aoip::sipUseUport2,
                    &Aoip::setSipUseUport2),
        sipPortField(),
        rtpPortField(),
    };
    return fields;
}

Aoip &aoip()
{
    return *comDevice()->aoipController();
}

bool locked()
{
    return aoip().state() == TComController::StateUnknown;
}

// Writes the staged keys and re-initialises the network; on any failure the staged fields are
// put back and the failure stays on screen. Nothing staged is a success without a message.
bool sendStaged(QVantelMenuWidget *menu, StagedChanges &staged)
{
    if (staged.isEmpty())
        return true;
    menu->showMessage(QVantelSettingsPage::tr("Applying changes..."), 0);
    Aoip &controller = aoip();
    if (!controller.write(staged.keys())
        || !controller.reinitNetwork(controller.networkId(), false)) {
        staged.undo();
        menu->showMessage(QVantelSettingsPage::tr("Failed to apply changes!"), 0);
        return false;
    }
    menu->closeMessage();
    return true;
}

int accountOfPage(const QVantelMenuItems *page)
{
    return page->id() == kPageSipAccount1 ? 1 : 2;
}

} // namespace

// --- SIP settings page -----------------------------------------------------------------------

void QVantelSettingsPage::buildSipPage()
{
    auto *page = new QVantelMenuItems(kPageSip, this);
    Aoip &controller = aoip();

    std::vector<std::string> keys = {kAoipKeyAudioMode,
                                     kAoipKeyStunMode,
                                     kAoipKeyStunServer,
                                     kAoipKeySipMode,
                                     kAoipKeySipAccCalls,
                                     kAoipKeySipRegistrar,
                                     kAoipKeySipProxy,
                                     kAoipKeySipKaInterval,
                                     kAoipKeySipReRegTo};
    if (!portsOnAccountPages()) {
        keys.push_back(kAoipKeySipUdpPort);
        keys.push_back(kAoipKeyRtpStartPort);
    }
    for (const std::string *key : {&kAoipKeyDrtpAccCalls,
                                   &kAoipKeyDrtpSendOnly,
                                   &kAoipKeyDrtpRtpPort,
                                   &kAoipKeyDrtpRelTimeout,
                                   &kAoipKeyRtpTos,
                                   &kAoipKeyMpEcmBfShift,
                                   &kAoipKeyDoubleCodec,
                                   &kAoipKeyDoubleStream})
        keys.push_back(*key);
    if (firmwareAtLeast(kFirmware1_8_2)) {
        keys.push_back(kAoipKeySipChkCalls);
        keys.push_back(kAoipKeySipDefAccount);
        keys.push_back(kAoipKeySipRegistrar2);
        // Each later key came with a later firmware.
        if (firmwareAtLeast(kFirmware1_10)) {
            keys.push_back(kAoipKeyStreamPattern);
            if (firmwareAtLeast(kFirmware1_12)) {
                keys.push_back(kAoipKeyJitterab);
                if (firmwareAtLeast(kFirmware1_15)) {
                    keys.push_back(kAoipKeySipSessTimers);
                    if (firmwareAtLeast(kFirmware1_17))
                        keys.push_back(kAoipKeySipKaTarget);
                }
            }
        }
    }
    // Whatever the controller holds afterwards is shown, read or not.
    (void)controller.read(keys);
    const bool isLocked = locked();

    const auto top = [page](int id, int kind, const QString &title) {
        return addSettingsRow(page, id, kind, title, 10, 0, 10);
    };
    const auto caption = [page](const QString &title) {
        addSettingsRow(page, -1, QVantelMenuItem::Caption, title, 10, 20, 10);
    };
    const auto below = [page, isLocked](int id, int kind, const QString &title) {
        QVantelMenuItem *row = addSettingsRow(page, id, kind, title, 60, 0, 10);
        row->setReadOnly(isLocked);
        return row;
    };
    const auto seconds = [](int value) {
        return value == 1 ? tr("%1 second").arg(value) : tr("%1 seconds").arg(value);
    };
    const auto showFlag = [](QVantelMenuItem *row, bool on) { row->setChecked(on); };
    const auto twoTexts = [](QVantelMenuItem *row, const QString &off, const QString &on) {
        row->addValue(0, off);
        row->addValue(1, on);
    };

    QVantelMenuItem *protocol
        = top(kRowSipProtocol, QVantelMenuItem::Choice, tr("Default Protocol for Outgoing Calls"));
    protocol->addValue(Aoip::AudioModeSip, tr("SIP"));
    if (!controller.doubleCodec() || controller.audioMode() == Aoip::AudioModeRtp)
        protocol->addValue(Aoip::AudioModeRtp, tr("Direct RTP"));
    protocol->selectValue(controller.audioMode(), true, true);
    protocol->setReadOnly(isLocked);

    if (comDevice()->deviceOptions() & TComDevice::OptionIpDoubleStream) {
        const bool blocked
            = isLocked || controller.doubleCodec() || controller.audioMode() != Aoip::AudioModeSip;
        QVantelMenuItem *doubleStream = top(
            kRowSipDoubleStream, QVantelMenuItem::Switch, tr("Double Streaming for SIP Calls"));
        showFlag(doubleStream, controller.doubleStream());
        doubleStream->setReadOnly(blocked);
        if (firmwareAtLeast(kFirmware1_10)) {
            QVantelMenuItem *pattern = top(
                kRowSipStreamPattern, QVantelMenuItem::Choice, tr("Double Streaming Pattern"));
            pattern->addValue(0, tr("True Diversity"));
            pattern->addValue(1, tr("Bonding 50/50"));
            pattern->addValue(2, tr("Bonding 66/33"));
            pattern->addValue(3, tr("Bonding 33/66"));
            pattern->selectValue(controller.streamPattern(), true, true);
            pattern->setReadOnly(blocked);
            if (firmwareAtLeast(kFirmware1_12)) {
                QVantelMenuItem *jitter
                    = top(kRowSipJitterBuffer, QVantelMenuItem::Switch, tr("Jitter Buffer Mode"));
                twoTexts(jitter, QStringLiteral("Fixed latency"), QStringLiteral("Adaptive"));
                showFlag(jitter, controller.jitterab());
                jitter->setReadOnly(isLocked);
            }
        }
    }

    caption(tr("STUN"));
    showFlag(below(kRowSipStunMode, QVantelMenuItem::Switch, tr("State")), controller.stunMode());
    below(kRowSipStunServer, QVantelMenuItem::TextEntry, tr("Server"))
        ->setValueText(toQString(controller.stunServer()));

    caption(tr("SIP"));
    showFlag(below(kRowSipRegistration, QVantelMenuItem::Switch, tr("Registration")),
             controller.sipMode());
    QVantelMenuItem *incoming
        = below(kRowSipIncomingCalls, QVantelMenuItem::Switch, tr("Incoming Calls"));
    twoTexts(incoming, tr("Disabled"), tr("Accept"));
    showFlag(incoming, controller.sipAccCalls());
    if (firmwareAtLeast(kFirmware1_8_2)) {
        QVantelMenuItem *origin
            = below(kRowSipIncomingOrigin, QVantelMenuItem::Switch, tr("Incoming Calls Origin"));
        twoTexts(origin, tr("Any"), tr("Only from SIP Server"));
        showFlag(origin, controller.sipChkCalls());
        QVantelMenuItem *account
            = below(kRowSipDefaultAccount, QVantelMenuItem::Switch, tr("Default SIP Account"));
        twoTexts(account, tr("Account 1"), tr("Account 2"));
        showFlag(account, controller.sipDefAccount() == 2);
    } else {
        below(kRowSipRegistrar1, QVantelMenuItem::TextEntry, tr("Registrar"))
            ->setValueText(toQString(controller.account1().registrar()));
    }
    below(kPageSipAccount1, QVantelMenuItem::Navigation, tr("Account 1"))
        ->setValueText(tr("Configure the primary SIP Account"));
    below(kPageSipAccount2, QVantelMenuItem::Navigation, tr("Account 2"))
        ->setValueText(tr("Configure the secondary SIP Account"));
    below(kRowSipOutboundProxy, QVantelMenuItem::TextEntry, tr("Outbound Proxy"))
        ->setValueText(toQString(controller.sipProxy()));

    QVantelMenuItem *interval
        = below(kRowSipKeepaliveInterval, QVantelMenuItem::Choice, tr("Keepalive Interval"));
    for (const int value : {5, 10, 15, 20, 25, 30, 45, 60, 90, 120, 180})
        interval->addValue(value, seconds(value));
    interval->selectValue(controller.sipKaInterval(), true, true);
    if (firmwareAtLeast(kFirmware1_17)) {
        QVantelMenuItem *target
            = below(kRowSipKeepaliveTarget, QVantelMenuItem::Choice, tr("Keepalive Target"));
        target->addValue(0, tr("User Agent"));
        target->addValue(1, tr("SIP Server"));
        target->selectValue(controller.sipKaTarget(), true, true);
    }
    QVantelMenuItem *period = below(
        kRowSipRegistrationPeriod, QVantelMenuItem::Choice, tr("Minimum Registration Period"));
    for (const int value : {30, 60, 90})
        period->addValue(value, seconds(value));
    for (const int value : {120, 180, 300, 600, 900, 1800, 3600})
        period->addValue(value, tr("%1 minutes").arg(value / 60));
    period->selectValue(controller.sipReRegTo(), true, true);
    if (!portsOnAccountPages()) {
        below(kRowSipPort, QVantelMenuItem::NumericEntry, tr("SIP Port"))
            ->setValueText(QString::number(controller.sipUdpPort()));
        below(kRowSipRtpPort, QVantelMenuItem::NumericEntry, tr("RTP Port"))
            ->setValueText(QString::number(controller.rtpStartPort()));
    }
    if (firmwareAtLeast(kFirmware1_15)) {
        QVantelMenuItem *timers = below(
            kRowSipSessionTimers, QVantelMenuItem::Switch, tr("Periodically Refresh Sessions"));
        twoTexts(timers, tr("Disabled"), tr("Use Session Timers"));
        showFlag(timers, controller.sipSessTimers());
    }

    caption(tr("Direct RTP"));
    QVantelMenuItem *direct
        = below(kRowSipDirectIncomingCalls, QVantelMenuItem::Switch, tr("Incoming Calls"));
    twoTexts(direct, tr("Disabled"), tr("Accept"));
    showFlag(direct, controller.drtpAccCalls());
    showFlag(below(kRowSipDirectSendOnly, QVantelMenuItem::Switch, tr("Send Only")),
             controller.drtpSendOnly());
    below(kRowSipDirectRtpPort, QVantelMenuItem::NumericEntry, tr("RTP Port"))
        ->setValueText(QString::number(controller.drtpRtpPort()));
    QVantelMenuItem *release
        = below(kRowSipDirectReleaseTimeout, QVantelMenuItem::Choice, tr("Release Timeout"));
    for (const int value : {1, 2, 5, 10, 20, 30})
        release->addValue(value, seconds(value));
    release->selectValue(controller.drtpRelTimeout(), true, true);

    caption(tr("Quality of Service"));
    below(kRowSipRtpDscp, QVantelMenuItem::NumericEntry, tr("RTP DSCP"))
        ->setValueText(QString::number(controller.rtpTos()));
    QVantelMenuItem *replication
        = below(kRowSipPacketReplication, QVantelMenuItem::Choice, tr("Packet Replication"));
    replication->addValue(0, tr("None"));
    replication->addValue(1, tr("Short Delay"));
    replication->addValue(2, tr("Interleaved (recommended)"));
    replication->selectValue(controller.mpEcmBfShift(), true, true);

    // A setting the unit did not send shows no default as its value and is never written.
    showUnreadFields(page, controller, sipFields());
    updateDefaultAccountRow(page);
    pushPage(page);
}

void QVantelSettingsPage::updateSipProtocolRows(QVantelMenuItems *page, QVantelMenuItem *item)
{
    if (item->isReadOnly() || !item->currentValue())
        return;
    const bool blocked = item->currentValue()->value != Aoip::AudioModeSip || locked();
    const Aoip &controller = aoip();
    // A row the unit did not send stays locked, whatever the protocol.
    QVantelMenuItem *doubleStream = page->findItem(kRowSipDoubleStream);
    if (doubleStream && controller.isKnown(kAoipKeyDoubleStream)) {
        doubleStream->setChecked(blocked ? false : controller.doubleStream());
        doubleStream->setReadOnly(blocked);
    }
    QVantelMenuItem *pattern = page->findItem(kRowSipStreamPattern);
    if (pattern && controller.isKnown(kAoipKeyStreamPattern))
        pattern->setReadOnly(blocked);
}

void QVantelSettingsPage::updateDefaultAccountRow(QVantelMenuItems *page)
{
    if (!page)
        return;
    QVantelMenuItem *row = page->findItem(kRowSipDefaultAccount);
    const Aoip &controller = aoip();
    // One the unit did not send stays as built: locked, showing no account.
    if (!row || !controller.isKnown(kAoipKeySipDefAccount))
        return;
    const std::string &second = controller.account2().registrar();
    const bool editableRow = controller.audioMode() == Aoip::AudioModeSip
                             && !controller.doubleCodec() && !controller.doubleStream()
                             && !second.empty() && second != controller.account1().registrar()
                             && !locked();
    row->setReadOnly(!editableRow);
    row->setChecked(controller.sipDefAccount() == 2);
}

bool QVantelSettingsPage::hasSipChanges(QVantelMenuItems *page)
{
    return page && fieldsDiffer(page, aoip(), sipFields());
}

bool QVantelSettingsPage::applySipPage(QVantelMenuItems *page)
{
    if (!page)
        return false;
    if (!numbersInRange(page, sipFields())) {
        showMessage(tr("Failed to apply changes!"), 0);
        return false;
    }
    StagedChanges staged;
    stageChangedFields(page, aoip(), sipFields(), staged);
    return sendStaged(this, staged);
}

// --- SIP account pages -----------------------------------------------------------------------

void QVantelSettingsPage::buildSipAccountPage(int pageId)
{
    const int number = pageId == kPageSipAccount1 ? 1 : 2;
    auto *page = new QVantelMenuItems(number == 1 ? kPageSipAccount1 : kPageSipAccount2, this);
    Aoip &controller = aoip();

    std::vector<std::string> keys;
    for (const SipAccount::Field field :
         {SipAccount::User, SipAccount::DisplayName, SipAccount::AuthUser, SipAccount::Password})
        keys.push_back(SipAccount::key(field, number));
    if (registrarOnAccountPages())
        keys.push_back(SipAccount::key(SipAccount::Registrar, number));
    if (portsOnAccountPages()) {
        keys.push_back(kAoipKeySipUseUport2);
        keys.push_back(kAoipKeySipUdpPort);
        keys.push_back(kAoipKeyRtpStartPort);
    }
    (void)controller.read(keys);
    const bool isLocked = locked();
    const SipAccount &account = controller.account(number);

    const auto add = [page](int id, int kind, const QString &title, bool readOnly) {
        QVantelMenuItem *row = addSettingsRow(page, id, kind, title, 10, 0, 10);
        row->setReadOnly(readOnly);
        return row;
    };
    add(kRowSipAccountUser, QVantelMenuItem::TextEntry, tr("User Name"), isLocked)
        ->setValueText(toQString(account.user()));
    add(kRowSipAccountDisplayName, QVantelMenuItem::TextEntry, tr("Display Name"), isLocked)
        ->setValueText(toQString(account.displayName()));
    add(kRowSipAccountAuthUser, QVantelMenuItem::TextEntry, tr("User Authentication"), isLocked)
        ->setValueText(toQString(account.authUser()));
    add(kRowSipAccountPassword,
        QVantelMenuItem::MaskedEntry,
        tr("Authentication Password"),
        isLocked)
        ->setValueText(toQString(account.password()));
    if (registrarOnAccountPages())
        add(kRowSipAccountRegistrar, QVantelMenuItem::TextEntry, tr("Registrar"), isLocked)
            ->setValueText(toQString(account.registrar()));
    if (portsOnAccountPages()) {
        int sipPort = controller.sipUdpPort();
        int rtpPort = controller.rtpStartPort();
        if (number == 2) {
            QVantelMenuItem *alternate = add(kRowSipUseAlternatePort,
                                             QVantelMenuItem::Switch,
                                             tr("Use Alternate SIP Port"),
                                             isLocked);
            alternate->setChecked(controller.sipUseUport2());
            if (controller.sipUseUport2())
                sipPort = secondAccountPort(sipPort);
            rtpPort = secondAccountPort(rtpPort);
        }
        // Account 2's ports follow account 1's and are edited there.
        const bool portsLocked = number == 2 || isLocked;
        add(kRowSipPort, QVantelMenuItem::NumericEntry, tr("SIP Port"), portsLocked)
            ->setValueText(QString::number(sipPort));
        add(kRowSipRtpPort, QVantelMenuItem::NumericEntry, tr("RTP Port"), portsLocked)
            ->setValueText(QString::number(rtpPort));
    }
    // A setting the unit did not send shows no default as its value and is never written;
    // account 2's SIP port depends on its alternate-port switch too.
    showUnreadFields(page, controller, accountFields(number));
    showUnreadFields(page, controller, accountPortFields());
    if (number == 2 && !controller.isKnown(kAoipKeySipUseUport2))
        showUnread(page->findItem(kRowSipPort));
    pushPage(page);
}

bool QVantelSettingsPage::hasSipAccountChanges(QVantelMenuItems *page)
{
    if (!page)
        return false;
    const Aoip &controller = aoip();
    const int account = accountOfPage(page);
    return fieldsDiffer(page, controller.account(account), accountFields(account))
           || fieldsDiffer(page, controller, accountPortFields());
}

bool QVantelSettingsPage::applySipAccountPage(QVantelMenuItems *page)
{
    if (!page)
        return false;
    if (!numbersInRange(page, accountPortFields())) {
        showMessage(tr("Failed to apply changes!"), 0);
        return false;
    }
    Aoip &controller = aoip();
    const int account = accountOfPage(page);
    StagedChanges staged;
    stageChangedFields(page, controller.account(account), accountFields(account), staged);
    stageChangedFields(page, controller, accountPortFields(), staged);
    return sendStaged(this, staged);
}

// --- Commits ---------------------------------------------------------------------------------

// The account's port row follows its alternate-port switch.
void QVantelSettingsPage::commitSipAccountItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    if (item->id() != kRowSipUseAlternatePort || !aoip().isKnown(kAoipKeySipUdpPort))
        return;
    if (QVantelMenuItem *port = page->findItem(kRowSipPort)) {
        const int sipPort = aoip().sipUdpPort();
        port->setValueText(
            QString::number(item->isChecked() ? secondAccountPort(sipPort) : sipPort));
    }
}

// --- The section's pages ---------------------------------------------------------------------

namespace {

// A call over IP uses the SIP settings, which refuses Apply on the SIP pages.
bool callOverIp(QVantelSettingsPage &, int)
{
    return comDevice()->findAudioConnectionByTransport(TComDevice::TransportIp) != nullptr;
}

} // namespace

void QVantelSettingsPage::sipPages(SettingsPageTable &rows)
{
    rows.push_back(SettingsPageRow(kPageSip)
                       .opens([](Page &menu, int) { menu.buildSipPage(); })
                       .onReturn([](Page &menu, Items *page, int, int) {
                           QPointer<QVantelMenuItems> shown = page;
                           updateDefaultAccountRow(page);
                           if (shown)
                               menu.showChanges(page);
                       })
                       .refusesApply(callOverIp)
                       .changes([](Page &, Items *page) { return hasSipChanges(page); })
                       .applies([](Page &menu, Items *page) {
                           return settingsAppliedIf(menu.applySipPage(page));
                       })
                       .afterApplying([](Page &, Items *page) { updateDefaultAccountRow(page); })
                       .commits([](Page &, Items *page, Item *item) {
                           if (item->id() == kRowSipProtocol)
                               updateSipProtocolRows(page, item);
                       }));

    rows.push_back(SettingsPageRow(kPageSipAccount1, kPageSipAccount2)
                       .opens([](Page &menu, int id) { menu.buildSipAccountPage(id); })
                       .refusesApply(callOverIp)
                       .changes([](Page &, Items *page) { return hasSipAccountChanges(page); })
                       .applies([](Page &menu, Items *page) {
                           return settingsAppliedIf(menu.applySipAccountPage(page));
                       })
                       .commits([](Page &menu, Items *page, Item *item) {
                           menu.commitSipAccountItem(page, item);
                       }));
}
