// The audio-over-IP module pages of the Audio section: the module page (123), which writes each
// committed row at once, its addressing pages (129, 130), the input streams with the receiver
// delay (137) and one page per receive slot (138-143), and the output stream page (148). The
// addressing, slot and output pages stage their edits in the process-wide module controller and
// write them together on Apply; when the module refuses, the staged values are put back, so a
// retry sends again and no other reader sees values the module never took.

#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"
#include "settings/settingsrows.h"

#include "model/accesslevel.h"
#include "model/comdevice.h"
#include "model/deviceoptionword.h"
#include "model/firmwareversion.h"
#include "model/modelkeys.h"
#include "model/textconversions.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kNoRow = -1;
constexpr int kIndentedLeft = 60;

// The option bit of units with hardware variant 1, 2 or 4, which carry more receive slots.
constexpr quint32 kOptionMoreSlots = TComDevice::OptionHardware124;

enum class Maker { Other, Merging, Audinate, ArchWave };

using Controller = TComRavennaController;

QString failureText()
{
    return settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Failed to apply changes!"));
}

QString applyingText()
{
    return settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Applying changes..."));
}

QString powerCycleText()
{
    return settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage",
                                          "Changes take effect after\nthe next power cycle"));
}

Controller *module()
{
    return ravennaController();
}

bool pageLocked()
{
    return module()->state() == TComController::StateUnknown;
}

bool moreSlots()
{
    return (deviceOptionWord & kOptionMoreSlots) != 0;
}

Maker moduleMaker()
{
    const QString text = toQString(module()->manufacturer());
    if (text.startsWith(QLatin1String("Merging"), Qt::CaseInsensitive))
        return Maker::Merging;
    if (text.startsWith(QLatin1String("Audinate"), Qt::CaseInsensitive))
        return Maker::Audinate;
    if (text.startsWith(QLatin1String("ArchWave"), Qt::CaseInsensitive))
        return Maker::ArchWave;
    return Maker::Other;
}

bool twoInterfaces()
{
    return module()->ifCount() == 2;
}

int slotCount()
{
    if (!moreSlots())
        return 2;
    return firmwareAtLeast(kFirmware1_13) ? 6 : 5;
}

bool streamRowsPresent(Maker maker)
{
    return maker != Maker::Audinate && (!moreSlots() || firmwareAtLeast(kFirmware1_7_2));
}

// The output page's rows for the second interface: a two-interface "Merging" module.
bool outputInterfaceRows()
{
    return moduleMaker() == Maker::Merging && twoInterfaces();
}

QString rateText(int rate)
{
    const QString format = settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "%1 kHz"));
    if (rate % 1000 == 0)
        return format.arg(rate / 1000);
    return format.arg(rate / 1000.0, 0, 'f', 1);
}

QString resolutionText(int bits)
{
    return settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "%1 bits")).arg(bits);
}

QString delayText(int delay)
{
    if (delay < 1)
        return settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Automatic"));
    return QString::number(delay);
}

QString addressingText(const Controller::NetInterface &net)
{
    QString address = toQString(net.ipAddr);
    if (address.isEmpty())
        address = settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "No Address"));
    const char *mode = QT_TRANSLATE_NOOP("QVantelSettingsPage", "Static");
    if (net.dhcp == Controller::DhcpOn)
        mode = QT_TRANSLATE_NOOP("QVantelSettingsPage", "DHCP");
    else if (net.dhcp == Controller::DhcpZeroconf)
        mode = QT_TRANSLATE_NOOP("QVantelSettingsPage", "ZeroConf");
    return QStringLiteral("%1 [ %2 ]").arg(address, settingsText(mode));
}

QString outputSummary()
{
    QString name = toQString(module()->nameOu());
    if (name.isEmpty())
        name = settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "No Name"));
    const QString state
        = module()->modeOu()
              ? settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Transmitting"))
              : settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Disabled"));
    return QStringLiteral("%1 [ %2 ]").arg(name, state);
}

QString slotText(const Controller::StreamRef &ref)
{
    if (ref.id == Controller::NoStream)
        return toQString(ref.name);
    return settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "%1 [ Channel %2 ]"))
        .arg(toQString(ref.name))
        .arg(qint64(ref.channel) + 1);
}

// The channels a listed stream offers: the count the unit lists, within what a stream carries.
int channelCount(const Controller::StreamRef &stream)
{
    constexpr int kMostChannels = 64;
    return std::clamp(stream.channel, 0, kMostChannels);
}

// A decimal int; false for any other text.
bool decimal(const QString &text, int *value)
{
    bool ok = false;
    const int number = text.trimmed().toInt(&ok, 10);
    if (ok)
        *value = number;
    return ok;
}

// A port is a number from 1 to 65535; any other text is not one.
bool portNumber(const QString &text, int *value)
{
    int number = 0;
    if (!decimal(text, &number) || number < 1 || number > 65535)
        return false;
    *value = number;
    return true;
}

void setRowText(QVantelMenuItems *page, int id, const QString &text)
{
    if (QVantelMenuItem *row = page->findItem(id))
        row->setValueText(text);
}

void setRowReadOnly(QVantelMenuItems *page, int id, bool on)
{
    if (QVantelMenuItem *row = page->findItem(id))
        row->setReadOnly(on);
}

int addressInterface(const QVantelMenuItems *page)
{
    return page->id() - kPageRavennaAddress1;
}

int streamSlot(const QVantelMenuItems *page)
{
    return page->id() - kPageStreamFirst;
}

// The keys of one interface of the addressing pages.
struct AddressKeys
{
    const std::string &dhcp;
    const std::string &ipAddr;
    const std::string &subnet;
    const std::string &gateway;
    const std::string &hwAddr;
    const std::string &vlanId;
};

