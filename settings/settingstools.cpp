// The Tools section: the Tools page (5), sound ID (195), soft keys (198-205), labels (209),
// miscellaneous settings (229) and passwords (252).

#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"
#include "settings/settingsrows.h"

#include "frontpanel/qvantelsoftkey.h"
#include "frontpanel/qvantelsoftkeys.h"
#include "link/valueconversions.h"
#include "model/accesslevel.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"
#include "model/matrixsettings.h"
#include "model/modelkeys.h"
#include "model/textconversions.h"
#include "model/writereport.h"
#include "widgets/qvantelimage.h"
#include "widgets/qvantellocalize.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelvirtual.h"

#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPointer>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

// Firmware from which a key's mode can be chosen.
constexpr quint32 kModeChoiceFirmware = kFirmware1_7_4;
// Firmware from which input 18 can be named.
constexpr quint32 kInput18Firmware = kFirmware1_13;

// The built-in time servers of the NTP choice (values 1 to 7): a pool first, then public
// servers in alphabetical order.
const char *const kNtpServers[] = {
    "pool.ntp.org",
    "ntp1.ptb.de",
    "ntp2.ptb.de",
    "time.cloudflare.com",
    "time.google.com",
    "time.nist.gov",
    "time.windows.com",
};

// Firmware from which the sound ID has a page of its own (with the shortcut switch).
constexpr quint32 kSoundIdPageFirmware = kFirmware1_10;

// The Miscellaneous page's rows and the settings they show.
const std::pair<int, const std::string *> kMiscellaneousSettings[] = {
    {kRowInput1, &kToolsKeyInput1},
    {kRowInput2, &kToolsKeyInput2},
    {kRowRelay1, &kToolsKeyRelay1},
    {kRowRelay2, &kToolsKeyRelay2},
    {kRowAutoRedial1, &kToolsKeyAutoRedial1},
    {kRowAutoRedial2, &kToolsKeyAutoRedial2},
    {kRowRedialAttempts, &kToolsKeyAutoRedialAttempts},
    {kRowRedialTime, &kToolsKeyAutoRedialTime},
    {kRowNtpServer, &kToolsKeyNtpAddr},
    {kRowCustomNtpServer, &kToolsKeyNtpAddrCustom},
};

// A Miscellaneous row shows again the unit's value of its setting, as last read or written.
void showUnitWord(QVantelMenuItem *row)
{
    if (!row)
        return;
    const std::string word = unitWord(row);
    switch (row->id()) {
    case kRowInput1:
    case kRowInput2:
        row->selectValue(QVantelSettingsPage::inputEventFromKey(word), true, false);
        break;
    case kRowRelay1:
    case kRowRelay2:
        row->selectValue(QVantelSettingsPage::relayStateFromKey(word), true, false);
        break;
    case kRowAutoRedial1:
    case kRowAutoRedial2:
        row->setChecked(word == "on");
        break;
    case kRowRedialAttempts:
    case kRowRedialTime:
        row->selectValue(stringToInt(word), true, false);
        break;
    case kRowNtpServer:
        row->selectText(toQString(word), true, false);
        break;
    case kRowCustomNtpServer:
        row->setValueText(toQString(word));
        break;
    default:
        break;
    }
}

// Whether the input of a label row can be named on this unit.
bool labelRowShown(int rowId, quint32 options, bool auxiliaryBoard)
{
    const bool variant2 = options & TComDevice::OptionHardware2;
    const bool ravenna = options & TComDevice::OptionRavenna;
    const bool hardware124 = options & TComDevice::OptionHardware124;
    if (rowId <= kRowFirstInputLabel + 2)
        return true;
    if (rowId <= kRowFirstInputLabel + 4)
        return !variant2;
    if (!auxiliaryBoard)
        return false;
    if (rowId == kRowFirstInputLabel + 5)
        return true;
    if (rowId <= kRowFirstInputLabel + 8)
        return !variant2;
    if (rowId <= kRowFirstInputLabel + 10)
        return ravenna;
    if (rowId <= kRowFirstInputLabel + 13)
        return ravenna && hardware124;
    return ravenna && hardware124 && firmwareAtLeast(kInput18Firmware);
}

} // namespace

