#include "frontpanel/qvantelsoftkeys.h"

#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"
#include "tests/support/fakequorix.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

QList<int> keysOf(const QMap<int, QString> &names)
{
    return names.keys();
}

} // namespace

class TestQVantelSoftkeys : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void accessorsAndRecords();
    void functionTexts_data();
    void functionTexts();
    void sortOrderAndLegacyTable();
    void availableFunctions_data();
    void availableFunctions();
    void userChoicesAreWritten_data();
    void userChoicesAreWritten();
    void deviceValuesAreAppliedNotWritten_data();
    void deviceValuesAreAppliedNotWritten();
    void startUpRead();
    void changeReportsAndLabels();

private:
    // Connects the shared client to the fake, with the device's options and auxiliary board.
    void connectDevice(const QStringList &options, bool auxiliaryBoard);
    int setsOf(const QString &key) const;

    std::unique_ptr<FakeQuorix> m_fake;
};

void TestQVantelSoftkeys::init()
{
    firmwareVersion = kFirmwareVersionUnknown;
    m_fake = std::make_unique<FakeQuorix>();
    QVERIFY(m_fake->listen());
    QVERIFY(comClient()->connect(QStringLiteral("127.0.0.1"), m_fake->port(), 0));
    QTRY_VERIFY(comClient()->state() == RpcConnection::Connected);
}

void TestQVantelSoftkeys::cleanup()
{
    destroySharedObjects();
    m_fake.reset();
    firmwareVersion = kFirmwareVersionUnknown;
}

void TestQVantelSoftkeys::connectDevice(const QStringList &options, bool auxiliaryBoard)
{
    m_fake->setList(QStringLiteral("device_opts"), options, QStringLiteral("general"));
    QVERIFY(comDevice()->readDeviceOptions());
    m_fake->setValue(QStringLiteral("auxiliary_board"),
                     auxiliaryBoard ? QStringLiteral("yes") : QStringLiteral("no"),
                     QStringLiteral("audio"));
    QVERIFY(audioSettings()->read({"auxiliary_board"}));
    QCOMPARE(audioSettings()->auxiliaryBoard(), auxiliaryBoard);
    m_fake->clearLog();
}

int TestQVantelSoftkeys::setsOf(const QString &key) const
{
    int count = 0;
    const QList<FakeRequest> log = m_fake->requests();
    for (const FakeRequest &request : log) {
        if (request.isSetOf(key))
            ++count;
    }
    return count;
}

void TestQVantelSoftkeys::accessorsAndRecords()
{
    QVantelSoftkeys *model = softkeys();
    QCOMPARE(softkeys(), model);
    for (int index = 0; index < QVantelSoftkeys::kKeyCount; ++index) {
        QCOMPARE(softkey(index)->index(), index);
        QCOMPARE(softkey(index)->owner(), model);
    }
    // An index outside the seven keys names none.
    QVERIFY(!softkey(7));
    QVERIFY(!softkey(-1));
    QCOMPARE(softkey(3)->category(), int(QVantelSoftkey::None));
    QCOMPARE(softkey(3)->function(), 0);
    QCOMPARE(softkey(3)->availableMask(), -1);
}

void TestQVantelSoftkeys::functionTexts_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("function");
    QTest::addColumn<QString>("text");

    const QStringList plain;
    const QStringList dante{QStringLiteral("ravenna"), QStringLiteral("ravenna_2")};
    QTest::newRow("cough 3") << plain << 0 << 3 << "Cough 3";
    QTest::newRow("1 talk 2") << plain << 1 << 1 << "1 Talk 2";
    QTest::newRow("2 talk 1") << plain << 1 << 5 << "2 Talk 1";
    QTest::newRow("3 talk 4") << plain << 1 << 11 << "3 Talk 4";
    QTest::newRow("4 talk all") << plain << 1 << 16 << "4 Talk All";
    QTest::newRow("1 talk usb") << plain << 2 << 1 << "1 Talk USB";
    QTest::newRow("2 talk rav2") << plain << 2 << 8 << "2 Talk RAV2";
    QTest::newRow("dante module") << dante << 2 << 8 << "2 Talk DNT2";
    QTest::newRow("4 talk line2") << plain << 2 << 20 << "4 Talk LINE2";
    QTest::newRow("usb to coord") << plain << 3 << 2 << "USB to COORD";
    QTest::newRow("aes2 to pgm") << plain << 3 << 9 << "AES2 to PGM";
    QTest::newRow("rav2 to coord") << plain << 3 << 14 << "RAV2 to COORD";
    QTest::newRow("contact 2") << plain << 4 << 2 << "Contact 2";
    QTest::newRow("all buttons off") << plain << 4 << 3 << "All PGM Buttons Off";
    QTest::newRow("info 1") << plain << 5 << 1 << "Info 1";
    QTest::newRow("shortcut status") << plain << 6 << 9 << "Status";
    QTest::newRow("function beyond category") << plain << 4 << 4 << "None";
    QTest::newRow("no function") << plain << 0 << 0 << "None";
    QTest::newRow("no category") << plain << -1 << 1 << "None";
}

