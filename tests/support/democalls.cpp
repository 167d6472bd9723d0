// Calls: a dialled call rings through "proceeding" to "active" and synchronised, then reports its
// link quality and statistics every second, on whichever link it runs; hanging up releases it.
// Events carry the call's id and network, as a unit's do. FAKE_QUORIX_CALL_DELAY (milliseconds,
// up to a minute) holds every step of a dialled call back by that long, so that the moment
// between the dial and "call proceeding" can be looked at.

#include "demoarea.h"

#include <QHash>
#include <QSet>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// How long a demo call takes to reach each state, in milliseconds after the dial.
constexpr int kProceedingMs = 300;
constexpr int kActiveMs = 1500;
constexpr int kSynchronisedMs = 1800;
constexpr int kReleasedMs = 300; // after the hang-up
constexpr int kReportMs = 1000;
constexpr int kMaxCallDelayMs = 60000;

const QString kId = QStringLiteral("id");
const QString kNetwork = QStringLiteral("network");
const QString kRemoteAddr = QStringLiteral("remote_addr");

struct CallState
{
    int nextId = 1;
    QSet<int> live;
    // Synchronised calls and their networks: they report their link quality.
    QHash<int, QString> reporting;
    // Seconds each reporting call has run since it was synchronised.
    QHash<int, int> seconds;
    int reports = 0;
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
    const int delay
        = std::clamp(qEnvironmentVariableIntValue("FAKE_QUORIX_CALL_DELAY"), 0, kMaxCallDelayMs);
    auto state = std::make_shared<CallState>();
    DemoUnit *unit = &demo;

    const QString network = QStringLiteral("network");
    demo.fake().setValue(QStringLiteral("auto_redial_link1"), QStringLiteral("off"), network);
    demo.fake().setValue(QStringLiteral("auto_redial_link2"), QStringLiteral("off"), network);

    // Events of a call that has ended meanwhile are not sent; the last one ends the call.
    const auto pushWhileLive
        = [unit, state](int ms, int id, const QString &type, const FakePairs &pairs, bool last) {
              QTimer::singleShot(ms, unit, [unit, state, id, type, pairs, last] {
                  if (!state->live.contains(id))
                      return;
                  if (last) {
                      state->live.remove(id);
                      state->reporting.remove(id);
                      state->seconds.remove(id);
                  }
                  if (unit->fake().clientCount() > 0)
                      (void)unit->fake().pushEvent(type, pairs);
              });
          };

    demo.addHandler([unit, state, pushWhileLive, delay](
                        const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (request.isCommand(QStringLiteral("con"))) {
            const int id = state->nextId++;
            state->live.insert(id);
            const FakePairs ids{{kId, QString::number(id)}, {kNetwork, request.network()}};
            const QString codec = QStringLiteral("OPUS/48000/stereo/64000");
            pushWhileLive(
                delay + kProceedingMs, id, QStringLiteral("0100-call proceeding"), ids, false);
            pushWhileLive(delay + kActiveMs,
                          id,
                          QStringLiteral("1000-call active"),
                          ids
                              + FakePairs{{QStringLiteral("codec_rx"), codec},
                                          {QStringLiteral("codec_tx"), codec},
                                          {kRemoteAddr, request.value(kRemoteAddr)}},
                          false);
            pushWhileLive(delay + kSynchronisedMs,
                          id,
                          QStringLiteral("dsp_status"),
                          ids + FakePairs{{QStringLiteral("state"), QStringLiteral("sync")}},
                          false);
            QTimer::singleShot(
                delay + kSynchronisedMs, unit, [state, id, network = request.network()] {
                    if (state->live.contains(id))
                        state->reporting.insert(id, network);
                });
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

    // Link quality between 70 and 100, moving slowly; the receive side a little below.
    auto *reports = new QTimer(&demo);
    reports->setInterval(kReportMs);
    QObject::connect(reports, &QTimer::timeout, &demo, [unit, state] {
        if (state->reporting.isEmpty() || unit->fake().clientCount() == 0)
            return;
        const int tick = ++state->reports;
        const int quality = 85 + int(15 * std::sin(tick / 5.0));
        for (auto it = state->reporting.cbegin(); it != state->reporting.cend(); ++it) {
            const FakePairs ids{{kId, QString::number(it.key())}, {kNetwork, it.value()}};
            const int seconds = ++state->seconds[it.key()];
            (void)unit->fake().pushEvent(QStringLiteral("tx-quality-report"),
                                         ids + demoQualityFigures(true, seconds, quality));
            (void)unit->fake().pushEvent(QStringLiteral("rx-quality-report"),
                                         ids + demoQualityFigures(false, seconds, quality - 3));
        }
    });
    reports->start();
}
