#include "settings/qvantelsettingspage.h"

#include "link/ccom.h"
#include "link/codecconfig.h"
#include "link/comclient.h"
#include "link/protocolkeys.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/comaudioconnection.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"
#include "settings/settingsids.h"
#include "tests/settings/settingspagerig.h"
#include "tests/support/demoarea.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantellocalize.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelmenuselectable.h"
#include "widgets/qvantelmessage.h"
#include "widgets/qvantelpagestack.h"
#include "widgets/qvantelvirtual.h"

#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

// The Book section against a fake unit storing the presets 1 "Morning Show", 2 "sports desk" and
// 5 "Studio Preset", the SIP profiles 1 "Provider A" and 3 "Backup Provider" and the snapshot 2
// "Before the Update".
class TestSettingsBook : public QObject, private SettingsPageRig
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void bookMenu_data();
    void bookMenu();
    void listRows_data();
    void listRows();
    void createRebuildsList();
    void createSipProfileAsksAccount();
    void itemPages();
    void presetActions();
    void deleteAfterListLeft();
    void sipProfileLoad();
    void callProfileList();
    void telephoneBandProfileAsksAtItsRate();
    void callProfileEditAndApply();
    void callProfileLoad();
    void callProfileLoadOnLink_data();
    void callProfileLoadOnLink();
    void callProfileRules_data();
    void callProfileRules();
    void lateAnswerFollowsTheList_data();
    void lateAnswerFollowsTheList();
    void lateUpdateIsNotShownAsDone_data();
    void lateUpdateIsNotShownAsDone();

private:
    QVantelMenuItems *openList(int listId);
    QVantelMenuItems *openItem(int listId, int storedId);
    QList<FakeRequest> commands(const QString &action) const;
    void choose(int value);
    // Stores call profiles "id/Profile id" whose "open" answers the pairs given.
    void storeProfiles(const QMap<int, FakePairs> &profiles);
    static FakeReplyHook openProfiles(const QMap<int, FakePairs> &profiles);
};

void TestSettingsBook::init()
{
    QVERIFY(startUnit({}, AccessLevel::Expert));
    const QString general = QStringLiteral("general");
    m_fake->setList(QStringLiteral("local_profile"),
                    {QStringLiteral("1/Morning Show"),
                     QStringLiteral("2/sports desk"),
                     QStringLiteral("5/Studio Preset")},
                    general);
    m_fake->setList(QStringLiteral("sip_profile"),
                    {QStringLiteral("1/Provider A"), QStringLiteral("3/Backup Provider")},
                    general);
    m_fake->setList(QStringLiteral("snapshot"), {QStringLiteral("2/Before the Update")}, general);
    showPage();
    QVERIFY(connectClient(15000));
}

void TestSettingsBook::cleanup()
{
    stopUnit();
}

QVantelMenuItems *TestSettingsBook::openList(int listId)
{
    m_page->entryClicked(m_page->entries()->findEntry(kPageBook));
    QVantelMenuItems *book = m_page->currentPage();
    if (!book || book->id() != kPageBook || !book->findItem(listId))
        return nullptr;
    m_page->itemClicked(book->findItem(listId));
    QVantelMenuItems *list = m_page->currentPage();
    return list && list->id() == listId ? list : nullptr;
}

QVantelMenuItems *TestSettingsBook::openItem(int listId, int storedId)
{
    QVantelMenuItems *list = openList(listId);
    QVantelMenuItem *row = list ? list->findItem(kFirstStoredRow + storedId, listId) : nullptr;
    if (!row)
        return nullptr;
    m_page->itemClicked(row);
    QVantelMenuItems *page = m_page->currentPage();
    return page && page->id() == kPageStoredItem && page->data() == listId ? page : nullptr;
}

QList<FakeRequest> TestSettingsBook::commands(const QString &action) const
{
    QList<FakeRequest> found;
    for (const FakeRequest &request : m_fake->requests()) {
        if (request.isCommand(action))
            found << request;
    }
    return found;
}

// Picks value in the newest choice popup and accepts it.
void TestSettingsBook::choose(int value)
{
    const auto popups = m_page->findChildren<QVantelMenuSelect *>();
    QVERIFY(!popups.isEmpty());
    QVantelMenuSelect *select = popups.last();
    QVERIFY(select->findSelectable(value));
    select->setCurrentSelectable(select->findSelectable(value));
    select->okClicked();
}

void TestSettingsBook::bookMenu_data()
{
    QTest::addColumn<quint32>("firmware");
    QTest::addColumn<QList<int>>("rows");
    QTest::newRow("1.7.1") << firmwareVersionOf(1, 7, 1)
                           << QList<int>{kPageCallProfiles, kPagePresets, kPageSnapshots};
    QTest::newRow("1.7.2") << firmwareVersionOf(
        1, 7, 2) << QList<int>{kPageCallProfiles, kPagePresets, kPageSipProfiles, kPageSnapshots};
}

void TestSettingsBook::bookMenu()
{
    QFETCH(quint32, firmware);
    QFETCH(QList<int>, rows);
    firmwareVersion = firmware;
    m_page->entryClicked(m_page->entries()->findEntry(kPageBook));
    QVantelMenuItems *book = m_page->currentPage();
    QVERIFY(book);
    QCOMPARE(book->id(), kPageBook);
    QList<int> ids;
    for (QVantelMenuItem *row : book->items())
        ids << row->id();
    QCOMPARE(ids, rows);
    QCOMPARE(book->findItem(kPagePresets)->titleText(), QStringLiteral("Presets"));
    QCOMPARE(book->findItem(kPagePresets)->valueText(), QStringLiteral("Manage the presets"));
}