AddressKeys addressKeys(int iface)
{
    if (iface == 0) {
        return {kRavennaKeyRavDhcp,
                kRavennaKeyRavIpAddr,
                kRavennaKeyRavSubnet,
                kRavennaKeyRavGateway,
                kRavennaKeyRavHwAddr,
                kRavennaKeyRavVlanId};
    }
    return {kRavennaKeyRavDhcp1,
            kRavennaKeyRavIpAddr1,
            kRavennaKeyRavSubnet1,
            kRavennaKeyRavGateway1,
            kRavennaKeyRavHwAddr1,
            kRavennaKeyRavVlanId1};
}

const std::string &slotKey(int slot)
{
    static const std::string *const keys[Controller::StreamCount] = {&kRavennaKeyRavStreamIn0,
                                                                     &kRavennaKeyRavStreamIn1,
                                                                     &kRavennaKeyRavStreamIn2,
                                                                     &kRavennaKeyRavStreamIn3,
                                                                     &kRavennaKeyRavStreamIn4,
                                                                     &kRavennaKeyRavStreamIn5};
    return *keys[slot];
}

// Puts an interface's addressing back as it was before Apply staged it. The mode goes back
// through the module's own word, so a ZeroConf interface stays ZeroConf.
void restoreAddressing(int iface, const Controller::NetInterface &before)
{
    Controller *c = module();
    const AddressKeys keys = addressKeys(iface);
    std::string mode = "off";
    if (before.dhcp == Controller::DhcpOn)
        mode = "on";
    else if (before.dhcp == Controller::DhcpZeroconf)
        mode = "zeroconf";
    (void)c->applyParams({{keys.dhcp, mode}});
    (void)c->setIpAddr(iface, before.ipAddr, false);
    (void)c->setSubnet(iface, before.subnet, false);
    (void)c->setGateway(iface, before.gateway, false);
}

} // namespace

// --- Module page (123) ---------------------------------------------------------------------------

void QVantelSettingsPage::createRavennaPage()
{
    auto *page = new QVantelMenuItems(kPageRavenna, this);
    header()->setRefreshVisible(true);

    std::vector<int> rates;
    std::vector<int> resolutions;
    (void)module()->listSampleRates(rates);
    (void)module()->listResolutions(resolutions);
    const Maker maker = moduleMaker();
    const bool two = twoInterfaces();

    QVantelMenuItem *row = addSettingsRow(
        page, kRowRavennaDeviceName, QVantelMenuItem::TextEntry, tr("Device Name"));
    row->setReadOnly(true);
    row = addSettingsRow(
        page, kRowRavennaSampleRate, QVantelMenuItem::Choice, tr("Sampling Frequency"));
    for (const int rate : rates)
        row->addValue(rate, rateText(rate));
    row = addSettingsRow(
        page, kRowRavennaResolution, QVantelMenuItem::Choice, tr("Sample Resolution"));
    for (const int bits : resolutions)
        row->addValue(bits, resolutionText(bits));
    if (maker != Maker::Audinate)
        addSettingsRow(
            page, kRowRavennaPtpDomain, QVantelMenuItem::NumericEntry, tr("PTP Domain Number"));
    if (maker == Maker::Merging && firmwareAtLeast(kFirmware1_10_1)) {
        row = addSettingsRow(
            page, kRowRavennaNetMode, QVantelMenuItem::Choice, tr("Networking Mode"));
        row->addValue(Controller::NetModeSwitch, tr("Switch (same network)"));
        row->addValue(Controller::NetModeRedundant, tr("Redundancy (separate networks)"));
    }
    addSettingsRow(page,
                   kPageRavennaAddress1,
                   QVantelMenuItem::Navigation,
                   two ? tr("IP Addressing (Interface 1)") : tr("IP Addressing"));
    if (two)
        addSettingsRow(page,
                       kPageRavennaAddress2,
                       QVantelMenuItem::Navigation,
                       tr("IP Addressing (Interface 2)"));
    if (streamRowsPresent(maker)) {
        addSettingsRow(page, kPageRavennaInputs, QVantelMenuItem::Navigation, tr("Input Streams"));
        addSettingsRow(page, kPageRavennaOutput, QVantelMenuItem::Navigation, tr("Output Stream"));
    }

    const auto statusRow = [page](int id, const QString &label) {
        addSettingsRow(page, id, QVantelMenuItem::TextEntry, label, kIndentedLeft)
            ->setReadOnly(true);
    };
    addSettingsRow(page, kNoRow, QVantelMenuItem::Caption, tr("Status"), 10, 20);
    if (!firmwareAtLeast(kFirmware1_10))
        statusRow(kRowRavennaSyncState, tr("Sync State"));
    else
        statusRow(kRowRavennaLockState, tr("Sync State"));
    statusRow(kRowRavennaLinkState, tr("Link State"));
    statusRow(kRowRavennaPtpState, tr("PTP State"));
    addSettingsRow(page, kNoRow, QVantelMenuItem::Caption, tr("Information"), 10, 20);
    if (firmwareAtLeast(kFirmware1_7)) {
        statusRow(kRowRavennaManufacturer, tr("Manufacturer"));
        statusRow(kRowRavennaModel, tr("Model"));
        if (maker == Maker::Audinate && firmwareAtLeast(kFirmware1_15))
            statusRow(kRowRavennaFirmwareVersion, tr("Firmware Version"));
    }
    statusRow(kRowRavennaSoftwareRevision, tr("Software Revision"));
    if (maker == Maker::Merging && firmwareAtLeast(kFirmware1_10))
        statusRow(kRowRavennaMaintenanceRevision, tr("Maintenance Mode Revision"));
    statusRow(kRowRavennaHardwareRevision, tr("Hardware Revision"));

    refreshRavennaPage(page);
    pushPage(page);
}

