// Memory for one reply of 16 MiB dense with keys (the largest frame the link takes, made of
// short keys with empty values), received through the protocol client's synchronous call. A
// child process serves the reply on loopback, so that only the receiving side counts. The figure
// is how far the process's peak resident memory rises during the call, against the reply's size,
// once with the debug lines formatted as the program formats them for its log file (argument 1)
// and once without (argument 0).

#include "bench/benchqt.h"
#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/logtext.h"
#include "link/rpcframe.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>

#include <arpa/inet.h>
#include <malloc.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

constexpr quint32 kFrameSize = RpcFrame::kMaxFrameSize;

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM"); -1 when it cannot be read.
qint64 statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Sets the peak resident size back to the present one.
bool resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

bool writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written <= 0)
            return false;
        data += written;
        size -= size_t(written);
    }
    return true;
}

bool readAll(int fd, char *data, size_t size)
{
    while (size > 0) {
        const ssize_t got = ::read(fd, data, size);
        if (got <= 0)
            return false;
        data += got;
        size -= size_t(got);
    }
    return true;
}

// The child: answers the first request on the accepted connection with the dense reply, then
// waits for the parent to hang up.
[[noreturn]] void serve(int listener)
{
    const int fd = ::accept(listener, nullptr, nullptr);
    char header[RpcFrame::kHeaderSize];
    if (fd < 0 || !readAll(fd, header, sizeof header))
        _exit(1);
    std::string body(RpcFrame::length(header) - RpcFrame::kHeaderSize, '\0');
    if (!readAll(fd, body.data(), body.size()))
        _exit(1);

    std::string frame(RpcFrame::kHeaderSize, '\0');
    frame.reserve(kFrameSize);
    frame += "PARAM;return:OK;";
    char pair[16];
    for (unsigned key = 0; frame.size() + 20 < kFrameSize; ++key) {
        std::snprintf(pair, sizeof pair, "k%07x:;", key);
        frame += pair;
    }
    frame += "last:";
    frame.append(kFrameSize - frame.size() - 1, 'x');
    frame += ';';
    RpcFrame::writeHeader(frame.data(), kFrameSize, RpcFrame::id(header), 2, 0);
    writeAll(fd, frame.data(), frame.size());
    char rest[256];
    while (::read(fd, rest, sizeof rest) > 0) {
    }
    _exit(0);
}

void BM_DenseReply(benchmark::State &state)
{
    setLogDebugWritten(state.range(0) != 0);
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr *>(&address), length) != 0
        || ::listen(listener, 1) != 0
        || ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        state.SkipWithError("no loopback listener");
        return;
    }
    const pid_t child = ::fork();
    if (child == 0)
        serve(listener);
    ::close(listener);

    int result = 0;
    size_t keys = 0;
    qint64 beforeKiB = 0;
    qint64 peakKiB = 0;
    for (auto _ : state) {
        ksm::CCom com;
        if (!com.connect(QStringLiteral("127.0.0.1"), ntohs(address.sin_port), 0)
            || !BenchQt::spinUntil([&] { return com.state() == RpcConnection::Connected; })) {
            state.SkipWithError("no connection to the serving child");
            break;
        }
        ksm::CMsg request(ksm::CMsg::Param);
        request.setParam("target", "audio");
        request.addGet("input1_gain");
        ksm::CMsg reply;
        // What an earlier run freed goes back to the system first, so that it is not reused
        // unseen.
        malloc_trim(0);
        beforeKiB = statusKiB("VmRSS");
        if (!resetPeak()) {
            state.SkipWithError("cannot reset the peak resident size");
            break;
        }
        result = com.sendSyncMsg(request, reply, 30000, 30000);
        keys = reply.params().size();
        peakKiB = statusKiB("VmHWM");
        com.disconnect();
    }
    ::waitpid(child, nullptr, 0);
    const double peakMiB = double(peakKiB - beforeKiB) / 1024.0;
    state.counters["result"] = result;
    state.counters["keys"] = double(keys);
    state.counters["peak_MiB"] = peakMiB;
    state.counters["peak_x_reply"] = peakMiB * 1024.0 * 1024.0 / double(kFrameSize);
}
BENCHMARK(BM_DenseReply)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return BenchQt::runBenchmarks<QCoreApplication>(argc, argv);
}
