#!/usr/bin/env bash
# Builds Tallydesk (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
# The program and the fake unit (to try the program without hardware); the tests are built by test.sh.
cmake --build "$build" -j "$(nproc)" --target tallydesk fake-quorix

exec "$build/shell/tallydesk" "$@"
