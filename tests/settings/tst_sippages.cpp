#include "settings/qvantelsettingspage.h"

#include "link/ccom.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/comaoipcontroller.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"
#include "model/passwordtext.h"
#include "settings/settingsids.h"
#include "tests/settings/settingspagerig.h"
#include "tests/support/demoarea.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmessage.h"

#include <QPointer>
#include <QTest>

#include <memory>

namespace {

const QString kNetwork = QStringLiteral("network");
const QString kAoip = QStringLiteral("aoip");
const QString kFailed = QStringLiteral("Failed to apply changes!");

// Every line the program logs while a test runs.
QStringList s_logLines;

void collectLog(QtMsgType, const QMessageLogContext &, const QString &text)
{
    s_logLines << text;
}

bool isAoipWrite(const FakeRequest &request)
{
    return request.message.type == FakeMessage::Param && request.network() == kAoip
           && !request.message.params.isEmpty() && request.gets().isEmpty();
}

// The keys a settings write carries, sorted, the addressing left out.
QStringList writtenKeys(const FakeRequest &request)
{
    QStringList keys;
    for (const auto &pair : request.message.params) {
        if (pair.first != QLatin1String("target") && pair.first != QLatin1String("network"))
            keys << pair.first;
    }
    keys.sort();
    return keys;
}

} // namespace

// The SIP settings page and the two SIP account pages against the demo unit's SIP side.
class TestSipPages : public QObject, private SettingsPageRig
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void buildFromRead_data();
    void buildFromRead();
    void protocolChoiceLocksDoubleStreaming();
    void defaultAccountRow_data();
    void defaultAccountRow();
    void applySendsChangedKeys();
    void failedApplyRestoresController_data();
    void failedApplyRestoresController();
    void invalidNumbersFailApply_data();
    void invalidNumbersFailApply();
    void textThatIsNoNumberIsAChange_data();
    void textThatIsNoNumberIsAChange();
    void accountPorts();
    void accountPortsOutOfRange_data();
    void accountPortsOutOfRange();
    void accountPasswordTravelsEnciphered();
    void everyRowInOneWrite_data();
    void everyRowInOneWrite();

private:
    void attach(bool ready = true);
    QVantelMenuItems *openSip();
    QVantelMenuItems *openAccount(int pageId);
    // Runs Apply on a cleared request log; the writes to the AoIP network it sent.
    QList<FakeRequest> applyWrites() { return applyAndCollect(isAoipWrite); }
};

void TestSipPages::init()
{
    QVERIFY(startUnit(installDemoSip));
    QVERIFY(connectPage());
}

void TestSipPages::cleanup()
{
    qInstallMessageHandler(nullptr);
    stopUnit();
}

void TestSipPages::attach(bool ready)
{
    if (ready)
        QVERIFY(comDevice()->aoipController()->setNetwork("aoip", 0, false));
}

QVantelMenuItems *TestSipPages::openSip()
{
    QVantelMenuItems *page = buildPage(kPageSip);
    return page && page->id() == kPageSip ? page : nullptr;
}

QVantelMenuItems *TestSipPages::openAccount(int pageId)
{
    QVantelMenuItems *page = buildPage(pageId);
    return page && page->id() == pageId ? page : nullptr;
}

