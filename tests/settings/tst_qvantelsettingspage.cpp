#include "settings/qvantelsettingspage.h"

#include "link/ccom.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/passwordtext.h"
#include "tests/support/fakequorix.h"

#include <QTest>

#include <memory>

namespace {

const QString kDb = QStringLiteral("db");
const QString kOwner = QStringLiteral("vn_frontpanel");

QString cipherOf(const char *text)
{
    return QString::fromLatin1(encryptPassword(text).c_str());
}

} // namespace

// The access-level password cache against the fake unit's settings record.
class TestQVantelSettingsPage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loadFillsAndClearsLevels();
    void failedLoadKeepsCache();
    void settersSendOnlyChanges_data();
    void settersSendOnlyChanges();
    void refusedWriteKeepsCache();
    void unreadableValueIsCachedAsIs();
    void autoLogin();
    void linkDropClearsPasswords();

private:
    bool connectClient();

    std::unique_ptr<FakeQuorix> m_fake;
    std::unique_ptr<QVantelSettingsPage> m_page;
};

void TestQVantelSettingsPage::init()
{
    m_fake = std::make_unique<FakeQuorix>();
    QVERIFY(m_fake->listen());
    QCOMPARE(comClient()->initialize("ui", "vn_frontpanel"), 0);
    m_page = std::make_unique<QVantelSettingsPage>();
    QVERIFY(connectClient());
}

void TestQVantelSettingsPage::cleanup()
{
    m_page.reset();
    destroySharedObjects();
    m_fake.reset();
}

bool TestQVantelSettingsPage::connectClient()
{
    if (!comClient()->connect(QStringLiteral("127.0.0.1"), m_fake->port(), 0))
        return false;
    return QTest::qWaitFor([] { return comClient()->state() == RpcConnection::Connected; }, 5000);
}

void TestQVantelSettingsPage::loadFillsAndClearsLevels()
{
    m_page->setExpertPassword(QStringLiteral("old"), false);
    m_fake->setValue(QStringLiteral("password_al"), cipherOf("Adm 1"), kDb, kOwner);
    m_fake->setValue(QStringLiteral("password_ol"), QString(), kDb, kOwner);
    m_fake->clearLog();

    QVERIFY(m_page->loadPasswords());
    const FakeRequest request = m_fake->lastRequest();
    QCOMPARE(request.target(), kDb);
    QCOMPARE(request.gets(),
             (QStringList{QStringLiteral("password_al"),
                          QStringLiteral("password_el"),
                          QStringLiteral("password_ol")}));
    QCOMPARE(m_page->password(2), QStringLiteral("Adm 1"));
    // A missing value and an empty one both mean: no password.
    QVERIFY(m_page->password(1).isEmpty());
    QVERIFY(m_page->password(0).isEmpty());
    QVERIFY(m_page->password(-3).isEmpty());
}

void TestQVantelSettingsPage::failedLoadKeepsCache()
{
    m_page->setAdministratorPassword(QStringLiteral("kept"), false);
    m_fake->refuseKey(QStringLiteral("password_el"), QStringLiteral("015-not allowed"));
    m_fake->setValue(QStringLiteral("password_al"), cipherOf("new"), kDb, kOwner);
    QVERIFY(!m_page->loadPasswords());
    QCOMPARE(m_page->password(2), QStringLiteral("kept"));
}

void TestQVantelSettingsPage::settersSendOnlyChanges_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("key");
    QTest::newRow("administrator") << 2 << QStringLiteral("password_al");
    QTest::newRow("expert") << 1 << QStringLiteral("password_el");
    QTest::newRow("operator") << 0 << QStringLiteral("password_ol");
}

