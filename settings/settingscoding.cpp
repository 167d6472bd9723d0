// The Coding section: the coding page (2), the codec pages (98, 99) and automatic bit rate (100).

#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"
#include "settings/settingsrows.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "model/accesslevel.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"
#include "widgets/qvantellocalize.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

#include <QGridLayout>
#include <QLabel>
#include <QPointer>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

// The algorithm shown for the coordination line of a single-codec unit.
constexpr int kMobileVoice = 17;
// Interface code of mobile network 0.
constexpr int kMobileInterface0 = 0x300;
// The automatic bit-rate page exists from firmware 1.12.0 on.
constexpr quint32 kAutoBitRateFirmware = kFirmware1_12;

const char *const kProfileWords[] = {"safe", "standard", "punchy"};

} // namespace

void QVantelSettingsPage::createCodingMenu()
{
    TComDevice *device = comDevice();
    auto *page = new QVantelMenuItems(kPageCoding, this);
    addSettingsRow(page, kPageCodec1, QVantelMenuItem::Navigation, QString());
    addSettingsRow(page, kPageCodec2, QVantelMenuItem::Navigation, QString());
    if (firmwareAtLeast(kAutoBitRateFirmware)
        && TComDevice::networkTransport(device->defaultNetwork()) == TComDevice::TransportIp) {
        QVantelMenuItem *row = addSettingsRow(page,
                                              kPageAutoBitRate,
                                              QVantelMenuItem::Navigation,
                                              tr("Auto Bit Rate (Opus)"),
                                              10,
                                              20);
        row->setValueText(tr("Configure the auto bitrate for Opus algorithm"));
        row->setReadOnly(accessLevel == AccessLevel::Operator);
    }
    updateCodingEntries(page);
    pushPage(page);
}

void QVantelSettingsPage::updateCodingEntries(QVantelMenuItems *page)
{
    if (!page)
        return;
    const TComDevice *device = comDevice();
    const QString network
        = QVantelLocalize::interfaceName(TComDevice::networkFromString(device->defaultNetwork()));
    const bool operatorLevel = accessLevel == AccessLevel::Operator;
    if (QVantelMenuItem *row = page->findItem(kPageCodec1)) {
        row->titleLabel()->setText(tr("Codec 1 [ %1 ]").arg(network));
        row->setValueText(QVantelLocalize::codingSummary(device->coder1()));
        row->setReadOnly(operatorLevel);
    }
    if (QVantelMenuItem *row = page->findItem(kPageCodec2)) {
        if (device->codecMode() == 1) {
            row->titleLabel()->setText(tr("Codec 2 [ %1 ]").arg(network));
            row->setValueText(QVantelLocalize::codingSummary(device->coder2()));
            row->setReadOnly(operatorLevel);
        } else if (device->hasCoordinationLine()) {
            row->titleLabel()->setText(
                tr("Codec 2 [ %1 ]").arg(QVantelLocalize::interfaceName(kMobileInterface0)));
            row->setValueText(QVantelLocalize::codecName(kMobileVoice));
            row->setReadOnly(true);
        } else {
            row->titleLabel()->setText(tr("Codec 2"));
            row->setValueText(tr("Not applicable in single codec mode"));
            row->setReadOnly(true);
        }
    }
}

void QVantelSettingsPage::createCodecPage(int pageId)
{
    auto *page = new QVantelMenuItems(pageId, this);
    editCodec = pageId == kPageCodec2 ? comDevice()->coder2() : comDevice()->coder1();
    addSettingsRow(page, kRowCodecAlgorithm, QVantelMenuItem::Choice, tr("Algorithm"));
    addSettingsRow(page, kRowCodecChannelMode, QVantelMenuItem::Choice, tr("Channel Mode"));
    addSettingsRow(page, kRowCodecSampleRate, QVantelMenuItem::Choice, tr("Sampling Rate"));
    addSettingsRow(page, kRowCodecBitRate, QVantelMenuItem::Choice, tr("Bit Rate"));
    if (pageId == kPageCodec1)
        addSettingsRow(page, kRowCodecRelay, QVantelMenuItem::Switch, tr("Relay transmission"));
    QPointer<QVantelMenuItems> built = page;
    refreshCodecPage(page);
    if (!built)
        return;
    readCodec = editCodec;
    pushPage(page);
}

