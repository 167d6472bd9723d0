#include "settings/qvantelsettingspage.h"

#include "frontpanel/qvantelwindow.h"
#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/protocolkeys.h"
#include "model/accesslevel.h"
#include "model/comdevice.h"
#include "widgets/qvantelimage.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelpagestack.h"
#include "widgets/qvantelvirtual.h"
#include "widgets/qvantelwheel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>

namespace {

// The audio change set the window builds itself after it re-read the audio settings.
const std::string kInfoSourceCore = "core";
// The keyboard property that carries the access level being entered.
const char kAccessLevelProperty[] = "vkb_accessLevel";

constexpr int kPageNetwork = 1;
constexpr int kPageCoding = 2;
constexpr int kPageAudio = 3;
constexpr int kPageBook = 4;
constexpr int kPageTools = 5;
constexpr int kPageStatus = 6;
constexpr int kPageSip = 10;
constexpr int kPageIsdn = 11;
constexpr int kPageSipAccount1 = 76;
constexpr int kPageSipAccount2 = 77;
constexpr int kPageCodec1 = 98;
constexpr int kPageCodec2 = 99;
constexpr int kPageRavenna = 123;
constexpr int kPageRavennaInputs = 137;
constexpr int kPageRavennaOutput = 148;
constexpr int kPageCallProfiles = 173;
constexpr int kPageStoredItem = 178;
constexpr int kPageSoftkeys = 198;
constexpr int kPageConnections = 259;
constexpr int kPageAoipStatus = 279;

constexpr int kRowPin = 41;
constexpr int kRowStreamChannel = 145;
constexpr int kRowAccessLevel = 194;
constexpr int kRowNewStoredItem = 177;
constexpr int kFirstStatusEthernetRow = 285;

bool within(int id, int first, int last)
{
    return id >= first && id <= last;
}

bool isEthernetPage(int id)
{
    return within(id, 12, 15);
}

bool isMobilePage(int id)
{
    return within(id, 16, 19);
}

bool isWifiPage(int id)
{
    return within(id, 20, 23);
}

bool isStreamPage(int id)
{
    return within(id, 138, 143);
}

bool isMobileStatusPage(int id)
{
    return within(id, 289, 292);
}

} // namespace

QVantelSettingsPage::QVantelSettingsPage(QWidget *parent)
    : QVantelMenuWidget(parent)
    , editEthernet(comClient())
    , editMobile(comClient())
    , editWifi(comClient())
    , editIsdn(comClient())
{
    // No entry is open yet, so there is nothing to go back to.
    header()->setBackVisible(false);
    createTopMenu();
    labelInputs = {{214, 0},
                   {215, 1},
                   {216, 2},
                   {217, 3},
                   {218, 8},
                   {219, 4},
                   {220, 5},
                   {221, 6},
                   {222, 7},
                   {223, 9},
                   {224, 10},
                   {225, 14},
                   {226, 15},
                   {227, 16},
                   {228, 18}};
    connect(audioSettings(),
            &TAudioSettings::controllerParamChanged,
            this,
            &QVantelSettingsPage::audioControllerParamChanged);
    connect(&editEthernet,
            &TComNetworkController::controllerParamChanged,
            this,
            &QVantelSettingsPage::ethernetParamChanged);
    connect(comClient(), &ksm::CCom::stateChanged, this, &QVantelSettingsPage::clientStateChanged);
}

// The members go in reverse declaration order (the edit copies drop their connections to this
// page with them), then the menu widget deletes the pages, header and popups that are left.
// Nothing is sent and unapplied edits are lost.
QVantelSettingsPage::~QVantelSettingsPage() = default;

void QVantelSettingsPage::registerPage()
{
    QVantelWindow::registerPage<QVantelSettingsPage>(QVantel::SettingsPage);
}

// --- Root menu -------------------------------------------------------------------------------

