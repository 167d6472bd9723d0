#include "link/cmsg.h"
#include "link/protocolkeys.h"

#include <QRandomGenerator>
#include <QTest>

#include <initializer_list>
#include <utility>

using ksm::CMsg;
using Pairs = std::initializer_list<std::pair<const char *, std::string>>;
using Names = std::initializer_list<const char *>;

namespace ksm {
// Lets QCOMPARE print a message that differs.
char *toString(const CMsg &message)
{
    return qstrdup(message.toLogString().c_str());
}
} // namespace ksm

Q_DECLARE_METATYPE(CMsg)

namespace {

std::string bytes(const QByteArray &data)
{
    return std::string(data.constData(), static_cast<size_t>(data.size()));
}

CMsg makeMessage(int type, Pairs params = {}, Names gets = {}, Names lists = {})
{
    CMsg message(type);
    for (const auto &[key, value] : params)
        message.setParam(key, value);
    for (const char *name : gets)
        message.addGet(name);
    for (const char *name : lists)
        message.addList(name);
    return message;
}

} // namespace

class tst_CMsg : public QObject
{
    Q_OBJECT

private slots:
    void parseAndWriteBack_data();
    void parseAndWriteBack();
    void parseFailureClearsTarget();
    void parseKeepsEveryByte();
    void serializeRefusesUnknownType();
    void serializeOrdersKeysAndEscapesValuesOnly();
    void roundTripOfWellFormedMessages();
    void setParamModes_data();
    void setParamModes();
    void setParamFromOwnValue();
    void mergeModes();
    void paramLookup();
    void classify_data();
    void classify();
    void causeCodes();
    void copyAndAssign();
    void logTextMasksSecrets_data();
    void logTextMasksSecrets();
    void escapedLists();
    void entriesAreBounded();
    void splitCommaList_data();
    void splitCommaList();
};

void tst_CMsg::parseAndWriteBack_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("result");
    QTest::addColumn<CMsg>("expected");
    QTest::addColumn<QByteArray>("written");

    const CMsg none;
    QTest::newRow("empty PARAM") << QByteArray("PARAM;") << 0 << makeMessage(CMsg::Param)
                                 << QByteArray("PARAM;");
    QTest::newRow("empty DO") << QByteArray("DO;") << 0 << makeMessage(CMsg::Do)
                              << QByteArray("DO;");
    QTest::newRow("no separator behind type") << QByteArray("PARAM") << -1 << none << QByteArray();
    QTest::newRow("lower-case type") << QByteArray("param;x:1;") << -1 << none << QByteArray();
    QTest::newRow("unknown type") << QByteArray("XYZ;a:1;") << -1 << none << QByteArray();
    QTest::newRow("blank inside type") << QByteArray("INFO ;") << -1 << none << QByteArray();
    QTest::newRow("empty text") << QByteArray() << -1 << none << QByteArray();
    QTest::newRow("separators only") << QByteArray(";;;") << -1 << none << QByteArray();
    QTest::newRow("leading separators and escapes")
        << QByteArray(";;INFO;;a:1;;b:x\\;y\\\\z") << 0
        << makeMessage(CMsg::Info, {{"a", "1"}, {"b", "x;y\\z"}})
        << QByteArray("INFO;a:1;b:x\\;y\\\\z;");
    QTest::newRow("first of two equal keys wins")
        << QByteArray("PARAM;k:1;k:2;") << 0 << makeMessage(CMsg::Param, {{"k", "1"}})
        << QByteArray("PARAM;k:1;");
    QTest::newRow("empty GET and LIST names")
        << QByteArray("PARAM;GET:;LIST:;") << 0 << makeMessage(CMsg::Param) << QByteArray("PARAM;");
    QTest::newRow("GET name with colon")
        << QByteArray("PARAM;GET:a:b;") << 0 << makeMessage(CMsg::Param, {}, {"a:b"})
        << QByteArray("PARAM;GET:a:b;");
    QTest::newRow("escaped value, empty value, GET")
        << QByteArray("PARAM;a:1\\;2;b:;GET:x;") << 0
        << makeMessage(CMsg::Param, {{"a", "1;2"}, {"b", ""}}, {"x"})
        << QByteArray("PARAM;a:1\\;2;b:;GET:x;");
    QTest::newRow("value with colon, no closing separator")
        << QByteArray("EVENT;x:a:b") << 0 << makeMessage(CMsg::Event, {{"x", "a:b"}})
        << QByteArray("EVENT;x:a:b;");
    QTest::newRow("backslash ending the text")
        << QByteArray("PARAM;a:1\\") << 0 << makeMessage(CMsg::Param, {{"a", "1"}})
        << QByteArray("PARAM;a:1;");
    QTest::newRow("keys sorted, GET before LIST")
        << QByteArray("DO;b:2;a:1;LIST:z;GET:y;LIST:w;") << 0
        << makeMessage(CMsg::Do, {{"a", "1"}, {"b", "2"}}, {"y"}, {"z", "w"})
        << QByteArray("DO;a:1;b:2;GET:y;LIST:z;LIST:w;");
    QTest::newRow("leading colons of a segment")
        << QByteArray("PARAM;::a:1;:::;") << 0 << makeMessage(CMsg::Param, {{"a", "1"}})
        << QByteArray("PARAM;a:1;");
    QTest::newRow("stray escapes before a segment")
        << QByteArray("PARAM;\\;a:1;\\\\;") << 0 << makeMessage(CMsg::Param, {{"a", "1"}})
        << QByteArray("PARAM;a:1;");
    QTest::newRow("escaped colon in key splits after unescaping")
        << QByteArray("PARAM;a\\:b:c;") << 0 << makeMessage(CMsg::Param, {{"a", "b:c"}})
        << QByteArray("PARAM;a:b:c;");
    QTest::newRow("bare word is key and value")
        << QByteArray("INFO;word;") << 0 << makeMessage(CMsg::Info, {{"word", "word"}})
        << QByteArray("INFO;word:word;");
    QTest::newRow("bare GET and LIST add their own name")
        << QByteArray("PARAM;GET;LIST") << 0 << makeMessage(CMsg::Param, {}, {"GET"}, {"LIST"})
        << QByteArray("PARAM;GET:GET;LIST:LIST;");
}

