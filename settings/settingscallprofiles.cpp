// The call profiles of the Book section: the list (173) with a one-line summary per profile, the
// profile page (178 with data 173), its refresh and action states, storing and loading.
//
// Each profile is read with its own reply map, so a key missing from one profile's reply never
// takes the value of another's.

#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"
#include "settings/settingsrows.h"

#include "link/codecconfig.h"
#include "link/comclient.h"
#include "model/accesslevel.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"
#include "model/storeditems.h"
#include "model/textconversions.h"
#include "widgets/qvantellocalize.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelmenuselectable.h"
#include "widgets/qvantelpagestack.h"

#include <QGridLayout>
#include <QLabel>
#include <QPointer>

#include <algorithm>
#include <functional>

#include <map>
#include <vector>

namespace {

constexpr int kVoice = TComDevice::GsmAlgorithm;

using Fields = std::map<std::string, std::string>;

const std::string kNetwork = "network";
const std::string kCodec = "codec";
const std::string kCodecMode = "codec_mode";
const std::string kCoordMode = "coord_mode";
const std::string kRemote = "remote_addr";
const std::string kRemote2 = "remote_addr2";

bool has(const Fields &fields, const std::string &key)
{
    return fields.find(key) != fields.end();
}

void hideRow(QVantelMenuItem *row)
{
    row->setValueText(QString());
    row->setReadOnly(true);
    row->setVisible(false);
}

// Shows a choice row filled from the unit's list, with value moved to the first listed one when
// the list lacks it. With an empty list the value is kept and the row is blank and read-only.
void showListedChoice(QVantelMenuItem *row,
                      const std::vector<int> &values,
                      int &value,
                      const std::function<QString(int)> &text)
{
    row->setVisible(true);
    value = fillChoiceRow(row, values, text, value);
}

bool routedCoordination(int routing)
{
    return routing == TComDevice::RoutingMonoCoordination
           || routing == TComDevice::RoutingCoordination;
}

} // namespace

bool QVantelSettingsPage::loadCallProfile(int rowId, const QString &name)
{
    TComDevice *device = comDevice();
    editProfile.clear();
    editProfile.state = 0;
    editProfile.rowId = rowId;
    editProfile.name = name;
    editProfile.target = entryTarget;
    const bool onLink
        = entryTarget == QVantel::SettingsBookLink1 || entryTarget == QVantel::SettingsBookLink2;
    editProfile.codecMode = onLink ? device->codecMode() : 0;
    if (rowId < kFirstStoredRow)
        return true;
    Fields fields;
    TStoredItems items(comClient());
    if (!items.open(TStoredItems::kCallProfiles, rowId - kFirstStoredRow, fields))
        return false;
    editProfile.network = TComDevice::networkFromString(
        has(fields, kNetwork) ? fields[kNetwork] : device->defaultNetwork());
    if (has(fields, kCodec))
        editProfile.codec = codecConfigFromString(fields[kCodec]);
    if (has(fields, kCodecMode)) {
        if (fields[kCodecMode] == "cmode_normal")
            editProfile.codecMode = 0;
        else if (fields[kCodecMode] == "cmode_double")
            editProfile.codecMode = 1;
    }
    if (has(fields, kCoordMode) && editProfile.codecMode == 0 && fields[kCoordMode] == "enabled")
        editProfile.coordination = 1;
    if (has(fields, kRemote))
        editProfile.remoteAddress = QString::fromLatin1(fields[kRemote].c_str());
    if (has(fields, kRemote2))
        editProfile.remoteAddress2 = QString::fromLatin1(fields[kRemote2].c_str());
    editProfile.links = 3;
    if (device->isExtendedMode() && editProfile.codec.channelMode != 0)
        editProfile.links = 1;
    return true;
}

