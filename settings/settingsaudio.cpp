// The Audio section: the audio page (3) and the monitoring options (114).

#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"
#include "settings/settingsrows.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"
#include "model/writereport.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

#include <QGridLayout>
#include <QLabel>
#include <QPointer>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace {

// Bits of the routing matrix's options word that the menu edits.
constexpr TMatrixSettings::MatrixOpts kKnobMicFader = 1u << 29;
constexpr TMatrixSettings::MatrixOpts kIntercomMute = 1u << 30;
constexpr TMatrixSettings::MatrixOpts kSideToneRouted = 1u << 31;

constexpr quint32 kChannelKnobFirmware = kFirmware1_8;
constexpr quint32 kInputFormatFirmware = kFirmware2_0;
constexpr quint32 kAes67Firmware = kFirmware1_13;
constexpr quint32 kIntercomFirmware = kFirmware1_6;

constexpr int kLowestLimiter = -20;
constexpr int kHighestLimiter = -2;
constexpr int kLowestCompressor = -40;

void showValue(QVantelMenuItem *row, int value)
{
    row->selectValue(value, true, false);
    if (row->wheel())
        row->updateControl();
}

bool bit(TMatrixSettings::MatrixOpts word, TMatrixSettings::MatrixOpts mask)
{
    return (word & mask) != 0;
}

TMatrixSettings::MatrixOpts
withBit(TMatrixSettings::MatrixOpts word, TMatrixSettings::MatrixOpts mask, bool on)
{
    return on ? word | mask : word & ~mask;
}

// The ratio times ten, cut toward zero; a ratio beyond what an int holds (or not a number) shows
// no entry of the row rather than overflowing.
int ratioValue(float ratio)
{
    const double tenfold = std::trunc(double(ratio) * 10.0);
    if (!(tenfold >= double(std::numeric_limits<int>::min())
          && tenfold <= double(std::numeric_limits<int>::max()))) {
        return std::numeric_limits<int>::min();
    }
    return int(tenfold);
}

// The compressor wheel ends one below the limiter; a limiter threshold the unit reports outside
// its range ends it at the nearest end of that range, so it never grows beyond its rows.
void fillCompressorRow(QVantelMenuItem *row, int limiterThreshold)
{
    const int end = std::clamp(limiterThreshold, kLowestLimiter, kHighestLimiter);
    for (int level = kLowestCompressor; level < end; ++level)
        row->addValue(level, settingsText("%1 dBFS").arg(level));
}

// The matrix options as the unit last sent them; false when it has not sent them.
bool optionsRead()
{
    return !matrixSettings()->isRowMissing(TMatrixSettings::Row::Options, 0);
}