void QVantelSettingsPage::refreshRavennaPage(QVantelMenuItems *page)
{
    if (!page)
        return;
    Controller *c = module();
    const bool locked = pageLocked();
    const bool more = moreSlots();
    const Maker maker = moduleMaker();
    const bool streams = streamRowsPresent(maker);
    const bool two = twoInterfaces();
    // The read waits for the module; the page may be gone by then.
    const QPointer<QVantelMenuItems> guard = page;

    if (!locked) {
        std::vector<std::string> keys
            = {kRavennaKeyRavDeviceName, kRavennaKeyRavSampleRate, kRavennaKeyRavResolution};
        if (maker != Maker::Audinate)
            keys.push_back(kRavennaKeyRavPtpDomain);
        if (firmwareAtLeast(kFirmware1_10_1) && maker == Maker::Merging)
            keys.push_back(kRavennaKeyRavNetMode);
        keys.push_back(kRavennaKeyRavDhcp);
        keys.push_back(kRavennaKeyRavIpAddr);
        if (streams) {
            keys.push_back(kRavennaKeyRavStatusIn0);
            keys.push_back(kRavennaKeyRavStatusIn1);
            if (more) {
                keys.push_back(kRavennaKeyRavStatusIn2);
                keys.push_back(kRavennaKeyRavStatusIn3);
                keys.push_back(kRavennaKeyRavStatusIn4);
                if (firmwareAtLeast(kFirmware1_13))
                    keys.push_back(kRavennaKeyRavStatusIn5);
            }
            keys.push_back(kRavennaKeyRavNameOu);
            keys.push_back(kRavennaKeyRavModeOu);
        }
        if (!firmwareAtLeast(kFirmware1_10)) {
            keys.push_back(kRavennaKeyRavSyncState);
        } else {
            keys.push_back(kRavennaKeyRavLockState);
            if (maker == Maker::Merging)
                keys.push_back(kRavennaKeyRavRescueosRev);
            if (maker == Maker::Audinate && firmwareAtLeast(kFirmware1_15))
                keys.push_back(kRavennaKeyRavFirmwareVer);
        }
        keys.push_back(kRavennaKeyRavLinkState);
        keys.push_back(kRavennaKeyRavPtpState);
        if (firmwareAtLeast(kFirmware1_7)
            && !toQString(c->manufacturer())
                    .startsWith(QLatin1String("ArchWave"), Qt::CaseInsensitive))
            keys.push_back(kRavennaKeyRavFirmwareRev);
        if (two) {
            keys.push_back(kRavennaKeyRavDhcp1);
            keys.push_back(kRavennaKeyRavIpAddr1);
            keys.push_back(kRavennaKeyRavLinkState1);
            keys.push_back(kRavennaKeyRavPtpState1);
        }
        (void)c->read(keys);
        if (!guard)
            return;
    }

    if (QVantelMenuItem *row = page->findItem(kRowRavennaDeviceName)) {
        row->setValueText(toQString(c->deviceName()));
        row->setReadOnly(locked || accessLevel != AccessLevel::Administrator);
    }
    const auto showChoice = [page, locked](int id, int value, const QString &formatted) {
        QVantelMenuItem *row = page->findItem(id);
        if (!row)
            return;
        row->selectValue(value, true, true);
        if (!row->currentValue())
            row->setValueText(formatted, true);
        row->setReadOnly(locked);
    };
    showChoice(kRowRavennaSampleRate, c->sampleRate(), rateText(c->sampleRate()));
    showChoice(kRowRavennaResolution, c->resolution(), resolutionText(c->resolution()));
    if (QVantelMenuItem *row = page->findItem(kRowRavennaPtpDomain)) {
        row->setValueText(QString::number(c->ptpDomain()));
        row->setReadOnly(locked);
    }
    if (QVantelMenuItem *row = page->findItem(kRowRavennaNetMode)) {
        row->selectValue(c->netMode(), true, false);
        row->setReadOnly(locked);
    }
    for (int iface = 0; iface < 2; ++iface) {
        if (QVantelMenuItem *row = page->findItem(kPageRavennaAddress1 + iface)) {
            row->setValueText(addressingText(c->netInterface(iface)));
            row->setReadOnly(locked);
        }
    }
    if (QVantelMenuItem *row = page->findItem(kPageRavennaInputs)) {
        QStringList lines;
        for (int i = 0; i < slotCount(); ++i) {
            const Controller::StreamRef &ref = c->streamIn(i);
            QString state = streamStateText(ref.status);
            if (ref.status2 != Controller::StreamDisabled)
                state += QStringLiteral(" / ") + streamStateText(ref.status2);
            lines << tr("Stream %1 [ %2 ]").arg(i + 1).arg(state);
        }
        row->setValueText(lines.join(QLatin1Char('\n')));
        row->setReadOnly(locked);
    }
    if (QVantelMenuItem *row = page->findItem(kPageRavennaOutput)) {
        row->setValueText(outputSummary());
        row->setReadOnly(locked);
    }

    setRowText(page, kRowRavennaSyncState, c->syncState() != 0 ? tr("OK") : tr("Error"));
    setRowText(page, kRowRavennaLockState, lockStateText(c->lockState()));
    const auto linkWord = [c](int iface) {
        return c->netInterface(iface).linkState ? tr("Active") : tr("Disconnected");
    };
    const auto pair = [two](const QString &first, const QString &second) {
        return two ? QStringLiteral("%1 / %2").arg(first, second) : first;
    };
    setRowText(page, kRowRavennaLinkState, pair(linkWord(0), linkWord(1)));
    setRowText(
        page,
        kRowRavennaPtpState,
        pair(ptpStateText(c->netInterface(0).ptpState), ptpStateText(c->netInterface(1).ptpState)));
    setRowText(page, kRowRavennaManufacturer, toQString(c->manufacturer()));
    setRowText(page, kRowRavennaModel, toQString(c->hardwareName()));
    setRowText(page, kRowRavennaFirmwareVersion, toQString(c->firmwareVer()));
    setRowText(page, kRowRavennaSoftwareRevision, toQString(c->firmwareRev()));
    setRowText(page, kRowRavennaMaintenanceRevision, toQString(c->rescueosRev()));
    setRowText(page, kRowRavennaHardwareRevision, toQString(c->hardwareRev()));
}

// --- Addressing pages (129, 130) ---------------------------------------------------------------