void QVantelSettingsPage::createCallProfileList()
{
    callProfilesChanged = false;
    TComDevice *device = comDevice();
    const int codecMode = device->codecMode();
    const int defaultTransport = TComDevice::networkTransport(device->defaultNetwork());
    const int target = entryTarget;
    const bool manager = accessLevel != AccessLevel::Operator;

    auto *page = new QVantelMenuItems(kPageCallProfiles, this);
    if (manager) {
        addBookRow(page,
                   kRowNewStoredItem,
                   -1,
                   QVantelMenuItem::Navigation,
                   tr("New Call Profile"),
                   tr("Create a new call profile"));
        addBookSpacer(page);
    }
    TStoredItems items(comClient());
    const std::vector<TStoredItems::Entry> entries = items.list(TStoredItems::kCallProfiles);
    device->readNetworks();
    const bool call1 = device->audioConnection(1) != nullptr;
    const bool call2 = device->audioConnection(2) != nullptr;

    for (const TStoredItems::Entry &entry : entries) {
        Fields fields; // fresh for every profile
        if (!items.open(TStoredItems::kCallProfiles, entry.id, fields))
            continue;
        if (!has(fields, kNetwork))
            continue;
        const std::string &network = fields[kNetwork];
        bool usable = device->hasNetwork(network);
        int transport = TComDevice::networkTransport(network);
        if (!device->hasTransport(transport))
            continue;
        const bool hasCodec = has(fields, kCodec);
        const TCodecConfig codec
            = hasCodec ? codecConfigFromString(fields[kCodec]) : TCodecConfig();
        if (codecMode == 0) {
            if (hasCodec && codec.algorithm == kVoice)
                transport = TComDevice::TransportVoice;
        } else if (transport != defaultTransport) {
            if (target == QVantel::SettingsBookLink2)
                continue;
            if (call1 || call2)
                usable = false;
        }
        QString summary = QStringLiteral("[ ") + transportText(transport) + QStringLiteral(" ]");
        if (has(fields, kRemote) && !fields[kRemote].empty()) {
            summary += QLatin1Char(' ') + QString::fromLatin1(fields[kRemote].c_str());
            if (has(fields, kRemote2) && !fields[kRemote2].empty())
                summary += QLatin1Char(',') + QString::fromLatin1(fields[kRemote2].c_str());
        }
        summary += QLatin1Char('\n')
                   + QVantelLocalize::interfaceName(TComDevice::networkFromString(network));
        if (codecMode == 0) {
            if (call1)
                usable = false;
        } else if ((call1 && call2) || (target == QVantel::SettingsBookLink1 && call1)
                   || (target == QVantel::SettingsBookLink2 && call2)) {
            usable = false;
        }
        if (!hasCodec) {
            summary += QStringLiteral(" - ") + tr("No coding algorithm set");
        } else {
            if (codec.algorithm == -1)
                continue;
            const int routing = device->audioRouting();
            if (codec.algorithm == kVoice) {
                if (target == QVantel::SettingsBookLink1)
                    continue;
                if (routedCoordination(routing)) {
                    if (target != QVantel::SettingsBookLink2)
                        usable = false;
                } else {
                    if (target == QVantel::SettingsBookLink2)
                        continue;
                    usable = false;
                }
            } else if (routedCoordination(routing) && target == QVantel::SettingsBookLink2) {
                continue;
            }
            if (codecMode == 1) {
                if (codec.channelMode != 0) {
                    if (target == QVantel::SettingsBookLink2)
                        continue;
                    if (call1 || call2
                        || (target != QVantel::SettingsBookLink1 && !device->isExtendedMode()))
                        usable = false;
                } else if (transport == TComDevice::TransportIsdn && codec.bitRate != 64000) {
                    if (target == QVantel::SettingsBookLink1
                        || target == QVantel::SettingsBookLink2)
                        continue;
                    usable = false;
                }
            }
            summary += QStringLiteral(" - ") + QVantelLocalize::codingSummary(codec);
        }
        addStoredRow(page,
                     kFirstStoredRow + entry.id,
                     kPageCallProfiles,
                     manager ? QVantelMenuItem::Navigation : QVantelMenuItem::Action,
                     entry.name,
                     summary,
                     !manager && !usable);
    }
    pushPage(page);
}

