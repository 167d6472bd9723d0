// Level meters: the front-panel window, connected to the fake unit on loopback and showing the
// main page offscreen, receives level datagrams at 50 Hz on its datagram port for one second per
// iteration, from a sender thread. The CPU time the GUI thread spends in that second is the
// meters' share of a core; the same meters painted once, measured in the same run, is the
// baseline of the ratio.
#include "bench/benchqt.h"
#include "frontpanel/qvantelwindow.h"
#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/logtext.h"
#include "link/rpcmessage.h"
#include "link/sharedobjects.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelbars.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QUdpSocket>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kRateHz = 50;
constexpr int kPeriodMs = 1000 / kRateHz;

qint64 threadCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

using BenchQt::spinUntil;

void spinFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    (void)spinUntil([&] { return clock.elapsed() >= ms; }, ms + 1000);
}

// A second's worth of level reports, moving like programme audio so that every meter changes.
std::vector<QByteArray> levelDatagrams()
{
    std::vector<QByteArray> out;
    for (int i = 0; i < kRateHz; ++i) {
        auto level = [i](int phase) {
            return std::to_string(int(15 + 14 * std::sin((i * 7 + phase * 13) * 0.21)));
        };
        ksm::CMsg body(ksm::CMsg::Event);
        body.setParam("event_type", "audio_levels");
        const char *keys[] = {"txL", "txR", "rxL", "rxR", "ou1", "ou2"};
        for (int k = 0; k < 6; ++k)
            body.setParam(keys[k], level(k));
        for (int input = 1; input <= 11; ++input)
            body.setParam("in" + std::to_string(input), level(6 + input));
        out.push_back(RpcMessage::signal(body).encode());
    }
    return out;
}

// Sends one second of datagrams to 127.0.0.1:port at their due times, apart from the GUI thread.
void sendSecond(const std::vector<QByteArray> &datagrams, quint16 port)
{
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0)
        return;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const auto start = std::chrono::steady_clock::now();
    for (size_t i = 0; i < datagrams.size(); ++i) {
        std::this_thread::sleep_until(start + std::chrono::milliseconds(kPeriodMs) * i);
        (void)sendto(fd,
                     datagrams[i].constData(),
                     size_t(datagrams[i].size()),
                     0,
                     reinterpret_cast<const sockaddr *>(&to),
                     sizeof to);
    }
    close(fd);
}

struct Rig
{
    FakeQuorix fake;
    std::unique_ptr<QVantelWindow> window;
    quint16 port = 0;
    QList<QVantelBars *> meters;

    bool start()
    {
        if (!fake.listen())
            return false;
        {
            QUdpSocket probe;
            if (!probe.bind(QHostAddress::LocalHost, 0))
                return false;
            port = probe.localPort();
        }
        window = std::make_unique<QVantelWindow>();
        // The keep-alive and set-up stay out of the measured seconds.
        window->setTiming({100, 3600000, 3600000});
        window->show();
        if (!comClient()->connect(QStringLiteral("127.0.0.1"), fake.port(), port)
            || !spinUntil([] { return comClient()->state() == RpcConnection::Connected; }))
            return false;
        window->pageActivated(QVantel::MainPage);
        if (window->shownPage() != QVantel::MainPage)
            return false;
        spinFor(300);
        for (QVantelBars *bars : window->findChildren<QVantelBars *>()) {
            if (bars->isVisible())
                meters.append(bars);
        }
        return !meters.isEmpty();
    }

    ~Rig()
    {
        window.reset();
        destroySharedObjects();
    }
};

// The visible meters repainted once, together, the way one display frame paints them: marked
// dirty, then painted into the window's backing store and flushed in one pass.
double paintOnceNs(const Rig &rig)
{
    std::vector<qint64> samples;
    for (int i = 0; i < 41; ++i) {
        const qint64 start = threadCpuNs();
        for (QVantelBars *bars : rig.meters)
            bars->update();
        QCoreApplication::sendPostedEvents(rig.window.get(), QEvent::UpdateRequest);
        samples.push_back(threadCpuNs() - start);
    }
    std::nth_element(samples.begin(), samples.begin() + 20, samples.end());
    return double(samples[20]);
}

void BM_LevelsAt50Hz(benchmark::State &state)
{
    Rig rig;
    if (!rig.start()) {
        state.SkipWithError("no window connected to the fake unit");
        return;
    }
    const std::vector<QByteArray> datagrams = levelDatagrams();
    const double baselineNs = paintOnceNs(rig);

    qint64 cpuNs = 0;
    qint64 wallNs = 0;
    qint64 sent = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const qint64 cpuStart = threadCpuNs();
        std::thread sender(sendSecond, std::cref(datagrams), rig.port);
        QEventLoop loop;
        QTimer::singleShot(1000, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
        cpuNs += threadCpuNs() - cpuStart;
        wallNs += clock.nsecsElapsed();
        sender.join();
        sent += kRateHz;
    }
    if (sent == 0)
        return;
    const double perDatagramNs = double(cpuNs) / double(sent);
    state.counters["cpu_share_pct"] = 100.0 * double(cpuNs) / double(wallNs);
    state.counters["us_per_datagram"] = perDatagramNs / 1000.0;
    state.counters["us_paint_once"] = baselineNs / 1000.0;
    state.counters["ratio"] = perDatagramNs / baselineNs;
}
BENCHMARK(BM_LevelsAt50Hz)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    setLogDebugWritten(false);
    return BenchQt::runBenchmarks<QApplication>(argc, argv);
}