void QVantelSettingsPage::createTopMenu()
{
    const auto add = [this](int id, const QString &title, const QString &icon) {
        auto *entry = new QVantelMenuEntry(id, entries());
        entry->setObjectName(QStringLiteral("entry%1").arg(id));
        entry->grid()->setContentsMargins(10, 0, 10, 0);
        entry->titleLabel()->setText(title);
        entry->iconLabel()->setPixmap(qvantelPixmap(icon));
        addEntry(entry);
    };
    add(ExitSection, tr("Exit"), QStringLiteral(":/images/exit-menu.png"));
    add(NetworkSection, tr("Network"), QStringLiteral(":/images/network.png"));
    add(CodingSection, tr("Coding"), QStringLiteral(":/images/coding.png"));
    add(AudioSection, tr("Audio"), QStringLiteral(":/images/audio.png"));
    add(BookSection, tr("Book"), QStringLiteral(":/images/book.png"));
    add(ToolsSection, tr("Tools"), QStringLiteral(":/images/tools.png"));
    add(StatusSection, tr("Status"), QStringLiteral(":/images/status.png"));
}

void QVantelSettingsPage::updateAudioEntry()
{
    QVantelMenuEntry *entry = entries()->findEntry(AudioSection);
    if (!entry)
        return;
    if (accessLevel == AccessLevel::Operator)
        entry->setState(QVantelMenuEntry::Disabled);
    else if (entry->state() == QVantelMenuEntry::Disabled)
        entry->setState(QVantelMenuEntry::Normal);
}

void QVantelSettingsPage::showEvent(QShowEvent *event)
{
    updateAudioEntry();
    QVantelMenuWidget::showEvent(event);
}

bool QVantelSettingsPage::entryClicked(QVantelMenuEntry *entry)
{
    if (!QVantelMenuWidget::entryClicked(entry))
        return false;
    const int id = entry->id();
    switch (id) {
    case ExitSection:
        emit pageActivated(returnPage);
        return true;
    case NetworkSection:
        createNetworkMenu();
        break;
    case CodingSection:
        createCodingMenu();
        break;
    case AudioSection:
        createAudioMenu();
        break;
    case BookSection:
        createBookMenu();
        break;
    case ToolsSection:
        createToolsMenu();
        break;
    case StatusSection:
        createStatusMenu();
        break;
    default:
        return true;
    }
    lastSection = id;
    return true;
}

bool QVantelSettingsPage::showEntry(int entryId, int target)
{
    updateAudioEntry();
    return QVantelMenuWidget::showEntry(entryId, target);
}

void QVantelSettingsPage::openEntry(QVantelMenuEntry *entry)
{
    QVantelMenuWidget::openEntry(entry);
    QVantelMenuItems *page = currentPage();
    if (!page)
        return;
    int rowId = -1;
    if (page->id() == kPageCoding && entryTarget == QVantel::SettingsCodingLink1)
        rowId = kPageCodec1;
    else if (page->id() == kPageCoding && entryTarget == QVantel::SettingsCodingLink2)
        rowId = kPageCodec2;
    else if (page->id() == kPageBook
             && (entryTarget == QVantel::SettingsBookLink1
                 || entryTarget == QVantel::SettingsBookLink2))
        rowId = kPageCallProfiles;
    // Tapped directly, so that a read-only row opens too.
    if (QVantelMenuItem *row = page->findItem(rowId))
        itemClicked(row);
}

// --- Header actions --------------------------------------------------------------------------