void QVantelSettingsPage::createToolsMenu()
{
    auto *page = new QVantelMenuItems(kPageTools, this);
    const quint32 options = comDevice()->deviceOptions();

    QVantelMenuItem *reboot
        = addSettingsRow(page, kRowReboot, QVantelMenuItem::Action, tr("Reboot"));
    reboot->setValueText(tr("Restart the system"));
    if (reboot->iconLabel())
        reboot->iconLabel()->setPixmap(qvantelPixmap(QStringLiteral(":/images/shutdown.png")));

    QVantelMenuItem *level
        = addSettingsRow(page, kRowAccessLevel, QVantelMenuItem::Choice, tr("Access Level"));
    level->addValue(0, tr("Operator"));
    level->addValue(1, tr("Expert"));
    level->addValue(2, tr("Administrator"));
    level->selectValue(int(accessLevel), true, false);

    if (options & TComDevice::OptionRecord) {
        // The unknown version compares above every version, so it gets the page.
        if (firmwareAtLeast(kSoundIdPageFirmware)) {
            addSettingsRow(page, kPageSoundId, QVantelMenuItem::Navigation, tr("Sound ID"))
                ->setValueText(tr("Play sound ID, activate sound ID shortcut"));
        } else {
            addSettingsRow(page, kRowPlaySoundId, QVantelMenuItem::Switch, tr("Play Sound ID"));
            refreshSoundIdPage(page);
        }
    }

    addSettingsRow(page, kPageSoftkeys, QVantelMenuItem::Navigation, tr("Softkeys"))
        ->setValueText(tr("Configure the programmable keys"));
    addSettingsRow(page, kPageLabels, QVantelMenuItem::Navigation, tr("Labels"))
        ->setValueText(tr("Configure the info, contact and input labels"));
    addSettingsRow(page, kPageMiscellaneous, QVantelMenuItem::Navigation, tr("Miscellaneous"))
        ->setValueText((options & TComDevice::OptionHardware2)
                           ? tr("Auto redialing and NTP server")
                           : tr("GPIO, Auto redialing and NTP server"));
    addSettingsRow(page, kPageTroubleshooting, QVantelMenuItem::Navigation, tr("Troubleshooting"))
        ->setValueText(tr("Reset settings, configure event log"));
    const bool remoteAccess = options & TComDevice::OptionRemoteAccess;
    addSettingsRow(page,
                   kPageRemoteAssistance,
                   QVantelMenuItem::Navigation,
                   remoteAccess ? tr("Remote Access") : tr("Remote Assistance"))
        ->setValueText(remoteAccess ? tr("Configure the remote access service")
                                    : tr("Configure the remote assistance service"));
    addSettingsRow(page, kPagePasswords, QVantelMenuItem::Navigation, tr("Passwords"))
        ->setValueText(tr("Configure the passwords"));

    updateToolsAccess(page);
    pushPage(page);
}

void QVantelSettingsPage::updateToolsAccess(QVantelMenuItems *page)
{
    if (page) {
        const bool operatorLevel = accessLevel == AccessLevel::Operator;
        for (const int id :
             {kPageSoftkeys, kPageLabels, kPageMiscellaneous, kPageTroubleshooting}) {
            if (QVantelMenuItem *row = page->findItem(id))
                row->setReadOnly(operatorLevel);
        }
        if (QVantelMenuItem *row = page->findItem(kPagePasswords))
            row->setReadOnly(accessLevel != AccessLevel::Administrator);
    }
    updateAudioEntry();
}

void QVantelSettingsPage::createSoundIdPage()
{
    auto *page = new QVantelMenuItems(kPageSoundId, this);
    addSettingsRow(page, kRowPlaySoundId, QVantelMenuItem::Switch, tr("Play Sound ID"));
    addSettingsRow(page, kRowSoundIdShortcut, QVantelMenuItem::Switch, tr("Sound ID Shortcut"));
    refreshSoundIdPage(page);
    pushPage(page);
}

