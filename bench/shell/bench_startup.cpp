// Start-up: the whole program from exec to its first frame offscreen, beside a bare Qt program
// with one 800 x 480 window started the same way, and beside that window showing one line of
// text (what any program that shows text pays at least). Each is ended right after its first
// frame by a preloaded library, and they run in turn so that the machine's load falls on all alike.
// The product runs from a copy in a temporary directory, where it keeps its configuration and
// logs (the first, unmeasured, run writes the configuration).
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char **environ;

namespace {

namespace fs = std::filesystem;

// Runs program to its first frame; the wall time in nanoseconds, -1 when it failed.
double runToFirstFrame(const std::string &program)
{
    std::vector<std::string> env;
    for (char **e = environ; *e; ++e) {
        const std::string entry(*e);
        if (entry.rfind("QT_QPA_PLATFORM=", 0) != 0 && entry.rfind("LD_PRELOAD=", 0) != 0)
            env.push_back(entry);
    }
    env.emplace_back("QT_QPA_PLATFORM=offscreen");
    env.emplace_back("LD_PRELOAD=" TALLYDESK_FIRSTFRAME);
    std::vector<char *> envp;
    for (std::string &entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string name = program;
    char *argv[] = {name.data(), nullptr};

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()) != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return double(std::chrono::duration_cast<std::chrono::nanoseconds>(
                      std::chrono::steady_clock::now() - start)
                      .count());
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void BM_StartupToFirstFrame(benchmark::State &state)
{
    std::error_code error;
    const fs::path dir
        = fs::temp_directory_path() / ("tallydesk-startup-" + std::to_string(getpid()));
    fs::create_directories(dir, error);
    const fs::path product = dir / "tallydesk";
    fs::copy_file(TALLYDESK_PROGRAM, product, fs::copy_options::overwrite_existing, error);
    if (error || runToFirstFrame(product) < 0 || runToFirstFrame(TALLYDESK_BAREWINDOW) < 0
        || runToFirstFrame(TALLYDESK_TEXTWINDOW) < 0) {
        state.SkipWithError("the programs do not start");
        fs::remove_all(dir, error);
        return;
    }

    std::vector<double> products;
    std::vector<double> bares;
    std::vector<double> texts;
    for (auto _ : state) {
        const double bare = runToFirstFrame(TALLYDESK_BAREWINDOW);
        const double text = runToFirstFrame(TALLYDESK_TEXTWINDOW);
        const double ours = runToFirstFrame(product);
        if (bare < 0 || text < 0 || ours < 0) {
            state.SkipWithError("a run failed");
            break;
        }
        bares.push_back(bare);
        texts.push_back(text);
        products.push_back(ours);
    }
    fs::remove_all(dir, error);
    if (products.empty())
        return;
    state.counters["ms_program"] = median(products) / 1e6;
    state.counters["ms_bare_window"] = median(bares) / 1e6;
    state.counters["ms_text_window"] = median(texts) / 1e6;
    state.counters["ratio"] = median(products) / median(bares);
    state.counters["text_window_ratio"] = median(texts) / median(bares);
}
BENCHMARK(BM_StartupToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