void QVantelSettingsPage::createRavennaAddressPage(int pageId)
{
    auto *page = new QVantelMenuItems(pageId, this);
    addSettingsRow(page, kRowRavennaDhcp, QVantelMenuItem::Switch, tr("DHCP"));
    addSettingsRow(page, kRowRavennaIpAddress, QVantelMenuItem::NumericEntry, tr("IP Address"));
    addSettingsRow(page, kRowRavennaSubnet, QVantelMenuItem::NumericEntry, tr("Subnet Mask"));
    addSettingsRow(page, kRowRavennaGateway, QVantelMenuItem::NumericEntry, tr("Default Gateway"));
    addSettingsRow(page, kRowRavennaMacAddress, QVantelMenuItem::NumericEntry, tr("MAC Address"))
        ->setReadOnly(true);
    refreshRavennaAddressPage(page);
    pushPage(page);
}

void QVantelSettingsPage::refreshRavennaAddressPage(QVantelMenuItems *page)
{
    if (!page)
        return;
    Controller *c = module();
    const int iface = addressInterface(page);
    const bool locked = pageLocked();
    if (!locked) {
        const QPointer<QVantelMenuItems> guard = page;
        const AddressKeys keys = addressKeys(iface);
        std::vector<std::string> read
            = {keys.dhcp, keys.ipAddr, keys.subnet, keys.gateway, keys.hwAddr};
        if (moduleMaker() == Maker::Merging && twoInterfaces())
            read.push_back(keys.vlanId);
        (void)c->read(read);
        if (!guard)
            return;
    }
    // The address rows follow the mode just read, so they are locked exactly when the switch
    // shows DHCP or ZeroConf.
    const Controller::NetInterface &net = c->netInterface(iface);
    const bool addressLocked = locked || net.dhcp != Controller::DhcpOff;
    if (QVantelMenuItem *row = page->findItem(kRowRavennaDhcp)) {
        row->setChecked(net.dhcp != Controller::DhcpOff);
        row->setReadOnly(locked);
    }
    const std::pair<int, const std::string *> texts[] = {{kRowRavennaIpAddress, &net.ipAddr},
                                                         {kRowRavennaSubnet, &net.subnet},
                                                         {kRowRavennaGateway, &net.gateway}};
    for (const auto &[id, text] : texts) {
        if (QVantelMenuItem *row = page->findItem(id)) {
            row->setValueText(toQString(*text));
            row->setReadOnly(addressLocked);
        }
    }
    setRowText(page, kRowRavennaMacAddress, toQString(net.hwAddr));
}

bool QVantelSettingsPage::ravennaAddressHasChanges(QVantelMenuItems *page)
{
    if (!page)
        return false;
    QVantelMenuItem *dhcp = editableRow(page, kRowRavennaDhcp);
    if (!dhcp)
        return false;
    const Controller::NetInterface &net = module()->netInterface(addressInterface(page));
    if (dhcp->isChecked() != (net.dhcp != Controller::DhcpOff))
        return true;
    if (dhcp->isChecked())
        return false;
    const std::pair<int, const std::string *> texts[] = {{kRowRavennaIpAddress, &net.ipAddr},
                                                         {kRowRavennaSubnet, &net.subnet},
                                                         {kRowRavennaGateway, &net.gateway}};
    for (const auto &[id, text] : texts) {
        QVantelMenuItem *row = editableRow(page, id);
        if (row && row->valueText() != toQString(*text))
            return true;
    }
    return false;
}

bool QVantelSettingsPage::applyRavennaAddressPage(QVantelMenuItems *page)
{
    if (!page)
        return false;
    QVantelMenuItem *dhcp = editableRow(page, kRowRavennaDhcp);
    if (!dhcp)
        return true;
    Controller *c = module();
    const int iface = addressInterface(page);
    const AddressKeys keys = addressKeys(iface);
    const Controller::NetInterface before = c->netInterface(iface);

    std::vector<std::string> changed;
    const bool on = dhcp->isChecked();
    if (on != (before.dhcp != Controller::DhcpOff)) {
        (void)c->setDhcp(iface, on, false);
        changed.push_back(keys.dhcp);
    }
    if (!on) {
        using Setter = bool (Controller::*)(int, const std::string &, bool);
        const struct
        {
            int row;
            const std::string &value;
            Setter setter;
            const std::string &key;
        } fields[] = {{kRowRavennaIpAddress, before.ipAddr, &Controller::setIpAddr, keys.ipAddr},
                      {kRowRavennaSubnet, before.subnet, &Controller::setSubnet, keys.subnet},
                      {kRowRavennaGateway, before.gateway, &Controller::setGateway, keys.gateway}};
        for (const auto &field : fields) {
            QVantelMenuItem *row = editableRow(page, field.row);
            if (!row || row->valueText() == toQString(field.value))
                continue;
            (void)(c->*field.setter)(iface, toStdString(row->valueText()), false);
            changed.push_back(field.key);
        }
    }
    if (changed.empty())
        return true;

    showMessage(applyingText(), kApplyingMs);
    if (!c->write(changed)) {
        restoreAddressing(iface, before);
        showMessage(failureText(), 0);
        return false;
    }
    showMessage(powerCycleText(), 0);
    return true;
}

// --- Input streams (137) and receive slots (138-143) -----------------------------------------

void QVantelSettingsPage::createRavennaInputsPage()
{
    auto *page = new QVantelMenuItems(kPageRavennaInputs, this);
    for (int i = 0; i < slotCount(); ++i)
        addSettingsRow(page,
                       kPageStreamFirst + i,
                       QVantelMenuItem::Navigation,
                       tr("Input Stream %1").arg(i + 1));
    addSettingsRow(page, kRowReceiverDelay, QVantelMenuItem::NumericEntry, QString());
    refreshRavennaInputsPage(page);
    pushPage(page);
}

