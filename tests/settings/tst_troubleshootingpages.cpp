#include "settings/qvantelsettingspage.h"

#include "link/ccom.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"
#include "settings/settingsids.h"
#include "tests/settings/settingspagerig.h"
#include "tests/support/demoarea.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelmessage.h"

#include <QTest>

#include <memory>

namespace {

const QString kGeneral = QStringLiteral("general");
const QString kFailedApply = QStringLiteral("Failed to apply changes!");
const QString kFailedRead = QStringLiteral("Failed to read the settings!");

// The pairs of a request, the addressing left out, sorted.
QStringList pairsOf(const FakeRequest &request)
{
    QStringList pairs;
    for (const auto &[key, value] : request.message.params) {
        if (key != QLatin1String("target"))
            pairs << key + QLatin1Char('=') + value;
    }
    pairs.sort();
    return pairs;
}

bool isWrite(const FakeRequest &request)
{
    return request.message.type == FakeMessage::Param && request.gets().isEmpty()
           && !request.message.params.isEmpty();
}

} // namespace

// The troubleshooting page (event log, reset actions) and the remote assistance page.
class TestTroubleshootingPages : public QObject, private SettingsPageRig
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void eventLogRowsFromRead_data();
    void eventLogRowsFromRead();
    void eventLogCommitsSendOneKeyEach();
    void resetListFollowsFirmware();
    void resetActions_data();
    void resetActions();

    void remoteRowsFollowOptionsAndAccess_data();
    void remoteRowsFollowOptionsAndAccess();
    void remoteApplySendsOnlyChangedReportedRows();
    void remotePartialReadSendsNothingUntouched();
    void remoteFailedFirstReadLocksRowsUntilRead_data();
    void remoteFailedFirstReadLocksRowsUntilRead();
    void remoteFailedReadOrWriteKeepsEdits();
    void remotePasswordReadBackFailureKeepsText();
    void remoteNetworkNotOfferedShownAndNotSent();

private:
    void connectUnit(const QStringList &options = {QStringLiteral("remote_access_3")});
    QVantelMenuItems *open(int pageId);
    // Switches Remote Access on, checks that Apply is offered, applies and returns the writes.
    QList<FakeRequest> switchOnAndApply(QVantelMenuItems *page);
};

void TestTroubleshootingPages::init()
{
    QVERIFY(startUnit(installDemoTroubleshooting));
}

void TestTroubleshootingPages::cleanup()
{
    stopUnit();
}

void TestTroubleshootingPages::connectUnit(const QStringList &options)
{
    m_fake->setList(QStringLiteral("device_opts"), options, kGeneral);
    QVERIFY(connectPage());
}

QVantelMenuItems *TestTroubleshootingPages::open(int pageId)
{
    QVantelMenuItems *page = buildPage(pageId);
    return page && page->id() == pageId ? page : nullptr;
}

QList<FakeRequest> TestTroubleshootingPages::switchOnAndApply(QVantelMenuItems *page)
{
    QVantelMenuItem *service = page->findItem(kRowRemoteAccess);
    service->setChecked(true);
    m_page->itemCommitted(service);
    if (!m_page->header()->isModified())
        return {};
    return applyAndCollect(isWrite);
}

void TestTroubleshootingPages::eventLogRowsFromRead_data()
{
    QTest::addColumn<QString>("level");   // empty: not reported
    QTest::addColumn<QString>("address"); // "-": not reported
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("locked");

    QTest::newRow("normal") << "6"
                            << "10.0.0.9"
                            << "Normal" << false;
    QTest::newRow("debug") << "8"
                           << ""
                           << "Debug" << false;
    QTest::newRow("level not offered") << "7"
                                       << ""
                                       << "Coarse" << false;
    QTest::newRow("neither reported") << ""
                                      << "-"
                                      << "Unknown" << true;
}

void TestTroubleshootingPages::eventLogRowsFromRead()
{
    QFETCH(QString, level);
    QFETCH(QString, address);
    QFETCH(QString, shown);
    QFETCH(bool, locked);
    if (level.isEmpty())
        m_fake->setReplyHook(missKeys(*m_fake, {"log_level", "log_addr"}));
    else
        m_fake->setValue(QStringLiteral("log_level"), level, kGeneral);
    if (address != QLatin1String("-"))
        m_fake->setValue(QStringLiteral("log_addr"), address, kGeneral);
    connectUnit();

    QVantelMenuItems *page = open(kPageTroubleshooting);
    QVERIFY(page);
    QVantelMenuItem *levelRow = page->findItem(kRowLogLevel);
    QVantelMenuItem *addressRow = page->findItem(kRowLogAddr);
    QVERIFY(levelRow && addressRow);
    QVERIFY(levelRow->currentValue());
    QCOMPARE(levelRow->currentValue()->text, shown);
    QCOMPARE(levelRow->isReadOnly(), locked);
    QCOMPARE(addressRow->valueText(), locked ? QString() : address);
    QCOMPARE(addressRow->isReadOnly(), locked);
    QVERIFY(!page->findItem(kRowReset)->isReadOnly());
}

