#!/usr/bin/env bash
# One bounded fuzz pass: fuzzpass.sh <fuzz program> <seconds>. Runs the target over a copy of
# its seed corpus (tests/fuzz/corpus/<name without fuzz_>) and prints its report in one piece,
# so passes running side by side do not interleave their output.
set -euo pipefail

f=$1
seconds=$2
name=$(basename "$f")
corpus=tests/fuzz/corpus/${name#fuzz_}
work=$(mktemp -d)
mkdir "$work/corpus"
if [ -d "$corpus" ]; then
    cp -r "$corpus"/. "$work/corpus"/
fi
# A finding keeps its input and the whole report; a clean pass shows its summary only.
if ! "$f" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -artifact_prefix="$work/" "$work/corpus" >"$work/log" 2>&1; then
    { echo "-- $name"; tail -n 80 "$work/log"
      echo "$name failed; the input that tripped it is in $work"; } >&2
    exit 1
fi
{ echo "-- $name"; tail -n 3 "$work/log"; }
rm -rf "$work"