void QVantelSettingsPage::refreshRavennaInputsPage(QVantelMenuItems *page)
{
    if (!page)
        return;
    Controller *c = module();
    const bool locked = pageLocked();
    const bool more = moreSlots();
    const int count = slotCount();
    if (!locked) {
        const QPointer<QVantelMenuItems> guard = page;
        std::vector<std::string> keys = {kRavennaKeyRavStreamIn0, kRavennaKeyRavStreamIn1};
        if (more) {
            keys.push_back(kRavennaKeyRavStreamIn2);
            keys.push_back(kRavennaKeyRavStreamIn3);
            keys.push_back(kRavennaKeyRavStreamIn4);
            if (firmwareAtLeast(kFirmware1_13))
                keys.push_back(kRavennaKeyRavStreamIn5);
        }
        keys.push_back(kRavennaKeyRavDelayMinIn);
        keys.push_back(kRavennaKeyRavDelayMaxIn);
        keys.push_back(kRavennaKeyRavDelayIn);
        (void)c->read(keys);
        if (!guard)
            return;
    }
    for (int i = 0; i < count; ++i) {
        if (QVantelMenuItem *row = page->findItem(kPageStreamFirst + i)) {
            row->setValueText(slotText(c->streamIn(i)));
            row->setReadOnly(locked);
        }
    }
    if (QVantelMenuItem *row = page->findItem(kRowReceiverDelay)) {
        row->titleLabel()->setText(
            tr("Receiver Delay (%1..%2 samples)").arg(c->delayMinIn()).arg(c->delayMaxIn()));
        row->setValueText(delayText(c->delayIn()));
        row->setReadOnly(locked || more);
    }
}

void QVantelSettingsPage::createRavennaStreamPage(int pageId)
{
    const int slot = pageId - kPageStreamFirst;
    ravennaStreamEdit = module()->streamIn(slot);
    auto *page = new QVantelMenuItems(pageId, this);
    addSettingsRow(page, kRowStreamId, QVantelMenuItem::Choice, tr("Stream ID"));
    addSettingsRow(page, kRowStreamChannel, QVantelMenuItem::Choice, tr("Channel"));
    QVantelMenuItem *mode
        = addSettingsRow(page, kRowStreamMode, QVantelMenuItem::Choice, tr("Mode"));
    mode->addValue(0, tr("Multicast"));
    mode->addValue(1, tr("Unicast/SIP"));
    mode->selectValue(0, true, false);
    mode->setReadOnly(true);
    refreshRavennaStreamPage(page);
    pushPage(page);
}

void QVantelSettingsPage::refreshRavennaStreamPage(QVantelMenuItems *page)
{
    if (!page)
        return;
    header()->setRefreshVisible(false);
    const bool locked = pageLocked();
    const QPointer<QVantelMenuItems> guard = page;
    std::vector<Controller::StreamRef> listed;
    (void)module()->listStreamsIn(listed);
    if (!guard)
        return;

    const Controller::StreamRef *chosen = nullptr;
    for (const Controller::StreamRef &stream : listed) {
        if (stream.name == ravennaStreamEdit.name) {
            chosen = &stream;
            break;
        }
    }
    // A listed stream's second number is its channel count; its channels are 0 to n - 1. A
    // channel beyond the last is the last, one below the first (a negative one) the first.
    if (chosen) {
        ravennaStreamEdit.id = chosen->id;
        const int count = channelCount(*chosen);
        ravennaStreamEdit.channel
            = std::clamp(ravennaStreamEdit.channel, 0, std::max(count - 1, 0));
    }

    if (QVantelMenuItem *row = page->findItem(kRowStreamId)) {
        row->clearValues();
        for (const Controller::StreamRef &stream : listed)
            row->addValue(stream.id, toQString(stream.name));
        row->selectValue(ravennaStreamEdit.id, true, false);
        row->setReadOnly(locked);
    }
    if (QVantelMenuItem *row = page->findItem(kRowStreamChannel)) {
        row->clearValues();
        row->setValueText(QString(), true);
        if (chosen) {
            for (int channel = 0, count = channelCount(*chosen); channel < count; ++channel)
                row->addValue(channel, QString::number(channel + 1));
            row->selectValue(ravennaStreamEdit.channel, true, false);
        }
        row->setReadOnly(locked);
    }
    // A channel the stream does not have, or a stream now listed under another id, has just
    // been corrected in the edit: the page then differs from the module and offers the Apply
    // that writes the correction.
    const int slot = streamSlot(page);
    if (!locked && slot >= 0 && slot < Controller::StreamCount && isPageInView(page))
        header()->setModified(!module()->streamIn(slot).sameStream(ravennaStreamEdit));
}

bool QVantelSettingsPage::ravennaStreamHasChanges(QVantelMenuItems *page)
{
    if (!page)
        return false;
    const Controller::StreamRef &ref = module()->streamIn(streamSlot(page));
    if (QVantelMenuItem *row = editableRow(page, kRowStreamId)) {
        const QVantelMenuItem::Value *value = row->currentValue();
        if (value && value->text != toQString(ref.name))
            return true;
    }
    if (QVantelMenuItem *row = editableRow(page, kRowStreamChannel)) {
        const QVantelMenuItem::Value *value = row->currentValue();
        if (value && value->value != ref.channel)
            return true;
    }
    return false;
}

bool QVantelSettingsPage::applyRavennaStreamPage(QVantelMenuItems *page)
{
    if (!page)
        return false;
    Controller *c = module();
    const int slot = streamSlot(page);
    if (slot < 0 || slot >= Controller::StreamCount)
        return false;
    const Controller::StreamRef before = c->streamIn(slot);
    if (before.sameStream(ravennaStreamEdit))
        return true;
    (void)c->setStreamIn(slot, ravennaStreamEdit, false);
    showMessage(applyingText(), kApplyingMs);
    if (!c->write({slotKey(slot)})) {
        // The module still has the old reference; its status words come with the next read.
        (void)c->setStreamIn(slot, before, false);
        showMessage(failureText(), 0);
        return false;
    }
    return true;
}

// --- Output stream (148) -------------------------------------------------------------------------