void QVantelSettingsPage::refreshCodecPage(QVantelMenuItems *page)
{
    if (!page)
        return;
    // Every list is a request that waits in a nested event loop; the page may go meanwhile.
    QPointer<QVantelMenuItems> guard = page;
    TComDevice *device = comDevice();
    const int mode = device->codecMode() == 1 ? 1 : 0;
    const int coder = page->id() == kPageCodec1 ? 1 : 2;
    const int noFamily = TComDevice::InvalidFamily;
    std::vector<int> list;

    if (QVantelMenuItem *row = page->findItem(kRowCodecAlgorithm)) {
        row->clearValues();
        device->listAlgorithms(mode, list, noFamily);
        if (!guard)
            return;
        // An algorithm the unit no longer lists shows the first entry; the edit keeps it.
        fillChoiceRow(row, list, &QVantelLocalize::codecName, editCodec.algorithm);
    }

    if (QVantelMenuItem *row = page->findItem(kRowCodecChannelMode)) {
        row->clearValues();
        device->listChannelModes(mode, editCodec.algorithm, coder, list, noFamily);
        if (!guard)
            return;
        // A mono coding with a coordination line in standard operation keeps mono.
        if (!device->isExtendedMode()
            && device->audioRouting() == TComDevice::RoutingMonoCoordination) {
            list.erase(std::remove_if(list.begin(),
                                      list.end(),
                                      [](int channelMode) { return channelMode != 0; }),
                       list.end());
        }
        editCodec.channelMode
            = fillChoiceRow(row, list, &QVantelLocalize::channelModeName, editCodec.channelMode);
    }

    if (QVantelMenuItem *row = page->findItem(kRowCodecSampleRate)) {
        const int algorithm = editCodec.algorithm;
        if (const int bandRate = telephoneBandRate(algorithm)) {
            // The G.711 and G.722 families run at one fixed rate the unit does not list.
            editCodec.sampleRate = 48000;
            editCodec.bitRate = 64000;
            row->clearValues();
            row->addValue(48000, tr("%1 kHz").arg(bandRate / 1000));
            row->selectValue(48000, true, false);
            row->setReadOnly(true);
        } else {
            row->clearValues();
            device->listSampleRates(mode, algorithm, editCodec.channelMode, list, noFamily);
            if (!guard)
                return;
            editCodec.sampleRate = fillChoiceRow(
                row,
                list,
                [](int rate) { return tr("%1 kHz").arg(rate / 1000); },
                editCodec.sampleRate);
        }
    }

    if (QVantelMenuItem *row = page->findItem(kRowCodecBitRate)) {
        row->clearValues();
        device->listBitRates(
            mode, editCodec.algorithm, editCodec.channelMode, editCodec.sampleRate, list, noFamily);
        if (!guard)
            return;
        editCodec.bitRate = fillChoiceRow(
            row,
            list,
            [](int rate) { return tr("%1 kbit/s").arg(rate / 1000); },
            editCodec.bitRate);
    }

    if (page->findItem(kRowCodecRelay)) {
        bool active = false;
        const bool known = device->readRelay(active);
        if (!guard)
            return;
        QVantelMenuItem *row = page->findItem(kRowCodecRelay);
        if (!row)
            return;
        row->clearValues();
        relayActive = known && active;
        row->addValue(0, known ? tr("Disabled") : tr("Not available"));
        row->addValue(1, tr("Active"));
        row->setChecked(relayActive);
        row->setReadOnly(!known);
    }
}

bool QVantelSettingsPage::codecPageHasChanges(QVantelMenuItems *page)
{
    if (!page)
        return false;
    const std::pair<int, int> rows[] = {
        {kRowCodecAlgorithm, readCodec.algorithm},
        {kRowCodecChannelMode, readCodec.channelMode},
        {kRowCodecSampleRate, readCodec.sampleRate},
        {kRowCodecBitRate, readCodec.bitRate},
    };
    for (const auto &[rowId, applied] : rows) {
        const QVantelMenuItem *row = page->findItem(rowId);
        if (!row || !row->currentValue())
            continue;
        if (row->currentValue()->value != applied)
            return true;
    }
    const QVantelMenuItem *relay = page->findItem(kRowCodecRelay);
    return relay && !relay->isReadOnly() && relay->isChecked() != relayActive;
}

