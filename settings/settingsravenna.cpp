// The audio-over-IP module pages of the Audio section: the module page (123), which writes each
// committed row at once, its addressing pages (129, 130), the input streams with the receiver
// delay (137) and one page per receive slot (138-143), and the output stream page (148). The
// addressing, slot and output pages stage their edits in the process-wide module controller and
// write them together on Apply; when the module refuses, the staged values are put back, so a
// retry sends again and no other reader sees values the module never took.
// This file holds the module page, the helpers the pages share (settingsravennafields.h) and the
// section's page table; the addressing pages stand in settingsravennaaddress.cpp, the input
// streams and slots in settingsravennastreams.cpp and the output page in settingsravennaoutput.cpp.

#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"
#include "settings/settingsravennafields.h"
#include "settings/settingsrows.h"

#include "model/accesslevel.h"
#include "model/comdevice.h"
#include "model/comravennacontroller.h"
#include "model/deviceoptionword.h"
#include "model/firmwareversion.h"
#include "model/modelkeys.h"
#include "model/textconversions.h"
#include "model/writereport.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelswitch.h"

#include <QCoreApplication>
#include <QPointer>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace RavennaFields {

namespace {

// The option bit of units with hardware variant 1, 2 or 4, which carry more receive slots.
constexpr quint32 kOptionMoreSlots = TComDevice::OptionHardware124;

} // namespace

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

bool decimal(const QString &text, int *value)
{
    bool ok = false;
    const int number = text.trimmed().toInt(&ok, 10);
    if (ok)
        *value = number;
    return ok;
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

namespace {

void showRowUnread(QVantelMenuItem *row)
{
    switch (row->kind()) {
    case QVantelMenuItem::Caption:
        break;
    case QVantelMenuItem::Navigation:
        row->setValueText(QString());
        break;
    default:
        showUnreadKeepingChoices(row);
        break;
    }
}

} // namespace

void showRowByKey(QVantelMenuItems *page, int id, const std::string &key)
{
    QVantelMenuItem *row = page->findItem(id);
    if (!row)
        return;
    if (!module()->isKnown(key))
        showRowUnread(row);
    else if (row->switchButton() && row->switchButton()->isHidden())
        showSwitchRead(row);
}

void showPageUnread(QVantelMenuItems *page)
{
    for (QVantelMenuItem *row : page->items())
        showRowUnread(row);
}

} // namespace RavennaFields

using namespace RavennaFields;

namespace {

constexpr int kNoRow = -1;

bool streamRowsPresent(Maker maker)
{
    return maker != Maker::Audinate && (!moreSlots() || firmwareAtLeast(kFirmware1_7_2));
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
    bool unread = false;

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
        unread = !c->read(keys);
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
        if (!c->isKnown(iface == 0 ? kRavennaKeyRavLinkState : kRavennaKeyRavLinkState1))
            return tr("Unknown");
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
    // A setting the module did not send shows no default as its value and is never written.
    const std::pair<int, const std::string *> settings[] = {
        {kRowRavennaDeviceName, &kRavennaKeyRavDeviceName},
        {kRowRavennaSampleRate, &kRavennaKeyRavSampleRate},
        {kRowRavennaResolution, &kRavennaKeyRavResolution},
        {kRowRavennaPtpDomain, &kRavennaKeyRavPtpDomain},
        {kRowRavennaNetMode, &kRavennaKeyRavNetMode},
    };
    for (const auto &[id, key] : settings)
        showRowByKey(page, id, *key);
    if (unread)
        showPageUnread(page);
}

// Every write waits for the module; the row is gone when its page went meanwhile.
void QVantelSettingsPage::commitRavennaSettingsItem(QVantelMenuItem *item)
{
    Controller *c = module();
    const int id = item->id();
    const QPointer<QVantelMenuItem> row = item;
    // Not taken: the row shows what the module holds.
    const WriteWatch watch;
    const auto refuse = [this, &row, &watch](const std::function<void(QVantelMenuItem *)> &show) {
        showWriteFailed(this, row, watch, show);
    };

    if (id == kRowRavennaDeviceName) {
        const QString text = item->valueText();
        if (text.isEmpty() || !c->setDeviceName(toStdString(text), true))
            refuse([c](QVantelMenuItem *r) { r->setValueText(toQString(c->deviceName())); });
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
        refuse([id, current](QVantelMenuItem *r) {
            r->selectValue(current, true, id != kRowRavennaNetMode);
            if (id == kRowRavennaSampleRate && !r->currentValue())
                r->setValueText(rateText(current), true);
            else if (id == kRowRavennaResolution && !r->currentValue())
                r->setValueText(resolutionText(current), true);
        });
    } else if (id == kRowRavennaPtpDomain) {
        int domain = 0;
        if (!decimal(item->valueText(), &domain) || !c->setPtpDomain(domain, true))
            refuse([c](QVantelMenuItem *r) { r->setValueText(QString::number(c->ptpDomain())); });
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