void QVantelSettingsPage::createRavennaOutputPage()
{
    auto *page = new QVantelMenuItems(kPageRavennaOutput, this);
    const bool interfaceRows = outputInterfaceRows();
    addSettingsRow(page, kRowOutputStreamName, QVantelMenuItem::TextEntry, tr("Stream ID"));
    addSettingsRow(page, kRowOutputTransmit, QVantelMenuItem::Switch, tr("State"));
    if (interfaceRows) {
        QVantelMenuItem *row = addSettingsRow(
            page, kRowOutputInterfaces, QVantelMenuItem::Choice, tr("Output Interface(s)"));
        row->addValue(0, tr("Interface 1"));
        row->addValue(1, tr("Interface 2"));
        row->addValue(2, tr("Interfaces 1&2"));
        addSettingsRow(
            page, kRowOutputInterface1Caption, QVantelMenuItem::Caption, tr("Interface 1"));
    }
    addSettingsRow(page, kRowOutputAutoconf1, QVantelMenuItem::Switch, tr("Auto Configuration"));
    addSettingsRow(page, kRowOutputMcAddr1, QVantelMenuItem::NumericEntry, tr("Multicast Address"));
    addSettingsRow(page, kRowOutputMcPort1, QVantelMenuItem::NumericEntry, tr("Multicast Port"));
    if (interfaceRows) {
        addSettingsRow(
            page, kRowOutputInterface2Caption, QVantelMenuItem::Caption, tr("Interface 2"));
        addSettingsRow(page,
                       kRowOutputAutoconf2,
                       QVantelMenuItem::Switch,
                       tr("Auto Configuration"),
                       kIndentedLeft);
        addSettingsRow(page,
                       kRowOutputMcAddr2,
                       QVantelMenuItem::NumericEntry,
                       tr("Multicast Address"),
                       kIndentedLeft);
        addSettingsRow(page,
                       kRowOutputMcPort2,
                       QVantelMenuItem::NumericEntry,
                       tr("Multicast Port"),
                       kIndentedLeft);
    }
    addSettingsRow(page, kRowOutputChannelCount, QVantelMenuItem::NumericEntry, tr("Channel Count"))
        ->setReadOnly(true);
    addSettingsRow(page, kRowOutputPacketTime, QVantelMenuItem::NumericEntry, tr("Packet Time"))
        ->setReadOnly(true);
    refreshRavennaOutputPage(page);
    pushPage(page);
}

void QVantelSettingsPage::refreshRavennaOutputPage(QVantelMenuItems *page)
{
    if (!page)
        return;
    Controller *c = module();
    const bool locked = pageLocked();
    const bool interfaceRows = outputInterfaceRows();
    if (!locked) {
        const QPointer<QVantelMenuItems> guard = page;
        std::vector<std::string> keys = {kRavennaKeyRavNameOu,
                                         kRavennaKeyRavModeOu,
                                         kRavennaKeyRavAutoconfOu,
                                         kRavennaKeyRavMcAddrOu,
                                         kRavennaKeyRavMcPortOu,
                                         kRavennaKeyRavChCountOu,
                                         kRavennaKeyRavPtimeOu};
        if (interfaceRows) {
            keys.push_back(kRavennaKeyRavNetifOu);
            keys.push_back(kRavennaKeyRavAutoconfOu1);
            keys.push_back(kRavennaKeyRavMcAddrOu1);
            keys.push_back(kRavennaKeyRavMcPortOu1);
        }
        (void)c->read(keys);
        if (!guard)
            return;
    }
    const bool both = c->netifOu() == 2;

    if (QVantelMenuItem *row = page->findItem(kRowOutputStreamName)) {
        row->setValueText(toQString(c->nameOu()));
        row->setReadOnly(locked || accessLevel != AccessLevel::Administrator);
    }
    if (QVantelMenuItem *row = page->findItem(kRowOutputTransmit)) {
        row->setChecked(c->modeOu());
        row->setReadOnly(locked);
    }
    if (QVantelMenuItem *row = page->findItem(kRowOutputInterfaces)) {
        row->selectValue(c->netifOu(), true, false);
        row->setReadOnly(locked);
    }
    for (int iface = 0; iface < 2; ++iface) {
        const Controller::TxDestination &destination = c->txDestination(iface);
        const int autoconfRow = iface == 0 ? kRowOutputAutoconf1 : kRowOutputAutoconf2;
        if (QVantelMenuItem *row = page->findItem(autoconfRow)) {
            row->setChecked(destination.autoconf);
            row->setReadOnly(locked);
        }
        const bool fixed = locked || destination.autoconf;
        if (QVantelMenuItem *row = page->findItem(autoconfRow + 1)) {
            row->setValueText(toQString(destination.mcAddr));
            row->setReadOnly(fixed);
        }
        if (QVantelMenuItem *row = page->findItem(autoconfRow + 2)) {
            row->setValueText(QString::number(destination.mcPort));
            row->setReadOnly(fixed);
        }
    }
    for (const int id : {kRowOutputInterface1Caption,
                         kRowOutputInterface2Caption,
                         kRowOutputAutoconf2,
                         kRowOutputMcAddr2,
                         kRowOutputMcPort2}) {
        if (QVantelMenuItem *row = page->findItem(id))
            row->setVisible(both);
    }
    for (const int id : {kRowOutputAutoconf1, kRowOutputMcAddr1, kRowOutputMcPort1}) {
        if (QVantelMenuItem *row = page->findItem(id))
            row->grid()->setContentsMargins(both ? kIndentedLeft : 10, 0, 10, 0);
    }
    setRowText(page, kRowOutputChannelCount, QString::number(c->chCountOu()));
    setRowText(page, kRowOutputPacketTime, tr("%1 ms").arg(double(c->ptimeOu()), 0, 'f', 3));
}