void QVantelSettingsPage::backClicked()
{
    QVantelMenuItems *left = currentPage();
    const int leftId = left ? left->id() : -1;
    const int leftData = left ? left->data() : -1;
    // The page left is deleted later; from here on only its id and data are used.
    QVantelMenuWidget::backClicked();
    QPointer<QVantelMenuItems> page = currentPage();
    if (!page || page == left)
        return;

    const int id = page->id();
    if (id == kPageNetwork) {
        for (const int rowId : {7, 8, 9}) {
            if (!page)
                return;
            if (QVantelMenuItem *row = page->findItem(rowId))
                refreshNetworkRow(row);
        }
    } else if (id == kPageCoding) {
        updateCodingEntries(page);
    } else if (id == kPageStatus) {
        header()->setRefreshVisible(true);
    } else if (id == kPageSip) {
        updateDefaultAccountRow(page);
        if (page)
            header()->setModified(hasSipChanges(page));
    } else if (id == kPageIsdn) {
        header()->setModified(hasIsdnChanges(page));
    } else if (isEthernetPage(id)) {
        header()->setModified(hasEthernetChanges(page));
    } else if (isMobilePage(id)) {
        header()->setModified(hasMobileChanges(page));
    } else if (isWifiPage(id)) {
        header()->setModified(hasWifiChanges(page));
    } else if (id == kPageRavenna) {
        header()->setRefreshVisible(true);
        refreshRavennaPage(page);
    } else if (id == kPageRavennaInputs) {
        refreshRavennaInputsPage(page);
    } else if (id == kPageCallProfiles) {
        if (leftId != kPageStoredItem || leftData != kPageCallProfiles || !callProfilesChanged)
            return;
        callProfilesChanged = false;
        createCallProfileList();
        // The fresh list is on top now; the old one leaves the stack. When nothing could be
        // built the old list stays.
        if (page && currentPage() != page) {
            pageStack()->removeWidget(page);
            page->hide();
            page->deleteLater();
        }
    } else if (id == kPageSoftkeys) {
        refreshSoftkeysPage(page);
    } else if (id == kPageConnections) {
        header()->setRefreshVisible(true);
        refreshConnectionLink(page, 1);
        if (page)
            refreshConnectionLink(page, 2);
    }
}

void QVantelSettingsPage::refreshClicked()
{
    QVantelMenuWidget::refreshClicked();
    QPointer<QVantelMenuItems> page = currentPage();
    if (!page)
        return;
    showMessage(tr("Refreshing..."), 1000);
    if (!page)
        return;
    const int id = page->id();
    if (id == kPageRavenna) {
        refreshRavennaPage(page);
    } else if (isStreamPage(id)) {
        refreshRavennaStreamPage(page);
    } else if (id == kPageStatus) {
        refreshStatusMenu(page);
    } else if (id == kPageConnections) {
        refreshConnectionLink(page, 1);
        if (page)
            refreshConnectionLink(page, 2);
    } else if (id == kPageAoipStatus) {
        refreshAoipStatusPage(page);
    } else if (isMobileStatusPage(id)) {
        refreshMobileStatus(page, id);
    }
}

bool QVantelSettingsPage::applyRefused(int pageId)
{
    TComDevice *device = comDevice();
    const auto callOn = [device](int family, int index) {
        return device->findAudioConnection(TComDevice::networkToString(family + index)) != nullptr;
    };
    if (pageId == kPageSip || pageId == kPageSipAccount1 || pageId == kPageSipAccount2)
        return device->findAudioConnectionByTransport(TComDevice::TransportIp) != nullptr;
    if (pageId == kPageIsdn)
        return callOn(TComDevice::IsdnFamily, 0);
    if (isEthernetPage(pageId))
        return callOn(TComDevice::EthernetFamily, pageId - 12);
    if (isMobilePage(pageId))
        return callOn(TComDevice::MobileFamily, pageId - 16);
    if (isWifiPage(pageId))
        return callOn(TComDevice::WifiFamily, pageId - 20);
    if (pageId == kPageCodec1)
        return device->audioConnection(1) != nullptr;
    if (pageId == kPageCodec2)
        return device->audioConnection(2) != nullptr;
    return false;
}

QVantelSettingsPage::Applied QVantelSettingsPage::applyPage(QVantelMenuItems *page)
{
    const int id = page->id();
    bool accepted = false;
    if (id == kPageSip)
        accepted = applySipPage(page);
    else if (id == kPageSipAccount1 || id == kPageSipAccount2)
        accepted = applySipAccountPage(page);
    else if (id == kPageIsdn)
        accepted = applyIsdnPage(page);
    else if (isEthernetPage(id))
        accepted = applyEthernetPage(page);
    else if (isMobilePage(id))
        accepted = applyMobilePage(page);
    else if (isWifiPage(id))
        accepted = applyWifiPage(page);
    else if (id == kPageCodec1 || id == kPageCodec2)
        accepted = applyCodecPage(page);
    else if (id == 114)
        accepted = applyMonitoringPage(page);
    else if (id == 129 || id == 130)
        accepted = applyRavennaAddressPage(page);
    else if (isStreamPage(id))
        accepted = applyRavennaStreamPage(page);
    else if (id == kPageRavennaOutput)
        accepted = applyRavennaOutputPage(page);
    else if (id == kPageStoredItem && page->data() == kPageCallProfiles)
        accepted = applyCallProfile(page);
    else if (id == 245)
        accepted = applyRemoteAssistancePage(page);
    else
        return Applied::NoApplier;
    return accepted ? Applied::Done : Applied::Refused;
}

