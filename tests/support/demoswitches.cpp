// Behaviours of a unit that the demo does not show by default, switched on by environment
// variables so that they can be tried by hand:
// - FAKE_QUORIX_SET: values the unit reports in place of the demo's, as a ";" list of
//   "target/name=value" or "target/network/name=value", for example
//   "audio/abr_profile=turbo;audio/rav_stream_in1=102/8/Studio B".
// - FAKE_QUORIX_REFUSE: a "," list of setting names whose writes the unit refuses, each with
//   "015-not allowed" or the cause given after a ":" ("matrix_in5,pin:124-puk required").
// - FAKE_QUORIX_REFUSE_BOOK: a "," list of the Book's commands ("create", "load", "update",
//   "delete") that the unit refuses for every stored kind, each with "015-not allowed" or the
//   cause given after a ":" ("update:200-unknown error"); a refused command changes nothing.
// - FAKE_QUORIX_SLOW_READ: a "," list of setting names; the first read asking for one of them
//   is never answered (the program gives up after its time-out), later reads are.
// - FAKE_QUORIX_READ_DELAY: milliseconds, 1 to 60000; every read is answered that late, as a
//   busy unit's (the program's reads give up after 5 seconds), the DO "open" of a stored item
//   too (the Call Profiles list sends one per profile).
// - FAKE_QUORIX_LIST_DELAY: milliseconds, 1 to 60000; every read with LIST entries is answered
//   that late (or as late as FAKE_QUORIX_READ_DELAY says, when that is later).
// - FAKE_QUORIX_WRITE_DELAY: milliseconds, 1 to 60000; every write is answered that late, as a
//   busy unit's, though it takes effect at once (the program's writes give up after 5 seconds),
//   and so are the Book's DO "create", "update", "delete" and "rename", carried out at once too.
// - FAKE_QUORIX_VALUES: a "," list of "name=value"; wherever an answer carries one of the names,
//   in any scope and in list answers too, it carries that value, so that values out of their
//   range can be tried ("drc_lim_threshold=2147483647,rav_stream_in=101/2147483647/Studio A").
// - FAKE_QUORIX_DENSE_INFO: a count of settings, 1 to 1000000; every time the program subscribes
//   to INFO "audio_changeset" the unit then sends one such INFO carrying that many settings more
//   ("dense1" ... all empty), as a unit that sends more entries than any message may hold.
// - FAKE_QUORIX_CONFIG_EVENT: milliseconds, 100 to 60000, optionally followed by a ";" list of
//   "name=value" ("3000;dns1=10.0.0.53;dns2=10.0.0.54"): every that many milliseconds the unit
//   takes these settings of its second Ethernet interface (eth.1, "LAN2"), as though someone
//   set them at the unit, and sends the "config info" EVENT of eth.1 with its mode, addresses,
//   name servers and cable state as it now holds them. Without a list it takes
//   "gateway=10.0.0.99;dns2=10.0.0.98", so that an operator who edits the Default Gateway sees
//   an event for the row being edited and one for a row left alone. "write" in place of the
//   milliseconds does the same just before the unit takes each write of eth.1, so that the
//   event, carrying the values the write replaces, arrives before the write's answer. "read"
//   does it the other way round just before the unit answers each read of eth.1: the event
//   carries what the unit holds, then the unit takes these settings without a word, so that the
//   read's answer is newer than the event that came before it.
// - FAKE_QUORIX_CONFIG_EVENT_KEYS: a "," list of the names the "config info" event of
//   FAKE_QUORIX_CONFIG_EVENT carries ("gateway"), as a unit that names only what changed; by
//   default all of them.
// The refusals and the slow read come before every other answer of the demo.

#include "demoarea.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <QTimer>

#include <memory>

