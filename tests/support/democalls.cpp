// Calls: a dialled call rings through "proceeding" to "active" and synchronised; hanging up
// releases it. Events carry the call's id and network, as a unit's do.

#include "demoarea.h"

#include <QSet>
#include <QTimer>

#include <memory>

namespace {

// How long a demo call takes to reach each state, in milliseconds after the dial.
constexpr int kProceedingMs = 300;
constexpr int kActiveMs = 1500;
constexpr int kSynchronisedMs = 1800;
constexpr int kReleasedMs = 300; // after the hang-up

const QString kId = QStringLiteral("id");
const QString kNetwork = QStringLiteral("network");
const QString kRemoteAddr = QStringLiteral("remote_addr");

struct CallState
{
    int nextId = 1;
    QSet<int> live;
};

FakeReply okWith(const FakePairs &pairs)
{
    FakeMessage answer(FakeMessage::Do, pairs);
    answer.set(QStringLiteral("return"), QStringLiteral("OK"));
    return FakeReply::reply(answer);
}

} // namespace

void installDemoCalls(DemoUnit &demo)
{
    auto state = std::make_shared<CallState>();
    DemoUnit *unit = &demo;

    // Events of a call that has ended meanwhile are not sent; the last one ends the call.
    const auto pushWhileLive
        = [unit, state](int ms, int id, const QString &type, const FakePairs &pairs, bool last) {
              QTimer::singleShot(ms, unit, [unit, state, id, type, pairs, last] {
                  if (!state->live.contains(id))
                      return;
                  if (last)
                      state->live.remove(id);
                  if (unit->fake().clientCount() > 0)
                      (void)unit->fake().pushEvent(type, pairs);
              });
          };

    demo.addHandler([state,
                     pushWhileLive](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (request.isCommand(QStringLiteral("con"))) {
            const int id = state->nextId++;
            state->live.insert(id);
            const FakePairs ids{{kId, QString::number(id)}, {kNetwork, request.network()}};
            const QString codec = QStringLiteral("OPUS/48000/stereo/64000");
            pushWhileLive(kProceedingMs, id, QStringLiteral("0100-call proceeding"), ids, false);
            pushWhileLive(kActiveMs,
                          id,
                          QStringLiteral("1000-call active"),
                          ids
                              + FakePairs{{QStringLiteral("codec_rx"), codec},
                                          {QStringLiteral("codec_tx"), codec},
                                          {kRemoteAddr, request.value(kRemoteAddr)}},
                          false);
            pushWhileLive(kSynchronisedMs,
                          id,
                          QStringLiteral("dsp_status"),
                          ids + FakePairs{{QStringLiteral("state"), QStringLiteral("sync")}},
                          false);
            return QList<FakeReply>{okWith({{kId, QString::number(id)}})};
        }
        if (request.isCommand(QStringLiteral("dcon"))) {
            const int id = request.value(kId).toInt();
            if (!state->live.contains(id))
                return std::nullopt;
            const FakePairs released{{kId, QString::number(id)},
                                     {kNetwork, request.network()},
                                     {QStringLiteral("cause"), QStringLiteral("normal clearing")}};
            // The release goes out after the reply, as a unit's does.
            pushWhileLive(kReleasedMs, id, QStringLiteral("1900-call released"), released, true);
            return QList<FakeReply>{okWith({})};
        }
        return std::nullopt;
    });
}