void TestSettingsBook::listRows_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QStringList>("rows"); // "id kind name | value"
    QTest::newRow("expert") << int(AccessLevel::Expert)
                            << QStringList{"177 11 New Preset | Create a new preset",
                                           "-1 0  | ",
                                           "307 8 Morning Show | Load, update or delete the preset",
                                           "306 8 Null Id | Load, update or delete the preset",
                                           "308 8 sports desk | Load, update or delete the preset"};
    QTest::newRow("operator") << int(AccessLevel::Operator)
                              << QStringList{"307 11 Morning Show | Load the preset",
                                             "306 11 Null Id | Load the preset",
                                             "308 11 sports desk | Load the preset"};
}

void TestSettingsBook::listRows()
{
    QFETCH(int, level);
    QFETCH(QStringList, rows);
    accessLevel = AccessLevel(level);
    // Malformed ids are dropped; only the real item 0 gets row 306.
    m_fake->setList(QStringLiteral("local_profile"),
                    {QStringLiteral("2/sports desk"),
                     QStringLiteral("x/Bad Id"),
                     QStringLiteral("/No Id"),
                     QStringLiteral("no slash"),
                     QStringLiteral("1/Morning Show"),
                     QStringLiteral("0/Null Id")},
                    QStringLiteral("general"));
    QVantelMenuItems *list = openList(kPagePresets);
    QVERIFY(list);
    QStringList got;
    for (QVantelMenuItem *row : list->items()) {
        got << QStringLiteral("%1 %2 %3 | %4")
                   .arg(row->id())
                   .arg(row->kind())
                   .arg(row->titleText(), row->valueText());
        if (row->id() >= kFirstStoredRow)
            QCOMPARE(row->data(), kPagePresets);
    }
    QCOMPARE(got, rows);
}

void TestSettingsBook::createRebuildsList()
{
    QPointer<QVantelMenuItems> old = openList(kPageSnapshots);
    QVERIFY(old);
    QVantelMenuItem *newRow = old->findItem(kRowNewStoredItem);
    m_page->itemClicked(newRow);
    QVantelVirtual *keyboard = m_page->findChildren<QVantelVirtual *>().value(0);
    QVERIFY(keyboard);
    QVERIFY(keyboard->lineEdit()->text().isEmpty());
    keyboard->lineEdit()->setText(QStringLiteral("Evening"));
    m_fake->setList(QStringLiteral("snapshot"),
                    {QStringLiteral("2/Before the Update"), QStringLiteral("4/Evening")},
                    QStringLiteral("general"));
    // The hook runs on a row of the list it replaces.
    m_page->keyboardAccepted(newRow, keyboard);

    QVantelMenuItems *fresh = m_page->currentPage();
    QVERIFY(fresh != old.data());
    QCOMPARE(fresh->id(), kPageSnapshots);
    QVERIFY(old); // deleted later, not under the running hook
    QCOMPARE(m_page->pageStack()->indexOf(old.data()), -1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!old);
    QStringList names;
    for (QVantelMenuItem *row : fresh->items()) {
        if (row->id() >= kFirstStoredRow)
            names << row->titleText();
    }
    QCOMPARE(names, (QStringList{"Before the Update", "Evening"}));
    QCOMPARE(commands("create").value(0).value("type"), QStringLiteral("snapshot"));
    QVERIFY(messageText().isEmpty());

    // A refused create keeps the list and says so.
    m_fake->refuseCommand(QStringLiteral("create"), QStringLiteral("500-full"));
    newRow = fresh->findItem(kRowNewStoredItem);
    m_page->itemClicked(newRow);
    keyboard = m_page->findChildren<QVantelVirtual *>().last();
    keyboard->lineEdit()->setText(QStringLiteral("Night"));
    m_page->keyboardAccepted(newRow, keyboard);
    QCOMPARE(m_page->currentPage(), fresh);
    QCOMPARE(messageText(), QStringLiteral("Failed to create the snapshot!"));
}

void TestSettingsBook::createSipProfileAsksAccount()
{
    QVantelMenuItems *list = openList(kPageSipProfiles);
    QVERIFY(list);
    QVantelMenuItem *newRow = list->findItem(kRowNewStoredItem);
    QVantelVirtual *keyboard = m_page->showKeyboard(1, newRow, false);
    keyboard->lineEdit()->setText(QStringLiteral("Provider C"));
    m_page->keyboardAccepted(newRow, keyboard);
    QVERIFY(commands("create").isEmpty());
    QCOMPARE(newRow->currentValue()->value, 1);
    choose(2);
    QTRY_COMPARE(commands("create").size(), 1);
    const FakeRequest create = commands("create").first();
    QCOMPARE(create.value("name"), QStringLiteral("Provider C"));
    QCOMPARE(create.value("account"), QStringLiteral("2"));
    QTRY_VERIFY(m_page->currentPage() != list);
    QVERIFY(m_page->currentPage()->findItem(kFirstStoredRow + 3, kPageSipProfiles));
}

void TestSettingsBook::itemPages()
{
    struct Case
    {
        int listId;
        int storedId;
        QList<int> rows;
        QString nameLabel;
    };
    const Case cases[] = {
        {kPagePresets,
         1,
         {kRowStoredItemName, -1, kRowStoredItemLoad, kRowStoredItemUpdate, kRowStoredItemDelete},
         "Preset Name"},
        {kPageSipProfiles,
         3,
         {kRowStoredItemName, -1, kRowStoredItemLoad, kRowStoredItemDelete},
         "SIP Profile Name"},
        {kPageSnapshots,
         2,
         {kRowStoredItemName, -1, kRowStoredItemLoad, kRowStoredItemUpdate, kRowStoredItemDelete},
         "Snapshot Name"},
    };
    for (const Case &c : cases) {
        QVantelMenuItems *page = openItem(c.listId, c.storedId);
        QVERIFY2(page, qPrintable(QString::number(c.listId)));
        QList<int> ids;
        for (QVantelMenuItem *row : page->items()) {
            ids << row->id();
            if (row->id() >= kRowStoredItemLoad)
                QCOMPARE(row->data(), kFirstStoredRow + c.storedId);
        }
        QCOMPARE(ids, c.rows);
        QCOMPARE(page->findItem(kRowStoredItemName)->titleText(), c.nameLabel);
        QVERIFY(page->findItem(kRowStoredItemName)->isReadOnly());
    }
}