namespace {

const QString kDefaultCause = QStringLiteral("015-not allowed");

QString fromEnvironment(const char *name)
{
    return QString::fromLocal8Bit(qgetenv(name));
}

// The names of a "," list of "name" or "name:cause", each with its cause ("015-not allowed"
// when none is given).
QHash<QString, QString> refusals(const QString &list)
{
    QHash<QString, QString> causes;
    for (const QString &entry : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const qsizetype colon = entry.indexOf(QLatin1Char(':'));
        const QString name = (colon < 0 ? entry : entry.left(colon)).trimmed();
        if (!name.isEmpty())
            causes.insert(name, colon < 0 ? kDefaultCause : entry.mid(colon + 1));
    }
    return causes;
}

// Stores the values of a FAKE_QUORIX_SET list; entries without "=" or a name are skipped.
void setValues(FakeQuorix &fake, const QString &list)
{
    for (const QString &entry : list.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype equals = entry.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QStringList scope = entry.left(equals).trimmed().split(QLatin1Char('/'));
        const QString value = entry.mid(equals + 1);
        if (scope.size() == 2 && !scope[1].isEmpty())
            fake.setValue(scope[1], value, scope[0]);
        else if (scope.size() == 3 && !scope[2].isEmpty())
            fake.setValue(scope[2], value, scope[0], scope[1]);
    }
}

// Writes of the names are refused with their causes; the rest of the request is answered as
// the unit would, so a write of several settings keeps the ones not refused.
FakeReplyHook refuseWrites(FakeQuorix &fake, const QHash<QString, QString> &causes)
{
    return [&fake, causes](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (request.message.type != FakeMessage::Param || !request.gets().isEmpty()
            || !request.lists().isEmpty()) {
            return std::nullopt;
        }
        QStringList refused;
        for (const auto &pair : request.message.params) {
            const auto cause = causes.constFind(pair.first);
            if (cause != causes.constEnd()) {
                fake.refuseKey(pair.first, cause.value());
                refused << pair.first;
            }
        }
        if (refused.isEmpty())
            return std::nullopt;
        QList<FakeReply> replies = fake.defaultReplies(request);
        for (const QString &key : std::as_const(refused))
            fake.acceptKey(key);
        return replies;
    };
}

// The Book's commands named are refused with their causes, for every stored kind. They are
// answered as late as FAKE_QUORIX_WRITE_DELAY says, as the commands the unit carries out.
FakeReplyHook refuseBookCommands(const QHash<QString, QString> &causes)
{
    return [causes](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        static const QStringList kinds = {QStringLiteral("local_profile"),
                                          QStringLiteral("sip_profile"),
                                          QStringLiteral("snapshot"),
                                          QStringLiteral("remote_profile")};
        if (!request.isRequest() || request.message.type != FakeMessage::Do
            || request.target() != QLatin1String("general")
            || !kinds.contains(request.value(QStringLiteral("type")))) {
            return std::nullopt;
        }
        const auto cause = causes.constFind(request.action());
        if (cause == causes.constEnd())
            return std::nullopt;
        FakeMessage answer(FakeMessage::Do);
        answer.set(QStringLiteral("return"), QStringLiteral("ERROR"));
        answer.set(QStringLiteral("cause"), cause.value());
        return QList<FakeReply>{FakeReply::reply(answer)};
    };
}

// The first read asking for one of the names goes unanswered; each name is slow once.
FakeReplyHook slowFirstRead(const QStringList &names)
{
    auto pending = std::make_shared<QSet<QString>>(names.cbegin(), names.cend());
    return [pending](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        bool slow = false;
        for (const QString &name : request.gets()) {
            if (pending->remove(name))
                slow = true;
        }
        if (!slow)
            return std::nullopt;
        return QList<FakeReply>{};
    };
}

// Answers nothing itself: a subscription to "audio_changeset" is answered as usual and then
// followed by one INFO of that type with count settings.
FakeReplyHook denseInfoAfterSubscribe(DemoUnit &demo, int count)
{
    return [&demo, count](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        const QString changes = QStringLiteral("audio_changeset");
        if (!request.isCommand(QStringLiteral("subscribe"))
            || request.value(QStringLiteral("info")) != changes) {
            return std::nullopt;
        }
        QTimer::singleShot(0, &demo, [&demo, count, changes] {
            FakePairs pairs;
            pairs.reserve(count);
            for (int i = 1; i <= count; ++i)
                pairs.append({QStringLiteral("dense%1").arg(i), QString()});
            (void)demo.fake().pushInfo(changes, pairs);
        });
        return std::nullopt;
    };
}

const QString kEventEthernet = QStringLiteral("eth.1");

// The unit takes the values given for eth.1 and sends that interface's "config info" event,
// carrying what it holds then of the keys named (all of them when none is).
void sendConfigEvent(FakeQuorix &fake, const FakePairs &values, const QStringList &keys)
{
    const QString network = QStringLiteral("network");
    for (const auto &[name, value] : values)
        fake.setValue(name, value, network, kEventEthernet);
    FakePairs pairs = {{network, kEventEthernet}};
    for (const char *name : {"mode", "local_addr", "subnet", "gateway", "dns1", "dns2", "cable"}) {
        const QString key = QLatin1String(name);
        if (keys.isEmpty() || keys.contains(key))
            pairs.append({key, fake.value(key, network, kEventEthernet)});
    }
    (void)fake.pushEvent(QStringLiteral("config info"), pairs);
}

// Every periodMs, the event of sendConfigEvent().
void sendConfigEvents(DemoUnit &demo,
                      int periodMs,
                      const FakePairs &values,
                      const QStringList &keys)
{
    auto *timer = new QTimer(&demo);
    timer->setInterval(periodMs);
    QObject::connect(timer, &QTimer::timeout, &demo, [&demo, values, keys] {
        sendConfigEvent(demo.fake(), values, keys);
    });
    timer->start();
}

// Answers nothing itself: before a write of eth.1 is taken, the event of sendConfigEvent().
FakeReplyHook
configEventBeforeWrites(FakeQuorix &fake, const FakePairs &values, const QStringList &keys)
{
    return [&fake, values, keys](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (request.message.type == FakeMessage::Param && request.gets().isEmpty()
            && request.lists().isEmpty() && request.network() == kEventEthernet) {
            sendConfigEvent(fake, values, keys);
        }
        return std::nullopt;
    };
}

// Answers nothing itself: before a read of eth.1 is answered, the event of what the unit holds,
// then the values taken unsaid.
FakeReplyHook
configEventBeforeReads(FakeQuorix &fake, const FakePairs &values, const QStringList &keys)
{
    return [&fake, values, keys](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (request.message.type == FakeMessage::Param && !request.gets().isEmpty()
            && request.network() == kEventEthernet) {
            sendConfigEvent(fake, {}, keys);
            for (const auto &[name, value] : values)
                fake.setValue(name, value, QStringLiteral("network"), kEventEthernet);
        }
        return std::nullopt;
    };
}

} // namespace