void TestQVantelSoftkeys::functionTexts()
{
    QFETCH(QStringList, options);
    QFETCH(int, category);
    QFETCH(int, function);
    QFETCH(QString, text);
    connectDevice(options, false);
    QCOMPARE(QVantelSoftkey::functionName(category, function), text);
}

void TestQVantelSoftkeys::sortOrderAndLegacyTable()
{
    // Talk to Output lists each station's LINE2 entry right after its LINE1 entry.
    QCOMPARE(QVantelSoftkey::functionDisplayRank(2, 17), 3);
    QCOMPARE(QVantelSoftkey::functionDisplayRank(2, 3), 4);
    QCOMPARE(QVantelSoftkey::functionDisplayRank(2, 20), 18);
    QCOMPARE(QVantelSoftkey::functionDisplayRank(6, 10), -1);
    QCOMPARE(QVantelSoftkey::functionDisplayRank(7, 1), -1);
    QCOMPARE(QVantelSoftkey::functionSortKey(2, 17), (3 << 8) | 17);
    QCOMPARE(QVantelSoftkey::functionSortKey(7, 1), 0xFF01);

    // The old ids run through the categories in order.
    QCOMPARE(QVantelSoftkey::legacyFunctionNumber(0), 1);
    QCOMPARE(QVantelSoftkey::legacyFunctionNumber(4), 1);
    QCOMPARE(QVantelSoftkey::legacyFunctionNumber(19), 16);
    QCOMPARE(QVantelSoftkey::legacyFunctionNumber(35), 16);
    QCOMPARE(QVantelSoftkey::legacyFunctionNumber(49), 14);
    QCOMPARE(QVantelSoftkey::legacyFunctionNumber(53), 2);
    QCOMPARE(QVantelSoftkey::legacyFunctionNumber(62), 9);
    QCOMPARE(QVantelSoftkey::legacyFunctionNumber(63), 0);
    QCOMPARE(QVantelSoftkey::legacyFunctionNumber(-1), 0);

    QCOMPARE(QVantelSoftkey::categoryNames().keys(), (QList<int>{-1, 0, 1, 2, 3, 4, 5, 6}));
    QCOMPARE(QVantelSoftkey::behaviorNames(1).keys(), (QList<int>{1, 2}));
    QCOMPARE(QVantelSoftkey::behaviorNames(6).keys(), QList<int>{3});
    QCOMPARE(QVantelSoftkey::behaviorNames(5).keys(), QList<int>{0});
}