void TestSettingsBook::presetActions()
{
    // Load: refused during a call (nothing sent), refused by the unit, then done.
    QVantelMenuItems *page = openItem(kPagePresets, 5);
    QVERIFY(page);
    auto *call = new TComAudioConnection(comClient(), 1);
    call->attach(0, 9, "eth.0");
    QVERIFY(comDevice()->addConnection(call));
    m_page->itemCommitted(page->findItem(kRowStoredItemLoad));
    QCOMPARE(messageText(),
             QStringLiteral("Cannot load the preset\n(a connection is established)"));
    QVERIFY(commands("load").isEmpty());
    comDevice()->removeConnection(9);
    m_page->closeMessage();

    m_fake->refuseCommand(QStringLiteral("load"), QStringLiteral("500-busy"));
    m_page->itemCommitted(page->findItem(kRowStoredItemLoad));
    QCOMPARE(messageText(), QStringLiteral("Failed to load the preset!"));
    m_fake->resetScript();
    QCOMPARE(m_page->currentPage(), page);
    m_page->closeMessage();
    m_page->backClicked();

    QVantelMenuItems *list = m_page->currentPage();
    m_page->itemClicked(list->findItem(kFirstStoredRow + 1, kPagePresets));
    page = m_page->currentPage();
    m_page->itemCommitted(page->findItem(kRowStoredItemLoad));
    QCOMPARE(m_page->currentPage(), list);
    QCOMPARE(commands("load").last().value("id"), QStringLiteral("1"));

    // Update sends the shown name and goes back.
    m_page->itemClicked(list->findItem(kFirstStoredRow + 2, kPagePresets));
    page = m_page->currentPage();
    m_page->itemCommitted(page->findItem(kRowStoredItemUpdate));
    QCOMPARE(m_page->currentPage(), list);
    const FakeRequest update = commands("update").last();
    QCOMPARE(update.value("id"), QStringLiteral("2"));
    QCOMPARE(update.value("name"), QStringLiteral("sports desk"));

    // Delete takes the row out of the list; a refused delete keeps everything.
    m_page->itemClicked(list->findItem(kFirstStoredRow + 2, kPagePresets));
    page = m_page->currentPage();
    m_fake->refuseCommand(QStringLiteral("delete"), QStringLiteral("500-busy"));
    m_page->itemCommitted(page->findItem(kRowStoredItemDelete));
    QCOMPARE(messageText(), QStringLiteral("Failed to delete the preset!"));
    QCOMPARE(m_page->currentPage(), page);
    QVERIFY(list->findItem(kFirstStoredRow + 2, kPagePresets));
    m_page->closeMessage();
    m_fake->resetScript();
    QPointer<QVantelMenuItem> row = list->findItem(kFirstStoredRow + 2, kPagePresets);
    m_page->itemCommitted(page->findItem(kRowStoredItemDelete));
    QCOMPARE(m_page->currentPage(), list);
    QVERIFY(!list->findItem(kFirstStoredRow + 2, kPagePresets));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!row);
}

void TestSettingsBook::deleteAfterListLeft()
{
    // A stack holding only the item page: the delete succeeds, no row to take out.
    QVantelMenuItems *page = openItem(kPageSnapshots, 2);
    QVERIFY(page);
    m_page->pageStack()->removeWidget(m_page->findPage(kPageSnapshots));
    m_page->itemCommitted(page->findItem(kRowStoredItemDelete));
    QCOMPARE(commands("delete").size(), 1);
    QVERIFY(messageText().isEmpty());
    QVERIFY(m_page->currentPage() != page);
}

void TestSettingsBook::sipProfileLoad()
{
    QVantelMenuItems *page = openItem(kPageSipProfiles, 1);
    QVERIFY(page);
    QVantelMenuItem *load = page->findItem(kRowStoredItemLoad);
    m_page->itemCommitted(load);
    QVERIFY(commands("load").isEmpty());
    QCOMPARE(load->currentValue()->value, 1);

    m_fake->refuseCommand(QStringLiteral("load"), QString::fromStdString(causeText(140)));
    choose(2);
    QTRY_COMPARE(commands("load").size(), 1);
    QCOMPARE(commands("load").first().value("account"), QStringLiteral("2"));
    QVERIFY(messageText().startsWith(QStringLiteral("SIP profile loaded with a warning!\n(")));
    QCOMPARE(m_page->currentPage(), page);
    m_page->closeMessage();

    m_fake->resetScript();
    m_page->itemCommitted(load);
    choose(1);
    QTRY_COMPARE(commands("load").size(), 2);
    QTRY_VERIFY(m_page->currentPage() != page);
    QVERIFY(messageText().isEmpty());
}

void TestSettingsBook::storeProfiles(const QMap<int, FakePairs> &profiles)
{
    QStringList items;
    for (auto it = profiles.constBegin(); it != profiles.constEnd(); ++it)
        items << QStringLiteral("%1/Profile %1").arg(it.key());
    m_fake->setList(QStringLiteral("remote_profile"), items, QStringLiteral("general"));
    m_fake->setReplyHook(openProfiles(profiles));
}

FakeReplyHook TestSettingsBook::openProfiles(const QMap<int, FakePairs> &profiles)
{
    return [profiles](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (!request.isCommand(QStringLiteral("open")))
            return std::nullopt;
        const int id = request.value(QStringLiteral("id")).toInt();
        FakeMessage answer(FakeMessage::Do, profiles.value(id));
        answer.set(QStringLiteral("return"), QStringLiteral("OK"));
        return QList<FakeReply>{FakeReply::reply(answer)};
    };
}

