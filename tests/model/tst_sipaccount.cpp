#include "model/comaoipcontroller.h"
#include "model/passwordtext.h"
#include "model/sipaccount.h"

#include "tests/model/linkedfake.h"

#include <QtTest>

#include <climits>

namespace {

const QString kNet = QStringLiteral("network");
const QString kAoip = QStringLiteral("aoip");

int failingEncipher(const char *, int, char **out)
{
    *out = nullptr;
    return -1;
}

// Restores the real cipher when a test leaves, whatever way it leaves.
struct EncipherFailure
{
    EncipherFailure() { setPasswordEncipher(&failingEncipher); }
    ~EncipherFailure() { setPasswordEncipher(nullptr); }
    EncipherFailure(const EncipherFailure &) = delete;
    EncipherFailure &operator=(const EncipherFailure &) = delete;
};

} // namespace

class tst_SipAccount : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void keysByIndex_data();
    void keysByIndex();
    void registrationState_data();
    void registrationState();
    void registrationInfo();
    void registrarHostAndPort_data();
    void registrarHostAndPort();
    void passwordWrappers();
    void fromTextConvertsAndDeciphers();
    void resetKeepsIndexAndController();
    void unattachedSetterStoresWithoutSending();

    void attachedWritesUtf8UnderItsKey();
    void attachedPasswordGoesOutEnciphered();
    void attachedRefusalKeepsOldText();
    void attachedUncipherablePasswordIsNotSent();
    void attachedReadAppliesTheText();

private:
    LinkedFake m_link;
};

void tst_SipAccount::cleanup()
{
    m_link.stop();
    setPasswordEncipher(nullptr);
}

void tst_SipAccount::keysByIndex_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("key");

    QTest::newRow("1 user") << 1 << int(SipAccount::User) << "sip_user";
    QTest::newRow("2 user") << 2 << int(SipAccount::User) << "sip_user2";
    QTest::newRow("0 user") << 0 << int(SipAccount::User) << "sip_user";
    QTest::newRow("3 user") << 3 << int(SipAccount::User) << "sip_user";
    QTest::newRow("2 registrar") << 2 << int(SipAccount::Registrar) << "sip_registrar2";
    QTest::newRow("1 display") << 1 << int(SipAccount::DisplayName) << "sip_display_name";
    QTest::newRow("2 auth") << 2 << int(SipAccount::AuthUser) << "sip_auth_user2";
    QTest::newRow("2 password") << 2 << int(SipAccount::Password) << "sip_password2";
}

void tst_SipAccount::keysByIndex()
{
    QFETCH(int, index);
    QFETCH(int, field);
    QFETCH(QString, key);

    const SipAccount account(index);
    const auto which = static_cast<SipAccount::Field>(field);
    QCOMPARE(QString::fromStdString(account.key(which)), key);
    SipAccount::Field found = SipAccount::Registrar;
    QVERIFY(account.fieldOfKey(key.toStdString(), found));
    QCOMPARE(found, which);
    // The other account's key is not this record's.
    const std::string other = SipAccount::key(which, index == 2 ? 1 : 2);
    QVERIFY(!account.fieldOfKey(other, found));
}

void tst_SipAccount::registrationState_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("registered");
    QTest::addColumn<QString>("cause");

    QTest::newRow("registered") << "registered" << true << "";
    QTest::newRow("unregistered") << "unregistered" << false << "";
    QTest::newRow("other word") << "trying" << false << "trying";
    QTest::newRow("capitals") << "Registered" << false << "Registered";
    QTest::newRow("empty") << "" << false << "";
}

void tst_SipAccount::registrationState()
{
    QFETCH(QString, state);
    QFETCH(bool, registered);
    QFETCH(QString, cause);

    SipAccount account(1);
    account.setRegistration("registered", "old cause");
    QVERIFY(account.setRegistrationState(state.toStdString()));
    QCOMPARE(account.registered(), registered);
    QCOMPARE(QString::fromStdString(account.cause()), cause);
}

void tst_SipAccount::registrationInfo()
{
    SipAccount account(1);
    QVERIFY(account.setRegistration("registered", "200 OK"));
    QVERIFY(account.registered());
    QCOMPARE(account.cause(), std::string("200 OK"));

    QVERIFY(account.setRegistration("REGISTERED", "403 Forbidden"));
    QVERIFY(!account.registered());
    QCOMPARE(account.cause(), std::string("403 Forbidden"));
}