void QVantelSettingsPage::refreshSoundIdPage(QVantelMenuItems *page)
{
    if (!page)
        return;
    const QPointer<QVantelMenuItems> guard = page;
    const bool present = comDevice()->soundIdFileExists();
    if (!guard)
        return;
    if (QVantelMenuItem *play = page->findItem(kRowPlaySoundId)) {
        play->clearValues();
        play->addValue(0, present ? tr("Disabled") : tr("Audio file is missing"));
        play->addValue(1, tr("Active"));
        play->setChecked(present && !audioSettings()->waveFile().empty());
        play->setReadOnly(!present);
        play->updateSwitchText();
    }
    if (QVantelMenuItem *shortcut = page->findItem(kRowSoundIdShortcut)) {
        shortcut->setChecked(audioSettings()->waveScut());
        shortcut->setReadOnly(!present);
    }
}

void QVantelSettingsPage::createSoftkeysPage()
{
    auto *page = new QVantelMenuItems(kPageSoftkeys, this);
    for (int id = kPageSoftkeyFirst; id <= kPageSoftkeyLast; ++id) {
        addSettingsRow(page,
                       id,
                       QVantelMenuItem::Navigation,
                       tr("Programmable Key %1").arg(id - kPageSoftkeyFirst + 1));
    }
    refreshSoftkeysPage(page);
    pushPage(page);
}

void QVantelSettingsPage::refreshSoftkeysPage(QVantelMenuItems *page)
{
    if (!page)
        return;
    for (int id = kPageSoftkeyFirst; id <= kPageSoftkeyLast; ++id) {
        QVantelMenuItem *row = page->findItem(id);
        const QVantelSoftkey *key = softkey(id - kPageSoftkeyFirst);
        if (!row || !key)
            continue;
        const int category = key->category();
        if (category == QVantelSoftkey::None) {
            row->setValueText(QVantelSoftkey::categoryName(category));
        } else {
            row->setValueText(QStringLiteral("%1 [ %2 ]")
                                  .arg(QVantelSoftkey::categoryName(category),
                                       QVantelSoftkey::functionName(category, key->function())));
        }
    }
}

void QVantelSettingsPage::createSoftkeyPage(int pageId)
{
    if (!softkey(pageId - kPageSoftkeyFirst))
        return;
    auto *page = new QVantelMenuItems(pageId, this);
    addSettingsRow(page, kRowSoftkeyCategory, QVantelMenuItem::Choice, tr("Category"));
    addSettingsRow(page, kRowSoftkeyFunction, QVantelMenuItem::Choice, tr("Function"));
    addSettingsRow(page, kRowSoftkeyMode, QVantelMenuItem::Choice, tr("Mode"));
    refreshSoftkeyPage(page);
    pushPage(page);
}

void QVantelSettingsPage::refreshSoftkeyPage(QVantelMenuItems *page)
{
    if (!page)
        return;
    QVantelSoftkey *key = softkey(page->id() - kPageSoftkeyFirst);
    if (!key)
        return;
    const int category = key->category();
    if (QVantelMenuItem *row = page->findItem(kRowSoftkeyCategory))
        fillChoiceRow(row, QVantelSoftkey::categoryNames(), category);
    if (QVantelMenuItem *row = page->findItem(kRowSoftkeyFunction)) {
        fillChoiceRow(row,
                      key->functionNames(category, true),
                      QVantelSoftkey::functionSortKey(category, key->function()));
    }
    if (QVantelMenuItem *row = page->findItem(kRowSoftkeyMode)) {
        fillChoiceRow(row, QVantelSoftkey::behaviorNames(category), key->behavior());
        if (!firmwareAtLeast(kModeChoiceFirmware))
            row->setReadOnly(true);
    }
}