void QVantelSettingsPage::applyClicked()
{
    QPointer<QVantelMenuItems> page = currentPage();
    if (!page) {
        QVantelMenuWidget::applyClicked();
        return;
    }
    const int id = page->id();
    if (applyRefused(id)) {
        // The edits and the modified mark stay, so the user can apply once the call is over.
        showMessage(tr("Cannot apply changes\n(a connection is established)"), 0);
        return;
    }
    // Only a PIN typed now and taken by the SIM opens it; an empty PIN row sends nothing and
    // proves nothing.
    const QVantelMenuItem *pinRow = isMobilePage(id) ? page->findItem(kRowPin) : nullptr;
    const bool pinEntered = pinRow && !pinRow->isReadOnly() && !pinRow->valueText().isEmpty();
    const Applied applied = applyPage(page);
    if (applied == Applied::Refused)
        return;
    if (applied == Applied::NoApplier || !page) {
        QVantelMenuWidget::applyClicked();
        return;
    }

    if (id == kPageSip) {
        updateDefaultAccountRow(page);
    } else if (isMobilePage(id)) {
        if (pinEntered) {
            if (QVantelMenuItems *network = findPage(kPageNetwork)) {
                if (QVantelMenuItem *row = network->findItem(id)) {
                    // The SIM took the PIN: it is open now, whatever the last read said.
                    showSimState(row, TComController::StateReady);
                    row->setReadOnly(comDevice()->hasAudioConnection());
                }
            }
            // The PIN page is left at once; it is deleted later and not touched again.
            backClicked();
            return;
        }
    } else if (isStreamPage(id)) {
        QVantelMenuItem *channel = page->findItem(kRowStreamChannel);
        if (channel && !channel->isReadOnly() && !channel->currentValue()
            && ravennaStreamEdit.id != TComRavennaController::NoStream) {
            channel->setValueText(tr("Press refresh before selecting a channel"), Qt::red);
            header()->setRefreshVisible(true);
        }
    } else if (id == kPageRavennaOutput) {
        refreshRavennaOutputPage(page);
    } else if (id == kPageStoredItem) {
        callProfilesChanged = true;
        savedProfile = editProfile;
        // Back to the list, which is rebuilt on the way; the profile page is deleted later.
        backClicked();
    }
    QVantelMenuWidget::applyClicked();
}

// --- Rows ------------------------------------------------------------------------------------

bool QVantelSettingsPage::openPageOf(QVantelMenuItem *item)
{
    const int id = item->id();
    if (id == kPageSip)
        buildSipPage();
    else if (id == kPageSipAccount1 || id == kPageSipAccount2)
        buildSipAccountPage(id);
    else if (id == kPageIsdn)
        createIsdnPage();
    else if (isEthernetPage(id))
        createEthernetPage(id);
    else if (isMobilePage(id))
        createMobilePage(id);
    else if (isWifiPage(id))
        createWifiPage(id);
    else if (id == kPageCodec1 || id == kPageCodec2)
        createCodecPage(id);
    else if (id == 100)
        createAutoBitRatePage();
    else if (id == 114)
        createMonitoringPage();
    else if (id == kPageRavenna)
        createRavennaPage();
    else if (id == 129 || id == 130)
        createRavennaAddressPage(id);
    else if (id == kPageRavennaInputs)
        createRavennaInputsPage();
    else if (isStreamPage(id))
        createRavennaStreamPage(id);
    else if (id == kPageRavennaOutput)
        createRavennaOutputPage();
    else if (id == kPageCallProfiles)
        createCallProfileList();
    else if (id == 174)
        createPresetList();
    else if (id == 175)
        createSipProfileList();
    else if (id == 176)
        createSnapshotList();
    else if (id == 195)
        createSoundIdPage();
    else if (id == kPageSoftkeys)
        createSoftkeysPage();
    else if (within(id, 199, 205))
        createSoftkeyPage(id);
    else if (id == 209)
        createLabelsPage();
    else if (id == 229)
        createMiscellaneousPage();
    else if (id == 241)
        createTroubleshootingPage();
    else if (id == 245)
        createRemoteAssistancePage();
    else if (id == 252)
        createPasswordsPage();
    else if (id == kPageConnections)
        createConnectionStatusPage();
    else if ((id == 268 || id == 269) && item->data() == 260)
        createCallStatisticsPage(270);
    else if ((id == 268 || id == 269) && item->data() == 261)
        createCallStatisticsPage(271);
    else if (id == kPageAoipStatus)
        createAoipStatusPage();
    else if (isMobileStatusPage(id))
        createMobileStatusPage(id);
    else
        return false;
    return true;
}