void QVantelSettingsPage::createCallProfilePage(int rowId, const QString &name)
{
    TComDevice *device = comDevice();
    auto *page = new QVantelMenuItems(kPageStoredItem, kPageCallProfiles, this);
    (void)loadCallProfile(rowId, name);

    addBookRow(
        page, kRowStoredItemName, -1, QVantelMenuItem::TextEntry, tr("Call Profile Name"), name);
    addBookSpacer(page);
    QVantelMenuItem *network = addBookRow(
        page, kRowProfileNetwork, -1, QVantelMenuItem::Choice, tr("Network"), QString());
    for (const auto &[id, text] : device->networks()) {
        Q_UNUSED(text)
        if (id != 0)
            network->addValue(id, QVantelLocalize::interfaceName(id));
    }
    if (network->selectValue(editProfile.network, true, true) < 0)
        network->setValueText(QVantelLocalize::interfaceName(editProfile.network), Qt::red);
    addBookRow(page, kRowProfileAlgorithm, -1, QVantelMenuItem::Choice, tr("Algorithm"), QString());
    addBookRow(
        page, kRowProfileChannelMode, -1, QVantelMenuItem::Choice, tr("Channel Mode"), QString());
    addBookRow(
        page, kRowProfileSampleRate, -1, QVantelMenuItem::Choice, tr("Sampling Rate"), QString());
    addBookRow(page, kRowProfileBitRate, -1, QVantelMenuItem::Choice, tr("Bit Rate"), QString());
    addBookRow(page,
               kRowProfileRemote,
               -1,
               QVantelMenuItem::NumericEntry,
               tr("Remote Number"),
               editProfile.remoteAddress);
    addBookRow(page,
               kRowProfileRemote2,
               -1,
               QVantelMenuItem::NumericEntry,
               tr("Second Remote Number"),
               editProfile.remoteAddress2);
    if (rowId >= kFirstStoredRow) {
        addBookSpacer(page);
        addBookRow(page,
                   kRowStoredItemLoad,
                   rowId,
                   QVantelMenuItem::Action,
                   tr("Load"),
                   tr("Load the call profile"));
        addBookRow(page,
                   kRowStoredItemDelete,
                   rowId,
                   QVantelMenuItem::Action,
                   tr("Delete"),
                   tr("Delete the call profile"));
    }
    refreshCallProfilePage(page);
    updateCallProfileActions(page);
    savedProfile = editProfile;
    pushPage(page);
}

void QVantelSettingsPage::refreshCallProfilePage(QVantelMenuItems *page)
{
    if (!page)
        return;
    // Every list waits for the unit; the page may be gone after any of them.
    const QPointer<QVantelMenuItems> guard = page;
    TComDevice *device = comDevice();
    TCodecConfig &codec = editProfile.codec;
    const int mode = editProfile.codecMode;
    const int family = TComDevice::networkIdFamily(editProfile.network);
    const bool noCoding = codec.algorithm == -1 || codec.algorithm == kVoice;

    if (QVantelMenuItem *row = page->findItem(kRowProfileAlgorithm)) {
        std::vector<int> algorithms;
        const bool listed = device->listAlgorithms(mode, algorithms, family);
        if (!guard)
            return;
        row->clearValues();
        row->addValue(-1, tr("None"));
        // Voice is offered on the first mobile interface only.
        if (family == TComDevice::MobileFamily
            && TComDevice::networkIdIndex(editProfile.network) == 0
            && firmwareAtLeast(kFirmware1_17))
            row->addValue(kVoice, tr("Voice"));
        for (const int a : algorithms)
            row->addValue(a, QVantelLocalize::codecName(a));
        // A value the list lacks shows "None"; the record keeps its algorithm. Without a list
        // the unit was not asked: the record's own algorithm is shown, not "None".
        if (!listed && !noCoding) {
            row->selectValue(codec.algorithm, false, true);
            row->setValueText(QVantelLocalize::codecName(codec.algorithm), true);
        } else if (row->findValue(codec.algorithm, true) < 0) {
            row->selectValue(-1, true, false);
        } else {
            row->selectValue(codec.algorithm, true, false);
        }
        row->setReadOnly(algorithms.size() < 2);
    }
    if (QVantelMenuItem *row = page->findItem(kRowProfileChannelMode)) {
        if (noCoding) {
            row->clearValues();
            hideRow(row);
        } else {
            std::vector<int> modes;
            device->listChannelModes(mode, codec.algorithm, 1, modes, family);
            if (!guard)
                return;
            showListedChoice(row, modes, codec.channelMode, &QVantelLocalize::channelModeName);
        }
    }
    if (QVantelMenuItem *row = page->findItem(kRowProfileSampleRate)) {
        row->clearValues();
        if (noCoding) {
            hideRow(row);
        } else if (codec.algorithm <= 6) {
            // The telephone-band algorithms run at 48 kHz and 64 kbit/s; the row names their
            // audio band instead.
            codec.sampleRate = 48000;
            codec.bitRate = 64000;
            row->setVisible(true);
            row->addValue(48000, tr("%1 kHz").arg(telephoneBandRate(codec.algorithm) / 1000));
            row->selectValue(48000, true, false);
            row->setReadOnly(true);
        } else {
            std::vector<int> rates;
            device->listSampleRates(mode, codec.algorithm, codec.channelMode, rates, family);
            if (!guard)
                return;
            showListedChoice(row, rates, codec.sampleRate, [](int rate) {
                return tr("%1 kHz").arg(rate / 1000);
            });
        }
    }
    if (QVantelMenuItem *row = page->findItem(kRowProfileBitRate)) {
        if (noCoding) {
            row->clearValues();
            hideRow(row);
        } else {
            std::vector<int> rates;
            device->listBitRates(
                mode, codec.algorithm, codec.channelMode, codec.sampleRate, rates, family);
            if (!guard)
                return;
            showListedChoice(row, rates, codec.bitRate, [](int rate) {
                return tr("%1 kbit/s").arg(rate / 1000);
            });
        }
    }
    if (QVantelMenuItem *row = page->findItem(kRowProfileRemote2)) {
        const int transport = TComDevice::networkIdTransport(editProfile.network);
        const auto show = [&](const QString &label) {
            editProfile.remoteAddress2 = row->valueText();
            row->titleLabel()->setText(label);
            row->setVisible(true);
            row->setReadOnly(false);
        };
        if (transport == TComDevice::TransportIsdn && codec.algorithm != -1
            && codec.bitRate == 128000) {
            show(tr("Second Remote Number"));
        } else if (transport == TComDevice::TransportIp && codec.algorithm != kVoice
                   && (device->deviceOptions() & TComDevice::OptionIpDoubleStream)) {
            show(tr("Secondary Number (for Double Streaming)"));
        } else {
            editProfile.remoteAddress2.clear();
            hideRow(row);
        }
    }
}