void QVantelSettingsPage::commitSoftkeyItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    QVantelSoftkey *key = softkey(page->id() - kPageSoftkeyFirst);
    const QVantelMenuItem::Value *chosen = item->currentValue();
    if (!key || !chosen)
        return;
    const int value = chosen->value;
    const QPointer<QVantelMenuItems> guard = page;
    const std::string held = key->storedValue();
    const WriteWatch watch;
    bool written = true;
    switch (item->id()) {
    case kRowSoftkeyCategory:
        written = key->setCategory(value);
        break;
    case kRowSoftkeyFunction:
        // The entry's value is the sort key; its low byte is the function number.
        written = key->setFunction(value & 0xFF);
        break;
    case kRowSoftkeyMode:
        written = key->setBehavior(value);
        break;
    default:
        return;
    }
    // The unit kept the key's assignment: so does the model, and the page shows it again. The
    // key's rows are one word on the unit: when that is unknown, so are all three.
    if (!written)
        softkeys()->applyKey(kPanelKeySoftkey + std::to_string(key->index() + 1), held);
    if (guard)
        refreshSoftkeyPage(page);
    if (!written) {
        for (const int id : {kRowSoftkeyCategory, kRowSoftkeyFunction, kRowSoftkeyMode})
            showWriteFailed(
                this, guard ? guard->findItem(id) : nullptr, watch, [](QVantelMenuItem *) {});
    }
}

void QVantelSettingsPage::createLabelsPage()
{
    auto *page = new QVantelMenuItems(kPageLabels, this);
    addSettingsRow(page, -1, QVantelMenuItem::Caption, tr("Info and Contact Labels"));
    const auto addLabelRow = [page](int id, const QString &label) {
        QVantelMenuItem *row = addSettingsRow(page, id, QVantelMenuItem::TextEntry, label);
        row->grid()->setContentsMargins(60, 0, 10, 0);
    };
    for (int index = 0; index < 2; ++index)
        addLabelRow(kRowFirstInfoLabel + index, tr("Info %1 Label").arg(index + 1));
    for (int index = 0; index < 2; ++index)
        addLabelRow(kRowFirstContactLabel + index, tr("Contact %1 Label").arg(index + 1));
    addSettingsRow(page, -1, QVantelMenuItem::Caption, tr("Audio Input Labels"))
        ->grid()
        ->setContentsMargins(10, 20, 10, 0);
    const quint32 options = comDevice()->deviceOptions();
    const bool auxiliaryBoard = audioSettings()->auxiliaryBoard();
    for (const auto &[rowId, input] : labelInputs) {
        if (labelRowShown(rowId, options, auxiliaryBoard))
            addLabelRow(rowId, QVantelLocalize::inputName(input));
    }
    refreshLabelsPage(page);
    pushPage(page);
}

void QVantelSettingsPage::refreshLabelsPage(QVantelMenuItems *page)
{
    if (!page)
        return;
    for (int index = 0; index < 2; ++index) {
        if (QVantelMenuItem *row = page->findItem(kRowFirstInfoLabel + index))
            row->setValueText(softkeys()->infoLabel(index));
        if (QVantelMenuItem *row = page->findItem(kRowFirstContactLabel + index))
            row->setValueText(softkeys()->contactLabel(index));
    }
    for (const auto &[rowId, input] : labelInputs) {
        if (QVantelMenuItem *row = page->findItem(rowId))
            row->setValueText(matrixSettings()->inputNames(input));
    }
}

void QVantelSettingsPage::commitLabelItem(QVantelMenuItem *item)
{
    const int id = item->id();
    const QString text = item->valueText();
    const QPointer<QVantelMenuItem> row = item;
    const bool info = id == kRowFirstInfoLabel || id == kRowFirstInfoLabel + 1;
    if (info || id == kRowFirstContactLabel || id == kRowFirstContactLabel + 1) {
        QVantelSoftkeys *model = softkeys();
        const int index = id - (info ? kRowFirstInfoLabel : kRowFirstContactLabel);
        const QVantelSoftkeys::LabelWrite written
            = info ? model->setInfoLabel(index, text) : model->setContactLabel(index, text);
        if (written == QVantelSoftkeys::LabelWrite::Held)
            return;
        // The row shows the unit's text again (the panel key never took the new one), or,
        // when it is not known what the unit holds, nothing.
        if (row && written == QVantelSoftkeys::LabelWrite::Unknown)
            showUnread(row);
        else if (row)
            row->setValueText(info ? model->infoLabel(index) : model->contactLabel(index));
        showMessage(tr("Failed to apply changes!"), 0);
    } else {
        const auto found = labelInputs.find(id);
        const WriteWatch watch;
        if (found != labelInputs.end() && !matrixSettings()->setInputName(found->second, text)) {
            // The unit kept its name: the row shows it again, if its page is still there.
            const int input = found->second;
            showWriteFailed(this, row, watch, [input](QVantelMenuItem *r) {
                r->setValueText(matrixSettings()->inputNames(input));
            });
        }
    }
}