// The channel knob's function is a bit of the matrix options: without the unit's word it is
// unknown and locked, since a tap would write the other bits unread.
void showChannelKnob(QVantelMenuItem *row)
{
    if (!optionsRead()) {
        showUnread(row);
        return;
    }
    showSwitchRead(row);
    row->addValue(0, settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Side Tone")));
    row->addValue(1, settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Mic Fader")));
    row->setChecked(bit(matrixSettings()->options(), kKnobMicFader));
    row->setReadOnly(!firmwareAtLeast(kChannelKnobFirmware));
}

bool hasAuxiliaryBoard()
{
    return audioSettings()->auxiliaryBoard()
           && (comDevice()->deviceOptions() & TComDevice::OptionHardware134) != 0;
}

bool hasAes67Section()
{
    const TComDevice *device = comDevice();
    return audioSettings()->auxiliaryBoard()
           && (device->deviceOptions() & TComDevice::OptionRavenna) != 0
           && device->hardwareVariant() != 0 && firmwareAtLeast(kAes67Firmware);
}

} // namespace

void QVantelSettingsPage::createAudioMenu()
{
    const TAudioSettings *audio = audioSettings();
    const TComDevice *device = comDevice();
    auto *page = new QVantelMenuItems(kPageAudio, this);
    // Options the unit did not send are asked for again each time the page opens.
    matrixSettings()->readMissingRows({{TMatrixSettings::Row::Options, 0}});
    matrixOptionsEdit = matrixSettings()->options();
    const bool aux = hasAuxiliaryBoard();
    const QString dbfs = tr("%1 dBFS");

    QVantelMenuItem *row = addSettingsRow(
        page, kRowInputLimiters, QVantelMenuItem::Choice, tr("Input Limiters Threshold"));
    row->addValue(0, tr("Off"));
    for (const int level : {-3, -6, -9, -12, -16})
        row->addValue(level, dbfs.arg(level));

    if (aux) {
        row = addSettingsRow(
            page, kRowInputFormat, QVantelMenuItem::Switch, tr("AES / AUX2 Input Format"));
        row->addValue(0, tr("Digital (AES 1/2)"));
        row->addValue(1, tr("Analog (AUX2)"));
        row->setChecked(audio->inputSource() == 0);
    }

    showChannelKnob(addSettingsRow(
        page, kRowChannelKnob, QVantelMenuItem::Switch, tr("Channel Knob Function")));

    if (aux && firmwareAtLeast(kInputFormatFirmware)) {
        row = addSettingsRow(
            page, kRowOperationMode, QVantelMenuItem::Switch, tr("Operation Mode"));
        row->addValue(0, tr("Standard"));
        row->addValue(1, tr("Extended"));
        row->setChecked(device->isExtendedMode());
    }

    row = addSettingsRow(
        page, kPageMonitoring, QVantelMenuItem::Navigation, tr("Monitoring Options"));
    row->setValueText(tr("Configure the monitoring options"));

    addSettingsRow(page, -1, QVantelMenuItem::Caption, tr("Program Limiter / Compressor"), 10, 20);
    addSettingsRow(page, kRowDynamics, QVantelMenuItem::Switch, tr("Dynamic Processing"), 60);
    row = addSettingsRow(
        page, kRowLimiterThreshold, QVantelMenuItem::WheelOnRelease, tr("Limiter Threshold"), 60);
    for (int level = kLowestLimiter; level <= kHighestLimiter; ++level)
        row->addValue(level, dbfs.arg(level));
    row = addSettingsRow(page,
                         kRowCompressorThreshold,
                         QVantelMenuItem::WheelOnRelease,
                         tr("Compressor Threshold"),
                         60);
    fillCompressorRow(row, audio->drcLimThreshold());
    row = addSettingsRow(
        page, kRowCompressorRatio, QVantelMenuItem::Choice, tr("Compressor Ratio"), 60);
    row->addValue(10, tr("1:1 (Off)"));
    row->addValue(15, tr("1.5:1"));
    row->addValue(20, tr("2:1"));
    row->addValue(30, tr("3:1"));
    row->addValue(60, tr("6:1"));
    row = addSettingsRow(page, kRowAttackTime, QVantelMenuItem::Choice, tr("Attack Time"), 60);
    row->addValue(0, tr("Fast"));
    row->addValue(1, tr("Medium"));
    row->addValue(2, tr("Slow"));

    const bool aes67 = hasAes67Section();
    if (aes67) {
        addSettingsRow(page, -1, QVantelMenuItem::Caption, tr("AES67"), 10, 20);
        row = addSettingsRow(page, kRowAes67State, QVantelMenuItem::Choice, tr("State"), 60);
        row->addValue(0, tr("Disabled"));
        row->addValue(1, tr("Active"));
    } else {
        addSettingsRow(page, -1, QVantelMenuItem::Caption, QString(), 10, 20);
    }
    const bool dante = (device->deviceOptions() & TComDevice::OptionRavenna2) != 0;
    row = addSettingsRow(page,
                         kPageRavenna,
                         QVantelMenuItem::Navigation,
                         dante ? tr("DANTE") : tr("RAVENNA"),
                         aes67 ? 60 : 10);
    row->setValueText(dante ? tr("Configure the DANTE interface")
                            : tr("Configure the RAVENNA interface"));

    refreshAudioPage(page);
    pushPage(page);
}

void QVantelSettingsPage::refreshAudioPage(QVantelMenuItems *page)
{
    if (!page)
        return;
    const TAudioSettings *audio = audioSettings();
    const TComDevice *device = comDevice();
    if (QVantelMenuItem *row = page->findItem(kRowInputLimiters))
        showValue(row, audio->limiterThreshold());
    if (QVantelMenuItem *row = page->findItem(kRowInputFormat))
        row->setChecked(audio->inputSource() == 0);
    if (QVantelMenuItem *row = page->findItem(kRowChannelKnob))
        showChannelKnob(row);
    if (QVantelMenuItem *row = page->findItem(kRowOperationMode))
        row->setChecked(device->isExtendedMode());
    if (QVantelMenuItem *row = page->findItem(kRowDynamics))
        row->setChecked(audio->drcState());
    if (QVantelMenuItem *row = page->findItem(kRowLimiterThreshold))
        showValue(row, audio->drcLimThreshold());
    if (QVantelMenuItem *row = page->findItem(kRowCompressorThreshold)) {
        // The compressor always ends one below the limiter.
        row->clearValues();
        fillCompressorRow(row, audio->drcLimThreshold());
        showValue(row, audio->drcThresholdCmp());
    }
    if (QVantelMenuItem *row = page->findItem(kRowCompressorRatio))
        showValue(row, ratioValue(audio->drcRatioCmp()));
    if (QVantelMenuItem *row = page->findItem(kRowAttackTime))
        showValue(row, audio->drcAttack());
    if (QVantelMenuItem *row = page->findItem(kRowAes67State))
        showValue(row, device->aes67Reset() ? 0 : 1);
    if (QVantelMenuItem *row = page->findItem(kPageRavenna)) {
        bool locked = true;
        if (audio->auxiliaryBoard() && (device->deviceOptions() & TComDevice::OptionRavenna))
            locked = device->aes67Reset()
                     || ravennaController()->state() == TComController::StateUnknown;
        row->setReadOnly(locked);
    }
}

void QVantelSettingsPage::createMonitoringPage()
{
    TMatrixSettings *matrix = matrixSettings();
    // Options the unit did not send are asked for again each time the page opens.
    const TMatrixSettings::RowId options{TMatrixSettings::Row::Options, 0};
    matrix->readMissingRows({options});
    auto *page = new QVantelMenuItems(kPageMonitoring, this);
    matrixOptionsEdit = matrix->options();
    QVantelMenuItem *row
        = addSettingsRow(page, kRowSideTone, QVantelMenuItem::Switch, tr("Side Tone"));
    row->addValue(0, tr("Permanently available"));
    row->addValue(1, tr("Only when routed to Program or Coord."));
    row = addSettingsRow(page, kRowIntercom, QVantelMenuItem::Switch, tr("Intercom Functions"));
    row->addValue(0, tr("Fade non-relevant signals"));
    row->addValue(1, tr("Mute non-relevant signals"));
    row->setReadOnly(!firmwareAtLeast(kIntercomFirmware));
    showMonitoringOptions(page);
    // Without the unit's word the switches would show defaults, and Apply would write them over
    // options nobody has seen.
    if (matrix->isRowMissing(options.row, options.index)) {
        showUnread(page->findItem(kRowSideTone));
        showUnread(page->findItem(kRowIntercom));
    }
    pushPage(page);
}

void QVantelSettingsPage::showMonitoringOptions(QVantelMenuItems *page)
{
    if (!page)
        return;
    if (QVantelMenuItem *row = page->findItem(kRowSideTone))
        row->setChecked(bit(matrixOptionsEdit, kSideToneRouted));
    if (QVantelMenuItem *row = page->findItem(kRowIntercom))
        row->setChecked(bit(matrixOptionsEdit, kIntercomMute));
}

bool QVantelSettingsPage::monitoringPageHasChanges(QVantelMenuItems *page)
{
    return page && matrixOptionsEdit != matrixSettings()->options();
}

bool QVantelSettingsPage::applyMonitoringPage(QVantelMenuItems *page)
{
    if (!page)
        return false;
    if (matrixOptionsEdit == matrixSettings()->options())
        return true;
    QPointer<QVantelMenuItems> guard = page;
    showMessage(tr("Applying changes..."), kApplyingMs);
    const WriteWatch watch;
    if (matrixSettings()->setMatrixOptions(matrixOptionsEdit, true))
        return true;
    // The switches go back to the unit's word, so no change is left to mark; when not even a
    // read-back could tell that word, they show nothing.
    matrixOptionsEdit = matrixSettings()->options();
    showMonitoringOptions(guard);
    if (guard)
        header()->setModified(false);
    for (const int id : {kRowSideTone, kRowIntercom})
        showWriteFailed(
            this, guard ? guard->findItem(id) : nullptr, watch, [](QVantelMenuItem *) {});
    return false;
}

void QVantelSettingsPage::commitOperationMode(QVantelMenuItem *item)
{
    TComDevice *device = comDevice();
    QPointer<QVantelMenuItem> row = item;
    const auto showMode = [device](QVantelMenuItem *r) { r->setChecked(device->isExtendedMode()); };
    const auto putBack = [this, &row, &showMode](const QString &message) {
        if (row)
            showMode(row);
        showMessage(message, 0);
    };
    if (device->hasAudioConnection()) {
        putBack(tr("Cannot apply changes\n(a connection is established)"));
        return;
    }
    const bool extended = item->isChecked();
    if (!extended) {
        // The standard mode carries no stereo on coder 1: make its codings mono first. These
        // writes decide nothing; only the mode write below does.
        if (device->codecMode() == 1) {
            TCodecConfig coding = device->coder1();
            if (applyMonoFallback(coding, 1))
                device->setCodec(1, codecConfigToString(coding), true);
        } else {
            TCodecConfig transmit;
            if (device->readTxCodec(1, "ip", transmit) && applyMonoFallback(transmit, 1))
                device->writeTxCodec(1, "ip", codecConfigToString(transmit));
            TCodecConfig coding = device->coder1();
            if (device->audioRouting() == TComDevice::RoutingCoordination
                && applyMonoFallback(coding, 0)) {
                device->setCodec(1, codecConfigToString(coding), true);
            }
        }
    }
    // Only the mode's own writes decide what the row shows.
    const WriteWatch watch;
    if (!device->setOperationMode(extended ? 1 : 0, true))
        showWriteFailed(this, row, watch, showMode);
}

// The switches are kept in the edit copy until Apply.
void QVantelSettingsPage::commitMonitoringItem(QVantelMenuItem *item)
{
    const int rowId = item->id();
    if (rowId == kRowSideTone)
        matrixOptionsEdit = withBit(matrixOptionsEdit, kSideToneRouted, item->isChecked());
    else if (rowId == kRowIntercom)
        matrixOptionsEdit = withBit(matrixOptionsEdit, kIntercomMute, item->isChecked());
}

void QVantelSettingsPage::commitAudioItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    const int rowId = item->id();
    TAudioSettings *audio = audioSettings();
    TComDevice *device = comDevice();
    QPointer<QVantelMenuItems> guard = page;
    QPointer<QVantelMenuItem> row = item;
    const QVantelMenuItem::Value *current = item->currentValue();
    const int value = current ? current->value : 0;
    const bool on = item->isChecked();
    // A write the unit did not take: the row shows what it holds (the model's value, or nothing
    // when even that is unknown) and the operator is told.
    const WriteWatch watch;
    const auto refused
        = [this, &row, &watch](const std::function<void(QVantelMenuItem *)> &putBack) {
              showWriteFailed(this, row, watch, putBack);
          };
    const auto selectBack = [&refused](int modelValue) {
        refused([modelValue](QVantelMenuItem *r) { showValue(r, modelValue); });
    };

    switch (rowId) {
    case kRowInputLimiters:
        if (current && !audio->setLimiterThreshold(value, true))
            selectBack(audio->limiterThreshold());
        break;
    case kRowInputFormat:
        if (!audio->setInputSource(on ? 0 : 1, true))
            refused([audio](QVantelMenuItem *r) { r->setChecked(audio->inputSource() == 0); });
        break;
    case kRowChannelKnob:
        // Starts from the unit's word: monitoring edits left without Apply are never sent.
        matrixOptionsEdit = withBit(matrixSettings()->options(), kKnobMicFader, on);
        if (!matrixSettings()->setMatrixOptions(matrixOptionsEdit, true)) {
            matrixOptionsEdit = matrixSettings()->options();
            refused([this](QVantelMenuItem *r) {
                r->setChecked(bit(matrixOptionsEdit, kKnobMicFader));
            });
        }
        break;
    case kRowOperationMode:
        if (current)
            commitOperationMode(item);
        break;
    case kRowDynamics:
        if (!audio->setDrcState(on, true))
            refused([audio](QVantelMenuItem *r) { r->setChecked(audio->drcState()); });
        break;
    case kRowLimiterThreshold:
        if (!current)
            break;
        // The compressor stays below the limiter; it moves first. When it did not, the limiter
        // was never written: only the compressor's row can have become unknown.
        if (value <= audio->drcThresholdCmp() && !audio->setDrcThresholdCmp(value - 1, true)) {
            if (watch.leftUnknown() && guard)
                showUnread(guard->findItem(kRowCompressorThreshold));
            if (row)
                showValue(row, audio->drcLimThreshold());
            showMessage(tr("Failed to apply changes!"), 0);
            break;
        }
        if (!audio->setDrcLimThreshold(value, true))
            selectBack(audio->drcLimThreshold());
        else
            refreshAudioPage(guard);
        break;
    case kRowCompressorThreshold:
        if (current && !audio->setDrcThresholdCmp(value, true))
            selectBack(audio->drcThresholdCmp());
        break;
    case kRowCompressorRatio:
        if (current && !audio->setDrcRatioCmp(float(value) / 10.0f, true))
            selectBack(ratioValue(audio->drcRatioCmp()));
        break;
    case kRowAttackTime:
        if (current && !audio->setDrcAttack(value, true))
            selectBack(audio->drcAttack());
        break;
    case kRowAes67State:
        // The state the unit already has: no write and no fresh start of the module's reader.
        if (!current || (value == 0) == device->aes67Reset())
            break;
        if ((device->hardwareVariant() & 0xF) == 4 && device->hasAudioConnection()) {
            if (row)
                showValue(row, device->aes67Reset() ? 0 : 1);
            showMessage(tr("Cannot apply changes\n(a connection is established)"), 0);
        } else if (!device->setAes67Reset(value == 0, true)) {
            selectBack(device->aes67Reset() ? 0 : 1);
        } else {
            ravennaController()->reset();
            refreshAudioPage(guard);
        }
        break;
    default:
        break;
    }
}

