// The Tools pages: GPIO inputs and relays, auto redial, the time server, the sound ID, and the
// two refusals a newcomer can try by hand: clearing the Administrator password and every
// other restart.

#include "demoarea.h"

#include <memory>

void installDemoTools(DemoUnit &demo)
{
    FakeQuorix &fake = demo.fake();
    const QString general = QStringLiteral("general");
    fake.setValue(QStringLiteral("ext_input1"), QStringLiteral("input_event_redial"), general);
    fake.setValue(QStringLiteral("ext_input2"), QStringLiteral("input_event_none"), general);
    fake.setValue(QStringLiteral("ext_relay1"), QStringLiteral("relay_state_onair"), general);
    fake.setValue(QStringLiteral("ext_relay2"), QStringLiteral("relay_state_none"), general);
    // What the GPIO keys may take; the stored value is the key's own, the list its choices.
    const QStringList inputEvents{QStringLiteral("input_event_none"),
                                  QStringLiteral("input_event_r1"),
                                  QStringLiteral("input_event_r2"),
                                  QStringLiteral("input_event_redial"),
                                  QStringLiteral("input_event_release"),
                                  QStringLiteral("input_event_redrel")};
    const QStringList relayStates{QStringLiteral("relay_state_none"),
                                  QStringLiteral("relay_state_r1"),
                                  QStringLiteral("relay_state_r2"),
                                  QStringLiteral("relay_state_line"),
                                  QStringLiteral("relay_state_sync"),
                                  QStringLiteral("relay_state_onair")};
    fake.setValue(QStringLiteral("ntp_addr"), QStringLiteral("pool.ntp.org"), general);
    fake.setValue(QStringLiteral("ntp_addr_custom"), QString(), general);

    const QString network = QStringLiteral("network");
    fake.setValue(QStringLiteral("auto_redial_link1"), QStringLiteral("on"), network);
    fake.setValue(QStringLiteral("auto_redial_link2"), QStringLiteral("off"), network);
    fake.setValue(QStringLiteral("auto_redial_attempts"), QStringLiteral("3"), network);
    fake.setValue(QStringLiteral("auto_redial_time"), QStringLiteral("10"), network);

    auto restarts = std::make_shared<int>(0);
    demo.addHandler([restarts, inputEvents, relayStates](
                        const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        const auto refusal = [](const QString &cause) {
            FakeMessage answer(FakeMessage::Do);
            answer.set(QStringLiteral("return"), QStringLiteral("ERROR"));
            answer.set(QStringLiteral("cause"), cause);
            return QList<FakeReply>{FakeReply::reply(answer)};
        };
        // The GPIO keys' LISTs give their choices (their GETs give the value).
        if (request.message.type == FakeMessage::Param
            && request.target() == QStringLiteral("general") && !request.lists().isEmpty()
            && request.lists().first().startsWith(QStringLiteral("ext_"))) {
            FakeMessage answer(FakeMessage::Param);
            for (const QString &list : request.lists()) {
                answer.set(list,
                           FakeMessage::joinList(list.startsWith(QStringLiteral("ext_input"))
                                                     ? inputEvents
                                                     : relayStates));
            }
            answer.set(QStringLiteral("return"), QStringLiteral("OK"));
            return QList<FakeReply>{FakeReply::reply(answer)};
        }
        // The sound ID file is on the unit.
        if (request.isCommand(QStringLiteral("open"))
            && request.value(QStringLiteral("name")) == QStringLiteral("/mnt/datax/sound_ID.wav")) {
            FakeMessage answer(FakeMessage::Do);
            answer.set(QStringLiteral("return"), QStringLiteral("OK"));
            return QList<FakeReply>{FakeReply::reply(answer)};
        }
        // The unit stays up: the first restart is refused, the next one answered, and so on.
        if (request.isCommand(QStringLiteral("reboot")) && (*restarts)++ % 2 == 0)
            return refusal(QStringLiteral("015-not allowed"));
        // The Administrator password may be changed but not removed.
        if (request.message.type == FakeMessage::Param && request.target() == QStringLiteral("db")
            && request.has(QStringLiteral("password_al"))
            && request.value(QStringLiteral("password_al")).isEmpty()
            && !request.gets().contains(QStringLiteral("password_al"))) {
            FakeMessage answer(FakeMessage::Param);
            answer.set(QStringLiteral("password_al"), QStringLiteral("015-not allowed"));
            answer.set(QStringLiteral("return"), QStringLiteral("ERROR"));
            return QList<FakeReply>{FakeReply::reply(answer)};
        }
        return std::nullopt;
    });
}