void TestSettingsBook::callProfileList()
{
    m_fake->setList(
        QStringLiteral("network"), {QStringLiteral("eth.0")}, QStringLiteral("network"));
    const QString opus = QStringLiteral("OPUS/48000/stereo/64000");
    storeProfiles({
        {1, {{"network", "eth.0"}, {"codec", opus}, {"remote_addr", "studio-b"}}},
        {2, {{"network", "eth.0"}}}, // no coding, no number: nothing of profile 1 shows
        {3, {{"network", "eth.0"}, {"codec", "bogus"}}}, // no algorithm: not listed
        {4, {{"remote_addr", "x"}}},                     // no network: not listed
    });
    QVantelMenuItems *list = openList(kPageCallProfiles);
    QVERIFY(list);
    const QString ethernet = QVantelLocalize::interfaceName(0x100);
    QVantelMenuItem *first = list->findItem(kFirstStoredRow + 1, kPageCallProfiles);
    QVantelMenuItem *second = list->findItem(kFirstStoredRow + 2, kPageCallProfiles);
    QVERIFY(first && second);
    QCOMPARE(first->valueText(),
             QStringLiteral("[ AoIP ] studio-b\n") + ethernet + QStringLiteral(" - ")
                 + QVantelLocalize::codingSummary(codecConfigFromString(opus.toStdString())));
    QCOMPARE(second->valueText(),
             QStringLiteral("[ AoIP ]\n") + ethernet
                 + QStringLiteral(" - No coding algorithm set"));
    QVERIFY(!list->findItem(kFirstStoredRow + 3));
    QVERIFY(!list->findItem(kFirstStoredRow + 4));
    QCOMPARE(list->findItem(kRowNewStoredItem)->titleText(), QStringLiteral("New Call Profile"));
}

// A G.722 coding holds 48000 Hz while its row shows 16 kHz: its bit rates are asked for at the
// coding's own rate, the only one the unit lists them at.
void TestSettingsBook::telephoneBandProfileAsksAtItsRate()
{
    m_fake->setList(
        QStringLiteral("network"), {QStringLiteral("eth.0")}, QStringLiteral("network"));
    storeProfiles({{1, {{"network", "eth.0"}, {"codec", "G722"}, {"remote_addr", "studio-b"}}}});
    const FakeReplyHook open = openProfiles(
        {{1, {{"network", "eth.0"}, {"codec", "G722"}, {"remote_addr", "studio-b"}}}});
    m_fake->setReplyHook([open](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (!request.isListOf(QStringLiteral("bitrate")))
            return open(request);
        FakeMessage answer(FakeMessage::Param);
        const bool atCodingRate
            = request.value(QStringLiteral("samplerate")) == QLatin1String("48000");
        answer.set(QStringLiteral("bitrate"), atCodingRate ? QStringLiteral("64000") : QString());
        answer.set(QStringLiteral("return"), QStringLiteral("OK"));
        return QList<FakeReply>{FakeReply::reply(answer)};
    });
    QVERIFY(openList(kPageCallProfiles));
    m_page->itemClicked(m_page->currentPage()->findItem(kFirstStoredRow + 1, kPageCallProfiles));
    QVantelMenuItems *page = m_page->currentPage();
    QCOMPARE(page->id(), kPageStoredItem);
    QCOMPARE(page->findItem(kRowProfileSampleRate)->valueText(), QStringLiteral("16 kHz"));
    QCOMPARE(page->findItem(kRowProfileBitRate)->valueText(), QStringLiteral("64 kbit/s"));
}

void TestSettingsBook::callProfileEditAndApply()
{
    m_fake->setList(
        QStringLiteral("network"), {QStringLiteral("eth.0")}, QStringLiteral("network"));
    storeProfiles({{1, {{"network", "eth.0"}, {"remote_addr", "111"}}}});
    QPointer<QVantelMenuItems> list = openList(kPageCallProfiles);
    QVERIFY(list);
    m_page->itemClicked(list->findItem(kRowNewStoredItem));
    QVantelMenuItems *page = m_page->currentPage();
    QCOMPARE(page->id(), kPageStoredItem);
    QCOMPARE(page->data(), kPageCallProfiles);
    QCOMPARE(page->findItem(kRowStoredItemName)->valueText(), QStringLiteral("noname"));
    QVERIFY(!page->findItem(kRowStoredItemLoad));
    QVERIFY(!m_page->header()->isModified());

    // A number makes the new profile complete and changed.
    QVantelMenuItem *remote = page->findItem(kRowProfileRemote);
    remote->setValueText(QStringLiteral("0301"));
    m_page->itemCommitted(remote);
    QVERIFY(m_page->header()->isModified());
    m_page->applyClicked();
    FakeRequest create = commands("create").value(0);
    QCOMPARE(create.value("type"), QStringLiteral("remote_profile"));
    QCOMPARE(create.value("name"), QStringLiteral("noname"));
    QCOMPARE(create.value("network"), QStringLiteral("eth.0"));
    QCOMPARE(create.value("remote_addr"), QStringLiteral("0301"));
    QVERIFY(!create.has("codec") && !create.has("id"));
    // Back on a rebuilt list; the old one goes later.
    QCOMPARE(m_page->currentPage()->id(), kPageCallProfiles);
    QVERIFY(m_page->currentPage() != list.data());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!list);

    // A stored profile: a changed number updates it, a changed name stores a new one.
    list = m_page->currentPage();
    m_page->itemClicked(list->findItem(kFirstStoredRow + 1, kPageCallProfiles));
    page = m_page->currentPage();
    remote = page->findItem(kRowProfileRemote);
    remote->setValueText(QStringLiteral("222"));
    m_page->itemCommitted(remote);
    m_page->applyClicked();
    FakeRequest update = commands("update").value(0);
    QCOMPARE(update.value("id"), QStringLiteral("1"));
    QCOMPARE(update.value("remote_addr"), QStringLiteral("222"));

    m_page->itemClicked(m_page->currentPage()->findItem(kFirstStoredRow + 1, kPageCallProfiles));
    page = m_page->currentPage();
    QVantelMenuItem *name = page->findItem(kRowStoredItemName);
    name->setValueText(QStringLiteral("Copy"));
    m_page->itemCommitted(name);
    m_page->applyClicked();
    QCOMPARE(commands("update").size(), 1);
    QCOMPARE(commands("create").size(), 2);
    QCOMPARE(commands("create").last().value("name"), QStringLiteral("Copy"));
}