void TestQVantelSoftkeys::availableFunctions_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<uint>("firmware");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("aux");
    QTest::addColumn<int>("category");
    QTest::addColumn<QList<int>>("functions");

    const QStringList none;
    const QStringList small{QStringLiteral("hardware_2")};
    const QStringList link2{QStringLiteral("hardware_1")};
    const QStringList aoip{QStringLiteral("ravenna")};
    const uint v114 = 0x10E02;
    const uint v115 = 0x10F00;
    QTest::newRow("key 0, cough") << 0 << v114 << none << false << 0 << QList<int>{1};
    QTest::newRow("key 0, talk to speaker")
        << 0 << v114 << none << false << 1 << QList<int>{1, 2, 3};
    QTest::newRow("key 3, cough, 1.14") << 3 << v114 << none << false << 0 << QList<int>{3, 4};
    QTest::newRow("key 3, cough, 1.15")
        << 3 << v115 << none << false << 0 << QList<int>{1, 2, 3, 4};
    QTest::newRow("key 3, cough, small unit")
        << 3 << v115 << small << false << 0 << QList<int>{1, 2, 3};
    QTest::newRow("key 1, talk to speaker, small unit")
        << 1 << v115 << small << false << 1 << QList<int>{1, 2, 9, 10};
    QTest::newRow("key 2, talk to output, aux, hardware 1")
        << 2 << v114 << link2 << true << 2 << QList<int>{1, 2, 9, 10, 17, 19};
    QTest::newRow("key 2, talk to output without aux ignores the options")
        << 2 << v114 << link2 << false << 2 << QList<int>{1, 2, 9, 10};
    QTest::newRow("key 0, talk to output, aux and aoip")
        << 0 << v114 << aoip << true << 2 << QList<int>{1, 2, 3, 4};
    QTest::newRow("aux to bus, plain unit") << 5 << v114 << none << false << 3 << QList<int>{1, 2};
    QTest::newRow("aux to bus, aux and aoip")
        << 5 << v114 << aoip << true << 3
        << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    QTest::newRow("aux to bus, small unit without aux")
        << 5 << v114 << small << false << 3 << QList<int>{};
    QTest::newRow("contacts before 1.14")
        << 0 << 0x10D00u << none << false << 4 << QList<int>{1, 2};
    QTest::newRow("contacts from 1.14")
        << 0 << 0x10E00u << none << false << 4 << QList<int>{1, 2, 3};
    QTest::newRow("shortcuts") << 6 << v114 << none << false << 6
                               << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9};
    QTest::newRow("unknown category") << 0 << v114 << none << false << 9 << QList<int>{0};
}

void TestQVantelSoftkeys::availableFunctions()
{
    QFETCH(int, key);
    QFETCH(uint, firmware);
    QFETCH(QStringList, options);
    QFETCH(bool, aux);
    QFETCH(int, category);
    QFETCH(QList<int>, functions);
    connectDevice(options, aux);
    firmwareVersion = firmware;
    QCOMPARE(keysOf(softkey(key)->functionNames(category, false)), functions);
}

void TestQVantelSoftkeys::userChoicesAreWritten_data()
{
    QTest::addColumn<uint>("firmware");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("function"); // -1: only the category is chosen
    QTest::addColumn<int>("behavior"); // -1: not chosen
    QTest::addColumn<QString>("written");
    QTest::addColumn<int>("writes");

    const QStringList none;
    const QStringList small{QStringLiteral("hardware_2")};
    QTest::newRow("contacts picks contact 1, toggle")
        << 0x20000u << none << 0 << 4 << -1 << -1 << "C04F01B02" << 1;
    QTest::newRow("shortcuts picks home, pulse")
        << 0x20000u << none << 1 << 6 << -1 << -1 << "C06F01B03" << 1;
    QTest::newRow("info picks info 1, no behaviour")
        << 0x20000u << none << 2 << 5 << -1 << -1 << "C05F01B00" << 1;
    QTest::newRow("aux to bus without any function")
        << 0x20000u << small << 3 << 3 << -1 << -1 << "C03F00B02" << 1;
    QTest::newRow("function then behaviour")
        << 0x20000u << none << 1 << 1 << 9 << 2 << "C01F09B02" << 3;
    QTest::newRow("unavailable function is ignored")
        << 0x20000u << none << 0 << 0 << 4 << -1 << "C00F01B01" << 1;
    QTest::newRow("behaviour outside the category is ignored")
        << 0x20000u << none << 0 << 0 << -1 << 2 << "C00F01B01" << 1;
    QTest::newRow("firmware 1.7.3 writes no behaviour")
        << 0x10703u << none << 1 << 1 << 9 << 2 << "C01F09" << 3;
}