namespace {

// One interface's editable rows of the output page, and what differs from the module's values.
struct OutputEdits
{
    std::optional<bool> autoconf;
    std::optional<std::string> mcAddr;
    std::optional<int> mcPort;
    bool badPort = false;
};

OutputEdits outputEdits(const QVantelMenuItems *page, int iface)
{
    const Controller::TxDestination &destination = module()->txDestination(iface);
    const int autoconfRow = iface == 0 ? kRowOutputAutoconf1 : kRowOutputAutoconf2;
    OutputEdits edits;
    if (QVantelMenuItem *row = editableRow(page, autoconfRow);
        row && row->isChecked() != destination.autoconf)
        edits.autoconf = row->isChecked();
    if (QVantelMenuItem *row = editableRow(page, autoconfRow + 1)) {
        const QString text = row->valueText();
        if (!text.isEmpty() && text != toQString(destination.mcAddr))
            edits.mcAddr = toStdString(text);
    }
    // Only a port the user typed is judged: the module's own value, even one out of range (a
    // port 0 it reports, a hidden interface's port), never blocks the user's other edits.
    if (QVantelMenuItem *row = editableRow(page, autoconfRow + 2);
        row && row->valueText() != QString::number(destination.mcPort)) {
        int port = 0;
        if (!portNumber(row->valueText(), &port))
            edits.badPort = true;
        else if (port != destination.mcPort)
            edits.mcPort = port;
    }
    return edits;
}

} // namespace

bool QVantelSettingsPage::ravennaOutputHasChanges(QVantelMenuItems *page)
{
    if (!page)
        return false;
    Controller *c = module();
    if (QVantelMenuItem *row = editableRow(page, kRowOutputStreamName)) {
        const QString text = row->valueText();
        if (!text.isEmpty() && text != toQString(c->nameOu()))
            return true;
    }
    if (QVantelMenuItem *row = editableRow(page, kRowOutputTransmit);
        row && row->isChecked() != c->modeOu())
        return true;
    if (QVantelMenuItem *row = editableRow(page, kRowOutputInterfaces)) {
        const QVantelMenuItem::Value *value = row->currentValue();
        if (value && value->value != c->netifOu())
            return true;
    }
    for (int iface = 0; iface < 2; ++iface) {
        const OutputEdits edits = outputEdits(page, iface);
        // A typed port that is no port counts too, so that Apply runs and refuses it.
        if (edits.autoconf || edits.mcAddr || edits.mcPort || edits.badPort)
            return true;
    }
    return false;
}

bool QVantelSettingsPage::applyRavennaOutputPage(QVantelMenuItems *page)
{
    if (!page)
        return false;
    Controller *c = module();
    const OutputEdits edits[2] = {outputEdits(page, 0), outputEdits(page, 1)};
    // A port outside 1 to 65535 is no port: refused before anything is staged.
    if (edits[0].badPort || edits[1].badPort) {
        showMessage(failureText(), 0);
        return false;
    }

    const std::string nameBefore = c->nameOu();
    const bool modeBefore = c->modeOu();
    const int netifBefore = c->netifOu();
    const Controller::TxDestination destinationsBefore[2]
        = {c->txDestination(0), c->txDestination(1)};
    std::vector<std::string> changed;
    if (QVantelMenuItem *row = editableRow(page, kRowOutputStreamName)) {
        const QString text = row->valueText();
        if (!text.isEmpty() && text != toQString(nameBefore)) {
            (void)c->setNameOu(toStdString(text), false);
            changed.push_back(kRavennaKeyRavNameOu);
        }
    }
    if (QVantelMenuItem *row = editableRow(page, kRowOutputTransmit);
        row && row->isChecked() != modeBefore) {
        (void)c->setModeOu(row->isChecked(), false);
        changed.push_back(kRavennaKeyRavModeOu);
    }
    if (QVantelMenuItem *row = editableRow(page, kRowOutputInterfaces)) {
        const QVantelMenuItem::Value *value = row->currentValue();
        if (value && value->value != netifBefore) {
            (void)c->setNetifOu(value->value, false);
            changed.push_back(kRavennaKeyRavNetifOu);
        }
    }
    const std::string *keys[2][3]
        = {{&kRavennaKeyRavAutoconfOu, &kRavennaKeyRavMcAddrOu, &kRavennaKeyRavMcPortOu},
           {&kRavennaKeyRavAutoconfOu1, &kRavennaKeyRavMcAddrOu1, &kRavennaKeyRavMcPortOu1}};
    for (int iface = 0; iface < 2; ++iface) {
        if (edits[iface].autoconf) {
            (void)c->setAutoconfOu(iface, *edits[iface].autoconf, false);
            changed.push_back(*keys[iface][0]);
        }
        if (edits[iface].mcAddr) {
            (void)c->setMcAddrOu(iface, *edits[iface].mcAddr, false);
            changed.push_back(*keys[iface][1]);
        }
        if (edits[iface].mcPort) {
            (void)c->setMcPortOu(iface, *edits[iface].mcPort, false);
            changed.push_back(*keys[iface][2]);
        }
    }
    if (changed.empty())
        return true;

    showMessage(applyingText(), kApplyingMs);
    if (!c->write(changed)) {
        (void)c->setNameOu(nameBefore, false);
        (void)c->setModeOu(modeBefore, false);
        (void)c->setNetifOu(netifBefore, false);
        for (int iface = 0; iface < 2; ++iface) {
            (void)c->setAutoconfOu(iface, destinationsBefore[iface].autoconf, false);
            (void)c->setMcAddrOu(iface, destinationsBefore[iface].mcAddr, false);
            (void)c->setMcPortOu(iface, destinationsBefore[iface].mcPort, false);
        }
        showMessage(failureText(), 0);
        return false;
    }
    return true;
}

// --- Commits ---------------------------------------------------------------------------------