// --- The section's pages ---------------------------------------------------------------------

void QVantelSettingsPage::audioPages(SettingsPageTable &rows)
{
    rows.push_back(
        SettingsPageRow(kPageAudio)
            .entered([](Page &menu) { menu.createAudioMenu(); })
            .commits([](Page &menu, Items *page, Item *item) { menu.commitAudioItem(page, item); })
            .notices([](Page &menu, Items *page, const SettingsNotice &notice) {
                switch (notice.kind) {
                case SettingsNotice::Configuration:
                    if (*notice.message->param(kKeyEventType, true) == kEventDefaultCodec)
                        menu.refreshAudioPage(page);
                    break;
                case SettingsNotice::AudioChangeset:
                    // The audio change set the window builds itself after it re-read the audio
                    // settings.
                    if (*notice.message->param(kKeyInfoType, true) == kEventAudioChangeset
                        && *notice.message->param(kKeyInfoSource, true) == kSourceCore)
                        menu.refreshAudioPage(page);
                    break;
                case SettingsNotice::AudioParameter:
                    switch (notice.parameter) {
                    case TAudioSettings::LimiterThreshold:
                    case TAudioSettings::InputSource:
                    case TAudioSettings::DrcState:
                    case TAudioSettings::DrcLimThreshold:
                    case TAudioSettings::DrcThresholdCmp:
                    case TAudioSettings::DrcRatioCmp:
                    case TAudioSettings::DrcAttack:
                        menu.refreshAudioPage(page);
                        break;
                    default:
                        break;
                    }
                    break;
                default:
                    break;
                }
            }));

    rows.push_back(
        SettingsPageRow(kPageMonitoring)
            .opens([](Page &menu, int) { menu.createMonitoringPage(); })
            .changes([](Page &menu, Items *page) { return menu.monitoringPageHasChanges(page); })
            .applies([](Page &menu, Items *page) {
                return settingsAppliedIf(menu.applyMonitoringPage(page));
            })
            .commits([](Page &menu, Items *, Item *item) { menu.commitMonitoringItem(item); }));
}