void QVantelSettingsPage::itemClicked(QVantelMenuItem *item)
{
    QVantelMenuWidget::itemClicked(item);
    if (!item)
        return;
    QVantelMenuItems *page = item->page();
    if (!page)
        return;
    // Stored-list rows (ids from 306) open their pages in the Book section, not here.
    if (item->id() < 306 && openPageOf(item))
        return;

    const int pageId = page->id();
    QPointer<QVantelMenuItem> row = item;
    if (within(pageId, kPageIsdn, 23))
        tapInterfaceItem(page, item);
    else if (within(pageId, kPageCallProfiles, kPageStoredItem))
        tapBookItem(page, item);
    else if (pageId == kPageTools)
        tapToolsItem(page, item);
    else if (pageId == 241 || pageId == 245)
        tapTroubleshootingItem(page, item);
    // An open wheel closes on a tap of its row, keeping the value it had.
    if (row && row->kind() == QVantelMenuItem::WheelOnRelease && row->wheel()
        && row->wheel()->isChecked()) {
        if (const QVantelMenuItem::Value *value = row->currentValue()) {
            row->selectValue(value->value, true, false);
            row->wheel()->setChecked(false);
        }
    }
}

void QVantelSettingsPage::prepareKeyboard(QVantelMenuItem *item, QVantelVirtual *keyboard)
{
    QVantelMenuWidget::prepareKeyboard(item, keyboard);
    if (!item || !keyboard || !item->page())
        return;
    const int pageId = item->page()->id();
    if (item->id() == kRowNewStoredItem && within(pageId, 174, 176)) {
        keyboard->lineEdit()->setText(QString());
    } else if (item->id() == kRowAccessLevel) {
        const QVantelMenuItem::Value *chosen = item->currentValue();
        if (!chosen)
            return;
        keyboard->titleLabel()->setText(tr("Enter Password"));
        keyboard->lineEdit()->setText(QString());
        keyboard->lineEdit()->setEchoMode(QLineEdit::Password);
        keyboard->setProperty(kAccessLevelProperty, chosen->value);
        // The row shows the new level only once its password was accepted.
        item->selectValue(int(accessLevel), true, false);
    }
}

void QVantelSettingsPage::prepareSelection(QVantelMenuItem *item, QVantelMenuSelect *select)
{
    QVantelMenuWidget::prepareSelection(item, select);
}

bool QVantelSettingsPage::pageHasChanges(QVantelMenuItems *page, bool *tested)
{
    const int id = page->id();
    *tested = true;
    if (id == kPageSip)
        return hasSipChanges(page);
    if (id == kPageSipAccount1 || id == kPageSipAccount2)
        return hasSipAccountChanges(page);
    if (id == kPageIsdn)
        return hasIsdnChanges(page);
    if (isEthernetPage(id))
        return hasEthernetChanges(page);
    if (isMobilePage(id))
        return hasMobileChanges(page);
    if (isWifiPage(id))
        return hasWifiChanges(page);
    if (id == kPageCodec1 || id == kPageCodec2)
        return codecPageHasChanges(page);
    if (id == 129 || id == 130)
        return ravennaAddressHasChanges(page);
    if (isStreamPage(id))
        return ravennaStreamHasChanges(page);
    if (id == kPageRavennaOutput)
        return ravennaOutputHasChanges(page);
    if (id == 245)
        return remoteAssistanceHasChanges(page);
    if (id == 114)
        return monitoringPageHasChanges(page);
    *tested = false;
    return false;
}

