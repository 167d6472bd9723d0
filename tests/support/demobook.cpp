// The Book: the presets, SIP profiles, snapshots and call profiles the unit stores. Each kind is
// a list "id/name" kept in the store, changed by the create, update and delete commands; load
// answers OK, except for the items named "Locked ..." whose load the unit refuses.
//
// FAKE_QUORIX_BOOK_ITEMS=N adds N items of each kind (call profiles on eth.0 with a coding and
// a remote number), so that long lists can be tried.

#include "demoarea.h"

#include <QMap>
#include <QtGlobal>

#include <algorithm>
#include <memory>

namespace {

const QString kGeneral = QStringLiteral("general");
const QString kId = QStringLiteral("id");
const QString kName = QStringLiteral("name");
const QString kType = QStringLiteral("type");

struct StoredItem
{
    QString name;
    FakePairs fields; // what "open" answers besides the name
};

using StoredKind = QMap<int, StoredItem>;

struct BookState
{
    QMap<QString, StoredKind> kinds;
    int nextId = 20;
};

FakeReply answer(bool ok, const FakePairs &pairs = {}, const QString &cause = {})
{
    FakeMessage message(FakeMessage::Do, pairs);
    message.set(QStringLiteral("return"), ok ? QStringLiteral("OK") : QStringLiteral("ERROR"));
    if (!ok)
        message.set(QStringLiteral("cause"), cause);
    return FakeReply::reply(message);
}

void publish(FakeQuorix &fake, const QString &type, const StoredKind &kind)
{
    QStringList items;
    for (auto it = kind.constBegin(); it != kind.constEnd(); ++it)
        items << QStringLiteral("%1/%2").arg(it.key()).arg(it.value().name);
    fake.setList(type, items, kGeneral);
}

} // namespace

void installDemoBook(DemoUnit &demo)
{
    FakeQuorix &fake = demo.fake();
    auto state = std::make_shared<BookState>();
    state->kinds[QStringLiteral("local_profile")] = {
        {1, {QStringLiteral("Morning Show"), {}}},
        {2, {QStringLiteral("sports desk"), {}}},
        {5, {QStringLiteral("Locked Preset"), {}}},
    };
    state->kinds[QStringLiteral("sip_profile")] = {
        {1, {QStringLiteral("Provider A"), {}}},
        {3, {QStringLiteral("Backup Provider"), {}}},
    };
    state->kinds[QStringLiteral("snapshot")] = {
        {2, {QStringLiteral("Before the Update"), {}}},
    };
    const QString network = QStringLiteral("network");
    const QString codec = QStringLiteral("codec");
    const QString remote = QStringLiteral("remote_addr");
    state->kinds[QStringLiteral("remote_profile")] = {
        {1,
         {QStringLiteral("Studio B"),
          {{network, QStringLiteral("eth.0")},
           {codec, QStringLiteral("OPUS/48000/stereo/64000")},
           {QStringLiteral("codec_mode"), QStringLiteral("cmode_normal")},
           {remote, QStringLiteral("studio-b.demo")}}}},
        {2,
         {QStringLiteral("Reporter"),
          {{network, QStringLiteral("eth.0")}, {remote, QStringLiteral("reporter.demo")}}}},
    };
    const int extra = qEnvironmentVariableIntValue("FAKE_QUORIX_BOOK_ITEMS");
    for (int i = 0; i < std::min(extra, 100000); ++i) {
        const int id = state->nextId++;
        const QString name = QStringLiteral("Item %1").arg(i + 1, 5, 10, QLatin1Char('0'));
        for (auto it = state->kinds.begin(); it != state->kinds.end(); ++it) {
            StoredItem item{name, {}};
            if (it.key() == QLatin1String("remote_profile")) {
                item.fields = {{network, QStringLiteral("eth.0")},
                               {codec, QStringLiteral("OPUS/48000/mono/64000")},
                               {remote, QStringLiteral("item%1.demo").arg(i + 1)}};
            }
            it->insert(id, item);
        }
    }
    for (auto it = state->kinds.constBegin(); it != state->kinds.constEnd(); ++it)
        publish(fake, it.key(), it.value());

    FakeQuorix *unit = &fake;
    demo.addHandler([unit, state](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (!request.isRequest() || request.message.type != FakeMessage::Do)
            return std::nullopt;
        const QString type = request.value(kType);
        if (request.target() != kGeneral || !state->kinds.contains(type))
            return std::nullopt;
        StoredKind &kind = state->kinds[type];
        const QString action = request.action();
        const int id = request.value(kId).toInt();
        const bool known = request.has(kId) && kind.contains(id);
        const QString noItem = QStringLiteral("404-no such item");

        if (action == QLatin1String("create")) {
            if (request.value(kName).isEmpty())
                return QList<FakeReply>{answer(false, {}, QStringLiteral("400-name missing"))};
            StoredItem item{request.value(kName), {}};
            for (const auto &pair : request.message.params) {
                if (pair.first != QLatin1String("target") && pair.first != QLatin1String("action")
                    && pair.first != kType && pair.first != kName)
                    item.fields << pair;
            }
            const int newId = state->nextId++;
            kind.insert(newId, item);
            publish(*unit, type, kind);
            return QList<FakeReply>{answer(true, {{kId, QString::number(newId)}})};
        }
        if (!known)
            return QList<FakeReply>{answer(false, {}, noItem)};
        StoredItem &item = kind[id];
        if (action == QLatin1String("load")) {
            if (item.name.startsWith(QLatin1String("Locked")))
                return QList<FakeReply>{answer(false, {}, QStringLiteral("403-item locked"))};
            return QList<FakeReply>{answer(true)};
        }
        if (action == QLatin1String("update")) {
            if (request.has(kName) && !request.value(kName).isEmpty())
                item.name = request.value(kName);
            FakePairs fields;
            for (const auto &pair : request.message.params) {
                if (pair.first != QLatin1String("target") && pair.first != QLatin1String("action")
                    && pair.first != kType && pair.first != kName && pair.first != kId)
                    fields << pair;
            }
            if (!fields.isEmpty())
                item.fields = fields;
            publish(*unit, type, kind);
            return QList<FakeReply>{answer(true)};
        }
        if (action == QLatin1String("delete")) {
            kind.remove(id);
            publish(*unit, type, kind);
            return QList<FakeReply>{answer(true)};
        }
        if (action == QLatin1String("open"))
            return QList<FakeReply>{answer(true, FakePairs{{kName, item.name}} + item.fields)};
        return std::nullopt;
    });
}