void QVantelSettingsPage::createMiscellaneousPage()
{
    auto *page = new QVantelMenuItems(kPageMiscellaneous, this);
    const QPointer<QVantelMenuItems> guard = page;
    std::map<std::string, std::string> values;
    comDevice()->readToolsParams(values);
    const bool gpio = !(comDevice()->deviceOptions() & TComDevice::OptionHardware2);
    std::vector<std::string> choices[4];
    if (gpio) {
        comDevice()->listGpioChoices(kToolsKeyInput1, choices[0]);
        comDevice()->listGpioChoices(kToolsKeyInput2, choices[1]);
        comDevice()->listGpioChoices(kToolsKeyRelay1, choices[2]);
        comDevice()->listGpioChoices(kToolsKeyRelay2, choices[3]);
    }
    if (!guard)
        return;

    const auto present = [&values](const std::string &key) { return values.count(key) != 0; };
    const auto valueOf = [&values](const std::string &key) {
        const auto found = values.find(key);
        return found == values.end() ? std::string() : found->second;
    };
    const auto addCaption = [page](const QString &text, int top) {
        addSettingsRow(page, -1, QVantelMenuItem::Caption, text)
            ->grid()
            ->setContentsMargins(10, top, 10, 0);
    };
    const auto addIndented = [page](int id, int kind, const QString &label) {
        QVantelMenuItem *row = addSettingsRow(page, id, kind, label);
        row->grid()->setContentsMargins(60, 0, 10, 0);
        return row;
    };

    if (gpio) {
        addCaption(tr("GPIO"), 0);
        struct Gpio
        {
            int row;
            const std::string &key;
            const char *label;
            bool relay;
        };
        const Gpio rows[] = {
            {kRowInput1, kToolsKeyInput1, QT_TR_NOOP("Input 1"), false},
            {kRowInput2, kToolsKeyInput2, QT_TR_NOOP("Input 2"), false},
            {kRowRelay1, kToolsKeyRelay1, QT_TR_NOOP("Relay 1"), true},
            {kRowRelay2, kToolsKeyRelay2, QT_TR_NOOP("Relay 2"), true},
        };
        for (const Gpio &gpioRow : rows) {
            QVantelMenuItem *row
                = addIndented(gpioRow.row, QVantelMenuItem::Choice, tr(gpioRow.label));
            for (const std::string &word : choices[gpioRow.row - kRowInput1]) {
                const int code = gpioRow.relay ? relayStateFromKey(word) : inputEventFromKey(word);
                row->addValue(code, gpioRow.relay ? relayStateText(code) : inputEventText(code));
            }
            const std::string word = valueOf(gpioRow.key);
            row->selectValue(
                gpioRow.relay ? relayStateFromKey(word) : inputEventFromKey(word), true, false);
            row->setReadOnly(!present(gpioRow.key));
        }
    }

    addCaption(tr("Auto Redialing"), gpio ? 20 : 0);
    for (const int id : {kRowAutoRedial1, kRowAutoRedial2}) {
        const std::string &key
            = id == kRowAutoRedial1 ? kToolsKeyAutoRedial1 : kToolsKeyAutoRedial2;
        QVantelMenuItem *row = addIndented(
            id, QVantelMenuItem::Switch, tr("Auto Redial Codec %1").arg(id - kRowAutoRedial1 + 1));
        row->setChecked(valueOf(key) == "on");
        row->setReadOnly(!present(key));
    }
    QVantelMenuItem *attempts = addIndented(
        kRowRedialAttempts, QVantelMenuItem::WheelOnRelease, tr("Number of Attempts"));
    for (int count = 1; count <= 20; ++count)
        attempts->addValue(count, QString::number(count));
    attempts->addValue(0, tr("Infinite"));
    attempts->selectValue(present(kToolsKeyAutoRedialAttempts)
                              ? stringToInt(valueOf(kToolsKeyAutoRedialAttempts))
                              : 1,
                          true,
                          false);
    attempts->setReadOnly(!present(kToolsKeyAutoRedialAttempts));
    QVantelMenuItem *delay
        = addIndented(kRowRedialTime, QVantelMenuItem::WheelOnRelease, tr("Time Before Redialing"));
    delay->addValue(1, tr("1 second"));
    for (int seconds = 2; seconds <= 30; ++seconds)
        delay->addValue(seconds, tr("%1 seconds").arg(seconds));
    delay->selectValue(
        present(kToolsKeyAutoRedialTime) ? stringToInt(valueOf(kToolsKeyAutoRedialTime)) : 1,
        true,
        false);
    delay->setReadOnly(!present(kToolsKeyAutoRedialTime));

    addCaption(tr("NTP"), 20);
    QVantelMenuItem *server = addIndented(kRowNtpServer, QVantelMenuItem::Choice, tr("NTP Server"));
    server->addValue(0, tr("Custom"));
    int value = 1;
    for (const char *name : kNtpServers)
        server->addValue(value++, QString::fromLatin1(name));
    server->selectText(toQString(valueOf(kToolsKeyNtpAddr)), true, false);
    server->setReadOnly(!present(kToolsKeyNtpAddr));
    QVantelMenuItem *custom
        = addIndented(kRowCustomNtpServer, QVantelMenuItem::TextEntry, tr("Custom Server"));
    custom->setValueText(toQString(valueOf(kToolsKeyNtpAddrCustom)));
    custom->setReadOnly(!present(kToolsKeyNtpAddrCustom));

    // A row whose setting the unit did not report is locked, and shows no default as if the
    // unit held it.
    for (const auto &[id, key] : kMiscellaneousSettings) {
        rememberUnitWord(page->findItem(id), valueOf(*key));
        if (!present(*key))
            showUnread(page->findItem(id));
    }
    pushPage(page);
}

