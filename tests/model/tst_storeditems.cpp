#include "model/storeditems.h"

#include "linkedfake.h"

#include <QTest>

#include <algorithm>

class TestStoredItems : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_link.start()); }
    void cleanup() { m_link.stop(); }

    void parse_data();
    void parse();
    void listFromUnit();
    void listFailureIsEmpty();
    void commands_data();
    void commands();
    void refusalKeepsCause();
    void openAddsFields();

private:
    LinkedFake m_link;
};

void TestStoredItems::parse_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("expected"); // "id:name" in the order returned

    QTest::newRow("sorted by name, any case")
        << QStringList{"3/Studio A", "1/news", "7/Sport/Late"}
        << QStringList{"1:news", "7:Sport/Late", "3:Studio A"};
    QTest::newRow("empty name kept, no slash dropped")
        << QStringList{"5/", "plain"} << QStringList{"5:"};
    // A malformed id must never stand in for item 0 (or any other item).
    QTest::newRow("malformed ids dropped") << QStringList{"/empty id",
                                                          "x1/letters",
                                                          "-2/negative",
                                                          "+3/signed",
                                                          "1.5/fraction",
                                                          " 4/space",
                                                          "99999999999/too big",
                                                          "0/zero"}
                                           << QStringList{"0:zero"};
}

void TestStoredItems::parse()
{
    QFETCH(QStringList, items);
    QFETCH(QStringList, expected);
    std::vector<std::string> raw;
    for (const QString &item : items)
        raw.push_back(item.toStdString());
    QStringList got;
    for (const TStoredItems::Entry &entry : TStoredItems::parse(raw))
        got << QStringLiteral("%1:%2").arg(entry.id).arg(entry.name);
    QCOMPARE(got, expected);
}

void TestStoredItems::listFromUnit()
{
    m_link.fake->setList(
        QStringLiteral("snapshot"),
        {QStringLiteral("2/b, with comma"), QStringLiteral("bad"), QStringLiteral("1/A")},
        QStringLiteral("general"));
    TStoredItems items(m_link.com.get());
    const auto entries = items.list(TStoredItems::kSnapshots);
    QCOMPARE(int(entries.size()), 2);
    QCOMPARE(entries[0].name, QStringLiteral("A"));
    QCOMPARE(entries[1].name, QStringLiteral("b, with comma"));
    QCOMPARE(entries[1].id, 2);
    const FakeRequest request = m_link.fake->lastRequest();
    QVERIFY(request.isListOf(QStringLiteral("snapshot")));
    QCOMPARE(request.target(), QStringLiteral("general"));
}

void TestStoredItems::listFailureIsEmpty()
{
    m_link.fake->setList(
        QStringLiteral("local_profile"), {QStringLiteral("1/A")}, QStringLiteral("general"));
    m_link.fake->replyWithErrorCode(7);
    TStoredItems items(m_link.com.get());
    QVERIFY(items.list(TStoredItems::kPresets).empty());
    TStoredItems offline(nullptr);
    QVERIFY(offline.list(TStoredItems::kPresets).empty());
}

void TestStoredItems::commands_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QByteArray>("body");

    QTest::newRow("create preset") << 0
                                   << QByteArray("DO;target:general;action:create;"
                                                 "type:local_profile;name:Näme;");
    QTest::newRow("create sip profile, account")
        << 1 << QByteArray("DO;target:general;action:create;type:sip_profile;name:Näme;account:2;");
    QTest::newRow("load snapshot") << 2
                                   << QByteArray("DO;target:general;action:load;"
                                                 "type:snapshot;id:0;");
    QTest::newRow("load sip profile, account")
        << 3 << QByteArray("DO;target:general;action:load;type:sip_profile;id:12;account:1;");
    QTest::newRow("update preset") << 4
                                   << QByteArray("DO;target:general;action:update;"
                                                 "type:local_profile;id:3;name:Näme;");
    QTest::newRow("delete snapshot") << 5
                                     << QByteArray("DO;target:general;action:delete;"
                                                   "type:snapshot;id:4;");
}

void TestStoredItems::commands()
{
    QFETCH(int, command);
    QFETCH(QByteArray, body);
    TStoredItems items(m_link.com.get());
    const QString name = QStringLiteral("Näme");
    bool ok = false;
    switch (command) {
    case 0:
        ok = items.create(TStoredItems::kPresets, name);
        break;
    case 1:
        ok = items.create(TStoredItems::kSipProfiles, name, 2);
        break;
    case 2:
        ok = items.load(TStoredItems::kSnapshots, 0);
        break;
    case 3:
        ok = items.load(TStoredItems::kSipProfiles, 12, 1);
        break;
    case 4:
        ok = items.update(TStoredItems::kPresets, 3, name);
        break;
    case 5:
        ok = items.remove(TStoredItems::kSnapshots, 4);
        break;
    }
    QVERIFY(ok);
    const FakeRequest request = m_link.fake->lastRequest();
    const auto expected = FakeMessage::fromText(body);
    QVERIFY(expected);
    // The message keeps its parameters in key order.
    auto sorted = expected->params;
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(request.message.params, sorted);
}

void TestStoredItems::refusalKeepsCause()
{
    m_link.fake->refuseCommand(QStringLiteral("load"), QStringLiteral("140-registration"));
    TStoredItems items(m_link.com.get());
    QVERIFY(!items.load(TStoredItems::kSipProfiles, 1, 1));
    QCOMPARE(items.lastError(), std::string("140-registration"));
    // A negative id is never sent.
    m_link.fake->clearLog();
    QVERIFY(!items.remove(TStoredItems::kPresets, -1));
    QCOMPARE(m_link.fake->requestCount(), 0);
}

void TestStoredItems::openAddsFields()
{
    m_link.fake->setCommandReply(QStringLiteral("open"),
                                 {{QStringLiteral("network"), QStringLiteral("eth.0")},
                                  {QStringLiteral("remote_addr"), QStringLiteral("studio")}});
    TStoredItems items(m_link.com.get());
    std::map<std::string, std::string> fields;
    QVERIFY(items.open(TStoredItems::kCallProfiles, 2, fields));
    QCOMPARE(fields["network"], std::string("eth.0"));
    QCOMPARE(fields["remote_addr"], std::string("studio"));
    QCOMPARE(m_link.fake->lastRequest().value(QStringLiteral("id")), QStringLiteral("2"));
}

QTEST_GUILESS_MAIN(TestStoredItems)
#include "tst_storeditems.moc"