void TestSipPages::buildFromRead_data()
{
    QTest::addColumn<quint32>("firmware");
    QTest::addColumn<bool>("ready");
    QTest::addColumn<QString>("audioMode");
    QTest::addColumn<QString>("doubleCodec");
    QTest::addColumn<QList<int>>("present");
    QTest::addColumn<QList<int>>("absent");
    QTest::addColumn<int>("protocols");
    QTest::addColumn<bool>("allReadOnly");

    const QString on = QStringLiteral("on");
    const QString off = QStringLiteral("off");
    const QString sip = QStringLiteral("SIP");
    const QString rtp = QStringLiteral("RTP");
    QTest::newRow("unknown firmware: newest rows")
        << kFirmwareVersionUnknown << true << sip << off
        << QList<int>{kRowSipDoubleStream,
                      kRowSipStreamPattern,
                      kRowSipJitterBuffer,
                      kRowSipIncomingOrigin,
                      kRowSipDefaultAccount,
                      kRowSipKeepaliveTarget,
                      kRowSipSessionTimers}
        << QList<int>{kRowSipRegistrar1, kRowSipPort, kRowSipRtpPort} << 2 << false;
    QTest::newRow("1.8.1: registrar here, no default account")
        << firmwareVersionOf(1, 8, 1) << true << sip << off
        << QList<int>{kRowSipRegistrar1, kRowSipDoubleStream}
        << QList<int>{kRowSipIncomingOrigin,
                      kRowSipDefaultAccount,
                      kRowSipPort,
                      kRowSipRtpPort,
                      kRowSipStreamPattern,
                      kRowSipSessionTimers}
        << 2 << false;
    QTest::newRow("1.7.1: ports here")
        << firmwareVersionOf(1, 7, 1) << true << sip << off
        << QList<int>{kRowSipRegistrar1, kRowSipPort, kRowSipRtpPort}
        << QList<int>{kRowSipIncomingOrigin, kRowSipDefaultAccount} << 2 << false;
    QTest::newRow("double codec: SIP only")
        << kFirmwareVersionUnknown << true << sip << on << QList<int>{kRowSipProtocol}
        << QList<int>{} << 1 << false;
    QTest::newRow("double codec, direct RTP chosen")
        << kFirmwareVersionUnknown << true << rtp << on << QList<int>{kRowSipProtocol}
        << QList<int>{} << 2 << false;
    QTest::newRow("controller unknown: locked") << kFirmwareVersionUnknown << false << sip << off
                                                << QList<int>{kRowSipProtocol,
                                                              kRowSipStunMode,
                                                              kPageSipAccount1,
                                                              kPageSipAccount2,
                                                              kRowSipPacketReplication}
                                                << QList<int>{} << 2 << true;
}

void TestSipPages::buildFromRead()
{
    QFETCH(quint32, firmware);
    QFETCH(bool, ready);
    QFETCH(QString, audioMode);
    QFETCH(QString, doubleCodec);
    QFETCH(QList<int>, present);
    QFETCH(QList<int>, absent);
    QFETCH(int, protocols);
    QFETCH(bool, allReadOnly);

    firmwareVersion = firmware;
    m_fake->setValue(QStringLiteral("audio_mode"), audioMode, kNetwork, kAoip);
    m_fake->setValue(QStringLiteral("double_codec"), doubleCodec, kNetwork, kAoip);
    attach(ready);
    QVantelMenuItems *page = openSip();
    QVERIFY(page);

    for (const int id : present)
        QVERIFY2(page->findItem(id), qPrintable(QString::number(id)));
    for (const int id : absent)
        QVERIFY2(!page->findItem(id), qPrintable(QString::number(id)));
    QCOMPARE(page->findItem(kRowSipProtocol)->values().size(), protocols);

    bool anyEditable = false;
    for (const QVantelMenuItem *row : page->items())
        anyEditable = anyEditable || (row->id() > 0 && !row->isReadOnly());
    QCOMPARE(anyEditable, !allReadOnly);
    if (!ready)
        return;

    // The rows show what the unit holds.
    QCOMPARE(page->findItem(kRowSipProtocol)->valueText(),
             audioMode == QLatin1String("SIP") ? QStringLiteral("SIP")
                                               : QStringLiteral("Direct RTP"));
    QCOMPARE(page->findItem(kRowSipStunServer)->valueText(), QStringLiteral("stun.demo.invalid"));
    QCOMPARE(page->findItem(kRowSipKeepaliveInterval)->valueText(), QStringLiteral("30 seconds"));
    QCOMPARE(page->findItem(kRowSipRegistrationPeriod)->valueText(), QStringLiteral("5 minutes"));
    QCOMPARE(page->findItem(kRowSipDirectReleaseTimeout)->valueText(),
             QStringLiteral("10 seconds"));
    QCOMPARE(page->findItem(kRowSipRtpDscp)->valueText(), QStringLiteral("46"));
    QCOMPARE(page->findItem(kRowSipPacketReplication)->valueText(),
             QStringLiteral("Interleaved (recommended)"));
    if (QVantelMenuItem *registrar = page->findItem(kRowSipRegistrar1))
        QCOMPARE(registrar->valueText(), QStringLiteral("sip.demo.invalid"));
    if (doubleCodec == QLatin1String("on"))
        QVERIFY(page->findItem(kRowSipDoubleStream)->isReadOnly());
    QVERIFY(!pageHasChanges(page));
}