void TestSettingsBook::callProfileLoad()
{
    m_fake->setList(QStringLiteral("network"),
                    {QStringLiteral("eth.0"), QStringLiteral("eth.1")},
                    QStringLiteral("network"));
    storeProfiles({{1,
                    {{"network", "eth.1"},
                     {"codec", "OPUS/48000/stereo/64000"},
                     {"coord_mode", "enabled"},
                     {"remote_addr", "studio-b"},
                     {"remote_addr2", "studio-c"}}}});
    QVantelMenuItems *page = openItem(kPageCallProfiles, 1);
    QVERIFY(page);
    QVantelMenuItem *load = page->findItem(kRowStoredItemLoad);
    QVERIFY(!load->isReadOnly());
    IVantelSettingsPage *window = m_page.get();
    QCOMPARE(window->remoteAddressText(0), QStringLiteral("studio-b"));

    // A refusal half-way stops the sequence; what was written stays written.
    m_fake->clearLog();
    m_fake->refuseKey(QStringLiteral("default_network"), QString::fromStdString(causeText(1)));
    QSignalSpy changes(m_page.get(), &QVantelMenuWidget::menuItemChanges);
    m_page->itemCommitted(load);
    QCOMPARE(messageText(), QStringLiteral("Failed to load the call profile!"));
    QStringList sets;
    for (const FakeRequest &request : m_fake->requests()) {
        for (const char *key : {"coord_mode", "default_network", "codec"}) {
            if (request.isSetOf(QLatin1String(key)))
                sets << QLatin1String(key);
        }
    }
    QCOMPARE(sets, (QStringList{"coord_mode", "default_network"}));
    QCOMPARE(changes.size(), 0);
    QCOMPARE(m_page->currentPage(), page);
    m_page->closeMessage();

    m_fake->resetScript();
    storeProfiles({{1, {{"network", "eth.1"}}}});
    m_fake->clearLog();
    m_page->itemCommitted(load);
    QVERIFY(m_fake->waitForRequest(
        [](const FakeRequest &r) { return r.isSetOf(QStringLiteral("codec")); }, 0));
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes.first().at(1).toInt(), 19);
    QVERIFY(m_page->currentPage() != page);
}

void TestSettingsBook::callProfileLoadOnLink_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("codecMode");
    QTest::addColumn<int>("chosen"); // the link picked in the choice; 0: a plain question
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("code");

    QTest::newRow("entered for link 2")
        << int(QVantel::SettingsBookLink2) << 0 << 0 << "dcodec_2" << 20;
    QTest::newRow("double codec, Program")
        << int(QVantel::SettingsBook) << 1 << 1 << "dcodec_1" << 19;
    QTest::newRow("double codec, Coordination")
        << int(QVantel::SettingsBook) << 1 << 2 << "dcodec_2" << 20;
}

// Loads that set only one link's coder: the Book entered for link 2, and the link choice of the
// plain Book in double codec mode. Nothing else of the unit's set-up is written.
void TestSettingsBook::callProfileLoadOnLink()
{
    QFETCH(int, target);
    QFETCH(int, codecMode);
    QFETCH(int, chosen);
    QFETCH(QString, key);
    QFETCH(int, code);

    m_fake->setList(
        QStringLiteral("network"), {QStringLiteral("eth.0")}, QStringLiteral("network"));
    const QString codec = QStringLiteral("OPUS/48000/mono/32000");
    storeProfiles({{1, {{"network", "eth.0"}, {"codec", codec}, {"remote_addr", "studio-b"}}}});
    QVERIFY(comDevice()->setCodecMode(codecMode, false));
    QVERIFY(m_page->showEntry(kPageBook, target));
    m_page->itemClicked(m_page->currentPage()->findItem(kPageCallProfiles));
    QVantelMenuItems *list = m_page->currentPage();
    QVERIFY(list && list->id() == kPageCallProfiles);
    QVERIFY(list->findItem(kFirstStoredRow + 1, kPageCallProfiles));
    m_page->itemClicked(list->findItem(kFirstStoredRow + 1, kPageCallProfiles));
    QVantelMenuItems *page = m_page->currentPage();
    QVERIFY(page && page->id() == kPageStoredItem);
    QVantelMenuItem *load = page->findItem(kRowStoredItemLoad);
    QVERIFY(!load->isReadOnly());

    m_fake->clearLog();
    QSignalSpy changes(m_page.get(), &QVantelMenuWidget::menuItemChanges);
    if (chosen == 0) {
        m_page->itemCommitted(load);
    } else {
        m_page->itemClicked(load);
        choose(chosen);
    }
    QVERIFY(m_fake->waitForRequest([&key](const FakeRequest &r) { return r.isSetOf(key); }, 0));
    QStringList sets;
    for (const FakeRequest &request : m_fake->requests()) {
        for (const char *written :
             {"coord_mode", "codec_mode", "default_network", "codec", "dcodec_1", "dcodec_2"}) {
            if (request.isSetOf(QLatin1String(written)))
                sets << QLatin1String(written);
        }
    }
    QCOMPARE(sets, QStringList{key});
    QCOMPARE(m_fake->requests().constLast().value(key), codec);
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes.first().at(1).toInt(), code);
    QVERIFY(m_page->currentPage() != page);
}

