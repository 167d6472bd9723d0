// The event log and remote assistance: the unit logs at level "Normal" to no syslog server and
// offers the full remote-access service (remote_access_3), switched off. Reset actions are
// accepted (and show in the request log like every request).
//
// The failure paths can be tried by hand through three environment variables, each a comma list
// of keys: the unit leaves the keys of FAKE_QUORIX_MISS out of its answers, fails every read
// or list that asks for a key of FAKE_QUORIX_FAIL_READ (an error reply instead of values; writes
// still go through), and fails the reads of a key of FAKE_QUORIX_FAIL_READBACK once that key has
// been written (so that a page reads it, the write goes through and the read-back fails; for
// example FAKE_QUORIX_FAIL_READBACK=remote_access_pwd).

#include "demoarea.h"

#include <QSet>
#include <QStringList>

#include <memory>

namespace {

QStringList keysFromEnvironment(const char *name)
{
    return QString::fromLocal8Bit(qgetenv(name)).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

} // namespace

FakeReplyFilter leaveOutKeys(const QStringList &keys)
{
    return [keys](const FakeRequest &request, QList<FakeReply> &replies) {
        if (request.message.type != FakeMessage::Param || request.gets().isEmpty())
            return;
        for (FakeReply &reply : replies) {
            for (const QString &key : keys)
                reply.body.remove(key);
        }
    };
}

FakeReplyHook missKeys(FakeQuorix &fake, const QStringList &keys)
{
    const FakeReplyFilter leaveOut = leaveOutKeys(keys);
    return [&fake, leaveOut](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (request.message.type != FakeMessage::Param || request.gets().isEmpty())
            return std::nullopt;
        QList<FakeReply> replies = fake.defaultReplies(request);
        leaveOut(request, replies);
        return replies;
    };
}

FakeReplyHook failReadOf(const QStringList &keys)
{
    return [keys](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        for (const QString &key : keys) {
            if (request.isGetOf(key) || request.isListOf(key))
                return QList<FakeReply>{FakeReply::errorReply(3)};
        }
        return std::nullopt;
    };
}

FakeReplyHook failReadBackOf(const QStringList &keys)
{
    auto written = std::make_shared<QSet<QString>>();
    return [keys, written](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (request.message.type != FakeMessage::Param)
            return std::nullopt;
        if (request.gets().isEmpty()) {
            for (const QString &key : keys) {
                if (request.isSetOf(key))
                    written->insert(key);
            }
            return std::nullopt;
        }
        for (const QString &key : std::as_const(*written)) {
            if (request.isGetOf(key))
                return QList<FakeReply>{FakeReply::errorReply(3)};
        }
        return std::nullopt;
    };
}

void installDemoTroubleshooting(DemoUnit &demo)
{
    FakeQuorix &fake = demo.fake();
    const QString general = QStringLiteral("general");
    QStringList options
        = FakeMessage::splitList(fake.value(QStringLiteral("device_opts"), general));
    if (!options.contains(QStringLiteral("remote_access_3")))
        options << QStringLiteral("remote_access_3");
    fake.setList(QStringLiteral("device_opts"), options, general);

    const std::pair<const char *, const char *> settings[] = {
        {"log_level", "6"},
        {"log_addr", ""},
        {"remote_access", "off"},
        {"remote_access_network", "auto"},
        {"remote_access_server", "ra.demo.invalid"},
        {"remote_access_pwd", "demo"},
        {"serialno", "QX-000123"},
        {"codec_id", "QX123DEMO"},
    };
    for (const auto &[key, value] : settings)
        fake.setValue(QLatin1String(key), QLatin1String(value), general);

    // Missing keys are taken out of whatever answers the read, so that the areas' own answers
    // and the other switches still come; a failing read fails before anything else can answer
    // it.
    const QStringList missing = keysFromEnvironment("FAKE_QUORIX_MISS");
    if (!missing.isEmpty())
        demo.addFilter(leaveOutKeys(missing));
    const QStringList failing = keysFromEnvironment("FAKE_QUORIX_FAIL_READ");
    if (!failing.isEmpty())
        demo.addFirstHandler(failReadOf(failing));
    const QStringList readBack = keysFromEnvironment("FAKE_QUORIX_FAIL_READBACK");
    if (!readBack.isEmpty())
        demo.addHandler(failReadBackOf(readBack));
}