void TestSipPages::protocolChoiceLocksDoubleStreaming()
{
    m_fake->setValue(QStringLiteral("double_stream"), QStringLiteral("on"), kNetwork, kAoip);
    attach();
    QVantelMenuItems *page = openSip();
    QVERIFY(page);
    QVantelMenuItem *protocol = page->findItem(kRowSipProtocol);
    QVantelMenuItem *doubleStream = page->findItem(kRowSipDoubleStream);
    QVERIFY(doubleStream->isChecked());

    protocol->selectValue(1, true, false);
    page->commitItem(protocol);
    QVERIFY(!doubleStream->isChecked());
    QVERIFY(doubleStream->isReadOnly());
    QVERIFY(page->findItem(kRowSipStreamPattern)->isReadOnly());
    QVERIFY(m_page->header()->isModified());

    protocol->selectValue(0, true, false);
    page->commitItem(protocol);
    QVERIFY(doubleStream->isChecked());
    QVERIFY(!doubleStream->isReadOnly());
    QVERIFY(!m_page->header()->isModified());
}

void TestSipPages::defaultAccountRow_data()
{
    QTest::addColumn<QString>("registrar2");
    QTest::addColumn<QString>("doubleStream");
    QTest::addColumn<QString>("defaultAccount");
    QTest::addColumn<bool>("editable");

    const QString other = QStringLiteral("backup.demo.invalid");
    const QString on = QStringLiteral("on");
    const QString off = QStringLiteral("off");
    const QString one = QStringLiteral("1");
    const QString two = QStringLiteral("2");
    QTest::newRow("another registrar") << other << off << two << true;
    QTest::newRow("no second registrar") << QString() << off << one << false;
    QTest::newRow("same registrar") << QStringLiteral("sip.demo.invalid") << off << two << false;
    QTest::newRow("double streaming") << other << on << one << false;
}

void TestSipPages::defaultAccountRow()
{
    QFETCH(QString, registrar2);
    QFETCH(QString, doubleStream);
    QFETCH(QString, defaultAccount);
    QFETCH(bool, editable);

    m_fake->setValue(QStringLiteral("sip_registrar2"), registrar2, kNetwork, kAoip);
    m_fake->setValue(QStringLiteral("double_stream"), doubleStream, kNetwork, kAoip);
    m_fake->setValue(QStringLiteral("sip_def_account"), defaultAccount, kNetwork, kAoip);
    attach();
    QVantelMenuItems *page = openSip();
    QVERIFY(page);
    QVantelMenuItem *row = page->findItem(kRowSipDefaultAccount);
    QCOMPARE(!row->isReadOnly(), editable);
    QCOMPARE(row->isChecked(), defaultAccount == QLatin1String("2"));
    QCOMPARE(row->valueText(),
             defaultAccount == QLatin1String("2") ? QStringLiteral("Account 2")
                                                  : QStringLiteral("Account 1"));
}