void TestSettingsBook::callProfileRules_data()
{
    QTest::addColumn<int>("codecMode");
    QTest::addColumn<bool>("extended");     // operation mode
    QTest::addColumn<bool>("coordination"); // single codec, mono: link 2 is the coordination line
    QTest::addColumn<QString>("defaultNetwork");
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("calls"); // bit 0: a call on link 1, bit 1: on link 2
    QTest::addColumn<QString>("network");
    QTest::addColumn<QString>("codec"); // empty: the profile has no coding
    QTest::addColumn<bool>("listed");
    QTest::addColumn<bool>("usable");   // the Operator's row can be loaded now
    QTest::addColumn<bool>("loadable"); // the Load row of the profile page is open

    const int book = QVantel::SettingsBook;
    const int link1 = QVantel::SettingsBookLink1;
    const int link2 = QVantel::SettingsBookLink2;
    const QString eth = QStringLiteral("eth.0");
    const QString isdn = QStringLiteral("isdn.0");
    const QString mobile = QStringLiteral("mobile.0");
    const QString stereo = QStringLiteral("OPUS/48000/stereo/64000");
    const QString mono = QStringLiteral("OPUS/48000/mono/64000");
    const QString voice = QStringLiteral("GSM");
    const QString isdn64 = QStringLiteral("MPA2/48000/mono/64000");
    const QString isdn128 = QStringLiteral("MPA2/48000/mono/128000");
    const QString none; // no coding
    const auto row = [](const char *name,
                        int codecMode,
                        bool extended,
                        bool coordination,
                        const QString &defaultNetwork,
                        int target,
                        int calls,
                        const QString &network,
                        const QString &codec,
                        bool listed,
                        bool usable,
                        bool loadable) {
        QTest::newRow(name) << codecMode << extended << coordination << defaultNetwork << target
                            << calls << network << codec << listed << usable << loadable;
    };

    // Columns: codec mode, extended, coordination line, default network, Book target, calls,
    // profile network, profile coding; listed, usable, loadable.
    // clang-format off
    // Single codec mode: only a call on link 1 stands in the way; voice belongs to link 2 and
    // its coordination line.
    row("single",                             0, 0, 0, eth,  book,  0, eth,     stereo,  1, 1, 1);
    row("single, link 1 busy",                0, 0, 0, eth,  book,  1, eth,     stereo,  1, 0, 0);
    row("single, link 2 busy",                0, 0, 0, eth,  book,  2, eth,     stereo,  1, 1, 1);
    row("single, network missing",            0, 0, 0, eth,  book,  0, "eth.3", stereo,  1, 0, 0);
    row("single, ISDN 128k",                  0, 0, 0, eth,  book,  0, isdn,    isdn128, 1, 1, 1);
    row("single, voice",                      0, 0, 0, eth,  book,  0, mobile,  voice,   1, 0, 0);
    row("single, voice, link 1 Book",         0, 0, 0, eth,  link1, 0, mobile,  voice,   0, 0, 0);
    row("single, voice, link 2 Book",         0, 0, 0, eth,  link2, 0, mobile,  voice,   0, 0, 0);
    row("single, voice, coordination",        0, 0, 1, eth,  book,  0, mobile,  voice,   1, 0, 0);
    row("single, voice, link 2 Book, coord.", 0, 0, 1, eth,  link2, 0, mobile,  voice,   1, 1, 1);
    row("single, coded, link 2 Book, coord.", 0, 0, 1, eth,  link2, 0, eth,     mono,    0, 0, 0);
    // Double codec mode, a profile on another transport than the default network's.
    row("double, other net",                  1, 0, 0, eth,  book,  0, isdn,    isdn64,  1, 1, 1);
    row("double, other net, link 2 Book",     1, 0, 0, eth,  link2, 0, isdn,    isdn64,  0, 0, 0);
    row("double, other net, link 2 busy",     1, 0, 0, eth,  book,  2, isdn,    isdn64,  1, 0, 0);
    // Stereo takes both coders: standard operation allows it only from the Book for link 1.
    row("double, stereo, standard",           1, 0, 0, eth,  book,  0, eth,     stereo,  1, 0, 0);
    row("double, stereo, extended",           1, 1, 0, eth,  book,  0, eth,     stereo,  1, 1, 1);
    row("double, stereo, link 1 Book",        1, 0, 0, eth,  link1, 0, eth,     stereo,  1, 1, 1);
    row("double, stereo, link 2 Book",        1, 1, 0, eth,  link2, 0, eth,     stereo,  0, 0, 0);
    row("double, stereo, Book 1, busy 2",     1, 0, 0, eth,  link1, 2, eth,     stereo,  1, 0, 0);
    // Mono: the Operator's row follows the Book's link; the Load row leaves that refusal to Load.
    row("double, mono, link 2 Book, busy 1",  1, 0, 0, eth,  link2, 1, eth,     mono,    1, 1, 1);
    row("double, mono, link 2 Book, busy 2",  1, 0, 0, eth,  link2, 2, eth,     mono,    1, 0, 1);
    row("double, no codec, Book 1, busy 1",   1, 0, 0, eth,  link1, 1, eth,     none,    1, 0, 1);
    row("double, both links busy",            1, 0, 0, eth,  book,  3, eth,     mono,    1, 0, 0);
    row("double, voice",                      1, 0, 0, eth,  book,  0, mobile,  voice,   1, 0, 0);
    // ISDN mono runs at 64 kbit/s only.
    row("double, ISDN 64k",                   1, 0, 0, isdn, book,  0, isdn,    isdn64,  1, 1, 1);
    row("double, ISDN 128k",                  1, 0, 0, isdn, book,  0, isdn,    isdn128, 1, 0, 0);
    row("double, ISDN 128k, link 1 Book",     1, 0, 0, isdn, link1, 0, isdn,    isdn128, 0, 0, 0);
    // clang-format on
}

