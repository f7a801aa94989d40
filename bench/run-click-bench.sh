#!/usr/bin/env bash
# Builds the win64 preset when needed and runs the click benchmark of
# ZorvPanel.exe (the launcher's own work per click) in one Wine desktop.
#   bench/run-click-bench.sh [clicks]   (default 60)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/win64
cd "$root"
if [[ ! -f $build/build.ninja ]]; then
    cmake --preset win64
fi
cmake --build --preset win64 --target click_bench ZorvPanel
exec "$root/tests/e2e/wine-run.sh" "$build/bench/click_bench.exe" "$@"