void QVantelSettingsPage::commitMiscellaneousItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    const QVantelMenuItem::Value *chosen = item->currentValue();
    std::map<std::string, std::string> values;
    switch (item->id()) {
    case kRowInput1:
    case kRowInput2:
        if (!chosen)
            return;
        values[item->id() == kRowInput1 ? kToolsKeyInput1 : kToolsKeyInput2]
            = inputEventKey(chosen->value);
        break;
    case kRowRelay1:
    case kRowRelay2:
        if (!chosen)
            return;
        values[item->id() == kRowRelay1 ? kToolsKeyRelay1 : kToolsKeyRelay2]
            = relayStateKey(chosen->value);
        break;
    case kRowAutoRedial1:
    case kRowAutoRedial2:
        values[item->id() == kRowAutoRedial1 ? kToolsKeyAutoRedial1 : kToolsKeyAutoRedial2]
            = item->isChecked() ? "on" : "off";
        break;
    case kRowRedialAttempts:
    case kRowRedialTime:
        if (!chosen)
            return;
        values[item->id() == kRowRedialAttempts ? kToolsKeyAutoRedialAttempts
                                                : kToolsKeyAutoRedialTime]
            = std::to_string(chosen->value);
        break;
    case kRowNtpServer: {
        QVantelMenuItem *custom = page->findItem(kRowCustomNtpServer);
        if (!chosen || !custom)
            return;
        values[kToolsKeyNtpAddr]
            = toStdString(chosen->value == 0 ? custom->valueText() : chosen->text);
        break;
    }
    case kRowCustomNtpServer: {
        QVantelMenuItem *server = page->findItem(kRowNtpServer);
        const QVantelMenuItem::Value *serverValue = server ? server->currentValue() : nullptr;
        if (!serverValue)
            return;
        const std::string text = toStdString(item->valueText());
        values[kToolsKeyNtpAddrCustom] = text;
        if (serverValue->value == 0)
            values[kToolsKeyNtpAddr] = text;
        break;
    }
    default:
        return;
    }
    // A choice of what the unit already holds sends nothing.
    const QVantelMenuItem *choiceRow = item->kind() == QVantelMenuItem::Choice ? item : nullptr;
    if (choiceRow && values.size() == 1 && unitHolds(choiceRow, values.begin()->second))
        return;
    // The write waits for the unit; the page and its rows may be gone by then.
    const QPointer<QVantelMenuItems> guard = page;
    const WriteReport report = comDevice()->writeToolsParams(values);
    // Each row sent shows what the unit holds now: what was sent, the value it kept when it
    // refused, the value read back after an answer that was late or took only part; nothing when
    // even that read failed.
    for (const auto &[id, key] : kMiscellaneousSettings) {
        const auto sent = values.find(*key);
        QVantelMenuItem *row = guard ? page->findItem(id) : nullptr;
        if (!row || sent == values.end())
            continue;
        if (const auto held = report.held.find(*key); held != report.held.end()) {
            rememberUnitWord(row, held->second);
            if (held->second != sent->second)
                showUnitWord(row);
        } else if (report.kept.count(*key)) {
            showUnitWord(row);
        } else {
            showUnread(row);
        }
    }
    if (!report.holds(values))
        showMessage(tr("Failed to apply changes!"), 0);
}