bool QVantelSettingsPage::applyCodecPage(QVantelMenuItems *page)
{
    if (!page)
        return false;
    const auto take = [page](int rowId, int &field) {
        if (const QVantelMenuItem *row = page->findItem(rowId)) {
            if (const QVantelMenuItem::Value *value = row->currentValue())
                field = value->value;
        }
    };
    take(kRowCodecAlgorithm, editCodec.algorithm);
    take(kRowCodecChannelMode, editCodec.channelMode);
    take(kRowCodecSampleRate, editCodec.sampleRate);
    take(kRowCodecBitRate, editCodec.bitRate);

    QPointer<QVantelMenuItems> guard = page;
    TComDevice *device = comDevice();
    const int coder = page->id() == kPageCodec2 ? 2 : 1;
    if (!device->setCodec(coder, codecConfigToString(editCodec), true)) {
        showMessage(tr("Failed to apply changes!"), 0);
        return false;
    }
    if (!guard)
        return true;
    const QVantelMenuItem *relay = page->findItem(kRowCodecRelay);
    if (relay && !relay->isReadOnly() && relay->isChecked() != relayActive) {
        // A refused switch shows itself: the refresh below reads the unit's state back.
        device->setRelay(relay->isChecked());
        if (!guard)
            return true;
    }
    refreshCodecPage(page);
    readCodec = editCodec;
    return true;
}

void QVantelSettingsPage::createAutoBitRatePage()
{
    TComDevice *device = comDevice();
    auto *page = new QVantelMenuItems(kPageAutoBitRate, this);
    QPointer<QVantelMenuItems> guard = page;
    TComDevice::AutoBitRate values;
    const bool read = device->readAutoBitRate(values);
    std::vector<int> minimums;
    std::vector<int> maximums;
    device->listAutoBitRates(TComDevice::AbrMinBitRate, minimums);
    device->listAutoBitRates(TComDevice::AbrMaxBitRate, maximums);
    if (!guard)
        return;
    // Decided once: a call that starts while the page is open does not lock it.
    const bool locked = device->dstreamMode() == 1 || device->audioConnection(1) != nullptr
                        || device->audioConnection(2) != nullptr;

    QVantelMenuItem *adapt
        = addSettingsRow(page, kRowAutoAdapt, QVantelMenuItem::Switch, tr("Auto Adapt"));
    adapt->setChecked(values.calls == "on");
    adapt->setReadOnly(locked);

    QVantelMenuItem *policy
        = addSettingsRow(page, kRowAdaptPolicy, QVantelMenuItem::Choice, tr("Adapt Policy"));
    policy->addValue(0, tr("Safe"));
    policy->addValue(1, tr("Standard"));
    policy->addValue(2, tr("Punchy"));
    policy->selectValue(values.profile == kProfileWords[0]   ? 0
                        : values.profile == kProfileWords[2] ? 2
                                                             : 1,
                        true,
                        false);
    rememberUnitWord(policy, values.profile);
    policy->setReadOnly(locked);

    const auto rateRow = [&](int id, const QString &title, const std::vector<int> &rates, int v) {
        QVantelMenuItem *row = addSettingsRow(page, id, QVantelMenuItem::Choice, title);
        for (const int rate : rates)
            row->addValue(rate, tr("%1 kbit/s").arg(rate / 1000));
        row->selectValue(v, true, false);
        rememberUnitWord(row, std::to_string(v));
        row->setReadOnly(locked);
    };
    rateRow(kRowMinBitRate, tr("Minimum Bit Rate"), minimums, values.minBitRate);
    rateRow(kRowMaxBitRate, tr("Maximum Bit Rate"), maximums, values.maxBitRate);
    // A row whose setting was not read, or not sent, would show a default the unit never sent.
    const std::pair<int, TComDevice::AutoBitRateKey> settings[] = {
        {kRowAutoAdapt, TComDevice::AbrCalls},
        {kRowAdaptPolicy, TComDevice::AbrProfile},
        {kRowMinBitRate, TComDevice::AbrMinBitRate},
        {kRowMaxBitRate, TComDevice::AbrMaxBitRate},
    };
    for (const auto &[id, key] : settings) {
        if (!read || values.sent.count(key) == 0)
            showUnread(page->findItem(id));
    }
    pushPage(page);
}

