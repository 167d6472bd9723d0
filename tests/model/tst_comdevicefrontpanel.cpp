#include "model/comravennacontroller.h"
#include "model/modelkeys.h"
#include "tests/model/devicefixture.h"

#include <QtTest>

#include <functional>
#include <utility>
#include <vector>

namespace {

const QString kRefused = QStringLiteral("015-not allowed");

// Every front-panel conversation of the device, each reduced to its result.
std::vector<std::pair<const char *, std::function<bool(TComDevice &)>>> conversations()
{
    return {
        {"identity",
         [](TComDevice &d) {
             TComDevice::Identity identity;
             return d.readIdentity(identity);
         }},
        {"tab name",
         [](TComDevice &d) {
             std::string name;
             return d.readTabName(name);
         }},
        {"panel record",
         [](TComDevice &d) {
             TComDevice::PanelRecord record;
             return d.readPanelRecord(record);
         }},
        {"store number", [](TComDevice &d) { return d.storeRemoteNumber(1, "10.0.0.5", 0); }},
        {"recorder",
         [](TComDevice &d) {
             bool playing = false;
             return d.readRecorderPlaying(playing);
         }},
        {"levels", [](TComDevice &d) { return d.subscribeAudioLevels(150); }},
        {"comm events", [](TComDevice &d) { return d.requestCommEvents(); }},
        {"read auto redial",
         [](TComDevice &d) {
             bool link1 = true;
             bool link2 = true;
             return d.readAutoRedial(link1, link2);
         }},
        {"set auto redial", [](TComDevice &d) { return d.setAutoRedial(2, true); }},
        {"history",
         [](TComDevice &d) {
             std::vector<std::string> entries;
             return d.readAddressHistory(false, entries);
         }},
        {"panel keys",
         [](TComDevice &d) {
             std::map<std::string, std::string> values;
             return d.readPanelKeys(values);
         }},
        {"write key", [](TComDevice &d) { return d.writePanelKey("softkey1", "C06F01B03"); }},
        {"display", [](TComDevice &d) { return d.displayMessage("hello"); }},
    };
}

} // namespace

// What the front panel's conversations with the device report when they cannot take place or
// the device refuses them.
class tst_ComDeviceFrontPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void withoutClientNothingSucceeds();
    void failedCallsReportFailure();
    void refusedKeysLeaveOutputsAlone();
    void badKeysAndKindsAreNotSent();
    void bitRateOfACallWithoutIdOrRefused();
    void ravennaIdentityOnlyAfterAStart();

private:
    DeviceFixture m_fx;
};

void tst_ComDeviceFrontPanel::init()
{
    QVERIFY(m_fx.open());
}

void tst_ComDeviceFrontPanel::cleanup()
{
    m_fx.close();
}

void tst_ComDeviceFrontPanel::withoutClientNothingSucceeds()
{
    TComDevice unlinked(nullptr);
    for (const auto &[name, conversation] : conversations())
        QVERIFY2(!conversation(unlinked), name);
}

void tst_ComDeviceFrontPanel::failedCallsReportFailure()
{
    m_fx.fake()->replyWithErrorCode(-1);
    for (const auto &[name, conversation] : conversations()) {
        // The INFO that stores a number is one-way: the device's answer is never awaited.
        if (qstrcmp(name, "store number") == 0)
            continue;
        QVERIFY2(!conversation(*m_fx.device), name);
    }

    // The auto-redial switches read as off when nothing came back.
    bool link1 = true;
    bool link2 = true;
    QVERIFY(!m_fx.device->readAutoRedial(link1, link2));
    QVERIFY(!link1);
    QVERIFY(!link2);

    // A lost link fails the one-way send too.
    m_fx.fake()->clearErrorReply();
    m_fx.com()->disconnect();
    QVERIFY(!m_fx.device->storeRemoteNumber(1, "10.0.0.5", 0));
}