// Every write waits for the module; the row is gone when its page went meanwhile.
void QVantelSettingsPage::commitRavennaSettingsItem(QVantelMenuItem *item)
{
    Controller *c = module();
    const int id = item->id();
    const auto refuse = [this] { showMessage(failureText(), 0); };
    const QPointer<QVantelMenuItem> row = item;

    if (id == kRowRavennaDeviceName) {
        const QString text = item->valueText();
        if (text.isEmpty() || !c->setDeviceName(toStdString(text), true)) {
            if (row)
                row->setValueText(toQString(c->deviceName()));
            refuse();
        }
    } else if (id == kRowRavennaSampleRate || id == kRowRavennaResolution
               || id == kRowRavennaNetMode) {
        const QVantelMenuItem::Value *value = item->currentValue();
        // Nothing to write when the module already has the value (and no power cycle to
        // announce).
        if (!value || (id == kRowRavennaNetMode && value->value == c->netMode()))
            return;
        bool ok = false;
        int current = 0;
        if (id == kRowRavennaSampleRate) {
            ok = c->setSampleRate(value->value, true);
            current = c->sampleRate();
        } else if (id == kRowRavennaResolution) {
            ok = c->setResolution(value->value, true);
            current = c->resolution();
        } else {
            ok = c->setNetMode(value->value, true);
            current = c->netMode();
        }
        if (ok) {
            if (id == kRowRavennaNetMode)
                showMessage(powerCycleText(), 0);
            return;
        }
        if (row) {
            row->selectValue(current, true, id != kRowRavennaNetMode);
            if (id == kRowRavennaSampleRate && !row->currentValue())
                row->setValueText(rateText(current), true);
            else if (id == kRowRavennaResolution && !row->currentValue())
                row->setValueText(resolutionText(current), true);
        }
        refuse();
    } else if (id == kRowRavennaPtpDomain) {
        int domain = 0;
        if (!decimal(item->valueText(), &domain) || !c->setPtpDomain(domain, true)) {
            if (row)
                row->setValueText(QString::number(c->ptpDomain()));
            refuse();
        }
    }
}

void QVantelSettingsPage::commitRavennaAddressItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    if (item->id() != kRowRavennaDhcp)
        return;
    const bool on = item->isChecked();
    for (const int row : {kRowRavennaIpAddress, kRowRavennaSubnet, kRowRavennaGateway})
        setRowReadOnly(page, row, on);
}

void QVantelSettingsPage::commitRavennaInputsItem(QVantelMenuItem *item)
{
    if (item->id() != kRowReceiverDelay)
        return;
    Controller *c = module();
    const QPointer<QVantelMenuItem> row = item;
    int delay = 0;
    if (!decimal(item->valueText(), &delay) || delay < c->delayMinIn() || delay > c->delayMaxIn()
        || !c->setDelayIn(delay, true)) {
        if (row)
            row->setValueText(delayText(c->delayIn()));
        showMessage(failureText(), 0);
    }
}

void QVantelSettingsPage::commitRavennaStreamItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    const QVantelMenuItem::Value *value = item->currentValue();
    if (!value)
        return;
    if (item->id() == kRowStreamId) {
        ravennaStreamEdit.name = toStdString(value->text);
        refreshRavennaStreamPage(page);
    } else if (item->id() == kRowStreamChannel) {
        ravennaStreamEdit.channel = value->value;
    }
}

void QVantelSettingsPage::commitRavennaOutputItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    const int id = item->id();
    if (id == kRowOutputAutoconf1 || id == kRowOutputAutoconf2) {
        const bool fixed = pageLocked() || item->isChecked();
        setRowReadOnly(page, id + 1, fixed);
        setRowReadOnly(page, id + 2, fixed);
    }
}

// --- The section's pages ---------------------------------------------------------------------

void QVantelSettingsPage::ravennaPages(SettingsPageTable &rows)
{
    rows.push_back(SettingsPageRow(kPageRavenna)
                       .opens([](Page &menu, int) { menu.createRavennaPage(); })
                       .onReturn([](Page &menu, Items *page, int, int) {
                           menu.header()->setRefreshVisible(true);
                           menu.refreshRavennaPage(page);
                       })
                       .refreshes([](Page &menu, Items *page) { menu.refreshRavennaPage(page); })
                       .commits([](Page &menu, Items *, Item *item) {
                           menu.commitRavennaSettingsItem(item);
                       }));

    rows.push_back(
        SettingsPageRow(kPageRavennaAddress1, kPageRavennaAddress2)
            .opens([](Page &menu, int id) { menu.createRavennaAddressPage(id); })
            .changes([](Page &menu, Items *page) { return menu.ravennaAddressHasChanges(page); })
            .applies([](Page &menu, Items *page) {
                return settingsAppliedIf(menu.applyRavennaAddressPage(page));
            })
            .commits([](Page &menu, Items *page, Item *item) {
                menu.commitRavennaAddressItem(page, item);
            }));

    rows.push_back(
        SettingsPageRow(kPageRavennaInputs)
            .opens([](Page &menu, int) { menu.createRavennaInputsPage(); })
            .onReturn(
                [](Page &menu, Items *page, int, int) { menu.refreshRavennaInputsPage(page); })
            .commits([](Page &menu, Items *, Item *item) { menu.commitRavennaInputsItem(item); }));

    rows.push_back(
        SettingsPageRow(kPageStreamFirst, kPageStreamLast)
            .opens([](Page &menu, int id) { menu.createRavennaStreamPage(id); })
            .refreshes([](Page &menu, Items *page) { menu.refreshRavennaStreamPage(page); })
            .changes([](Page &menu, Items *page) { return menu.ravennaStreamHasChanges(page); })
            .applies([](Page &menu, Items *page) {
                return settingsAppliedIf(menu.applyRavennaStreamPage(page));
            })
            .afterApplying([](Page &menu, Items *page) {
                QVantelMenuItem *channel = page->findItem(kRowStreamChannel);
                if (channel && !channel->isReadOnly() && !channel->currentValue()
                    && menu.ravennaStreamEdit.id != Controller::NoStream) {
                    channel->setValueText(tr("Press refresh before selecting a channel"), Qt::red);
                    menu.header()->setRefreshVisible(true);
                }
            })
            .commits([](Page &menu, Items *page, Item *item) {
                menu.commitRavennaStreamItem(page, item);
            }));

    rows.push_back(
        SettingsPageRow(kPageRavennaOutput)
            .opens([](Page &menu, int) { menu.createRavennaOutputPage(); })
            .changes([](Page &menu, Items *page) { return menu.ravennaOutputHasChanges(page); })
            .applies([](Page &menu, Items *page) {
                return settingsAppliedIf(menu.applyRavennaOutputPage(page));
            })
            .afterApplying([](Page &menu, Items *page) { menu.refreshRavennaOutputPage(page); })
            .commits([](Page &menu, Items *page, Item *item) {
                menu.commitRavennaOutputItem(page, item);
            }));
}