// Whether a stored call profile is listed, whether the Operator's row of it can be loaded now,
// and whether the Load row of its page is open, by the unit's codec mode, operation mode and
// routing, the link the Book was opened for, the calls running and the profile's network and
// coding.
void TestSettingsBook::callProfileRules()
{
    QFETCH(int, codecMode);
    QFETCH(bool, extended);
    QFETCH(bool, coordination);
    QFETCH(QString, defaultNetwork);
    QFETCH(int, target);
    QFETCH(int, calls);
    QFETCH(QString, network);
    QFETCH(QString, codec);
    QFETCH(bool, listed);
    QFETCH(bool, usable);
    QFETCH(bool, loadable);

    // The whole demo unit, so that the routing and the coding lists are the unit's own.
    stopUnit();
    QVERIFY(startDemoUnit(AccessLevel::Operator, 0x20007));
    const QString audio = QStringLiteral("audio");
    m_fake->setValue(QStringLiteral("codec_mode"),
                     codecMode == 1 ? QStringLiteral("cmode_double")
                                    : QStringLiteral("cmode_normal"),
                     audio);
    m_fake->setValue(QStringLiteral("operation_mode"),
                     extended ? QStringLiteral("extended") : QStringLiteral("standard"),
                     audio);
    m_fake->setValue(QStringLiteral("coord_mode"),
                     coordination ? QStringLiteral("enabled") : QStringLiteral("disabled"),
                     audio);
    m_fake->setValue(QStringLiteral("codec"), QStringLiteral("OPUS/48000/mono/64000"), audio);
    m_fake->setValue(QStringLiteral("default_network"), defaultNetwork, QStringLiteral("network"));
    FakePairs fields{{"network", network}, {"remote_addr", "studio-b"}};
    if (!codec.isEmpty())
        fields.append({QStringLiteral("codec"), codec});
    m_fake->setList(QStringLiteral("remote_profile"),
                    {QStringLiteral("1/Profile 1")},
                    QStringLiteral("general"));
    DemoUnit *demo = m_fake->findChild<DemoUnit *>();
    QVERIFY(demo);
    demo->addFirstHandler(openProfiles({{1, fields}}));
    QVERIFY(connectPage(refreshDevice));
    QCOMPARE(comDevice()->hasCoordinationLine(), coordination);
    for (const int link : {1, 2}) {
        if (calls & link) {
            auto *call = new TComAudioConnection(comClient(), link - 1);
            call->attach(0, 40 + link, "eth.0");
            QVERIFY(comDevice()->addConnection(call));
        }
    }

    const auto listForTarget = [this, target]() -> QVantelMenuItems * {
        if (!m_page->showEntry(kPageBook, target))
            return nullptr;
        if (m_page->currentPage()->id() == kPageBook)
            m_page->itemClicked(m_page->currentPage()->findItem(kPageCallProfiles));
        QVantelMenuItems *list = m_page->currentPage();
        return list && list->id() == kPageCallProfiles ? list : nullptr;
    };
    QVantelMenuItems *list = listForTarget();
    QVERIFY(list);
    QVantelMenuItem *row = list->findItem(kFirstStoredRow + 1, kPageCallProfiles);
    QCOMPARE(row != nullptr, listed);
    if (!listed)
        return;
    QCOMPARE(row->kind(), int(QVantelMenuItem::Action));
    QCOMPARE(!row->isReadOnly(), usable);

    // An Expert's row opens the profile page whatever the state.
    accessLevel = AccessLevel::Expert;
    list = listForTarget();
    QVERIFY(list && list->findItem(kFirstStoredRow + 1, kPageCallProfiles));
    row = list->findItem(kFirstStoredRow + 1, kPageCallProfiles);
    QCOMPARE(row->kind(), int(QVantelMenuItem::Navigation));
    QVERIFY(!row->isReadOnly());
    m_page->itemClicked(row);
    QVantelMenuItems *page = m_page->currentPage();
    QVERIFY(page && page->id() == kPageStoredItem);
    QCOMPARE(!page->findItem(kRowStoredItemLoad)->isReadOnly(), loadable);
}

void TestSettingsBook::lateAnswerFollowsTheList_data()
{
    QTest::addColumn<QString>("action");  // a preset's "create" or "delete", a call profile's
                                          // "rename" (stored as a new profile)
    QTest::addColumn<bool>("refused");    // the unit refuses it, too late to be heard
    QTest::addColumn<bool>("listFails");  // the list read afterwards fails too
    QTest::addColumn<QString>("message"); // what the page says afterwards
    QTest::addColumn<int>("page");        // the page shown afterwards
    QTest::addColumn<bool>("listed");     // whether the list then shows the item

    QTest::newRow("create") << "create" << false << false << "" << kPagePresets << true;
    QTest::newRow("delete") << "delete" << false << false << "" << kPagePresets << false;
    QTest::newRow("call profile renamed")
        << "rename" << false << false << "" << kPageCallProfiles << true;
    QTest::newRow("delete refused")
        << "delete" << true << false << "Failed to delete the preset!" << kPageStoredItem << true;
    QTest::newRow("create, list fails")
        << "create" << false << true << "Failed to create the preset!" << kPagePresets << false;
}

