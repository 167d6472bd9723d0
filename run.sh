#!/usr/bin/env bash
# Builds Tallydesk (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j "$(nproc)"

program="$build/shell/tallydesk"
if [ ! -x "$program" ]; then
    echo "Built the libraries and tests; the tallydesk program itself is not part of this build yet."
    exit 0
fi
exec "$program" "$@"
