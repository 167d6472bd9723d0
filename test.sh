#!/usr/bin/env bash
# Builds Tallydesk with sanitizers and -Werror, runs every test, the benchmarks once
# briefly, and a short bounded pass of each fuzz target over its seed corpus.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

build=build/test
jobs=$(nproc)

cmake -S . -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DTALLYDESK_SANITIZE=ON -DTALLYDESK_WERROR=ON -DTALLYDESK_FUZZ=ON
cmake --build "$build" -j "$jobs"
# Formatting drift fails here, in the change that brings it, rather than in a later sweep.
cmake --build "$build" --target format-check

# Benchmarks report figures only, so they are built optimised, apart from the sanitizer build.
bench=build/bench
cmake -S . -B "$bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALLYDESK_BENCH=ON >/dev/null
cmake --build "$bench" -j "$jobs" --target benchmarks

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0

# The tests spend most of their time waiting on sockets and timers, so twice as many run as
# there are cores. A fresh build has no timings of its own, so it starts from the checked-in
# ones: the longest tests start first instead of holding up the end of the run. To refresh them,
# copy that file from a build after a run, keeping the tests of a second or more.
if [ ! -f "$build/Testing/Temporary/CTestCostData.txt" ]; then
    mkdir -p "$build/Testing/Temporary"
    cp tests/ctestcosts.txt "$build/Testing/Temporary/CTestCostData.txt"
fi
(cd "$build" && ctest --output-on-failure --timeout 180 -j "$((jobs * 2))")

echo "== Benchmarks (one brief run each; figures only)"
for b in $(find "$bench/bench" -type f -executable -name 'bench_*' | sort); do
    "$b" --benchmark_min_time=0.05
done

# Each pass is bounded in time and keeps one core busy, so as many run at once as there are
# cores.
echo "== Fuzzing (bounded pass per target, $jobs at a time)"
find "$build/tests/fuzz" -maxdepth 1 -type f -executable -name 'fuzz_*' | sort |
    xargs -P "$jobs" -I{} ./scripts/fuzzpass.sh {} "${FUZZ_SECONDS:-10}"
echo "All tests, benchmarks and fuzz passes finished."
