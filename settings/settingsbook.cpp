// The Book section: the Book page (4), the stored-item lists (173-176) and item pages (178).
//
// Stored rows have the id 306 + the unit's id of the item and carry their list page's id as data;
// the action rows of an item page carry the stored row's id as data. Every request goes through
// TStoredItems; a list page rebuilt inside a hook replaces the old one, which leaves the stack
// and is deleted later, as the hook may still be running on one of its rows.

#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"

#include "link/comclient.h"
#include "link/protocolkeys.h"
#include "model/accesslevel.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"
#include "model/storeditems.h"
#include "widgets/qvantellocalize.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelmenuselectable.h"
#include "widgets/qvantelpagestack.h"
#include "widgets/qvantelvirtual.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include <algorithm>

namespace {

constexpr int kTimeoutAutoClose = 0;

// The words of one stored kind (presets, SIP profiles, snapshots).
struct StoredKind
{
    int listId;
    const std::string *type;
    const char *newLabel;
    const char *newText;
    const char *entryText;         // Expert, Administrator
    const char *operatorEntryText; // Operator
    const char *nameLabel;
    const char *loadText;
    const char *updateText; // null: no update
    const char *deleteText;
    const char *loadQuestion;
    const char *updateQuestion;
    const char *deleteQuestion;
    const char *refusedLoad;
    const char *loading; // null: no progress message
    const char *failedLoad;
    const char *failedUpdate;
    const char *unconfirmedUpdate; // the update's answer came too late to be heard
    const char *failedDelete;
    const char *creating;
    const char *failedCreate;
};

const StoredKind kKinds[] = {
    {kPagePresets,
     &TStoredItems::kPresets,
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "New Preset"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Create a new preset"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Load, update or delete the preset"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Load the preset"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Preset Name"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Load the preset"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Update the preset"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Delete the preset"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Load the preset?"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Update the preset?"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Delete the preset?"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage",
                       "Cannot load the preset\n(a connection is established)"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Loading the preset..."),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Failed to load the preset!"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Failed to update the preset!"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage",
                       "The unit did not confirm\nthe update of the preset!"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Failed to delete the preset!"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Creating the preset..."),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Failed to create the preset!")},
    {kPageSipProfiles,
     &TStoredItems::kSipProfiles,
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "New SIP Profile"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Create a new SIP profile"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Load or delete the SIP profile"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Load the SIP profile"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "SIP Profile Name"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Load the SIP profile"),
     nullptr,
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Delete the SIP profile"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Load the SIP profile?"),
     nullptr,
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Delete the SIP profile?"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage",
                       "Cannot load the SIP profile\n(a connection is established)"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Loading the SIP profile..."),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Failed to load the SIP profile!"),
     nullptr,
     nullptr,
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Failed to delete the SIP profile!"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Creating the SIP profile..."),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Failed to create the SIP profile!")},
    {kPageSnapshots,
     &TStoredItems::kSnapshots,
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "New Snapshot"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Create a new snapshot"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Load, update or delete the snapshot"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Load the snapshot"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Snapshot Name"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Load the snapshot"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Update the snapshot"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Delete the snapshot"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Load the snapshot?"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Update the snapshot?"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Delete the snapshot?"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage",
                       "Cannot load the snapshot\n(a connection is established)"),
     nullptr,
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Failed to load the snapshot!"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Failed to update the snapshot!"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage",
                       "The unit did not confirm\nthe update of the snapshot!"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Failed to delete the snapshot!"),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Creating the snapshot..."),
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "Failed to create the snapshot!")},
};

const StoredKind *kindOf(int listId)
{
    for (const StoredKind &kind : kKinds) {
        if (kind.listId == listId)
            return &kind;
    }
    return nullptr;
}

// Whether item is one of the unit's items on the list page it is on: their rows carry the page
// id of their list as data.
bool isStoredRowOf(const QVantelMenuItems *list, const QVantelMenuItem *item)
{
    return item->id() >= kFirstStoredRow && item->data() == list->id();
}

} // namespace

QVantelMenuItem *QVantelSettingsPage::addBookRow(QVantelMenuItems *page,
                                                 int id,
                                                 int data,
                                                 int kind,
                                                 const QString &label,
                                                 const QString &value,
                                                 int top)
{
    auto *row = new QVantelMenuItem(id, data, kind, page);
    row->grid()->setContentsMargins(10, top, 10, 0);
    if (row->titleLabel())
        row->titleLabel()->setText(label);
    if (!value.isNull())
        row->setValueText(value);
    page->addItem(row);
    return row;
}