void tst_SipAccount::registrarHostAndPort_data()
{
    QTest::addColumn<QString>("registrar");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");

    QTest::newRow("no colon") << "sip.example.net"
                              << "sip.example.net" << 5060;
    QTest::newRow("empty") << ""
                           << "" << 5060;
    QTest::newRow("port") << "sip.example.net:5070"
                          << "sip.example.net" << 5070;
    QTest::newRow("colon last") << "host:"
                                << "host" << 5060;
    QTest::newRow("zero") << "host:0"
                          << "host" << 5060;
    QTest::newRow("not a number") << "host:abc"
                                  << "host" << 5060;
    QTest::newRow("negative") << "host:-5"
                              << "host" << 5060;
    QTest::newRow("blanks and sign") << "host: \t+42x"
                                     << "host" << 42;
    QTest::newRow("two colons") << "a:b:5080"
                                << "a:b" << 5080;
    QTest::newRow("overflow saturates") << "host:99999999999999999999"
                                        << "host" << INT_MAX;
    QTest::newRow("negative overflow") << "host:-99999999999999999999"
                                       << "host" << 5060;
}

void tst_SipAccount::registrarHostAndPort()
{
    QFETCH(QString, registrar);
    QFETCH(QString, host);
    QFETCH(int, port);

    SipAccount account(1);
    QVERIFY(account.setRegistrar(registrar.toStdString(), false));
    QCOMPARE(QString::fromStdString(account.registrarHost()), host);
    QCOMPARE(account.registrarPort(), port);
}

void tst_SipAccount::passwordWrappers()
{
    for (const std::string &plain :
         {std::string(), std::string("secret"), std::string("p\xc3\xa4ss")}) {
        const std::string cipher = encryptPassword(plain);
        QVERIFY(!cipher.empty());
        QVERIFY(cipher != plain);
        QCOMPARE(decryptPassword(cipher), plain);
    }
    // Texts that are no cipher text of this program come back unchanged.
    QCOMPARE(decryptPassword("plain text"), std::string("plain text"));
    QCOMPARE(decryptPassword(std::string()), std::string());
    std::string damaged = encryptPassword("secret");
    // Character 12 lies wholly inside the check value, so any change to it must be refused.
    damaged[12] = damaged[12] == 'A' ? 'B' : 'A';
    QCOMPARE(decryptPassword(damaged), damaged);

    const EncipherFailure failure;
    QCOMPARE(encryptPassword("secret"), std::string());
}

void tst_SipAccount::fromTextConvertsAndDeciphers()
{
    SipAccount account(1);
    QVERIFY(account.setUserFromText("J\xc3\xbcrgen"));
    QCOMPARE(account.user(), std::string("J\xfcrgen"));
    QVERIFY(account.setRegistrarFromText("reg:5061"));
    QCOMPARE(account.registrar(), std::string("reg:5061"));

    QVERIFY(account.setPasswordFromText(encryptPassword("gr\xc3\xbcn")));
    QCOMPARE(account.password(), std::string("gr\xfcn"));
    // A text that does not decipher is stored as received.
    QVERIFY(account.setPasswordFromText("not-a-cipher"));
    QCOMPARE(account.password(), std::string("not-a-cipher"));
}

void tst_SipAccount::resetKeepsIndexAndController()
{
    TComAoIPController controller(nullptr);
    SipAccount account(2);
    account.setController(&controller);
    account.setUser("u", false);
    account.setPassword("p", false);
    account.setRegistration("registered", "c");

    account.reset();
    QCOMPARE(account.index(), 2);
    QCOMPARE(account.controller(), &controller);
    QVERIFY(!account.registered());
    QVERIFY(account.cause().empty());
    QVERIFY(account.user().empty());
    QVERIFY(account.password().empty());
}

void tst_SipAccount::unattachedSetterStoresWithoutSending()
{
    SipAccount account(1);
    QVERIFY(account.setPassword("secret", true));
    QCOMPARE(account.password(), std::string("secret"));
    QVERIFY(!account.readUser());
}