FakeReplyFilter overrideValues(const QHash<QString, QString> &values)
{
    return [values](const FakeRequest &, QList<FakeReply> &replies) {
        // An answer stays a frame the link takes (16 MiB at most): past this much text put in,
        // keys keep what the unit holds.
        constexpr qsizetype kMostPutIn = 12 * 1024 * 1024;
        for (FakeReply &reply : replies) {
            if (reply.kind != FakeReply::Kind::Reply && reply.kind != FakeReply::Kind::Signal)
                continue;
            qsizetype putIn = 0;
            for (auto &[key, value] : reply.body.params) {
                const auto found = values.constFind(key);
                if (found == values.constEnd() || putIn + found->size() > kMostPutIn)
                    continue;
                putIn += found->size();
                value = *found;
            }
        }
    };
}

void installDemoSwitches(DemoUnit &demo)
{
    FakeQuorix &fake = demo.fake();
    setValues(fake, fromEnvironment("FAKE_QUORIX_SET"));

    const QHash<QString, QString> causes = refusals(fromEnvironment("FAKE_QUORIX_REFUSE"));
    if (!causes.isEmpty())
        demo.addFirstHandler(refuseWrites(fake, causes));
    const QHash<QString, QString> bookCauses = refusals(fromEnvironment("FAKE_QUORIX_REFUSE_BOOK"));
    if (!bookCauses.isEmpty())
        demo.addFirstHandler(refuseBookCommands(bookCauses));

    QStringList slow;
    for (const QString &name :
         fromEnvironment("FAKE_QUORIX_SLOW_READ").split(QLatin1Char(','), Qt::SkipEmptyParts))
        slow << name.trimmed();
    if (!slow.isEmpty())
        demo.addFirstHandler(slowFirstRead(slow));

    QHash<QString, QString> values;
    for (const QString &entry :
         fromEnvironment("FAKE_QUORIX_VALUES").split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const qsizetype equals = entry.indexOf(QLatin1Char('='));
        if (equals > 0)
            values.insert(entry.left(equals).trimmed(), entry.mid(equals + 1));
    }
    if (!values.isEmpty())
        demo.addFilter(overrideValues(values));

    constexpr int kMostDelayMs = 60000;
    const int readDelay = qEnvironmentVariableIntValue("FAKE_QUORIX_READ_DELAY");
    if (readDelay >= 1 && readDelay <= kMostDelayMs)
        fake.setReadDelay(readDelay);
    const int listDelay = qEnvironmentVariableIntValue("FAKE_QUORIX_LIST_DELAY");
    if (listDelay >= 1 && listDelay <= kMostDelayMs)
        fake.setListDelay(listDelay);
    const int writeDelay = qEnvironmentVariableIntValue("FAKE_QUORIX_WRITE_DELAY");
    if (writeDelay >= 1 && writeDelay <= kMostDelayMs)
        fake.setWriteDelay(writeDelay);

    // FAKE_QUORIX_CONFIG_EVENT: the period, then the settings eth.1 takes before each event.
    const QStringList configEvent
        = fromEnvironment("FAKE_QUORIX_CONFIG_EVENT").split(QLatin1Char(';'), Qt::SkipEmptyParts);
    bool periodOk = false;
    const QString when = configEvent.isEmpty() ? QString() : configEvent.first().trimmed();
    const bool beforeWrites = when == QLatin1String("write");
    const bool beforeReads = when == QLatin1String("read");
    const int eventPeriod = when.toInt(&periodOk);
    constexpr int kFewestEventMs = 100;
    if (beforeWrites || beforeReads
        || (periodOk && eventPeriod >= kFewestEventMs && eventPeriod <= kMostDelayMs)) {
        FakePairs taken;
        for (const QString &entry : configEvent.mid(1)) {
            const qsizetype equals = entry.indexOf(QLatin1Char('='));
            if (equals > 0)
                taken.append({entry.left(equals).trimmed(), entry.mid(equals + 1)});
        }
        if (configEvent.size() == 1)
            taken = {{QStringLiteral("gateway"), QStringLiteral("10.0.0.99")},
                     {QStringLiteral("dns2"), QStringLiteral("10.0.0.98")}};
        QStringList keys;
        for (const QString &key : fromEnvironment("FAKE_QUORIX_CONFIG_EVENT_KEYS")
                                      .split(QLatin1Char(','), Qt::SkipEmptyParts))
            keys << key.trimmed();
        if (beforeWrites)
            demo.addFirstHandler(configEventBeforeWrites(fake, taken, keys));
        else if (beforeReads)
            demo.addFirstHandler(configEventBeforeReads(fake, taken, keys));
        else
            sendConfigEvents(demo, eventPeriod, taken, keys);
    }

    constexpr int kMostDenseSettings = 1000000;
    const int dense = qEnvironmentVariableIntValue("FAKE_QUORIX_DENSE_INFO");
    if (dense >= 1 && dense <= kMostDenseSettings)
        demo.addFirstHandler(denseInfoAfterSubscribe(demo, dense));
}