void QVantelSettingsPage::createPasswordsPage()
{
    auto *page = new QVantelMenuItems(kPagePasswords, this);
    const QPointer<QVantelMenuItems> guard = page;
    // A failed read leaves the cache as it was, and the page shows that.
    (void)loadPasswords();
    if (!guard)
        return;
    addSettingsRow(
        page, kRowAdministratorPassword, QVantelMenuItem::MaskedEntry, tr("Administrator Password"))
        ->setValueText(administratorPassword);
    addSettingsRow(page, kRowExpertPassword, QVantelMenuItem::MaskedEntry, tr("Expert Password"))
        ->setValueText(expertPassword);
    addSettingsRow(
        page, kRowOperatorPassword, QVantelMenuItem::MaskedEntry, tr("Operator Password"))
        ->setValueText(operatorPassword);
    // A password the unit did not send is not shown as an empty one, nor written over.
    const std::pair<int, const std::string *> rows[] = {
        {kRowAdministratorPassword, &kPasswordKeyAdministrator},
        {kRowExpertPassword, &kPasswordKeyExpert},
        {kRowOperatorPassword, &kPasswordKeyOperator},
    };
    for (const auto &[id, key] : rows) {
        if (m_passwordKeysSent.count(*key) == 0)
            showUnread(page->findItem(id));
    }
    pushPage(page);
}

void QVantelSettingsPage::commitPasswordItem(QVantelMenuItem *item)
{
    const QString text = item->valueText();
    const QPointer<QVantelMenuItem> row = item;
    const WriteWatch watch;
    bool written = true;
    int level = 0;
    switch (item->id()) {
    case kRowAdministratorPassword:
        level = 2;
        written = setAdministratorPassword(text, true);
        break;
    case kRowExpertPassword:
        level = 1;
        written = setExpertPassword(text, true);
        break;
    case kRowOperatorPassword:
        written = setOperatorPassword(text, true);
        break;
    default:
        return;
    }
    if (written)
        return;
    // The row shows the unit's password as the cache holds it, never one it did not take.
    showWriteFailed(
        this, row, watch, [this, level](QVantelMenuItem *r) { r->setValueText(password(level)); });
}