void TestQVantelSoftkeys::userChoicesAreWritten()
{
    QFETCH(uint, firmware);
    QFETCH(QStringList, options);
    QFETCH(int, key);
    QFETCH(int, category);
    QFETCH(int, function);
    QFETCH(int, behavior);
    QFETCH(QString, written);
    QFETCH(int, writes);
    connectDevice(options, false);
    firmwareVersion = firmware;

    QSignalSpy changed(softkeys(), &QVantelSoftkeys::softKeyFunctionChanged);
    QVantelSoftkey *record = softkey(key);
    record->setCategory(category);
    if (function >= 0)
        record->setFunction(function);
    if (behavior >= 0)
        record->setBehavior(behavior);

    QCOMPARE(QString::fromStdString(record->storedValue()), written);
    const QString name = QStringLiteral("softkey%1").arg(key + 1);
    QVERIFY(m_fake->waitForRequest(
        [&](const FakeRequest &r) { return r.isSetOf(name, written) && r.target() == "general"; }));
    QCOMPARE(setsOf(name), writes);
    QVERIFY(changed.count() >= 1);
    QCOMPARE(changed.last().at(0).value<QVantelSoftkey *>(), record);

    // The same category again changes and writes nothing.
    record->setCategory(category);
    QCOMPARE(setsOf(name), writes);
}

void TestQVantelSoftkeys::deviceValuesAreAppliedNotWritten_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("aux");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("function");
    QTest::addColumn<int>("behavior");

    const QStringList none;
    const QStringList link2{QStringLiteral("hardware_1")};
    QTest::newRow("talk to output LINE2") << link2 << true << "softkey3"
                                          << "C02F11B01" << 2 << 2 << 17 << 1;
    QTest::newRow("behaviour toggle") << none << false << "softkey2"
                                      << "C01F09B02" << 1 << 1 << 9 << 2;
    QTest::newRow("no behaviour part keeps the default") << none << false << "softkey2"
                                                         << "C01F09" << 1 << 1 << 9 << 1;
    QTest::newRow("lower-case hex") << none << false << "softkey2"
                                    << "C01f0aB02" << 1 << 1 << 10 << 2;
    QTest::newRow("legacy talk to speaker") << none << false << "softkey1"
                                            << "65540" << 0 << 1 << 1 << 1;
    QTest::newRow("legacy talk to output") << none << false << "softkey2"
                                           << "131092" << 1 << 2 << 1 << 1;
    QTest::newRow("empty is no category") << none << false << "softkey4"
                                          << "" << 3 << -1 << 0 << 0;
    QTest::newRow("FF written for None reads as None") << none << false << "softkey4"
                                                       << "CFFF00B00" << 3 << -1 << 0 << 0;
    QTest::newRow("function the key cannot take") << none << false << "softkey1"
                                                  << "C00F04B01" << 0 << 0 << 1 << 1;
    // Category 0 on key 6 offers Cough 2 only; the unreadable function 0 is not available.
    QTest::newRow("bad hex reads 0") << none << false << "softkey7"
                                     << "CzzFzz" << 6 << 0 << 2 << 1;
    QTest::newRow("key number 8 does nothing") << none << false << "softkey8"
                                               << "C04F01B02" << 0 << -1 << 0 << 0;
}

void TestQVantelSoftkeys::deviceValuesAreAppliedNotWritten()
{
    QFETCH(QStringList, options);
    QFETCH(bool, aux);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(int, index);
    QFETCH(int, category);
    QFETCH(int, function);
    QFETCH(int, behavior);
    connectDevice(options, aux);

    QSignalSpy changed(softkeys(), &QVantelSoftkeys::softKeyFunctionChanged);
    softkeys()->applyKey(key.toStdString(), value.toStdString());
    const QVantelSoftkey *record = softkey(index);
    QCOMPARE(record->category(), category);
    QCOMPARE(record->function(), function);
    QCOMPARE(record->behavior(), behavior);
    QCOMPARE(changed.isEmpty(), category == -1);
    QVERIFY(!softkeys()->isUpdating());
    QTest::qWait(20);
    QCOMPARE(m_fake->requestCount(), 0);
}