void tst_CMsg::parseAndWriteBack()
{
    QFETCH(QByteArray, text);
    QFETCH(int, result);
    QFETCH(CMsg, expected);
    QFETCH(QByteArray, written);

    CMsg parsed;
    QCOMPARE(CMsg::parse(bytes(text), parsed), result);
    QCOMPARE(parsed, expected);

    // A reused message object gives the same result: nothing of its old content survives.
    CMsg reused = makeMessage(
        CMsg::Event, {{"a", "old"}, {"k", "old"}, {"z", "old"}, {"zz", ""}}, {"g"}, {"l"});
    QCOMPARE(CMsg::parse(bytes(text), reused), result);
    QCOMPARE(reused, expected);
    if (result != 0)
        return;

    std::string out;
    QCOMPARE(parsed.serialize(out), 0);
    QCOMPARE(QByteArray::fromStdString(out), written);
    CMsg again;
    QCOMPARE(CMsg::parse(out, again), 0);
    QCOMPARE(again, parsed);
}

void tst_CMsg::parseFailureClearsTarget()
{
    CMsg target = makeMessage(CMsg::Event, {{"a", "1"}}, {"g"}, {"l"});
    QCOMPARE(CMsg::parse("Event;a:1;", target), -1);
    QCOMPARE(target, CMsg());

    target = makeMessage(CMsg::Event, {{"a", "1"}}, {"g"}, {"l"});
    QCOMPARE(CMsg::parse("DO;b:2;", target), 0);
    QCOMPARE(target, makeMessage(CMsg::Do, {{"b", "2"}}));
}

void tst_CMsg::parseKeepsEveryByte()
{
    // UTF-8, Latin-1 and NUL bytes are data like any other.
    const std::string value("\xc3\xa9\xff\0x", 5);
    CMsg parsed;
    QCOMPARE(CMsg::parse("INFO;k:" + value + ";", parsed), 0);
    QCOMPARE(*parsed.param("k"), value);
}

void tst_CMsg::serializeRefusesUnknownType()
{
    for (const int type : {0, 5, -1}) {
        std::string out = "untouched";
        QCOMPARE(CMsg(type).serialize(out), -1);
        QCOMPARE(out, std::string("untouched"));
    }
}

void tst_CMsg::serializeOrdersKeysAndEscapesValuesOnly()
{
    // Byte-wise key order: upper case before lower case; ":", "," and "/" stay unescaped.
    CMsg message = makeMessage(CMsg::Param, {{"b", "x,y/z:w"}, {"a", "\\"}, {"B", ";"}});
    std::string out = "old content";
    QCOMPARE(message.serialize(out), 0);
    QCOMPARE(out, std::string("PARAM;B:\\;;a:\\\\;b:x,y/z:w;"));
}