void tst_SipAccount::attachedWritesUtf8UnderItsKey()
{
    QVERIFY(m_link.start());
    TComAoIPController controller(m_link.com.get());
    QVERIFY(controller.setNetwork("aoip", 0, false));
    m_link.fake->clearLog();
    SipAccount account(2);
    account.setController(&controller);

    QVERIFY(account.setUser("J\xfcrgen", true));
    QCOMPARE(account.user(), std::string("J\xfcrgen"));
    QCOMPARE(m_link.fake->requestCount(), 1);
    const FakeRequest request = m_link.fake->lastRequest();
    QCOMPARE(request.target(), kNet);
    QCOMPARE(request.network(), kAoip);
    QCOMPARE(request.value(QStringLiteral("sip_user2")), QString::fromUtf8("J\xc3\xbcrgen"));

    // The same text again sends nothing.
    QVERIFY(account.setUser("J\xfcrgen", true));
    QCOMPARE(m_link.fake->requestCount(), 1);
}

void tst_SipAccount::attachedPasswordGoesOutEnciphered()
{
    QVERIFY(m_link.start());
    TComAoIPController controller(m_link.com.get());
    QVERIFY(controller.setNetwork("aoip", 0, false));
    m_link.fake->clearLog();
    SipAccount account(1);
    account.setController(&controller);

    QVERIFY(account.setPassword("gr\xfcn", true));
    QCOMPARE(account.password(), std::string("gr\xfcn"));
    const FakeRequest request = m_link.fake->lastRequest();
    const QString sent = request.value(QStringLiteral("sip_password"));
    QVERIFY(!sent.isEmpty());
    // Neither plain form is on the wire. (A short part of it, such as "gr", may well turn up in
    // the random Base64 text.)
    QVERIFY(!request.body.contains("gr\xc3\xbcn"));
    QVERIFY(!request.body.contains("gr\xfcn"));
    QCOMPARE(decryptPassword(sent.toStdString()), std::string("gr\xc3\xbcn"));

    QVERIFY(account.setPassword("gr\xfcn", true));
    QCOMPARE(m_link.fake->requestCount(), 1);
}

void tst_SipAccount::attachedRefusalKeepsOldText()
{
    QVERIFY(m_link.start());
    TComAoIPController controller(m_link.com.get());
    QVERIFY(controller.setNetwork("aoip", 0, false));
    SipAccount account(1);
    account.setController(&controller);
    QVERIFY(account.setDisplayName("Studio A", false));

    m_link.fake->refuseKey(QStringLiteral("sip_display_name"), QStringLiteral("015-not allowed"));
    QVERIFY(!account.setDisplayName("Studio B", true));
    QCOMPARE(account.displayName(), std::string("Studio A"));
}

void tst_SipAccount::attachedUncipherablePasswordIsNotSent()
{
    QVERIFY(m_link.start());
    TComAoIPController controller(m_link.com.get());
    QVERIFY(controller.setNetwork("aoip", 0, false));
    m_link.fake->clearLog();
    SipAccount account(1);
    account.setController(&controller);
    QVERIFY(account.setPassword("old", false));

    const EncipherFailure failure;
    QVERIFY(!account.setPassword("new secret", true));
    QCOMPARE(account.password(), std::string("old"));
    QTest::qWait(20);
    QCOMPARE(m_link.fake->requestCount(), 0);
}

void tst_SipAccount::attachedReadAppliesTheText()
{
    QVERIFY(m_link.start());
    m_link.fake->setValue(
        QStringLiteral("sip_auth_user2"), QString::fromUtf8("M\xc3\xbcller"), kNet, kAoip);
    m_link.fake->setValue(QStringLiteral("sip_password2"),
                          QString::fromStdString(encryptPassword("pw")),
                          kNet,
                          kAoip);
    TComAoIPController controller(m_link.com.get());
    QVERIFY(controller.setNetwork("aoip", 0, false));
    m_link.fake->clearLog();
    SipAccount account(2);
    account.setController(&controller);

    QVERIFY(account.readAuthUser());
    QCOMPARE(account.authUser(), std::string("M\xfcller"));
    QVERIFY(account.readPassword());
    QCOMPARE(account.password(), std::string("pw"));
    FakeRequest request = m_link.fake->requests().first();
    QCOMPARE(request.gets(), QStringList({QStringLiteral("sip_auth_user2")}));
    QCOMPARE(request.network(), kAoip);

    // A refused read changes nothing.
    m_link.fake->refuseKey(QStringLiteral("sip_user2"), QStringLiteral("015-not allowed"));
    QVERIFY(account.setUser("kept", false));
    QVERIFY(!account.readUser());
    QCOMPARE(account.user(), std::string("kept"));
}

QTEST_GUILESS_MAIN(tst_SipAccount)
#include "tst_sipaccount.moc"