void QVantelSettingsPage::itemCommitted(QVantelMenuItem *item)
{
    QVantelMenuWidget::itemCommitted(item);
    if (!item)
        return;
    QPointer<QVantelMenuItems> page = item->page();
    if (!page)
        return;
    const int id = page->id();
    if (id == kPageNetwork)
        commitNetworkItem(page, item);
    else if (id == kPageSip || id == kPageSipAccount1 || id == kPageSipAccount2)
        commitSipItem(page, item);
    else if (within(id, kPageIsdn, 23))
        commitInterfaceItem(page, item);
    else if (within(id, kPageCodec1, 100))
        commitCodingItem(page, item);
    else if (id == kPageAudio || id == 114)
        commitAudioItem(page, item);
    else if (id == kPageRavenna || id == 129 || id == 130 || id == kPageRavennaInputs
             || isStreamPage(id) || id == kPageRavennaOutput)
        commitRavennaItem(page, item);
    else if (within(id, kPageCallProfiles, 176) || id == kPageStoredItem)
        commitBookItem(page, item);
    else if (id == kPageTools || id == 195 || within(id, 199, 205) || id == 209 || id == 229
             || id == 252)
        commitToolsItem(page, item);
    else if (id == 241 || id == 245)
        commitTroubleshootingItem(page, item);
    else
        return;

    // Edit-then-apply pages: every commit ends with the page's change test, as long as the page
    // is still the one shown.
    if (!page || currentPage() != page)
        return;
    bool tested = false;
    const bool changed = pageHasChanges(page, &tested);
    if (tested)
        header()->setModified(changed);
}

void QVantelSettingsPage::keyboardAccepted(QVantelMenuItem *item, QVantelVirtual *keyboard)
{
    QVantelMenuWidget::keyboardAccepted(item, keyboard);
    if (!item || !keyboard)
        return;
    QVantelMenuItems *page = item->page();
    if (!page)
        return;
    if (within(page->id(), 174, 176))
        keyboardBookItem(page, item, keyboard);
    else if (item->id() == kRowAccessLevel)
        checkAccessPassword(item, keyboard);
}

void QVantelSettingsPage::selectionAccepted(QVantelMenuItem *item, QVantelMenuSelect *select)
{
    QVantelMenuWidget::selectionAccepted(item, select);
    if (!item || !select)
        return;
    QVantelMenuItems *page = item->page();
    if (!page)
        return;
    const int id = page->id();
    if (isMobilePage(id) || isWifiPage(id))
        selectInterfaceItem(page, item, select);
    else if (id == kPageCallProfiles || id == 175 || id == kPageStoredItem)
        selectBookItem(page, item, select);
    else if (id == 241)
        selectTroubleshootingItem(page, item, select);
}

// --- Notifications ---------------------------------------------------------------------------

void QVantelSettingsPage::audioControllerParamChanged(TComController *controller,
                                                      TAudioSettings::CtlrParam param)
{
    Q_UNUSED(controller)
    QVantelMenuItems *page = currentPage();
    if (!page || page->id() != kPageAudio)
        return;
    switch (param) {
    case TAudioSettings::LimiterThreshold:
    case TAudioSettings::InputSource:
    case TAudioSettings::DrcState:
    case TAudioSettings::DrcLimThreshold:
    case TAudioSettings::DrcThresholdCmp:
    case TAudioSettings::DrcRatioCmp:
    case TAudioSettings::DrcAttack:
        refreshAudioPage(page);
        break;
    default:
        break;
    }
}

void QVantelSettingsPage::ethernetParamChanged(TComController *controller, int param)
{
    Q_UNUSED(controller)
    if (param != TComEthernetController::ParamConfigInfo)
        return;
    QVantelMenuItems *page = currentPage();
    if (!page)
        return;
    if (isEthernetPage(page->id())) {
        refreshEthernetRows(page);
    } else if (page->id() == kPageStatus) {
        refreshEthernetStatusRow(
            page, kFirstStatusEthernetRow + TComDevice::networkIndex(editEthernet.networkId()));
    }
}