void tst_CMsg::roundTripOfWellFormedMessages()
{
    // Any values and any keys and names that the text form can carry come back unchanged.
    QRandomGenerator random(20240611);
    const char alphabet[] = "ab:;\\,/ \x01\xc3\xff";
    auto randomText = [&](int maxLength, bool forKey) {
        std::string text;
        const int length = random.bounded(maxLength + 1);
        for (int i = 0; i < length; ++i) {
            const char c = alphabet[random.bounded(int(sizeof alphabet) - 1)];
            if (forKey && (c == ':' || c == ';' || c == '\\'))
                continue;
            text += c;
        }
        return text;
    };

    for (int round = 0; round < 500; ++round) {
        CMsg message(1 + random.bounded(4));
        for (int i = random.bounded(6); i > 0; --i) {
            std::string key = randomText(6, true);
            if (key.empty() || key == "GET" || key == "LIST")
                key += 'k';
            message.setParam(key, randomText(10, false));
        }
        for (int i = random.bounded(3); i > 0; --i)
            message.addGet(randomText(5, true));
        for (int i = random.bounded(3); i > 0; --i)
            message.addList(randomText(5, true));

        std::string text;
        QCOMPARE(message.serialize(text), 0);
        CMsg parsed;
        QCOMPARE(CMsg::parse(text, parsed), 0);
        QCOMPARE(parsed, message);
    }
}

void tst_CMsg::setParamModes_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("oldValue");
    QTest::addColumn<QByteArray>("newValue");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("absent, keep first")
        << false << QByteArray() << QByteArray("y") << 0 << QByteArray("y");
    QTest::newRow("absent, append")
        << false << QByteArray() << QByteArray("y") << 2 << QByteArray("y");
    QTest::newRow("keep first") << true << QByteArray("x") << QByteArray("y") << 0
                                << QByteArray("x");
    QTest::newRow("keep first, empty old")
        << true << QByteArray() << QByteArray("y") << 0 << QByteArray();
    QTest::newRow("replace") << true << QByteArray("x") << QByteArray("y") << 1 << QByteArray("y");
    QTest::newRow("other mode replaces")
        << true << QByteArray("x") << QByteArray("y") << 7 << QByteArray("y");
    QTest::newRow("append") << true << QByteArray("x") << QByteArray("y") << 2 << QByteArray("x|y");
    QTest::newRow("append to empty")
        << true << QByteArray() << QByteArray("y") << 2 << QByteArray("y");
}

void tst_CMsg::setParamModes()
{
    QFETCH(bool, present);
    QFETCH(QByteArray, oldValue);
    QFETCH(QByteArray, newValue);
    QFETCH(int, mode);
    QFETCH(QByteArray, expected);

    CMsg message(CMsg::Param);
    if (present)
        message.setParam("k", bytes(oldValue));
    message.setParam("k", bytes(newValue), mode, '|');
    QCOMPARE(QByteArray::fromStdString(*message.param("k")), expected);
    QCOMPARE(message.params().size(), size_t(1));
}

void tst_CMsg::setParamFromOwnValue()
{
    CMsg message = makeMessage(CMsg::Param, {{"k", "x"}});
    message.setParam("k", *message.param("k"), CMsg::Append, ',');
    QCOMPARE(*message.param("k"), std::string("x,x"));
}

void tst_CMsg::mergeModes()
{
    const CMsg part = makeMessage(CMsg::Param, {{"a", "2"}, {"c", "3"}}, {"g2"}, {"l2"});
    const CMsg base = makeMessage(CMsg::Info, {{"a", "1"}, {"b", ""}}, {"g1"}, {"l1"});

    CMsg kept = base;
    kept.merge(part, CMsg::KeepFirst, ',');
    QCOMPARE(kept, makeMessage(CMsg::Info, {{"a", "1"}, {"b", ""}, {"c", "3"}}, {"g1"}, {"l1"}));

    CMsg replaced = base;
    replaced.merge(part, CMsg::Replace, ',');
    QCOMPARE(replaced,
             makeMessage(CMsg::Info, {{"a", "2"}, {"b", ""}, {"c", "3"}}, {"g1"}, {"l1"}));

    CMsg appended = base;
    appended.merge(part, CMsg::Append, ',');
    QCOMPARE(appended,
             makeMessage(CMsg::Info, {{"a", "1,2"}, {"b", ""}, {"c", "3"}}, {"g1"}, {"l1"}));

    CMsg self = makeMessage(CMsg::Param, {{"a", "1"}, {"b", "2"}});
    self.merge(self, CMsg::Append, ',');
    QCOMPARE(self, makeMessage(CMsg::Param, {{"a", "1,1"}, {"b", "2,2"}}));
}