void tst_ComDeviceFrontPanel::refusedKeysLeaveOutputsAlone()
{
    FakeQuorix *fake = m_fx.fake();
    const QString general = QStringLiteral("general");
    fake->setValue(QStringLiteral("device"), QStringLiteral("vantel"), general);
    fake->setValue(QStringLiteral("builddate"), QStringLiteral("2024-05-01"), general);
    fake->refuseKey(QStringLiteral("version"), kRefused);
    TComDevice::Identity identity;
    identity.device = "before";
    QVERIFY(!m_fx.device->readIdentity(identity));
    QCOMPARE(identity.device, std::string("before"));

    // One of the eleven soft-key and label keys refused: nothing is handed out.
    for (int n = 1; n <= 7; ++n)
        fake->setValue(QStringLiteral("softkey%1").arg(n), QStringLiteral("C06F01B03"), general);
    fake->refuseKey(QStringLiteral("contact_label2"), kRefused);
    std::map<std::string, std::string> values;
    QVERIFY(!m_fx.device->readPanelKeys(values));
    QVERIFY(values.empty());

    fake->refuseKey(QStringLiteral("rec_status"), kRefused);
    bool playing = true;
    QVERIFY(!m_fx.device->readRecorderPlaying(playing));
    QVERIFY(playing);

    fake->refuseKey(QStringLiteral("auto_redial_link2"), kRefused);
    QVERIFY(!m_fx.device->setAutoRedial(2, true));

    // A refused relay key still hands out the numbers that came back.
    fake->setValue(
        QStringLiteral("remote_aoip1"), QStringLiteral("10.0.0.5"), QStringLiteral("ui"));
    fake->refuseKey(QStringLiteral("relay1_in"), kRefused);
    TComDevice::PanelRecord record;
    QVERIFY(!m_fx.device->readPanelRecord(record));
    QCOMPARE(record.numbers.size(), size_t(5));
    QCOMPARE(record.numbers.front().number, std::string("10.0.0.5"));
    QVERIFY(!record.relayInputs[0].has_value());
}

void tst_ComDeviceFrontPanel::badKeysAndKindsAreNotSent()
{
    const int before = int(m_fx.fake()->requests().size());
    for (const char *key :
         {"softkey0", "softkey8", "info_label3", "contact_label", "password_al", "softkey10"}) {
        QVERIFY2(!m_fx.device->writePanelKey(key, "x"), key);
    }
    QVERIFY(!m_fx.device->storeRemoteNumber(1, "1234", TComNetworkIds::TransportNone));
    QVERIFY(!m_fx.device->storeRemoteNumber(2, "1234", 3));
    QTest::qWait(0);
    QCOMPARE(int(m_fx.fake()->requests().size()), before);
}

void tst_ComDeviceFrontPanel::bitRateOfACallWithoutIdOrRefused()
{
    TComAudioConnection unattached(m_fx.com(), TComBaseConnection::AudioLink1);
    QVERIFY(!unattached.sendTxBitRate(64000));
    TComAudioConnection unlinked(nullptr, TComBaseConnection::AudioLink1);
    QVERIFY(unlinked.attach(0, 7, "eth.0"));
    QVERIFY(!unlinked.sendTxBitRate(64000));
    QVERIFY(m_fx.fake()->requests().isEmpty());

    TComAudioConnection call(m_fx.com(), TComBaseConnection::AudioLink1);
    QVERIFY(call.attach(0, 7, "eth.0"));
    m_fx.fake()->refuseCommand(QStringLiteral("send_user_info"), kRefused);
    QVERIFY(!call.sendTxBitRate(64000));
}

void tst_ComDeviceFrontPanel::ravennaIdentityOnlyAfterAStart()
{
    TComRavennaController ravenna(m_fx.com());
    m_fx.fake()->refuseKey(QStringLiteral("rav_firmware_rev"), kRefused);
    QVERIFY(!ravenna.startWithIdentity());
    const QList<FakeRequest> sent = m_fx.fake()->requests();
    QCOMPARE(sent.size(), 1);
    QVERIFY(!sent.front().isGetOf(QStringLiteral("rav_device_name")));
}

QTEST_GUILESS_MAIN(tst_ComDeviceFrontPanel)
#include "tst_comdevicefrontpanel.moc"
