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

# Benchmarks report figures only, so they are built optimised, apart from the sanitizer build.
bench=build/bench
cmake -S . -B "$bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALLYDESK_BENCH=ON >/dev/null
cmake --build "$bench" -j "$jobs" --target benchmarks

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0

(cd "$build" && ctest --output-on-failure --timeout 180 -j "$jobs")

echo "== Benchmarks (one brief run each; figures only)"
for b in $(find "$bench/bench" -type f -executable -name 'bench_*' | sort); do
    "$b" --benchmark_min_time=0.05
done

echo "== Fuzzing (bounded pass per target)"
for f in $(find "$build/tests/fuzz" -maxdepth 1 -type f -executable -name 'fuzz_*' | sort); do
    name=$(basename "$f")
    corpus=tests/fuzz/corpus/${name#fuzz_}
    work=$(mktemp -d)
    mkdir "$work/corpus"
    if [ -d "$corpus" ]; then
        cp -r "$corpus"/. "$work/corpus"/
    fi
    echo "-- $name"
    # A finding keeps its input and the whole report; a clean pass shows its summary only.
    if ! "$f" -max_total_time="${FUZZ_SECONDS:-10}" -rss_limit_mb=2048 -timeout=10 \
        -artifact_prefix="$work/" "$work/corpus" >"$work/log" 2>&1; then
        tail -n 80 "$work/log"
        echo "$name failed; the input that tripped it is in $work"
        exit 1
    fi
    tail -n 3 "$work/log"
    rm -rf "$work"
done
echo "All tests, benchmarks and fuzz passes finished."