void QVantelSettingsPage::audioChangesetEvent(const ksm::CMsg &message)
{
    QVantelMenuItems *page = currentPage();
    if (!page || page->id() != kPageAudio)
        return;
    if (*message.param(kKeyInfoType, true) == kEventAudioChangeset
        && *message.param(kKeyInfoSource, true) == kInfoSourceCore) {
        refreshAudioPage(page);
    }
}

void QVantelSettingsPage::configurationEvent(const ksm::CMsg &message)
{
    const std::string &type = *message.param(kKeyEventType, true);
    if (type.empty())
        return;
    QPointer<QVantelMenuItems> page = currentPage();
    if (!page)
        return;
    const int id = page->id();
    const auto refreshRows = [this, &page](std::initializer_list<int> rows) {
        for (const int rowId : rows) {
            if (!page)
                return;
            if (QVantelMenuItem *row = page->findItem(rowId))
                refreshNetworkRow(row);
        }
    };

    if (type == kEventDefaultNetwork) {
        if (id == kPageNetwork)
            refreshRows({7});
        else if (id == kPageCoding)
            updateCodingEntries(page);
        else if (id == kPageStatus)
            refreshStatusMenu(page);
    } else if (type == kEventSecondaryNetwork || type == kEventCodecChange) {
        if (id == kPageNetwork)
            refreshRows({8});
    } else if (type == kEventDefaultCodec) {
        if (id == kPageNetwork)
            refreshRows({8, 9});
        else if (id == kPageCoding)
            updateCodingEntries(page);
        else if (id == kPageAudio)
            refreshAudioPage(page);
        else if (id == kPageStatus)
            refreshStatusMenu(page);
    } else if (type == kEventConfigInfo) {
        const std::string &network = *message.param(kKeyNetwork, true);
        if (TComDevice::networkFamily(network) != TComDevice::EthernetFamily)
            return;
        if (isEthernetPage(id)) {
            if (editEthernet.state() != TComController::StateUnknown)
                editEthernet.handleEvent(message);
        } else if (id == kPageStatus) {
            if (editEthernet.networkId() != network && !editEthernet.setNetwork(network, 0, false))
                return;
            editEthernet.handleEvent(message);
        }
    }
}

void QVantelSettingsPage::deviceBusy(bool busy)
{
    Q_UNUSED(busy)
}

void QVantelSettingsPage::deviceReleased(bool released)
{
    Q_UNUSED(released)
}

void QVantelSettingsPage::audioConnectionStateChanged(TComAudioConnection *connection)
{
    Q_UNUSED(connection)
}

void QVantelSettingsPage::audioCallStatusChanged(TComAudioConnection *connection)
{
    QVantelMenuItems *page = currentPage();
    if (connection && page && page->id() == kPageConnections)
        showAudioConnection(page, connection);
}

void QVantelSettingsPage::audioCallStatisticChanged(TComAudioConnection *connection)
{
    if (!connection)
        return;
    const int type = connection->type();
    if (type == TComBaseConnection::AudioLink1 || type == TComBaseConnection::AudioLink2) {
        // Slot (stream - 1) * 2 + (link - 1): link 1 fills slots 0 and 2, link 2 slots 1 and 3.
        for (int stream = 0; stream < 2; ++stream) {
            callStatistics[stream * 2 + type] = connection->rxStatistics(stream);
            callStatistics2[stream * 2 + type] = connection->txStatistics(stream);
        }
    }
    QVantelMenuItems *page = currentPage();
    if (!page)
        return;
    if (page->id() == kPageConnections)
        showAudioConnection(page, connection);
    else if (page->id() == 270 || page->id() == 271)
        refreshCallStatisticsPage(page);
}

const RxQualityReport &QVantelSettingsPage::rxStatisticsSlot(int slot) const
{
    static const RxQualityReport none;
    return slot >= 0 && slot < 4 ? callStatistics[slot] : none;
}

const TxQualityReport &QVantelSettingsPage::txStatisticsSlot(int slot) const
{
    static const TxQualityReport none;
    return slot >= 0 && slot < 4 ? callStatistics2[slot] : none;
}
