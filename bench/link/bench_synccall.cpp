// A synchronous call through the protocol client to the fake unit on loopback, beside a bare
// QTcpSocket that writes the same request frame to the same fake and spins the event loop until
// the whole reply frame is back. The difference is what the client adds to a round trip.
#include "bench/benchqt.h"
#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/logtext.h"
#include "link/rpcmessage.h"
#include "tests/support/fakequorix.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>
#include <QtEndian>

#include <memory>

namespace {

constexpr int kHeaderSize = 24;

ksm::CMsg typicalRequest()
{
    ksm::CMsg request(ksm::CMsg::Param);
    request.setParam("target", "audio");
    request.addGet("input1_gain");
    request.addGet("input2_gain");
    return request;
}

// Runs the event loop the way the client's synchronous call does (sleeping until something
// happens) until done() holds or two seconds have passed.
template<typename Done>
bool spinUntil(Done done)
{
    QTimer guard;
    guard.setSingleShot(true);
    guard.start(2000);
    while (!done()) {
        if (!guard.isActive())
            return false;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents
                                        | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

struct Rig
{
    FakeQuorix fake;
    bool ok = false;

    Rig()
    {
        ok = fake.listen();
        fake.setValue(QStringLiteral("input1_gain"), QStringLiteral("12"), QStringLiteral("audio"));
        fake.setValue(QStringLiteral("input2_gain"), QStringLiteral("-6"), QStringLiteral("audio"));
    }
};

void BM_SyncCall(benchmark::State &state)
{
    Rig rig;
    ksm::CCom com;
    if (!rig.ok || !com.connect(QStringLiteral("127.0.0.1"), rig.fake.port(), 0)
        || !spinUntil([&] { return com.state() == RpcConnection::Connected; })) {
        state.SkipWithError("no connection to the fake unit");
        return;
    }
    const ksm::CMsg request = typicalRequest();
    ksm::CMsg reply;
    int n = 0;
    for (auto _ : state) {
        if (com.sendSyncMsg(request, reply, 1000, 5000) != 0) {
            state.SkipWithError("call failed");
            break;
        }
        if (++n % 1000 == 0)
            rig.fake.clearLog();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SyncCall)->Unit(benchmark::kMicrosecond);

void BM_RawPingPong(benchmark::State &state)
{
    Rig rig;
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), rig.fake.port());
    if (!rig.ok || !spinUntil([&] { return socket.state() == QAbstractSocket::ConnectedState; })) {
        state.SkipWithError("no connection to the fake unit");
        return;
    }

    QByteArray buffer;
    qint32 id = 0;
    int n = 0;
    for (auto _ : state) {
        // The same frame the client writes: a request with the next id.
        const QByteArray frame = RpcMessage::request(++id, typicalRequest()).encode();
        socket.write(frame);
        // Wait for one whole reply frame, reading its length from the header.
        const bool done = spinUntil([&] {
            buffer += socket.readAll();
            if (buffer.size() < kHeaderSize)
                return false;
            const auto length = qFromLittleEndian<quint32>(buffer.constData() + 8);
            if (quint32(buffer.size()) < length)
                return false;
            buffer.remove(0, qsizetype(length));
            return true;
        });
        if (!done) {
            state.SkipWithError("no reply");
            break;
        }
        if (++n % 1000 == 0)
            rig.fake.clearLog();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RawPingPong)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    // Debug lines go nowhere here, as in the program while no log file is open.
    setLogDebugWritten(false);
    return BenchQt::runBenchmarks<QCoreApplication>(argc, argv);
}