void TestTroubleshootingPages::eventLogCommitsSendOneKeyEach()
{
    connectUnit();
    QVantelMenuItems *page = open(kPageTroubleshooting);
    QVERIFY(page);
    m_fake->clearLog();
    QVantelMenuItem *level = page->findItem(kRowLogLevel);
    level->selectValue(8, true, false);
    m_page->itemCommitted(level);
    // Confirmed again, the level the unit now logs at is not sent again.
    m_page->itemCommitted(level);
    QVantelMenuItem *address = page->findItem(kRowLogAddr);
    address->setValueText(QString());
    m_page->itemCommitted(address);

    const QList<FakeRequest> sent = requestsWhere([](const FakeRequest &request) {
        return request.isCommand(QStringLiteral("change_syslog"));
    });
    QCOMPARE(sent.size(), 2);
    QCOMPARE(pairsOf(sent[0]), QStringList({"action=change_syslog", "log_level=8"}));
    QCOMPARE(pairsOf(sent[1]), QStringList({"action=change_syslog", "log_addr="}));
    QCOMPARE(sent[0].target(), kGeneral);
    // Failures stay silent and the row keeps the operator's value.
    m_fake->refuseCommand(QStringLiteral("change_syslog"), QStringLiteral("200-unknown error"));
    address->setValueText(QStringLiteral("10.1.1.1"));
    m_page->itemCommitted(address);
    QCOMPARE(shownMessage(), QString());
    QCOMPARE(address->valueText(), QStringLiteral("10.1.1.1"));
}

void TestTroubleshootingPages::resetListFollowsFirmware()
{
    connectUnit();
    for (const quint32 version : {0x10701u, 0x10702u}) {
        firmwareVersion = version;
        QVantelMenuItems *page = open(kPageTroubleshooting);
        QVERIFY(page);
        QVantelMenuItem *reset = page->findItem(kRowReset);
        QStringList texts;
        for (const QVantelMenuItem::Value &value : reset->values())
            texts << QString::number(value.value) + QLatin1Char(' ') + value.text;
        QCOMPARE(texts.contains(QStringLiteral("3 SIP Profiles")), version == 0x10702u);
        QVERIFY(texts.contains(QStringLiteral("4 Snapshots")));
        QCOMPARE(reset->valueText(), QStringLiteral("Select the category of settings to reset"));
        m_page->backClicked();
    }
}

void TestTroubleshootingPages::resetActions_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("failure");

    const QString failed = QStringLiteral("Failed to perform reset action!");
    QTest::newRow("call history") << 0 << "addrhistory" << failed;
    QTest::newRow("call profiles") << 1 << "remote_profile" << failed;
    QTest::newRow("presets") << 2 << "local_profile" << failed;
    QTest::newRow("sip profiles") << 3 << "sip_profile" << failed;
    QTest::newRow("snapshots") << 4 << "snapshot" << failed;
    QTest::newRow("defaults") << 5 << "settings" << failed;
    QTest::newRow("full") << 6 << "full" << failed;
    QTest::newRow("sip accounts") << 7 << "sipaccount"
                                  << QStringLiteral("Failed to reload the SIP Accounts!");
}

