// Reading and writing the device message text: a typical reply of 20 parameters, as the
// controllers receive when they read a set of keys.

#include "link/cmsg.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string typicalText()
{
    ksm::CMsg message(ksm::CMsg::Param);
    message.setParam("return", "OK");
    message.setParam("target", "audio");
    message.setParam("codec", "MPA2/48000/stereo/256000/0");
    message.setParam("remote_addr", "sip:studio@192.168.1.20");
    message.setParam("name", "Studio 3; main");
    message.setParam("path", "C:\\profiles\\default");
    for (int i = 1; i <= 14; ++i)
        message.setParam("input" + std::to_string(i) + "_gain", std::to_string(i * 3 - 20));
    std::string text;
    if (message.serialize(text) != 0)
        text.clear();
    return text;
}

void BM_ParseMessage(benchmark::State &state)
{
    const std::string text = typicalText();
    ksm::CMsg message;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ksm::CMsg::parse(text, message));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseMessage);

void BM_SerializeMessage(benchmark::State &state)
{
    ksm::CMsg message;
    (void)ksm::CMsg::parse(typicalText(), message);
    std::string out;
    for (auto _ : state) {
        benchmark::DoNotOptimize(message.serialize(out));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SerializeMessage);

void BM_ParseAndSerializeMessage(benchmark::State &state)
{
    const std::string text = typicalText();
    ksm::CMsg message;
    std::string out;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ksm::CMsg::parse(text, message));
        benchmark::DoNotOptimize(message.serialize(out));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseAndSerializeMessage);

} // namespace

BENCHMARK_MAIN();