void QVantelSettingsPage::commitSoundIdItem(QVantelMenuItem *item)
{
    TAudioSettings *audio = audioSettings();
    // The writes wait for the unit; the row is gone when its page went meanwhile.
    const QPointer<QVantelMenuItem> row = item;
    const WriteWatch watch;
    // Not taken: the switch shows the unit's setting again.
    if (item->id() == kRowPlaySoundId) {
        if (!audio->setWaveFile(item->isChecked() ? kSoundIdFile : std::string(), true)) {
            showWriteFailed(this, row, watch, [audio](QVantelMenuItem *r) {
                r->setChecked(!audio->waveFile().empty());
            });
        }
    } else if (item->id() == kRowSoundIdShortcut) {
        if (!audio->setWaveScut(item->isChecked(), true)) {
            showWriteFailed(this, row, watch, [audio](QVantelMenuItem *r) {
                r->setChecked(audio->waveScut());
            });
        }
    }
}

void QVantelSettingsPage::commitToolsItem(QVantelMenuItem *item)
{
    switch (item->id()) {
    case kRowReboot:
        if (!comDevice()->reboot())
            showMessage(tr("Failed to proceed!"), 0);
        break;
    case kRowAccessLevel:
        changeAccessLevel(item);
        break;
    case kRowPlaySoundId:
        commitSoundIdItem(item);
        break;
    default:
        break;
    }
}

void QVantelSettingsPage::tapToolsItem(QVantelMenuItem *item)
{
    if (item->id() == kRowReboot && !item->isReadOnly())
        confirmAction(tr("Are you sure you want to restart the system?"), item);
}

// --- The section's pages ---------------------------------------------------------------------

void QVantelSettingsPage::toolsPages(SettingsPageTable &rows)
{
    rows.push_back(SettingsPageRow(kPageTools)
                       .entered([](Page &menu) { menu.createToolsMenu(); })
                       .commits([](Page &menu, Items *, Item *item) { menu.commitToolsItem(item); })
                       .taps([](Page &menu, Items *, Item *item) { menu.tapToolsItem(item); })
                       .preparesKeyboard([](Page &menu, Item *item, QVantelVirtual *keyboard) {
                           if (item->id() == kRowAccessLevel)
                               menu.prepareAccessPassword(item, keyboard);
                       })
                       .keyboards([](Page &menu, Items *, Item *item, QVantelVirtual *keyboard) {
                           if (item->id() == kRowAccessLevel)
                               menu.checkAccessPassword(item, keyboard);
                       }));

    rows.push_back(
        SettingsPageRow(kPageSoundId)
            .opens([](Page &menu, int) { menu.createSoundIdPage(); })
            .commits([](Page &menu, Items *, Item *item) { menu.commitSoundIdItem(item); }));
    rows.push_back(
        SettingsPageRow(kPageSoftkeys)
            .opens([](Page &menu, int) { menu.createSoftkeysPage(); })
            .onReturn([](Page &menu, Items *page, int, int) { menu.refreshSoftkeysPage(page); }));
    rows.push_back(SettingsPageRow(kPageSoftkeyFirst, kPageSoftkeyLast)
                       .opens([](Page &menu, int id) { menu.createSoftkeyPage(id); })
                       .commits([](Page &menu, Items *page, Item *item) {
                           menu.commitSoftkeyItem(page, item);
                       }));
    rows.push_back(
        SettingsPageRow(kPageLabels)
            .opens([](Page &menu, int) { menu.createLabelsPage(); })
            .commits([](Page &menu, Items *, Item *item) { menu.commitLabelItem(item); }));
    rows.push_back(SettingsPageRow(kPageMiscellaneous)
                       .opens([](Page &menu, int) { menu.createMiscellaneousPage(); })
                       .commits([](Page &menu, Items *page, Item *item) {
                           menu.commitMiscellaneousItem(page, item);
                       }));
    rows.push_back(
        SettingsPageRow(kPagePasswords)
            .opens([](Page &menu, int) { menu.createPasswordsPage(); })
            .commits([](Page &menu, Items *, Item *item) { menu.commitPasswordItem(item); }));
}