void QVantelSettingsPage::addBookSpacer(QVantelMenuItems *page)
{
    addBookRow(page, -1, -1, QVantelMenuItem::Caption, QString(), QString(), 10);
}

void QVantelSettingsPage::addStoredRow(QVantelMenuItems *page,
                                       int id,
                                       int listId,
                                       int kind,
                                       const QString &name,
                                       const QString &value,
                                       bool readOnly)
{
    page->addDeferredItem({id, listId, kind, name, value, QMargins(10, 0, 10, 0), readOnly});
}

void QVantelSettingsPage::createBookMenu()
{
    auto *page = new QVantelMenuItems(kPageBook, this);
    const auto add = [page](int id, const QString &label, const QString &text) {
        addBookRow(page, id, -1, QVantelMenuItem::Navigation, label, text);
    };
    add(kPageCallProfiles, tr("Call Profiles"), tr("Manage the call profiles"));
    add(kPagePresets, tr("Presets"), tr("Manage the presets"));
    if (firmwareAtLeast(kFirmware1_7_2))
        add(kPageSipProfiles, tr("SIP Profiles"), tr("Manage the SIP profiles"));
    add(kPageSnapshots, tr("Snapshots"), tr("Manage the snapshots"));
    pushPage(page);
}

void QVantelSettingsPage::createStoredList(int listId,
                                           const std::vector<TStoredItems::Entry> *listed)
{
    const StoredKind *found = kindOf(listId);
    if (!found)
        return;
    const StoredKind &kind = *found;
    auto *page = new QVantelMenuItems(kind.listId, this);
    const bool manager = accessLevel != AccessLevel::Operator;
    if (manager) {
        addBookRow(page,
                   kRowNewStoredItem,
                   -1,
                   QVantelMenuItem::Action,
                   tr(kind.newLabel),
                   tr(kind.newText));
        addBookSpacer(page);
    }
    const QString entryText = manager ? tr(kind.entryText) : tr(kind.operatorEntryText);
    const std::vector<TStoredItems::Entry> entries
        = listed ? *listed : TStoredItems(comClient()).list(*kind.type);
    for (const TStoredItems::Entry &entry : entries) {
        addStoredRow(page,
                     kFirstStoredRow + entry.id,
                     kind.listId,
                     manager ? QVantelMenuItem::Navigation : QVantelMenuItem::Action,
                     entry.name,
                     entryText);
    }
    pushPage(page);
}

void QVantelSettingsPage::createPresetList()
{
    createStoredList(kPagePresets);
}

void QVantelSettingsPage::createSipProfileList()
{
    createStoredList(kPageSipProfiles);
}

void QVantelSettingsPage::createSnapshotList()
{
    createStoredList(kPageSnapshots);
}

void QVantelSettingsPage::createStoredItemPage(int listId, int rowId, const QString &name)
{
    const StoredKind *kind = kindOf(listId);
    if (!kind)
        return;
    auto *page = new QVantelMenuItems(kPageStoredItem, listId, this);
    QVantelMenuItem *nameRow = addBookRow(
        page, kRowStoredItemName, -1, QVantelMenuItem::ReadOnlyValue, tr(kind->nameLabel), name);
    nameRow->setReadOnly(true);
    addBookSpacer(page);
    addBookRow(
        page, kRowStoredItemLoad, rowId, QVantelMenuItem::Action, tr("Load"), tr(kind->loadText));
    if (kind->updateText)
        addBookRow(page,
                   kRowStoredItemUpdate,
                   rowId,
                   QVantelMenuItem::Action,
                   tr("Update"),
                   tr(kind->updateText));
    addBookRow(page,
               kRowStoredItemDelete,
               rowId,
               QVantelMenuItem::Action,
               tr("Delete"),
               tr(kind->deleteText));
    pushPage(page);
}

void QVantelSettingsPage::createPresetPage(int rowId, const QString &name)
{
    createStoredItemPage(kPagePresets, rowId, name);
}

void QVantelSettingsPage::createSipProfilePage(int rowId, const QString &name)
{
    createStoredItemPage(kPageSipProfiles, rowId, name);
}