void QVantelSettingsPage::updateCallProfileActions(QVantelMenuItems *page)
{
    if (!page)
        return;
    const bool modified = header()->isModified();
    if (QVantelMenuItem *row = page->findItem(kRowStoredItemDelete))
        row->setReadOnly(modified);
    QVantelMenuItem *load = page->findItem(kRowStoredItemLoad);
    if (!load)
        return;
    TComDevice *device = comDevice();
    const TCodecConfig &codec = editProfile.codec;
    const bool call1 = device->audioConnection(1) != nullptr;
    const bool call2 = device->audioConnection(2) != nullptr;
    const int defaultTransport = TComDevice::networkTransport(device->defaultNetwork());
    const int transport = TComDevice::networkIdTransport(editProfile.network);
    bool enabled = false;
    if (!device->hasNetwork(TComDevice::networkToString(editProfile.network))) {
        enabled = false;
    } else if (device->codecMode() == 0) {
        enabled
            = !call1
              && (codec.algorithm != kVoice || editProfile.target == QVantel::SettingsBookLink2);
    } else if (call1 && call2) {
        enabled = false;
    } else if (transport != defaultTransport) {
        enabled = !(entryTarget == QVantel::SettingsBookLink2 || call1) && !call2;
    } else if (codec.channelMode != 0) {
        if (entryTarget == QVantel::SettingsBookLink2 || call1 || call2)
            enabled = false;
        else if (entryTarget == QVantel::SettingsBookLink1)
            enabled = true;
        else
            enabled = device->isExtendedMode();
    } else {
        enabled = codec.algorithm != kVoice
                  && !(transport == TComDevice::TransportIsdn && codec.bitRate != 64000);
    }
    load->setReadOnly(modified || !editProfile.isComplete() || !enabled);
}