void TestSipPages::applySendsChangedKeys()
{
    attach();
    QVantelMenuItems *page = openSip();
    QVERIFY(page);

    QVantelMenuItem *stun = page->findItem(kRowSipStunMode);
    stun->setChecked(false);
    page->commitItem(stun);
    page->findItem(kRowSipOutboundProxy)->setValueText(QStringLiteral("proxy.demo.invalid"));
    QVantelMenuItem *interval = page->findItem(kRowSipKeepaliveInterval);
    interval->selectValue(60, true, false);
    page->commitItem(interval);
    QVantelMenuItem *account = page->findItem(kRowSipDefaultAccount);
    account->setChecked(true);
    page->commitItem(account);
    QVERIFY(m_page->header()->isModified());

    const QList<FakeRequest> sent = applyWrites();
    QCOMPARE(sent.size(), 1);
    QCOMPARE(writtenKeys(sent.first()),
             (QStringList{"SIP_KA_INTERVAL", "sip_def_account", "sip_proxy", "stun_mode"}));
    QCOMPARE(sent.first().value(QStringLiteral("sip_def_account")), QStringLiteral("2"));
    QCOMPARE(sent.first().value(QStringLiteral("SIP_KA_INTERVAL")), QStringLiteral("60"));
    QVERIFY(m_fake->waitForRequest([](const FakeRequest &request) {
        return request.isCommand(QStringLiteral("reinit")) && request.network() == kAoip;
    }));
    QVERIFY(!m_page->header()->isModified());
    QCOMPARE(shownMessage(), QString());
    QCOMPARE(comDevice()->aoipController()->sipProxy(), std::string("proxy.demo.invalid"));
    QVERIFY(!pageHasChanges(page));

    // Nothing changed: nothing is sent and no message shows.
    m_fake->clearLog();
    m_page->applyClicked();
    QCOMPARE(m_fake->requestCount(), 0);
    QCOMPARE(shownMessage(), QString());
}

void TestSipPages::failedApplyRestoresController_data()
{
    QTest::addColumn<bool>("refuseReinit");
    QTest::newRow("write refused") << false;
    QTest::newRow("re-initialisation refused") << true;
}

void TestSipPages::failedApplyRestoresController()
{
    QFETCH(bool, refuseReinit);
    attach();
    QVantelMenuItems *page = openSip();
    QVERIFY(page);
    TComAoIPController *controller = comDevice()->aoipController();

    // The demo unit refuses a host name with a blank.
    const QString proxy
        = refuseReinit ? QStringLiteral("proxy.demo.invalid") : QStringLiteral("proxy demo");
    if (refuseReinit)
        m_fake->refuseCommand(QStringLiteral("reinit"), QStringLiteral("200-unknown error"));
    page->findItem(kRowSipOutboundProxy)->setValueText(proxy);
    QVantelMenuItem *port = page->findItem(kRowSipDirectRtpPort);
    port->setValueText(QStringLiteral("9100"));
    page->commitItem(port);
    QVERIFY(m_page->header()->isModified());

    m_page->applyClicked();
    QCOMPARE(shownMessage(), kFailed);
    QVERIFY(m_page->header()->isModified());
    QCOMPARE(controller->sipProxy(), std::string());
    QCOMPARE(controller->drtpRtpPort(), 9000);
    QVERIFY(pageHasChanges(page));

    // Once the unit takes it, the same edits go out again.
    m_fake->resetScript();
    page->findItem(kRowSipOutboundProxy)->setValueText(QStringLiteral("proxy.demo.invalid"));
    const QList<FakeRequest> sent = applyWrites();
    QCOMPARE(sent.size(), 1);
    QCOMPARE(writtenKeys(sent.first()), (QStringList{"drtp_rtp_port", "sip_proxy"}));
    QVERIFY(!m_page->header()->isModified());
    QCOMPARE(controller->drtpRtpPort(), 9100);
    QCOMPARE(m_fake->value(QStringLiteral("drtp_rtp_port"), kNetwork, kAoip),
             QStringLiteral("9100"));
}

void TestSipPages::invalidNumbersFailApply_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::newRow("port 0") << kRowSipDirectRtpPort << QStringLiteral("0");
    QTest::newRow("port above 65535") << kRowSipDirectRtpPort << QStringLiteral("65536");
    QTest::newRow("port not a number") << kRowSipDirectRtpPort << QStringLiteral("90x");
    QTest::newRow("empty port") << kRowSipDirectRtpPort << QString();
    QTest::newRow("DSCP above 63") << kRowSipRtpDscp << QStringLiteral("64");
    QTest::newRow("negative DSCP") << kRowSipRtpDscp << QStringLiteral("-1");
}

