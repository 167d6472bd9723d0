// Frame reassembly from a stream of typical frames (about 300-byte bodies) fed in chunks the
// size of what a socket read returns, beside a plain copy of the same bytes in the same chunks.
#include "link/rpcframe.h"
#include "link/rpcframeparser.h"

#include <benchmark/benchmark.h>

#include <QByteArray>

#include <cstring>
#include <vector>

namespace {

constexpr int kFrames = 2000;

QByteArray typicalStream()
{
    QByteArray stream;
    for (int i = 0; i < kFrames; ++i) {
        QByteArray body("EVENT;event_type:audio_levels;");
        while (body.size() < 290 + i % 20)
            body
                += "in" + QByteArray::number(body.size()) + ":-" + QByteArray::number(i % 60) + ";";
        char header[RpcFrame::kHeaderSize];
        RpcFrame::writeHeader(header, RpcFrame::kHeaderSize + quint32(body.size()), i, 4, 0);
        stream.append(header, int(sizeof header));
        stream.append(body);
    }
    return stream;
}

class CountingOwner : public RpcFrameParser::Owner
{
public:
    void parserReady(const char *frame, quint32 size) override
    {
        ++frames;
        bytes += size;
        benchmark::DoNotOptimize(frame[size - 1]);
    }
    void parserFailed() override { ++failures; }

    qint64 frames = 0;
    qint64 bytes = 0;
    int failures = 0;
};

void BM_ParseStream(benchmark::State &state)
{
    const QByteArray stream = typicalStream();
    const qsizetype chunk = qsizetype(state.range(0));
    CountingOwner owner;
    RpcFrameParser parser(&owner);
    for (auto _ : state) {
        for (qsizetype at = 0; at < stream.size(); at += chunk)
            parser.feed(stream.constData() + at, std::min(chunk, stream.size() - at));
    }
    if (owner.failures != 0 || owner.frames != qint64(state.iterations()) * kFrames)
        state.SkipWithError("frames lost");
    state.SetBytesProcessed(qint64(state.iterations()) * stream.size());
}

void BM_MemcpyStream(benchmark::State &state)
{
    const QByteArray stream = typicalStream();
    const qsizetype chunk = qsizetype(state.range(0));
    std::vector<char> target(static_cast<size_t>(chunk));
    for (auto _ : state) {
        for (qsizetype at = 0; at < stream.size(); at += chunk) {
            const qsizetype n = std::min(chunk, stream.size() - at);
            std::memcpy(target.data(), stream.constData() + at, size_t(n));
            benchmark::DoNotOptimize(target.data());
            benchmark::ClobberMemory();
        }
    }
    state.SetBytesProcessed(qint64(state.iterations()) * stream.size());
}

} // namespace

BENCHMARK(BM_ParseStream)->Arg(64)->Arg(1460)->Arg(4096)->Arg(65536);
BENCHMARK(BM_MemcpyStream)->Arg(64)->Arg(1460)->Arg(4096)->Arg(65536);

BENCHMARK_MAIN();