void tst_CMsg::paramLookup()
{
    const CMsg first = makeMessage(CMsg::Param, {{"a", "1"}, {"e", ""}});
    const CMsg second(CMsg::Do);

    QCOMPARE(*first.param("a"), std::string("1"));
    QVERIFY(first.param("e", false) != nullptr);
    QVERIFY(first.param("e", false)->empty());
    QCOMPARE(first.param("missing", false), nullptr);

    const std::string *shared = first.param("missing", true);
    QVERIFY(shared != nullptr);
    QVERIFY(shared->empty());
    QCOMPARE(second.param("other", true), shared);
}

void tst_CMsg::classify_data()
{
    QTest::addColumn<CMsg>("message");
    QTest::addColumn<int>("expected");

    QTest::newRow("list wins") << makeMessage(CMsg::Param, {{"target", "x"}}, {"g"}, {"l"}) << 3;
    QTest::newRow("get") << makeMessage(CMsg::Param, {{"target", "x"}}, {"g"}) << 1;
    QTest::newRow("nothing") << makeMessage(CMsg::Param) << 1;
    QTest::newRow("target") << makeMessage(CMsg::Param, {{"target", "x"}, {"cat", "y"}}) << 0;
    QTest::newRow("no cat") << makeMessage(CMsg::Param, {{"a", "1"}}) << 2;
    QTest::newRow("cat") << makeMessage(CMsg::Param, {{"cat", "db"}, {"a", "1"}}) << 0;
}

void tst_CMsg::classify()
{
    QFETCH(CMsg, message);
    QFETCH(int, expected);
    QCOMPARE(message.classify(), expected);
}

void tst_CMsg::causeCodes()
{
    const CMsg reply = makeMessage(
        CMsg::Param, {{"cause", "105-invalid value"}, {"k", "101-parameter not set"}, {"v", "42"}});
    QCOMPARE(reply.causeCode(), 105);
    QCOMPARE(reply.paramCauseCode("k"), 101);
    QCOMPARE(reply.paramCauseCode("v"), 200);
    QCOMPARE(reply.paramCauseCode("missing"), 200);
    QCOMPARE(CMsg(CMsg::Param).causeCode(), 200);
}

void tst_CMsg::copyAndAssign()
{
    const CMsg original = makeMessage(CMsg::Event, {{"a", "1"}}, {"g"}, {"l"});
    CMsg copy(original);
    QCOMPARE(copy, original);
    copy.setParam("b", "2");
    QVERIFY(copy != original);

    CMsg assigned;
    assigned = original;
    QCOMPARE(assigned, original);
    CMsg &alias = assigned;
    assigned = alias;
    QCOMPARE(assigned, original);

    assigned.clear(CMsg::Do);
    QCOMPARE(assigned, CMsg(CMsg::Do));
}

void tst_CMsg::logTextMasksSecrets_data()
{
    QTest::addColumn<CMsg>("message");
    QTest::addColumn<QByteArray>("logged");

    QTest::newRow("pin and puk") << makeMessage(CMsg::Param, {{"pin", "1234"}, {"PUK", "99"}})
                                 << QByteArray("PARAM;PUK:***;pin:***;");
    QTest::newRow("password and pwd anywhere, any case")
        << makeMessage(CMsg::Param,
                       {{"sip_password2", "s;e\\c"}, {"remote_access_PWD", "x"}, {"Password", ""}})
        << QByteArray("PARAM;Password:***;remote_access_PWD:***;sip_password2:***;");
    QTest::newRow("pass phrases, secrets, pre-shared keys, key material")
        << makeMessage(CMsg::Param,
                       {{"passphrase", "wifi secret"},
                        {"wpa_psk", "1"},
                        {"shared_SECRET", "2"},
                        {"wep_key1", "3"},
                        {"privKey", "4"},
                        {"pskKeyId", "5"}})
        << QByteArray("PARAM;passphrase:***;privKey:***;pskKeyId:***;shared_SECRET:***;"
                      "wep_key1:***;wpa_psk:***;");
    QTest::newRow("look-alike keys stay")
        << makeMessage(CMsg::Info,
                       {{"pin_persistent", "on"},
                        {"spin", "3"},
                        {"a", "1;2"},
                        {"keys", "x"},
                        {"keyboard", "y"}})
        << QByteArray("INFO;a:1\\;2;keyboard:y;keys:x;pin_persistent:on;spin:3;");
    QTest::newRow("names are not values")
        << makeMessage(CMsg::Param, {{"target", "db"}}, {"password_al"}, {"pin"})
        << QByteArray("PARAM;target:db;GET:password_al;LIST:pin;");
    QTest::newRow("unknown type") << makeMessage(0, {{"pwd", "x"}}) << QByteArray("#0;pwd:***;");
}