void TestTroubleshootingPages::resetActions()
{
    QFETCH(int, category);
    QFETCH(QString, level);
    QFETCH(QString, failure);
    connectUnit();
    QVantelMenuItems *page = open(kPageTroubleshooting);
    QVERIFY(page);
    QVantelMenuItem *reset = page->findItem(kRowReset);

    for (const bool refused : {false, true}) {
        if (refused)
            m_fake->refuseCommand(QStringLiteral("reset"), QStringLiteral("200-unknown error"));
        m_fake->clearLog();
        reset->selectValue(category, false, false);
        QVantelMenuSelect select;
        select.addItemValues(reset);
        QVERIFY(select.currentSelectable());
        m_page->selectionAccepted(reset, &select);

        const QList<FakeRequest> sent = requestsWhere(
            [](const FakeRequest &request) { return request.isCommand(QStringLiteral("reset")); });
        QCOMPARE(sent.size(), 1);
        QCOMPARE(pairsOf(sent[0]), QStringList({"action=reset", "level=" + level}));
        QVERIFY(!sent[0].has(QStringLiteral("target")));
        QCOMPARE(shownMessage(), refused ? failure : QString());
        m_page->closeMessage();
    }
    // Restoring defaults re-reads the event log.
    if (category == 5 || category == 6) {
        m_fake->resetScript();
        m_fake->setValue(QStringLiteral("log_level"), QStringLiteral("8"), kGeneral);
        reset->selectValue(category, false, false);
        QVantelMenuSelect select;
        select.addItemValues(reset);
        m_page->selectionAccepted(reset, &select);
        QCOMPARE(page->findItem(kRowLogLevel)->currentValue()->value, 8);
    }
}

void TestTroubleshootingPages::remoteRowsFollowOptionsAndAccess_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("level");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QList<int>>("writable");
    QTest::addColumn<QString>("label");

    const QList<int> all{kRowRemoteAccess,
                         kRowRemoteNetwork,
                         kRowRemoteServer,
                         kRowRemoteSerialNo,
                         kRowRemoteCodecId,
                         kRowRemotePassword};
    QTest::newRow("no option")
        << "" << 2
        << QList<int>{kRowRemoteAccess, kRowRemoteNetwork, kRowRemoteSerialNo, kRowRemoteCodecId}
        << QList<int>{kRowRemoteAccess, kRowRemoteNetwork} << "Remote Assistance";
    QTest::newRow("option 2, admin")
        << "remote_access_2" << 2 << all
        << QList<int>{kRowRemoteAccess, kRowRemoteNetwork, kRowRemotePassword} << "Remote Access";
    QTest::newRow("option 3, admin")
        << "remote_access_3" << 2 << all
        << QList<int>{kRowRemoteAccess, kRowRemoteNetwork, kRowRemoteServer, kRowRemotePassword}
        << "Remote Access";
    QTest::newRow("option 3, expert")
        << "remote_access_3" << 1 << all << QList<int>{kRowRemoteAccess, kRowRemoteNetwork}
        << "Remote Access";
}

void TestTroubleshootingPages::remoteRowsFollowOptionsAndAccess()
{
    QFETCH(QString, option);
    QFETCH(int, level);
    QFETCH(QList<int>, rows);
    QFETCH(QList<int>, writable);
    QFETCH(QString, label);
    accessLevel = AccessLevel(level);
    connectUnit(option.isEmpty() ? QStringList() : QStringList{option});
    QVantelMenuItems *page = open(kPageRemoteAssistance);
    QVERIFY(page);
    for (const int id : {kRowRemoteAccess,
                         kRowRemoteNetwork,
                         kRowRemoteServer,
                         kRowRemoteSerialNo,
                         kRowRemoteCodecId,
                         kRowRemotePassword}) {
        QVantelMenuItem *row = page->findItem(id);
        QCOMPARE(bool(row), rows.contains(id));
        if (row)
            QCOMPARE(row->isReadOnly(), !writable.contains(id));
    }
    QCOMPARE(page->findItem(kRowRemoteAccess)->titleLabel()->text(), label);
    QCOMPARE(page->findItem(kRowRemoteSerialNo)->valueText(), QStringLiteral("QX-000123"));
    QCOMPARE(page->findItem(kRowRemoteCodecId)->valueText(), QStringLiteral("QX123DEMO"));
    QCOMPARE(page->findItem(kRowRemoteNetwork)->currentValue()->value, 0xFFFF);
    if (page->findItem(kRowRemoteServer))
        QCOMPARE(page->findItem(kRowRemoteServer)->valueText(), QStringLiteral("ra.demo.invalid"));
}

void TestTroubleshootingPages::remoteApplySendsOnlyChangedReportedRows()
{
    connectUnit();
    QVantelMenuItems *page = open(kPageRemoteAssistance);
    QVERIFY(page);
    const QList<FakeRequest> sent = switchOnAndApply(page);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(pairsOf(sent[0]), QStringList({"remote_access=on"}));
    QCOMPARE(sent[0].target(), kGeneral);
    QCOMPARE(m_fake->value(QStringLiteral("remote_access_pwd"), kGeneral), QStringLiteral("demo"));
    QCOMPARE(shownMessage(), QString());
    QVERIFY(!m_page->header()->isModified());
}

