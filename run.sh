#!/usr/bin/env bash
# Builds Tallydesk (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j "$(nproc)"

exec "$build/shell/tallydesk" "$@"