bool QVantelSettingsPage::applyMonoFallback(TCodecConfig &codec, int codecMode)
{
    if (codec.channelMode != 1 && codec.channelMode != 2)
        return false;
    codec.channelMode = 0;
    std::vector<int> rates;
    comDevice()->listBitRates(
        codecMode, codec.algorithm, 0, codec.sampleRate, rates, TComDevice::NoNetwork);
    if (rates.empty())
        codec.bitRate = 64000;
    else if (std::find(rates.begin(), rates.end(), codec.bitRate) == rates.end())
        codec.bitRate = rates.front();
    return true;
}

// Sent at once; a refusal is not shown and the row keeps the operator's choice. A choice of what
// the unit already holds sends nothing.
void QVantelSettingsPage::commitAutoBitRateItem(QVantelMenuItem *item)
{
    const int rowId = item->id();
    const QVantelMenuItem::Value *value = item->currentValue();
    TComDevice *device = comDevice();
    if (rowId == kRowAutoAdapt) {
        device->writeAutoBitRate(TComDevice::AbrCalls, item->isChecked() ? "on" : "off");
        return;
    }
    if (!value)
        return;
    TComDevice::AutoBitRateKey key = TComDevice::AbrMaxBitRate;
    std::string word = std::to_string(value->value);
    if (rowId == kRowAdaptPolicy) {
        key = TComDevice::AbrProfile;
        word = kProfileWords[value->value == 0 || value->value == 2 ? value->value : 1];
    } else if (rowId == kRowMinBitRate) {
        key = TComDevice::AbrMinBitRate;
    } else if (rowId != kRowMaxBitRate) {
        return;
    }
    // The write waits for the unit; the row is gone when its page went meanwhile.
    const QPointer<QVantelMenuItem> row = item;
    if (!unitHolds(item, word) && device->writeAutoBitRate(key, word) && row)
        rememberUnitWord(row, word);
}

void QVantelSettingsPage::commitCodecItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    const int rowId = item->id();
    const QVantelMenuItem::Value *value = item->currentValue();
    if (!value || rowId < kRowCodecAlgorithm || rowId > kRowCodecBitRate)
        return;
    switch (rowId) {
    case kRowCodecAlgorithm:
        editCodec.algorithm = value->value;
        break;
    case kRowCodecChannelMode:
        editCodec.channelMode = value->value;
        break;
    case kRowCodecSampleRate:
        editCodec.sampleRate = value->value;
        break;
    default:
        editCodec.bitRate = value->value;
        break;
    }
    refreshCodecPage(page);
}

// --- The section's pages ---------------------------------------------------------------------

void QVantelSettingsPage::codingPages(SettingsPageTable &rows)
{
    rows.push_back(
        SettingsPageRow(kPageCoding)
            .entered([](Page &menu) { menu.createCodingMenu(); })
            .entryRows([](int target) {
                if (target == QVantel::SettingsCodingLink1)
                    return kPageCodec1;
                if (target == QVantel::SettingsCodingLink2)
                    return kPageCodec2;
                return -1;
            })
            .onReturn([](Page &menu, Items *page, int, int) { menu.updateCodingEntries(page); })
            .notices([](Page &menu, Items *page, const SettingsNotice &notice) {
                if (notice.kind != SettingsNotice::Configuration)
                    return;
                const std::string &type = *notice.message->param(kKeyEventType, true);
                if (type == kEventDefaultNetwork || type == kEventDefaultCodec)
                    menu.updateCodingEntries(page);
            }));

    rows.push_back(
        SettingsPageRow(kPageCodec1, kPageCodec2)
            .opens([](Page &menu, int id) { menu.createCodecPage(id); })
            .refusesApply([](Page &, int pageId) {
                return comDevice()->audioConnection(pageId == kPageCodec1 ? 1 : 2) != nullptr;
            })
            .changes([](Page &menu, Items *page) { return menu.codecPageHasChanges(page); })
            .applies([](Page &menu, Items *page) {
                return settingsAppliedIf(menu.applyCodecPage(page));
            })
            .commits(
                [](Page &menu, Items *page, Item *item) { menu.commitCodecItem(page, item); }));

    rows.push_back(
        SettingsPageRow(kPageAutoBitRate)
            .opens([](Page &menu, int) { menu.createAutoBitRatePage(); })
            .commits([](Page &menu, Items *, Item *item) { menu.commitAutoBitRateItem(item); }));
}