bool QVantelSettingsPage::applyCallProfile(QVantelMenuItems *page)
{
    if (!page)
        return false;
    TComDevice *device = comDevice();
    const bool update = editProfile.rowId != -1 && editProfile.name == savedProfile.name;
    if (update && editProfile.rowId < kFirstStoredRow)
        return false;
    Fields fields;
    fields["name"] = toDeviceString(editProfile.name);
    fields[kNetwork] = TComDevice::networkToString(editProfile.network);
    const TCodecConfig &codec = editProfile.codec;
    if (codec.algorithm == kVoice) {
        fields[kCodecMode] = "cmode_normal";
        fields[kCoordMode] = "enabled";
        fields[kCodec] = codecConfigToString(codec);
    } else if (codec.algorithm != -1) {
        fields[kCodecMode] = device->codecMode() == 1 ? "cmode_double" : "cmode_normal";
        fields[kCoordMode] = device->audioRouting() == TComDevice::RoutingMonoCoordination
                                 ? "enabled"
                                 : "disabled";
        fields[kCodec] = codecConfigToString(codec);
    }
    fields[kRemote] = editProfile.remoteAddress.toLatin1().toStdString();
    if (!editProfile.remoteAddress2.isEmpty())
        fields[kRemote2] = editProfile.remoteAddress2.toLatin1().toStdString();
    TStoredItems items(comClient());
    const int storedId = update ? editProfile.rowId - kFirstStoredRow : -1;
    if (items.storeCallProfile(storedId, fields))
        return true;
    // Answered too late: the unit's list tells whether it made a new profile, and the list page
    // shows that list once it is back. Of an update it tells only whether the profile is still
    // there: an update answered too late stays unconfirmed, and the page keeps the edits.
    const bool late = items.answeredLate();
    bool gone = false;
    if (const auto listed = items.listAfterLateAnswer(TStoredItems::kCallProfiles)) {
        callProfilesChanged = true;
        if (!update && listsNewItem(*listed, kPageCallProfiles, editProfile.name))
            return true;
        gone = update && !TStoredItems::holds(*listed, storedId);
    }
    if (update && late && !gone)
        showMessage(tr("The unit did not confirm\nthe update of the call profile!"), 0);
    else
        showMessage(update ? tr("Failed to update the call profile!")
                           : tr("Failed to create the call profile!"),
                    0);
    return false;
}

void QVantelSettingsPage::commitCallProfileItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    const int rowId = item->id();
    const QVantelMenuItem::Value *value = item->currentValue();
    switch (rowId) {
    case kRowStoredItemName:
        editProfile.name = item->valueText();
        break;
    case kRowProfileNetwork:
        if (value) {
            item->setReadOnly(item->isReadOnly());
            editProfile.network = value->value;
        }
        break;
    case kRowProfileAlgorithm:
    case kRowProfileChannelMode:
    case kRowProfileSampleRate:
    case kRowProfileBitRate:
        if (value) {
            editCodec = editProfile.codec;
            if (rowId == kRowProfileAlgorithm)
                editCodec.algorithm = value->value;
            else if (rowId == kRowProfileChannelMode)
                editCodec.channelMode = value->value;
            else if (rowId == kRowProfileSampleRate)
                editCodec.sampleRate = value->value;
            else
                editCodec.bitRate = value->value;
            if (rowId == kRowProfileAlgorithm && value->value == -1)
                editProfile.codec = TCodecConfig();
            else
                editProfile.codec = editCodec;
        }
        break;
    case kRowProfileRemote:
        editProfile.remoteAddress = item->valueText();
        break;
    case kRowProfileRemote2:
        editProfile.remoteAddress2 = item->valueText();
        break;
    default:
        break;
    }
    const QPointer<QVantelMenuItems> guard = page;
    refreshCallProfilePage(page);
    if (!guard || currentPage() != guard)
        return;
    header()->setModified(editProfile.isComplete() && editProfile != savedProfile);
    updateCallProfileActions(page);
}

void QVantelSettingsPage::askCallProfileLoad(QVantelMenuItem *row)
{
    if (!editProfile.isComplete())
        return;
    const bool onLink
        = entryTarget == QVantel::SettingsBookLink1 || entryTarget == QVantel::SettingsBookLink2;
    if (comDevice()->codecMode() == 1 && !onLink) {
        row->clearValues();
        row->addValue(1, tr("Program"));
        if (editProfile.links & 2)
            row->addValue(2, tr("Coordination"));
        row->selectValue(1, false, false);
        showSelection(tr("Load the call profile?"), row, true);
        return;
    }
    confirmAction(tr("Load the call profile?"), row);
}