void TestTroubleshootingPages::remotePartialReadSendsNothingUntouched()
{
    // The unit does not report its switch, network or server: a unit may not know a key, so
    // nothing is said; those rows show no value and are locked, the password row stays
    // writable, and an Apply of the password alone sends only the password.
    m_fake->setReplyHook(
        missKeys(*m_fake, {"remote_access", "remote_access_network", "remote_access_server"}));
    connectUnit();
    QVantelMenuItems *page = open(kPageRemoteAssistance);
    QVERIFY(page);
    QCOMPARE(shownMessage(), QString());
    const auto checkUnread = [page](const char *when) {
        for (const int id : {kRowRemoteAccess, kRowRemoteNetwork, kRowRemoteServer}) {
            const QVantelMenuItem *row = page->findItem(id);
            const QString where = QStringLiteral("%1, %2").arg(id).arg(QLatin1String(when));
            QVERIFY2(row->isReadOnly(), qPrintable(where));
            QVERIFY2(row->valueText().isEmpty() || row->valueText() == QLatin1String("Unknown"),
                     qPrintable(where + QStringLiteral(": ") + row->valueText()));
        }
    };
    checkUnread("opened");
    QVantelMenuItem *password = page->findItem(kRowRemotePassword);
    QVERIFY(!password->isReadOnly());
    password->setValueText(QStringLiteral("secret"));
    m_page->itemCommitted(password);
    // The change test reads again, and still finds nothing to fill them with.
    checkUnread("committed");

    const QList<FakeRequest> sent = applyAndCollect(isWrite);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(pairsOf(sent[0]), QStringList({"remote_access_pwd=secret"}));
    checkUnread("applied");
}

void TestTroubleshootingPages::remoteFailedFirstReadLocksRowsUntilRead_data()
{
    QTest::addColumn<bool>("bareRefusal");
    QTest::newRow("error reply") << false;
    QTest::newRow("refused as a whole") << true;
}

void TestTroubleshootingPages::remoteFailedFirstReadLocksRowsUntilRead()
{
    QFETCH(bool, bareRefusal);

    // The page's first read fails; later reads are answered.
    auto reads = std::make_shared<int>(0);
    m_fake->setReplyHook(
        [reads, bareRefusal](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
            if (!request.isGetOf(QStringLiteral("remote_access")) || (*reads)++ != 0)
                return std::nullopt;
            if (!bareRefusal)
                return QList<FakeReply>{FakeReply::errorReply(3)};
            FakeMessage answer(FakeMessage::Param);
            answer.set(QStringLiteral("return"), QStringLiteral("ERROR"));
            return QList<FakeReply>{FakeReply::reply(answer)};
        });
    connectUnit();
    // Tapped on the Tools page, as the operator opens it.
    m_page->entryClicked(m_page->entries()->findEntry(kPageTools));
    QVERIFY(m_page->currentPage() && m_page->currentPage()->findItem(kPageRemoteAssistance));
    m_page->itemClicked(m_page->currentPage()->findItem(kPageRemoteAssistance));
    QVantelMenuItems *page = m_page->currentPage();
    QCOMPARE(page->id(), kPageRemoteAssistance);
    QCOMPARE(shownMessage(), kFailedRead);
    m_page->closeMessage();
    // Nothing the unit did not send is shown as its value, nor can be written over it.
    QCOMPARE(page->findItem(kRowRemoteAccess)->valueText(), QStringLiteral("Unknown"));
    QCOMPARE(page->findItem(kRowRemoteNetwork)->valueText(), QStringLiteral("Unknown"));
    const int texts[]
        = {kRowRemoteServer, kRowRemoteSerialNo, kRowRemoteCodecId, kRowRemotePassword};
    for (const int id : texts)
        QVERIFY2(page->findItem(id)->valueText().isEmpty(), qPrintable(QString::number(id)));
    for (const int id : {kRowRemoteAccess, kRowRemoteNetwork, kRowRemoteServer, kRowRemotePassword})
        QVERIFY2(page->findItem(id)->isReadOnly(), qPrintable(QString::number(id)));

    // Opened again, the page reads the unit again: what it reads fills the rows, writable as
    // the options and the access level make them, and the change test decides what Apply sends.
    m_page->backClicked();
    QVERIFY(m_page->currentPage() && m_page->currentPage()->findItem(kPageRemoteAssistance));
    m_page->itemClicked(m_page->currentPage()->findItem(kPageRemoteAssistance));
    page = m_page->currentPage();
    QCOMPARE(page->id(), kPageRemoteAssistance);
    QCOMPARE(shownMessage(), QString());
    for (const int id : {kRowRemoteAccess, kRowRemoteNetwork, kRowRemoteServer, kRowRemotePassword})
        QVERIFY2(!page->findItem(id)->isReadOnly(), qPrintable(QString::number(id)));
    const QList<FakeRequest> sent = switchOnAndApply(page);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(pairsOf(sent[0]), QStringList({"remote_access=on"}));
    QVERIFY(!m_page->header()->isModified());
    const QStringList filled = {"ra.demo.invalid", "QX-000123", "QX123DEMO", "demo"};
    for (int i = 0; i < filled.size(); ++i)
        QCOMPARE(page->findItem(texts[i])->valueText(), filled.at(i));
    QVERIFY(page->findItem(kRowRemoteAccess)->isChecked());
}

