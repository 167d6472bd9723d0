#include "settings/qvantelsettingspage.h"

#include "frontpanel/qvantelwindow.h"
#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/protocolkeys.h"
#include "model/accesslevel.h"
#include "model/readfailures.h"
#include "settings/settingsids.h"
#include "widgets/qvantelimage.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmessage.h"
#include "widgets/qvantelpagestack.h"
#include "widgets/qvantelwheel.h"

#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPointer>

#include <algorithm>
#include <cstdint>
#include <vector>

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
    labelInputs = {{kRowFirstInputLabel, 0},
                   {kRowFirstInputLabel + 1, 1},
                   {kRowFirstInputLabel + 2, 2},
                   {kRowFirstInputLabel + 3, 3},
                   {kRowFirstInputLabel + 4, 8},
                   {kRowFirstInputLabel + 5, 4},
                   {kRowFirstInputLabel + 6, 5},
                   {kRowFirstInputLabel + 7, 6},
                   {kRowFirstInputLabel + 8, 7},
                   {kRowFirstInputLabel + 9, 9},
                   {kRowFirstInputLabel + 10, 10},
                   {kRowFirstInputLabel + 11, 14},
                   {kRowFirstInputLabel + 12, 15},
                   {kRowFirstInputLabel + 13, 16},
                   {kRowLastInputLabel, 18}};
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
    add(kEntryExit, tr("Exit"), QStringLiteral(":/images/exit-menu.png"));
    add(kPageNetwork, tr("Network"), QStringLiteral(":/images/network.png"));
    add(kPageCoding, tr("Coding"), QStringLiteral(":/images/coding.png"));
    add(kPageAudio, tr("Audio"), QStringLiteral(":/images/audio.png"));
    add(kPageBook, tr("Book"), QStringLiteral(":/images/book.png"));
    add(kPageTools, tr("Tools"), QStringLiteral(":/images/tools.png"));
    add(kPageStatus, tr("Status"), QStringLiteral(":/images/status.png"));
}