void QVantelSettingsPage::createSnapshotPage(int rowId, const QString &name)
{
    createStoredItemPage(kPageSnapshots, rowId, name);
}

void QVantelSettingsPage::rebuildStoredList(QVantelMenuItems *oldList,
                                            const std::vector<TStoredItems::Entry> *listed)
{
    QPointer<QVantelMenuItems> old = oldList;
    // The list is built again as its own row in the page table builds it, or from the list
    // just read.
    if (listed)
        createStoredList(oldList->id(), listed);
    else if (const SettingsPageRow *row = pageRow(oldList); row && row->open)
        row->open(*this, oldList->id());
    // The fresh list is on top; the old one may still hold the row whose hook is running.
    if (old && currentPage() != old) {
        pageStack()->removeWidget(old);
        old->hide();
        old->deleteLater();
    }
}

bool QVantelSettingsPage::listsNewItem(const std::vector<TStoredItems::Entry> &listed,
                                       int listId,
                                       const QString &name) const
{
    const QVantelMenuItems *list = findPage(listId);
    return std::any_of(listed.begin(), listed.end(), [&](const TStoredItems::Entry &entry) {
        return entry.name == name && !(list && list->findItem(kFirstStoredRow + entry.id, listId));
    });
}

void QVantelSettingsPage::removeStoredRow(int listId, int storedRowId)
{
    // The list may have been left meanwhile; then there is no row to take out.
    if (QVantelMenuItems *list = findPage(listId)) {
        if (QVantelMenuItem *row = list->findItem(storedRowId, listId)) {
            list->removeItem(row);
            row->hide();
            row->deleteLater();
        }
    }
}

void QVantelSettingsPage::offerSipAccounts(QVantelMenuItem *row, const QString &title)
{
    row->clearValues();
    row->addValue(1, tr("Primary SIP Account"));
    row->addValue(2, tr("Secondary SIP Account"));
    row->selectValue(1, false, false);
    showSelection(title, row, true);
}

// --- Taps, commits and choices on the stored lists and their item pages ----------------------

void QVantelSettingsPage::tapStoredList(QVantelMenuItems *page,
                                        QVantelMenuItem *item,
                                        void (QVantelSettingsPage::*openItem)(int, const QString &))
{
    const int pageId = page->id();
    const int rowId = item->id();
    const StoredKind *kind = kindOf(pageId);
    if (!kind)
        return;
    if (rowId == kRowNewStoredItem) {
        showKeyboard(QVantelMenuItem::TextEntry, item, true);
        return;
    }
    if (!isStoredRowOf(page, item))
        return;
    if (item->kind() == QVantelMenuItem::Navigation)
        (this->*openItem)(rowId, item->titleText());
    else
        confirmAction(tr(kind->loadQuestion), item);
}

void QVantelSettingsPage::tapStoredItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    const int rowId = item->id();
    const StoredKind *kind = kindOf(page->data());
    if (!kind || item->data() < kFirstStoredRow)
        return;
    if (rowId == kRowStoredItemLoad)
        confirmAction(tr(kind->loadQuestion), item);
    else if (rowId == kRowStoredItemUpdate && kind->updateQuestion)
        confirmAction(tr(kind->updateQuestion), item);
    else if (rowId == kRowStoredItemDelete)
        confirmAction(tr(kind->deleteQuestion), item);
}

void QVantelSettingsPage::tapCallProfileList(QVantelMenuItems *page, QVantelMenuItem *item)
{
    const int rowId = item->id();
    if (rowId == kRowNewStoredItem) {
        createCallProfilePage(-1, tr("noname"));
    } else if (isStoredRowOf(page, item)) {
        // The profile is read from the unit first; the row is gone when its list went
        // meanwhile.
        const QPointer<QVantelMenuItem> row = item;
        if (item->kind() == QVantelMenuItem::Navigation)
            createCallProfilePage(rowId, item->titleText());
        else if (loadCallProfile(rowId, item->titleText()) && row)
            askCallProfileLoad(row);
    }
}

void QVantelSettingsPage::tapCallProfile(QVantelMenuItem *item)
{
    if (item->data() < kFirstStoredRow)
        return;
    if (item->id() == kRowStoredItemLoad)
        askCallProfileLoad(item);
    else if (item->id() == kRowStoredItemDelete)
        confirmAction(tr("Delete the call profile?"), item);
}