void TestQVantelSettingsPage::settersSendOnlyChanges()
{
    QFETCH(int, level);
    QFETCH(QString, key);
    const auto set = [this, level](const QString &text, bool send) {
        switch (level) {
        case 2:
            return m_page->setAdministratorPassword(text, send);
        case 1:
            return m_page->setExpertPassword(text, send);
        default:
            return m_page->setOperatorPassword(text, send);
        }
    };

    m_fake->clearLog();
    QVERIFY(set(QStringLiteral("Secret"), true));
    QCOMPARE(m_page->password(level), QStringLiteral("Secret"));
    QCOMPARE(m_fake->requestCount(), 1);
    const QString stored = m_fake->value(key, kDb, kOwner);
    QVERIFY(!stored.isEmpty());
    QVERIFY(stored != QLatin1String("Secret"));
    QCOMPARE(QString::fromLatin1(decryptPassword(stored.toLatin1().toStdString()).c_str()),
             QStringLiteral("Secret"));

    // The same text sends nothing, even without a link (which also empties the cache).
    comClient()->disconnect();
    QVERIFY(m_page->password(level).isEmpty());
    QVERIFY(set(QStringLiteral("Offline"), false));
    QVERIFY(set(QStringLiteral("Offline"), true));
    QCOMPARE(m_fake->requestCount(), 1);
    QVERIFY(connectClient());

    // Clearing sends the key with an empty value, not an enciphered empty text.
    QVERIFY(set(QStringLiteral("Again"), true));
    QVERIFY(set(QString(), true));
    QVERIFY(m_fake->hasValue(key, kDb, kOwner));
    QCOMPARE(m_fake->value(key, kDb, kOwner), QString());
    QVERIFY(m_page->password(level).isEmpty());
}

void TestQVantelSettingsPage::refusedWriteKeepsCache()
{
    QVERIFY(m_page->setExpertPassword(QStringLiteral("one"), false));
    m_fake->refuseKey(QStringLiteral("password_el"), QStringLiteral("015-not allowed"));
    QVERIFY(!m_page->setExpertPassword(QStringLiteral("two"), true));
    QCOMPARE(m_page->password(1), QStringLiteral("one"));

    // A password that cannot be enciphered is not sent at all.
    m_fake->acceptKey(QStringLiteral("password_el"));
    m_fake->clearLog();
    setPasswordEncipher([](const char *, int, char **out) {
        *out = nullptr;
        return -1;
    });
    const bool written = m_page->setExpertPassword(QStringLiteral("three"), true);
    setPasswordEncipher(nullptr);
    QVERIFY(!written);
    QCOMPARE(m_fake->requestCount(), 0);
    QCOMPARE(m_page->password(1), QStringLiteral("one"));
}

void TestQVantelSettingsPage::unreadableValueIsCachedAsIs()
{
    m_fake->setValue(QStringLiteral("password_ol"), QStringLiteral("plain"), kDb, kOwner);
    QVERIFY(m_page->loadPasswords());
    QCOMPARE(m_page->password(0), QStringLiteral("plain"));
}

void TestQVantelSettingsPage::autoLogin()
{
    m_fake->clearLog();
    QVERIFY(m_page->setAutoLogin(false, true));
    QCOMPARE(m_fake->requestCount(), 0);
    QVERIFY(m_page->setAutoLogin(true, true));
    QCOMPARE(m_fake->value(QStringLiteral("autologin"), kDb, kOwner), QStringLiteral("on"));
    QVERIFY(m_page->isAutoLogin());
    m_fake->refuseKey(QStringLiteral("autologin"), QStringLiteral("015-not allowed"));
    QVERIFY(!m_page->setAutoLogin(false, true));
    QVERIFY(m_page->isAutoLogin());
}

void TestQVantelSettingsPage::linkDropClearsPasswords()
{
    // "Known" is set only by a successful read and lasts as long as the link.
    QVERIFY(!m_page->passwordsKnown());
    m_fake->refuseKey(QStringLiteral("password_al"), QStringLiteral("015-not allowed"));
    QVERIFY(!m_page->loadPasswords());
    QVERIFY(!m_page->passwordsKnown());
    m_fake->acceptKey(QStringLiteral("password_al"));
    m_fake->setValue(QStringLiteral("password_al"), cipherOf("Adm"), kDb, kOwner);
    QVERIFY(m_page->loadPasswords());
    QVERIFY(m_page->passwordsKnown());
    QCOMPARE(m_page->password(2), QStringLiteral("Adm"));
    m_fake->dropClient();
    QTRY_VERIFY(m_page->password(2).isEmpty());
    QVERIFY(!m_page->passwordsKnown());
}

QTEST_MAIN(TestQVantelSettingsPage)
#include "tst_qvantelsettingspage.moc"