void TestSipPages::invalidNumbersFailApply()
{
    QFETCH(int, row);
    QFETCH(QString, text);
    attach();
    QVantelMenuItems *page = openSip();
    QVERIFY(page);
    QVantelMenuItem *stun = page->findItem(kRowSipStunMode);
    stun->setChecked(false);
    page->commitItem(stun);
    page->findItem(row)->setValueText(text);

    const QList<FakeRequest> sent = applyWrites();
    QCOMPARE(shownMessage(), kFailed);
    QVERIFY(sent.isEmpty());
    QVERIFY(m_page->header()->isModified());
    QVERIFY(comDevice()->aoipController()->stunMode());
}

void TestSipPages::textThatIsNoNumberIsAChange_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<int>("row");
    QTest::newRow("SIP page, direct RTP port") << kPageSip << kRowSipDirectRtpPort;
    QTest::newRow("SIP page, DSCP") << kPageSip << kRowSipRtpDscp;
    QTest::newRow("account 1, SIP port") << kPageSipAccount1 << kRowSipPort;
    QTest::newRow("account 1, RTP port") << kPageSipAccount1 << kRowSipRtpPort;
}

void TestSipPages::textThatIsNoNumberIsAChange()
{
    QFETCH(int, pageId);
    QFETCH(int, row);
    attach();
    QVantelMenuItems *page = pageId == kPageSip ? openSip() : openAccount(pageId);
    QVERIFY(page);
    QVantelMenuItem *edited = page->findItem(row);
    QVERIFY(edited && !edited->isReadOnly());
    edited->setValueText(QStringLiteral("50x0"));
    page->commitItem(edited);
    QVERIFY2(m_page->header()->isModified(), "the typed text is offered for Apply");

    const QList<FakeRequest> sent = applyWrites();
    QCOMPARE(shownMessage(), kFailed);
    QVERIFY(sent.isEmpty());
    QVERIFY(m_page->header()->isModified());
    QCOMPARE(edited->valueText(), QStringLiteral("50x0"));
}

void TestSipPages::accountPorts()
{
    firmwareVersion = firmwareVersionOf(1, 8, 1);
    attach();
    QVantelMenuItems *first = openAccount(kPageSipAccount1);
    QVERIFY(first);
    QVERIFY(!first->findItem(kRowSipAccountRegistrar));
    QVERIFY(!first->findItem(kRowSipUseAlternatePort));
    QVERIFY(!first->findItem(kRowSipPort)->isReadOnly());
    m_page->backClicked();

    QVantelMenuItems *second = openAccount(kPageSipAccount2);
    QVERIFY(second);
    QVantelMenuItem *sipPort = second->findItem(kRowSipPort);
    QVERIFY(sipPort->isReadOnly());
    QVERIFY(second->findItem(kRowSipRtpPort)->isReadOnly());
    QCOMPARE(sipPort->valueText(), QStringLiteral("5060"));
    QCOMPARE(second->findItem(kRowSipRtpPort)->valueText(), QStringLiteral("5006"));

    QVantelMenuItem *alternate = second->findItem(kRowSipUseAlternatePort);
    alternate->setChecked(true);
    second->commitItem(alternate);
    QCOMPARE(sipPort->valueText(), QStringLiteral("5062"));
    QVERIFY(m_page->header()->isModified());

    const QList<FakeRequest> sent = applyWrites();
    QCOMPARE(sent.size(), 1);
    QCOMPARE(writtenKeys(sent.first()), QStringList{"sip_use_uport2"});
    QVERIFY(!m_page->header()->isModified());

    firmwareVersion = firmwareVersionOf(1, 7, 1);
    m_page->backClicked();
    QVantelMenuItems *old = openAccount(kPageSipAccount1);
    QVERIFY(old);
    QCOMPARE(old->items().size(), 4);
}