void QVantelSettingsPage::nameNewStoredItem(QVantelMenuItems *page,
                                            QVantelMenuItem *item,
                                            QVantelVirtual *keyboard)
{
    if (!kindOf(page->id()) || item->id() != kRowNewStoredItem)
        return;
    const QString name = keyboard->lineEdit()->text();
    if (!name.isEmpty())
        createStoredItem(page, name, 0);
}

void QVantelSettingsPage::nameNewSipProfile(QVantelMenuItem *item, QVantelVirtual *keyboard)
{
    if (item->id() != kRowNewStoredItem)
        return;
    const QString name = keyboard->lineEdit()->text();
    if (name.isEmpty())
        return;
    // The account it is made from is asked next.
    editProfile.name = name;
    offerSipAccounts(item, tr("Create from which account?"));
}

void QVantelSettingsPage::createStoredItem(QVantelMenuItems *list, const QString &name, int account)
{
    const StoredKind *kind = kindOf(list->id());
    if (!kind)
        return;
    QPointer<QVantelMenuItems> old = list;
    showMessage(tr(kind->creating), kTimeoutAutoClose);
    TStoredItems items(comClient());
    if (items.create(*kind->type, name, account)) {
        if (old)
            rebuildStoredList(old);
        closeMessage();
        return;
    }
    // An answer too late to wait for leaves it to the unit's list whether the item was made;
    // the list page shows that list.
    if (const auto listed = items.listAfterLateAnswer(*kind->type)) {
        const bool made = listsNewItem(*listed, kind->listId, name);
        if (old)
            rebuildStoredList(old, &*listed);
        if (made) {
            closeMessage();
            return;
        }
    }
    QString text = tr(kind->failedCreate);
    if (account > 0 && !items.lastError().empty())
        text += QStringLiteral("\n(") + localize()->localizedText(items.lastError())
                + QLatin1Char(')');
    showMessage(text, kTimeoutAutoClose);
}

void QVantelSettingsPage::loadStoredItem(int listId, int storedRowId, int account)
{
    const StoredKind *kind = kindOf(listId);
    if (!kind || storedRowId < kFirstStoredRow)
        return;
    if (comDevice()->hasAudioConnection()) {
        showMessage(tr(kind->refusedLoad), kTimeoutAutoClose);
        return;
    }
    QPointer<QVantelMenuItems> page = currentPage();
    if (kind->loading)
        showMessage(tr(kind->loading), kTimeoutAutoClose);
    TStoredItems items(comClient());
    if (items.load(*kind->type, storedRowId - kFirstStoredRow, account)) {
        if (kind->loading)
            closeMessage();
        // Back from the page the load was started on, if the user has not left it meanwhile.
        if (page && currentPage() == page)
            backClicked();
        return;
    }
    QString text = tr(kind->failedLoad);
    if (listId == kPageSipProfiles && !items.lastError().empty()) {
        const int cause = causeCodeFromText(items.lastError());
        if (cause == 139 || cause == 140 || cause == 141)
            text = tr("SIP profile loaded with a warning!");
        text += QStringLiteral("\n(") + localize()->localizedText(items.lastError())
                + QLatin1Char(')');
    }
    showMessage(text, kTimeoutAutoClose);
}

// An Operator's confirmed load on a list page.
void QVantelSettingsPage::commitStoredList(QVantelMenuItems *page, QVantelMenuItem *item)
{
    if (isStoredRowOf(page, item))
        loadStoredItem(page->id(), item->id(), 0);
}

void QVantelSettingsPage::commitSipProfileList(QVantelMenuItems *page, QVantelMenuItem *item)
{
    if (isStoredRowOf(page, item))
        offerSipAccounts(item, tr("Load into which account?"));
}