void QVantelSettingsPage::updateAudioEntry()
{
    QVantelMenuEntry *entry = entries()->findEntry(kPageAudio);
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

// --- Page table ------------------------------------------------------------------------------

const SettingsPageTable &QVantelSettingsPage::pageTable()
{
    static const SettingsPageTable table = [] {
        SettingsPageTable rows;
        networkPages(rows);
        sipPages(rows);
        codingPages(rows);
        audioPages(rows);
        ravennaPages(rows);
        bookPages(rows);
        toolsPages(rows);
        troubleshootingPages(rows);
        statusPages(rows);
        return rows;
    }();
    return table;
}

const SettingsPageRow *QVantelSettingsPage::pageRow(int id, int data)
{
    return pageRow(pageTable(), id, data);
}

const SettingsPageRow *
QVantelSettingsPage::pageRow(const SettingsPageTable &table, int id, int data)
{
    const SettingsPageRow *anyData = nullptr;
    for (const SettingsPageRow &row : table) {
        if (!row.holds(id))
            continue;
        if (row.data == data)
            return &row;
        if (row.data == SettingsPageRow::kAnyData && !anyData)
            anyData = &row;
    }
    return anyData;
}

const SettingsPageRow *QVantelSettingsPage::pageRow(const QVantelMenuItems *page)
{
    return page ? pageRow(page->id(), page->data()) : nullptr;
}

// --- Root entries ----------------------------------------------------------------------------

bool QVantelSettingsPage::entryClicked(QVantelMenuEntry *entry)
{
    if (!QVantelMenuWidget::entryClicked(entry))
        return false;
    const int id = entry->id();
    if (id == kEntryExit) {
        emit pageActivated(returnPage);
        return true;
    }
    const SettingsPageRow *row = pageRow(id, SettingsPageRow::kAnyData);
    if (!row || !row->enter)
        return true;
    buildPages([this, row] { row->enter(*this); });
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
    const SettingsPageRow *pageRow = QVantelSettingsPage::pageRow(page);
    if (!pageRow || !pageRow->entryRow)
        return;
    // Tapped directly, so that a read-only row opens too.
    if (QVantelMenuItem *row = page->findItem(pageRow->entryRow(entryTarget)))
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
    QVantelMenuItems *page = currentPage();
    if (!page || page == left)
        return;
    if (const SettingsPageRow *row = pageRow(page); row && row->returned)
        buildPages([&] { row->returned(*this, page, leftId, leftData); });
}

void QVantelSettingsPage::refreshClicked()
{
    const Step step(this);
    QVantelMenuWidget::refreshClicked();
    QPointer<QVantelMenuItems> page = currentPage();
    if (!page)
        return;
    showMessage(tr("Refreshing..."), 1000);
    if (!page)
        return;
    if (const SettingsPageRow *row = pageRow(page); row && row->refresh)
        row->refresh(*this, page);
}

void QVantelSettingsPage::showChanges(QVantelMenuItems *page)
{
    const SettingsPageRow *row = pageRow(page);
    if (!row || !row->hasChanges)
        return;
    // A change test may read the unit: the mark goes to the page only while it is still shown.
    const Step step(this);
    const QPointer<QVantelMenuItems> tested = page;
    const bool changed = row->hasChanges(*this, page);
    if (tested && currentPage() == tested)
        header()->setModified(changed);
}

void QVantelSettingsPage::applyClicked()
{
    const Step step(this);
    QPointer<QVantelMenuItems> page = currentPage();
    if (!page) {
        QVantelMenuWidget::applyClicked();
        return;
    }
    const SettingsPageRow *row = pageRow(page);
    if (row && row->applyRefused && row->applyRefused(*this, page->id())) {
        // The edits and the modified mark stay, so the user can apply once the call is over.
        showMessage(tr("Cannot apply changes\n(a connection is established)"), 0);
        return;
    }
    if (!row || !row->apply) {
        QVantelMenuWidget::applyClicked();
        return;
    }
    const SettingsApplied applied = row->apply(*this, page);
    if (applied == SettingsApplied::Refused && row->notice && page && currentPage() == page) {
        // A page that follows the unit may have taken its news while the write was under way:
        // with the edits put back, the mark is the change test's again.
        showChanges(page);
    }
    if (applied == SettingsApplied::Refused || applied == SettingsApplied::Left)
        return;
    // The unit was written meanwhile; a page left in that time keeps nothing of this Apply, and
    // the mark of the page shown now is not this Apply's to clear.
    if (!page || currentPage() != page)
        return;
    if (row->afterApply) {
        row->afterApply(*this, page);
        if (!page || currentPage() != page)
            return;
    }
    QVantelMenuWidget::applyClicked();
}

// --- Rows ------------------------------------------------------------------------------------

void QVantelSettingsPage::itemClicked(QVantelMenuItem *item)
{
    QVantelMenuWidget::itemClicked(item);
    if (!item)
        return;
    QVantelMenuItems *page = item->page();
    if (!page)
        return;
    // Only a navigation row leads to the page whose id it carries; a row of any other kind is
    // tapped as the row it is, whatever its id.
    if (const SettingsPageRow *opened = pageRow(item->id(), item->data());
        opened && opened->open && item->kind() == QVantelMenuItem::Navigation) {
        const int id = item->id();
        buildPages([this, opened, id] { opened->open(*this, id); });
        // A page that could not be read is not pushed; its row's title goes with it.
        dropPendingTitle();
        return;
    }

    QPointer<QVantelMenuItem> row = item;
    if (const SettingsPageRow *pageRow = QVantelSettingsPage::pageRow(page);
        pageRow && pageRow->tap)
        buildPages([&] { pageRow->tap(*this, page, item); });
    dropPendingTitle();
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
    if (!item || !keyboard)
        return;
    const Step step(this);
    if (const SettingsPageRow *row = pageRow(item->page()); row && row->prepareKeyboard)
        row->prepareKeyboard(*this, item, keyboard);
}

void QVantelSettingsPage::prepareSelection(QVantelMenuItem *item, QVantelMenuSelect *select)
{
    QVantelMenuWidget::prepareSelection(item, select);
}

void QVantelSettingsPage::itemCommitted(QVantelMenuItem *item)
{
    QVantelMenuWidget::itemCommitted(item);
    if (!item)
        return;
    QPointer<QVantelMenuItems> page = item->page();
    const SettingsPageRow *row = pageRow(page);
    if (!row || !row->commit)
        return;
    buildPages([&] { row->commit(*this, page, item); });

    // Edit-then-apply pages: every commit ends with the page's change test, as long as the page
    // is still the one shown.
    if (page && currentPage() == page)
        showChanges(page);
}

void QVantelSettingsPage::keyboardAccepted(QVantelMenuItem *item, QVantelVirtual *keyboard)
{
    QVantelMenuWidget::keyboardAccepted(item, keyboard);
    if (!item || !keyboard)
        return;
    QVantelMenuItems *page = item->page();
    if (const SettingsPageRow *row = pageRow(page); row && row->keyboard)
        buildPages([&] { row->keyboard(*this, page, item, keyboard); });
}

void QVantelSettingsPage::selectionAccepted(QVantelMenuItem *item, QVantelMenuSelect *select)
{
    QVantelMenuWidget::selectionAccepted(item, select);
    if (!item || !select)
        return;
    QVantelMenuItems *page = item->page();
    if (const SettingsPageRow *row = pageRow(page); row && row->choice)
        buildPages([&] { row->choice(*this, page, item, select); });
}

void QVantelSettingsPage::buildPages(const std::function<void()> &hook)
{
    const Step step(this);
    std::vector<QWidget *> before;
    for (int i = 0; i < pageStack()->count(); ++i)
        before.push_back(pageStack()->widget(i));
    const QVantelMessage *messageBefore = message();
    const std::uint64_t failedBefore = failedReads();
    hook();
    QVantelMenuItems *shown = currentPage();
    // A step the menu moved on from left its reads unsent; what is shown now is another's.
    if (!step.stillWanted())
        return;
    if (!shown || failedReads() == failedBefore
        || std::find(before.begin(), before.end(), shown) != before.end()) {
        return;
    }
    // A hook that opened a message of its own has had its say.
    if (message() && message() != messageBefore)
        return;
    showMessage(tr("Failed to read the settings!"), 0);
}

// --- Notifications ---------------------------------------------------------------------------

void QVantelSettingsPage::noticePage(const SettingsNotice &notice)
{
    const Step step(this);
    QPointer<QVantelMenuItems> page = currentPage();
    const SettingsPageRow *row = pageRow(page);
    if (!row || !row->notice)
        return;
    row->notice(*this, page, notice);
    // What the unit reported may have made a row the operator changed the unit's value again,
    // or a row the operator left differ: the mark says whether any row still differs.
    if (page && currentPage() == page)
        showChanges(page);
}

void QVantelSettingsPage::audioControllerParamChanged(TComController *controller,
                                                      TAudioSettings::CtlrParam param)
{
    Q_UNUSED(controller)
    SettingsNotice notice{SettingsNotice::AudioParameter};
    notice.parameter = param;
    noticePage(notice);
}

void QVantelSettingsPage::ethernetParamChanged(TComController *controller, int param)
{
    Q_UNUSED(controller)
    if (param == TComEthernetController::ParamConfigInfo)
        noticePage({SettingsNotice::EthernetConfiguration});
}

void QVantelSettingsPage::audioChangesetEvent(const ksm::CMsg &message)
{
    SettingsNotice notice{SettingsNotice::AudioChangeset};
    notice.message = &message;
    noticePage(notice);
}

void QVantelSettingsPage::configurationEvent(const ksm::CMsg &message)
{
    if (message.param(kKeyEventType, true)->empty())
        return;
    SettingsNotice notice{SettingsNotice::Configuration};
    notice.message = &message;
    noticePage(notice);
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
    if (!connection)
        return;
    SettingsNotice notice{SettingsNotice::CallStatus};
    notice.connection = connection;
    noticePage(notice);
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
    SettingsNotice notice{SettingsNotice::CallStatistics};
    notice.connection = connection;
    noticePage(notice);
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