void TestQVantelSoftkeys::startUpRead()
{
    connectDevice({}, false);
    const QString general = QStringLiteral("general");
    m_fake->setValue(QStringLiteral("info_label1"), QStringLiteral("On air"), general);
    m_fake->setValue(QStringLiteral("info_label2"), QString(), general);
    m_fake->setValue(QStringLiteral("contact_label1"), QString::fromUtf8("Caf\xc3\xa9"), general);
    m_fake->setValue(QStringLiteral("contact_label2"), QString(), general);
    for (int n = 1; n <= 6; ++n)
        m_fake->setValue(
            QStringLiteral("softkey%1").arg(n), QStringLiteral("C06F0%1B03").arg(n), general);

    // Ten values only: nothing is applied.
    m_fake->refuseKey(QStringLiteral("softkey7"),
                      QStringLiteral("104-mandatory parameter missing"));
    softkeys()->readAll();
    QVERIFY(m_fake->isSubscribed(QStringLiteral("config_changeset")));
    QCOMPARE(softkey(0)->category(), -1);
    QVERIFY(softkeys()->infoLabel(0).isEmpty());

    m_fake->acceptKey(QStringLiteral("softkey7"));
    m_fake->setValue(QStringLiteral("softkey7"), QStringLiteral("C05F02"), general);
    QSignalSpy labels(softkeys(), &QVantelSoftkeys::infoLabelChanged);
    softkeys()->readAll();
    QCOMPARE(softkey(0)->function(), 1);
    QCOMPARE(softkey(5)->function(), 6);
    QCOMPARE(softkey(6)->category(), int(QVantelSoftkey::Info));
    QCOMPARE(softkey(6)->function(), 2);
    QCOMPARE(softkeys()->infoLabel(0), QStringLiteral("On air"));
    QCOMPARE(softkeys()->contactLabel(0), QString::fromLatin1("Caf\xe9"));
    QCOMPARE(labels.count(), 1);
    // Nothing read is written back.
    QCOMPARE(setsOf(QStringLiteral("softkey1")), 0);
    QCOMPARE(setsOf(QStringLiteral("info_label1")), 0);
}

void TestQVantelSoftkeys::changeReportsAndLabels()
{
    connectDevice({}, false);
    QSignalSpy infos(softkeys(), &QVantelSoftkeys::infoLabelChanged);
    QSignalSpy contacts(softkeys(), &QVantelSoftkeys::contactLabelChanged);

    ksm::CMsg other(ksm::CMsg::Info);
    other.setParam("info_type", "audio_changeset");
    other.setParam("softkey1", "C04F01B02");
    softkeys()->handleEvent(other);
    QCOMPARE(softkey(0)->category(), -1);

    ksm::CMsg report(ksm::CMsg::Info);
    report.setParam("info_type", "config_changeset");
    report.setParam("info_source", "hcc");
    report.setParam("softkey1", "C04F01B02");
    report.setParam("contact_label2", "Door");
    report.setParam("info_label3", "ignored");
    report.setParam("volume", "3");
    softkeys()->handleEvent(report);
    QCOMPARE(softkey(0)->category(), int(QVantelSoftkey::Contacts));
    QCOMPARE(contacts.count(), 1);
    QCOMPARE(contacts.at(0).at(0).toInt(), 1);
    QCOMPARE(contacts.at(0).at(1).toString(), QStringLiteral("Door"));
    QVERIFY(infos.isEmpty());

    // A user's label is written in the device's UTF-8; index 2 and an unchanged text do nothing.
    softkeys()->setInfoLabel(2, QStringLiteral("x"));
    softkeys()->setContactLabel(1, QStringLiteral("Door"));
    softkeys()->setInfoLabel(0, QString::fromLatin1("M\xfcnchen"));
    QVERIFY(m_fake->waitForRequest(
        [](const FakeRequest &r) { return r.isSetOf(QStringLiteral("info_label1")); }));
    FakeRequest written;
    QVERIFY(m_fake->waitForRequest(
        [](const FakeRequest &r) { return r.isSetOf(QStringLiteral("info_label1")); },
        10,
        &written));
    QVERIFY(written.body.contains("info_label1:M\xc3\xbc"
                                  "nchen;"));
    QCOMPARE(infos.count(), 1);
    QCOMPARE(setsOf(QStringLiteral("contact_label2")), 0);
    QCOMPARE(setsOf(QStringLiteral("softkey1")), 0);
    QCOMPARE(m_fake->requestCount(), 1);
}

QTEST_GUILESS_MAIN(TestQVantelSoftkeys)
#include "tst_qvantelsoftkeys.moc"