void QVantelSettingsPage::commitStoredItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    const int listId = page->data();
    const StoredKind *kind = kindOf(listId);
    const int storedRowId = item->data();
    if (!kind || storedRowId < kFirstStoredRow)
        return;
    const int storedId = storedRowId - kFirstStoredRow;
    QPointer<QVantelMenuItems> itemPage = page;
    TStoredItems items(comClient());
    switch (item->id()) {
    case kRowStoredItemLoad:
        loadStoredItem(listId, storedRowId, 0);
        return;
    case kRowStoredItemUpdate: {
        if (!kind->failedUpdate)
            return;
        const QVantelMenuItem *nameRow = page->findItem(kRowStoredItemName);
        const QString name = nameRow ? nameRow->valueText() : QString();
        if (!items.update(*kind->type, storedId, name)) {
            // An answer too late to be heard leaves the update unconfirmed: the unit's list
            // tells only whether it still holds the item. One it no longer lists leaves its
            // list too, and the update failed.
            const bool late = items.answeredLate();
            const auto listed = items.listAfterLateAnswer(*kind->type);
            const bool gone = listed && !TStoredItems::holds(*listed, storedId);
            if (gone)
                removeStoredRow(listId, storedRowId);
            showMessage(tr(late && !gone ? kind->unconfirmedUpdate : kind->failedUpdate),
                        kTimeoutAutoClose);
            return;
        }
        break;
    }
    case kRowStoredItemDelete:
        if (!items.remove(*kind->type, storedId)) {
            // Answered too late: done if the unit no longer lists the item.
            const auto listed = items.listAfterLateAnswer(*kind->type);
            if (!listed || TStoredItems::holds(*listed, storedId)) {
                showMessage(tr(kind->failedDelete), kTimeoutAutoClose);
                return;
            }
        }
        removeStoredRow(listId, storedRowId);
        break;
    default:
        return;
    }
    if (itemPage && currentPage() == itemPage)
        backClicked();
}

void QVantelSettingsPage::commitCallProfileList(QVantelMenuItems *page, QVantelMenuItem *item)
{
    if (isStoredRowOf(page, item))
        loadCallProfileConfirmed(item);
}

void QVantelSettingsPage::commitCallProfile(QVantelMenuItems *page, QVantelMenuItem *item)
{
    if (item->id() == kRowStoredItemLoad) {
        if (item->data() >= kFirstStoredRow)
            loadCallProfileConfirmed(item);
    } else if (item->id() == kRowStoredItemDelete) {
        deleteCallProfile(page, item);
    } else {
        commitCallProfileItem(page, item);
    }
}

// The account a SIP profile is created from or loaded into.
void QVantelSettingsPage::chooseSipProfileAccount(QVantelMenuItems *page,
                                                  QVantelMenuItem *item,
                                                  QVantelMenuSelect *select)
{
    const QVantelMenuSelectable *chosen = select->currentSelectable();
    if (!chosen)
        return;
    const int account = chosen->id();
    if (item->id() == kRowNewStoredItem) {
        if (editProfile.name.isEmpty() || (account != 1 && account != 2))
            return;
        createStoredItem(page, editProfile.name, account);
    } else if (isStoredRowOf(page, item)) {
        loadStoredItem(page->id(), item->id(), account);
    }
}

// A SIP profile is loaded into the account chosen first.
void QVantelSettingsPage::commitSipProfile(QVantelMenuItems *page, QVantelMenuItem *item)
{
    if (item->id() != kRowStoredItemLoad) {
        commitStoredItem(page, item);
        return;
    }
    if (item->data() >= kFirstStoredRow)
        offerSipAccounts(item, tr("Load into which account?"));
}

void QVantelSettingsPage::chooseSipProfileLoadAccount(QVantelMenuItem *item,
                                                      QVantelMenuSelect *select)
{
    const QVantelMenuSelectable *chosen = select->currentSelectable();
    if (!chosen)
        return;
    if (item->id() == kRowStoredItemLoad && item->data() >= kFirstStoredRow)
        loadStoredItem(kPageSipProfiles, item->data(), chosen->id());
}

QString QVantelSettingsPage::remoteAddressText(int index) const
{
    if (index == 0)
        return editProfile.remoteAddress;
    if (index == 1)
        return editProfile.remoteAddress2;
    return QString();
}

// --- The section's pages ---------------------------------------------------------------------