void TestSipPages::accountPortsOutOfRange_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("shown");
    // Account 2 shows two above a port while that is a port; any other as reported (the model
    // takes a port below 1 for its default).
    QTest::newRow("INT_MAX") << "2147483647"
                             << "2147483647";
    QTest::newRow("past 64 bits") << "99999999999999999999999"
                                  << "2147483647";
    QTest::newRow("highest port") << "65535"
                                  << "65535";
    QTest::newRow("one below the highest") << "65534"
                                           << "65534";
    QTest::newRow("highest with a port above") << "65533"
                                               << "65535";
}

void TestSipPages::accountPortsOutOfRange()
{
    QFETCH(QString, port);
    QFETCH(QString, shown);
    firmwareVersion = firmwareVersionOf(1, 8, 2);
    m_fake->setValue(QStringLiteral("SIP_UDP_PORT"), port, kNetwork, kAoip);
    m_fake->setValue(QStringLiteral("RTP_START_PORT"), port, kNetwork, kAoip);
    m_fake->setValue(QStringLiteral("sip_use_uport2"), QStringLiteral("on"), kNetwork, kAoip);
    attach();
    QVantelMenuItems *second = openAccount(kPageSipAccount2);
    QVERIFY(second);
    QCOMPARE(second->findItem(kRowSipPort)->valueText(), shown);
    QCOMPARE(second->findItem(kRowSipRtpPort)->valueText(), shown);

    // Switching the alternate port off and on again shows the same.
    QVantelMenuItem *alternate = second->findItem(kRowSipUseAlternatePort);
    alternate->setChecked(false);
    second->commitItem(alternate);
    QCOMPARE(second->findItem(kRowSipPort)->valueText(),
             QString::number(comDevice()->aoipController()->sipUdpPort()));
    alternate->setChecked(true);
    second->commitItem(alternate);
    QCOMPARE(second->findItem(kRowSipPort)->valueText(), shown);
    QVERIFY(requestsWhere(isAoipWrite).isEmpty());
}

void TestSipPages::accountPasswordTravelsEnciphered()
{
    const QString plain = QStringLiteral("Ultra-Secret-7");
    s_logLines.clear();
    qInstallMessageHandler(collectLog);
    attach();
    QVantelMenuItems *page = openAccount(kPageSipAccount2);
    QVERIFY(page);
    QVERIFY(page->findItem(kRowSipAccountRegistrar));
    QVantelMenuItem *password = page->findItem(kRowSipAccountPassword);
    QCOMPARE(password->kind(), int(QVantelMenuItem::MaskedEntry));
    password->setValueText(plain);
    page->commitItem(password);
    QVERIFY(m_page->header()->isModified());

    const QList<FakeRequest> sent = applyWrites();
    QCOMPARE(sent.size(), 1);
    QCOMPARE(writtenKeys(sent.first()), QStringList{"sip_password2"});
    const QString wire = sent.first().value(QStringLiteral("sip_password2"));
    QVERIFY(!wire.isEmpty());
    QVERIFY(!wire.contains(plain));
    QCOMPARE(QString::fromStdString(decryptPassword(wire.toStdString())), plain);
    QVERIFY(!m_page->header()->isModified());

    // Reopened, the page shows the password the unit now holds, still without logging it.
    m_page->backClicked();
    page = openAccount(kPageSipAccount2);
    QVERIFY(page);
    QCOMPARE(page->findItem(kRowSipAccountPassword)->valueText(), plain);

    // A password that cannot be enciphered is never sent; the model keeps what the unit has.
    setPasswordEncipher([](const char *, int, char **) { return 0; });
    page->findItem(kRowSipAccountPassword)->setValueText(QStringLiteral("Other-Secret-8"));
    const QList<FakeRequest> refused = applyWrites();
    setPasswordEncipher(nullptr);
    QCOMPARE(shownMessage(), kFailed);
    QVERIFY(refused.isEmpty());
    QCOMPARE(QString::fromStdString(comDevice()->aoipController()->account2().password()), plain);

    qInstallMessageHandler(nullptr);
    for (const QString &line : std::as_const(s_logLines)) {
        QVERIFY2(!line.contains(plain), qPrintable(line));
        QVERIFY2(!line.contains(QLatin1String("Other-Secret-8")), qPrintable(line));
    }
}