// A Book action the demo unit carries out at once (or refuses) but answers only after the
// program gave up on it: the kind's list is read afresh, and the page and its message follow
// what the list shows, not the time-out. Only a list that cannot be read either says the action
// failed, as any failed action does.
void TestSettingsBook::lateAnswerFollowsTheList()
{
    QFETCH(QString, action);
    QFETCH(bool, refused);
    QFETCH(bool, listFails);
    QFETCH(QString, message);
    QFETCH(int, page);
    QFETCH(bool, listed);

    // Later than the program waits for any command (5 seconds).
    constexpr int kLateMs = 7000;
    stopUnit();
    QVERIFY(startDemoUnit(AccessLevel::Expert));
    QVERIFY(connectPage(refreshDevice));
    const bool profile = action == QLatin1String("rename");
    const int listId = profile ? kPageCallProfiles : kPagePresets;
    const QString type
        = profile ? QStringLiteral("remote_profile") : QStringLiteral("local_profile");
    QVantelMenuItems *list = openList(listId);
    QVERIFY(list);

    DemoUnit *demo = m_fake->findChild<DemoUnit *>();
    QVERIFY(demo);
    if (refused) {
        demo->addFirstHandler(
            [action](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
                if (!request.isCommand(action))
                    return std::nullopt;
                FakeMessage answer(FakeMessage::Do);
                answer.set(QStringLiteral("return"), QStringLiteral("ERROR"));
                answer.set(QStringLiteral("cause"), QStringLiteral("500-busy"));
                return QList<FakeReply>{FakeReply::reply(answer)};
            });
    }
    if (listFails) {
        demo->addFirstHandler(
            [type](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
                if (!request.isListOf(type))
                    return std::nullopt;
                return QList<FakeReply>{FakeReply::errorReply(3)};
            });
    }
    comClient()->setTickInterval(50);
    m_fake->setWriteDelay(kLateMs);

    QString name = QStringLiteral("Late One");
    if (action == QLatin1String("create")) {
        QVantelMenuItem *newRow = list->findItem(kRowNewStoredItem);
        m_page->itemClicked(newRow);
        QVantelVirtual *keyboard = m_page->findChildren<QVantelVirtual *>().value(0);
        QVERIFY(keyboard);
        keyboard->lineEdit()->setText(name);
        m_page->keyboardAccepted(newRow, keyboard);
    } else if (action == QLatin1String("delete")) {
        name = QStringLiteral("sports desk");
        m_page->itemClicked(list->findItem(kFirstStoredRow + 2, kPagePresets));
        QVantelMenuItems *item = m_page->currentPage();
        QCOMPARE(item->id(), kPageStoredItem);
        m_page->itemCommitted(item->findItem(kRowStoredItemDelete));
    } else {
        m_page->itemClicked(list->findItem(kFirstStoredRow + 1, kPageCallProfiles));
        QVantelMenuItems *item = m_page->currentPage();
        QCOMPARE(item->id(), kPageStoredItem);
        QVantelMenuItem *nameRow = item->findItem(kRowStoredItemName);
        nameRow->setValueText(name);
        m_page->itemCommitted(nameRow);
        m_page->applyClicked();
    }
    QVERIFY(!commands(profile ? QStringLiteral("create") : action).isEmpty());

    QCOMPARE(messageText(), message);
    QVERIFY(m_page->currentPage());
    QCOMPARE(m_page->currentPage()->id(), page);
    // Back on the list, once it is rebuilt.
    if (page == kPageStoredItem)
        m_page->backClicked();
    QVantelMenuItems *shown = m_page->currentPage();
    QCOMPARE(shown->id(), listId);
    QStringList names;
    for (QVantelMenuItem *row : shown->items()) {
        if (row->id() >= kFirstStoredRow)
            names << row->titleText();
    }
    QCOMPARE(names.contains(name), listed);
}

void TestSettingsBook::lateUpdateIsNotShownAsDone_data()
{
    QTest::addColumn<bool>("profile"); // a call profile whose Remote Number changed, or a preset
    QTest::addColumn<bool>("refused"); // the unit refuses it, too late to be heard

    QTest::newRow("preset taken") << false << false;
    QTest::newRow("preset refused") << false << true;
    QTest::newRow("call profile taken") << true << false;
    QTest::newRow("call profile refused") << true << true;
}

// An update answered after the program gave up on it: the unit's list still holds the item
// whether the update was taken or refused, so it cannot say. The page stays where it was, with
// the call profile's edits still marked, and says that the unit did not confirm the update.
void TestSettingsBook::lateUpdateIsNotShownAsDone()
{
    QFETCH(bool, profile);
    QFETCH(bool, refused);

    constexpr int kLateMs = 7000; // later than the program waits (5 seconds)
    stopUnit();
    QVERIFY(startDemoUnit(AccessLevel::Expert));
    QVERIFY(connectPage(refreshDevice));
    const int listId = profile ? kPageCallProfiles : kPagePresets;
    QVantelMenuItems *list = openList(listId);
    QVERIFY(list);
    m_page->itemClicked(list->findItem(kFirstStoredRow + (profile ? 1 : 2), listId));
    QVantelMenuItems *page = m_page->currentPage();
    QVERIFY(page && page->id() == kPageStoredItem);

    DemoUnit *demo = m_fake->findChild<DemoUnit *>();
    QVERIFY(demo);
    if (refused) {
        demo->addFirstHandler([](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
            if (!request.isCommand(QStringLiteral("update")))
                return std::nullopt;
            FakeMessage answer(FakeMessage::Do);
            answer.set(QStringLiteral("return"), QStringLiteral("ERROR"));
            answer.set(QStringLiteral("cause"), QStringLiteral("200-unknown error"));
            return QList<FakeReply>{FakeReply::reply(answer)};
        });
    }
    comClient()->setTickInterval(50);
    m_fake->setWriteDelay(kLateMs);

    if (profile) {
        QVantelMenuItem *remote = page->findItem(kRowProfileRemote);
        remote->setValueText(QStringLiteral("0302"));
        m_page->itemCommitted(remote);
        QVERIFY(m_page->header()->isModified());
        m_page->applyClicked();
    } else {
        m_page->itemCommitted(page->findItem(kRowStoredItemUpdate));
    }
    QCOMPARE(commands(QStringLiteral("update")).size(), 1);

    const QString kind = profile ? QStringLiteral("call profile") : QStringLiteral("preset");
    QCOMPARE(messageText(),
             QStringLiteral("The unit did not confirm\nthe update of the %1!").arg(kind));
    QCOMPARE(m_page->currentPage(), page);
    if (profile) {
        QVERIFY(m_page->header()->isModified());
        QCOMPARE(page->findItem(kRowProfileRemote)->valueText(), QStringLiteral("0302"));
    }
}

QTEST_MAIN(TestSettingsBook)
#include "tst_settingsbook.moc"