void QVantelSettingsPage::loadCallProfileConfirmed(QVantelMenuItem *row)
{
    TComDevice *device = comDevice();
    QPointer<QVantelMenuItem> item = row;
    QPointer<QVantelMenuItems> page = currentPage();
    const QString refused = tr("Cannot load the profile\n(a connection is established)");
    const QString failed = tr("Failed to load the call profile!");
    const std::string codec = codecConfigToString(editProfile.codec);
    int code = 19;
    if (entryTarget == QVantel::SettingsBookLink2) {
        if (device->audioConnection(2)) {
            showMessage(refused, 0);
            return;
        }
        if (editProfile.codec.algorithm != kVoice && !device->setCodec(2, codec, true)) {
            showMessage(failed, 0);
            return;
        }
        code = 20;
    } else {
        if (device->audioConnection(1)) {
            showMessage(refused, 0);
            return;
        }
        // What was written before a failure stays written on the unit.
        if (!device->setCoordinationMode(editProfile.coordination, true)
            || !device->setCodecMode(editProfile.codecMode, true)
            || !device->setDefaultNetwork(TComDevice::networkToString(editProfile.network), true)
            || !device->setCodec(1, codec, true)) {
            showMessage(failed, 0);
            return;
        }
    }
    if (item)
        emit menuItemChanges(item, code);
    if (page && currentPage() == page)
        backClicked();
}

void QVantelSettingsPage::loadCallProfileOnLink(QVantelMenuItem *row, QVantelMenuSelect *select)
{
    const QVantelMenuSelectable *chosen = select->currentSelectable();
    const int link = chosen ? chosen->id() : 0;
    if (link != 1 && link != 2) {
        showMessage(tr("Failed to load the call profile!"), 0);
        return;
    }
    TComDevice *device = comDevice();
    if (device->audioConnection(link)) {
        showMessage(tr("Cannot load the profile\n(a connection is established)"), 0);
        return;
    }
    QPointer<QVantelMenuItem> item = row;
    QPointer<QVantelMenuItems> page = currentPage();
    if (!device->setCodec(link, codecConfigToString(editProfile.codec), true)) {
        showMessage(tr("Failed to load the call profile!"), 0);
        return;
    }
    if (item)
        emit menuItemChanges(item, link == 1 ? 19 : 20);
    if (page && currentPage() == page)
        backClicked();
}

void QVantelSettingsPage::deleteCallProfile(QVantelMenuItems *page, QVantelMenuItem *item)
{
    const int storedRowId = item->data();
    if (storedRowId < kFirstStoredRow)
        return;
    QPointer<QVantelMenuItems> itemPage = page;
    TStoredItems items(comClient());
    const int storedId = storedRowId - kFirstStoredRow;
    if (!items.remove(TStoredItems::kCallProfiles, storedId)) {
        // Answered too late: done if the unit no longer lists the profile.
        const auto listed = items.listAfterLateAnswer(TStoredItems::kCallProfiles);
        if (!listed || TStoredItems::holds(*listed, storedId)) {
            showMessage(tr("Failed to delete the call profile!"), 0);
            return;
        }
    }
    removeStoredRow(kPageCallProfiles, storedRowId);
    if (itemPage && currentPage() == itemPage)
        backClicked();
}

// --- Steps of the Book's page table ---------------------------------------------------------

void QVantelSettingsPage::callProfileListReturned(QVantelMenuItems *list, int leftId, int leftData)
{
    // The list is built afresh after a profile was applied on the page just left.
    if (leftId != kPageStoredItem || leftData != kPageCallProfiles || !callProfilesChanged)
        return;
    callProfilesChanged = false;
    QPointer<QVantelMenuItems> oldList = list;
    createCallProfileList();
    // The fresh list is on top now; the old one leaves the stack. When nothing could be built
    // the old list stays.
    if (oldList && currentPage() != oldList) {
        pageStack()->removeWidget(oldList);
        oldList->hide();
        oldList->deleteLater();
    }
}

void QVantelSettingsPage::callProfileApplied()
{
    callProfilesChanged = true;
    savedProfile = editProfile;
    // Back to the list, which is rebuilt on the way; the profile page is deleted later.
    backClicked();
}