void tst_CMsg::logTextMasksSecrets()
{
    QFETCH(CMsg, message);
    QFETCH(QByteArray, logged);
    QCOMPARE(QByteArray::fromStdString(message.toLogString()), logged);
}

void tst_CMsg::entriesAreBounded()
{
    const auto text = [](int params, int gets) {
        std::string out = "PARAM;";
        for (int i = 0; i < params; ++i)
            out += "k" + std::to_string(i) + ":;";
        for (int i = 0; i < gets; ++i)
            out += "GET:g" + std::to_string(i) + ";";
        return out;
    };
    const int most = int(CMsg::kMaxEntries);
    CMsg out;
    QCOMPARE(CMsg::parse(text(most, 0), out), 0);
    QCOMPARE(out.params().size(), size_t(most));
    QCOMPARE(CMsg::parse(text(most + 1, 0), out), CMsg::TooManyEntries);
    QCOMPARE(out.type(), int(CMsg::None));
    QVERIFY(out.params().empty());
    // GET and LIST entries count with the parameters; repeated keys are one entry.
    QCOMPARE(CMsg::parse(text(most - 1, 2), out), CMsg::TooManyEntries);
    QCOMPARE(CMsg::parse(text(most, 0) + "k0:x;k1:y;", out), 0);
}

void tst_CMsg::escapedLists()
{
    std::string out = "<";
    appendEscaped("a,b\\c/", out, ",/");
    QCOMPARE(out, std::string("<a\\,b\\\\c\\/"));

    std::string field;
    QCOMPARE(extractEscaped("x,y", field, -1, ","), -1);
    QVERIFY(field.empty());
    QCOMPARE(extractEscaped("x,y", field, 9, ","), -1);
    QVERIFY(field.empty());
    QCOMPARE(extractEscaped("a\\,b,c", field, 0, ","), 5);
    QCOMPARE(field, std::string("a,b"));
    field.clear();
    QCOMPARE(extractEscaped("a\\,b,c", field, 5, ","), -1);
    QCOMPARE(field, std::string("c"));
    field.clear();
    QCOMPARE(extractEscaped("ab\\", field, 0, ","), -1);
    QCOMPARE(field, std::string("ab"));

    const std::vector<std::string> items = {"a,b", "", "c\\d", "e/f"};
    std::string joined = "x";
    joinCommaList({}, joined);
    QCOMPARE(joined, std::string("x"));
    joined.clear();
    joinCommaList(items, joined);
    QCOMPARE(joined, std::string("a\\,b,,c\\\\d,e/f"));
    std::vector<std::string> back;
    ::splitCommaList(joined, back);
    QCOMPARE(back, items);

    joined.clear();
    joinSlashList(items, joined);
    QCOMPARE(joined, std::string("a,b//c\\\\d/e\\/f"));
    back.clear();
    splitSlashList(joined, back);
    QCOMPARE(back, items);
}

void tst_CMsg::splitCommaList_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<QByteArray>>("items");

    QTest::newRow("empty") << QByteArray() << QList<QByteArray>();
    QTest::newRow("one") << QByteArray("a") << QList<QByteArray>{"a"};
    QTest::newRow("trailing comma") << QByteArray("a,b,") << QList<QByteArray>{"a", "b", ""};
    QTest::newRow("comma only") << QByteArray(",") << QList<QByteArray>{"", ""};
    QTest::newRow("escapes") << QByteArray("a\\,b,c\\\\") << QList<QByteArray>{"a,b", "c\\"};
    QTest::newRow("lone backslash at end") << QByteArray("a,b\\") << QList<QByteArray>{"a", "b"};
}

void tst_CMsg::splitCommaList()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<QByteArray>, items);

    std::vector<std::string> out = {"kept"};
    ::splitCommaList(bytes(text), out);
    QCOMPARE(out.size(), size_t(items.size()) + 1);
    QCOMPARE(out.front(), std::string("kept"));
    for (int i = 0; i < items.size(); ++i)
        QCOMPARE(QByteArray::fromStdString(out[size_t(i) + 1]), items[i]);
}

QTEST_GUILESS_MAIN(tst_CMsg)
#include "tst_cmsg.moc"