void QVantelSettingsPage::bookPages(SettingsPageTable &rows)
{
    // A new item's name is typed from nothing.
    const auto prepareName = [](Page &, Item *item, QVantelVirtual *keyboard) {
        if (item->id() == kRowNewStoredItem)
            keyboard->lineEdit()->setText(QString());
    };
    const auto storedList = [&](int id, void (*open)(Page &, int)) {
        return SettingsPageRow(id).opens(open).preparesKeyboard(prepareName);
    };
    const auto commitList
        = [](Page &menu, Items *page, Item *item) { menu.commitStoredList(page, item); };
    const auto name = [](Page &menu, Items *page, Item *item, QVantelVirtual *keyboard) {
        menu.nameNewStoredItem(page, item, keyboard);
    };

    rows.push_back(SettingsPageRow(kPageBook)
                       .entered([](Page &menu) { menu.createBookMenu(); })
                       .entryRows([](int target) {
                           return target == QVantel::SettingsBookLink1
                                          || target == QVantel::SettingsBookLink2
                                      ? kPageCallProfiles
                                      : -1;
                       }));
    rows.push_back(storedList(kPagePresets, [](Page &menu, int) { menu.createPresetList(); })
                       .commits(commitList)
                       .taps([](Page &menu, Items *page, Item *item) {
                           menu.tapStoredList(page, item, &Page::createPresetPage);
                       })
                       .keyboards(name));
    rows.push_back(
        storedList(kPageSipProfiles, [](Page &menu, int) { menu.createSipProfileList(); })
            .commits(
                [](Page &menu, Items *page, Item *item) { menu.commitSipProfileList(page, item); })
            .taps([](Page &menu, Items *page, Item *item) {
                menu.tapStoredList(page, item, &Page::createSipProfilePage);
            })
            .keyboards([](Page &menu, Items *, Item *item, QVantelVirtual *keyboard) {
                menu.nameNewSipProfile(item, keyboard);
            })
            .chooses([](Page &menu, Items *page, Item *item, QVantelMenuSelect *select) {
                menu.chooseSipProfileAccount(page, item, select);
            }));
    rows.push_back(storedList(kPageSnapshots, [](Page &menu, int) { menu.createSnapshotList(); })
                       .commits(commitList)
                       .taps([](Page &menu, Items *page, Item *item) {
                           menu.tapStoredList(page, item, &Page::createSnapshotPage);
                       })
                       .keyboards(name));
    // The item page of a preset or a snapshot, and of a SIP profile.
    const auto tapItem
        = [](Page &menu, Items *page, Item *item) { menu.tapStoredItem(page, item); };
    rows.push_back(
        SettingsPageRow(kPageStoredItem)
            .commits([](Page &menu, Items *page, Item *item) { menu.commitStoredItem(page, item); })
            .taps(tapItem));
    rows.push_back(
        SettingsPageRow(kPageStoredItem)
            .forData(kPageSipProfiles)
            .commits([](Page &menu, Items *page, Item *item) { menu.commitSipProfile(page, item); })
            .taps(tapItem)
            .chooses([](Page &menu, Items *, Item *item, QVantelMenuSelect *select) {
                menu.chooseSipProfileLoadAccount(item, select);
            }));

    // The link of a call profile's load is chosen on its list row or on its Load row.
    rows.push_back(
        SettingsPageRow(kPageCallProfiles)
            .opens([](Page &menu, int) { menu.createCallProfileList(); })
            .onReturn([](Page &menu, Items *page, int leftId, int leftData) {
                menu.callProfileListReturned(page, leftId, leftData);
            })
            .commits(
                [](Page &menu, Items *page, Item *item) { menu.commitCallProfileList(page, item); })
            .taps([](Page &menu, Items *page, Item *item) { menu.tapCallProfileList(page, item); })
            .chooses([](Page &menu, Items *, Item *item, QVantelMenuSelect *select) {
                if (item->id() >= kFirstStoredRow)
                    menu.loadCallProfileOnLink(item, select);
            }));
    // A call profile's page, where the profile is edited and applied; its commits keep the
    // modified mark themselves, as the profile changes.
    rows.push_back(SettingsPageRow(kPageStoredItem)
                       .forData(kPageCallProfiles)
                       .applies([](Page &menu, Items *page) {
                           return settingsAppliedIf(menu.applyCallProfile(page));
                       })
                       .afterApplying([](Page &menu, Items *) { menu.callProfileApplied(); })
                       .commits([](Page &menu, Items *page, Item *item) {
                           menu.commitCallProfile(page, item);
                       })
                       .taps([](Page &menu, Items *, Item *item) { menu.tapCallProfile(item); })
                       .chooses([](Page &menu, Items *, Item *item, QVantelMenuSelect *select) {
                           if (item->id() == kRowStoredItemLoad)
                               menu.loadCallProfileOnLink(item, select);
                       }));
}