void TestTroubleshootingPages::remoteFailedReadOrWriteKeepsEdits()
{
    connectUnit();
    QVantelMenuItems *page = open(kPageRemoteAssistance);
    QVERIFY(page);
    QVantelMenuItem *service = page->findItem(kRowRemoteAccess);
    service->setChecked(true);
    m_page->itemCommitted(service);

    // A read that fails outright at Apply writes nothing (no "off", "auto" or empty texts).
    m_fake->clearLog();
    m_fake->setReplyHook(failReadOf({QStringLiteral("remote_access")}));
    m_page->applyClicked();
    QVERIFY(requestsWhere(isWrite).isEmpty());
    QCOMPARE(shownMessage(), kFailedApply);
    QVERIFY(m_page->header()->isModified());
    QVERIFY(service->isChecked());
    m_page->closeMessage();

    // A refused write keeps the edit and the mark as well.
    m_fake->setReplyHook([](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (!isWrite(request))
            return std::nullopt;
        FakeMessage answer(FakeMessage::Param);
        answer.set(QStringLiteral("return"), QStringLiteral("ERROR"));
        answer.set(QStringLiteral("remote_access"), QStringLiteral("105-invalid value"));
        return QList<FakeReply>{FakeReply::reply(answer)};
    });
    QCOMPARE(applyAndCollect(isWrite).size(), 1);
    QCOMPARE(shownMessage(), kFailedApply);
    QVERIFY(m_page->header()->isModified());
    QVERIFY(service->isChecked());
}

void TestTroubleshootingPages::remotePasswordReadBackFailureKeepsText()
{
    connectUnit();
    QVantelMenuItems *page = open(kPageRemoteAssistance);
    QVERIFY(page);
    QVantelMenuItem *password = page->findItem(kRowRemotePassword);
    password->setValueText(QStringLiteral("n3w"));
    m_page->itemCommitted(password);
    // Only the read of the password alone (the read-back) fails.
    m_fake->setReplyHook([](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (request.gets() == QStringList{QStringLiteral("remote_access_pwd")})
            return QList<FakeReply>{FakeReply::errorReply(3)};
        return std::nullopt;
    });
    m_page->applyClicked();
    QCOMPARE(m_fake->value(QStringLiteral("remote_access_pwd"), kGeneral), QStringLiteral("n3w"));
    QCOMPARE(password->valueText(), QStringLiteral("n3w"));
    QCOMPARE(shownMessage(), QString());
    QVERIFY(!m_page->header()->isModified());
}

void TestTroubleshootingPages::remoteNetworkNotOfferedShownAndNotSent()
{
    m_fake->setValue(QStringLiteral("remote_access_network"), QStringLiteral("isdn.0"), kGeneral);
    connectUnit();
    QVantelMenuItems *page = open(kPageRemoteAssistance);
    QVERIFY(page);
    QVantelMenuItem *network = page->findItem(kRowRemoteNetwork);
    QVERIFY(!network->currentValue());
    QVERIFY(!network->valueText().isEmpty());
    QVantelMenuItem *service = page->findItem(kRowRemoteAccess);
    service->setChecked(true);
    m_page->itemCommitted(service);
    const QList<FakeRequest> sent = applyAndCollect(isWrite);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(pairsOf(sent[0]), QStringList({"remote_access=on"}));
}

QTEST_MAIN(TestTroubleshootingPages)
#include "tst_troubleshootingpages.moc"