void TestSipPages::everyRowInOneWrite_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<quint32>("firmware");
    QTest::addColumn<QStringList>("expected");

    const quint32 newest = kFirmwareVersionUnknown;
    QTest::newRow("SIP settings") << kPageSip << newest
                                  << QStringList{"MP_ECM_BF_SHIFT=0",
                                                 "SIP_KA_INTERVAL=45",
                                                 "SIP_KA_TARGET=0",
                                                 "SIP_RE_REG_TO=600",
                                                 "audio_mode=RTP",
                                                 "drtp_acc_calls=off",
                                                 "drtp_rel_timeout=20",
                                                 "drtp_rtp_port=40",
                                                 "drtp_send_only=on",
                                                 "jitterab=off",
                                                 "rtp_tos=42",
                                                 "sip_acc_calls=off",
                                                 "sip_chk_calls=on",
                                                 "sip_def_account=2",
                                                 "sip_mode=off",
                                                 "sip_proxy=row79-changed",
                                                 "sip_sess_timers=on",
                                                 "stun_mode=off",
                                                 "stun_server=row71-changed"};
    QTest::newRow("SIP settings, 1.7.1: registrar and ports")
        << kPageSip << firmwareVersionOf(1, 7, 1)
        << QStringList{"MP_ECM_BF_SHIFT=0",
                       "RTP_START_PORT=36",
                       "SIP_KA_INTERVAL=45",
                       "SIP_RE_REG_TO=600",
                       "SIP_UDP_PORT=35",
                       "audio_mode=RTP",
                       "drtp_acc_calls=off",
                       "drtp_rel_timeout=20",
                       "drtp_rtp_port=40",
                       "drtp_send_only=on",
                       "rtp_tos=42",
                       "sip_acc_calls=off",
                       "sip_mode=off",
                       "sip_proxy=row79-changed",
                       "sip_registrar=row78-changed",
                       "stun_mode=off",
                       "stun_server=row71-changed"};
    QTest::newRow("account 1") << kPageSipAccount1 << newest
                               << QStringList{"RTP_START_PORT=36",
                                              "SIP_UDP_PORT=35",
                                              "sip_auth_user=row96-changed",
                                              "sip_display_name=row95-changed",
                                              "sip_password=*",
                                              "sip_registrar=row93-changed",
                                              "sip_user=row94-changed"};
    QTest::newRow("account 2") << kPageSipAccount2 << newest
                               << QStringList{"sip_auth_user2=row96-changed",
                                              "sip_display_name2=row95-changed",
                                              "sip_password2=*",
                                              "sip_registrar2=row93-changed",
                                              "sip_use_uport2=on",
                                              "sip_user2=row94-changed"};
}

// Every editable row of a SIP page changed at once goes out in one write, each value under its
// own key (a password enciphered, so only its key is compared).
void TestSipPages::everyRowInOneWrite()
{
    QFETCH(int, pageId);
    QFETCH(quint32, firmware);
    QFETCH(QStringList, expected);

    firmwareVersion = firmware;
    attach();
    QVantelMenuItems *page = pageId == 10 ? openSip() : openAccount(pageId);
    QVERIFY(page);
    changeEveryRow(page);
    QVERIFY(m_page->header()->isModified());
    const QList<FakeRequest> sent = applyWrites();
    QStringList pairs;
    for (const FakeRequest &request : sent) {
        for (const auto &pair : request.message.params) {
            if (pair.first == QLatin1String("target") || pair.first == QLatin1String("network"))
                continue;
            pairs << pair.first + QLatin1Char('=')
                         + (pair.first.startsWith(QLatin1String("sip_password"))
                                ? QStringLiteral("*")
                                : pair.second);
        }
    }
    QCOMPARE(sent.size(), 1);
    QCOMPARE(pairs, expected);
    QVERIFY(!m_page->header()->isModified());
}

QTEST_MAIN(TestSipPages)
#include "tst_sippages.moc"
