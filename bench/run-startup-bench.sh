#!/usr/bin/env bash
# Builds the win64 preset when needed and runs the start-up benchmark of
# ZorvPanel.exe against minwin.exe in one Wine desktop.
#   bench/run-startup-bench.sh [runs]     (default 10 of each)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/win64
cd "$root"
if [[ ! -f $build/build.ninja ]]; then
    cmake --preset win64
fi
cmake --build --preset win64 --target startup_bench minwin ZorvPanel Zorv
exec "$root/tests/e2e/wine-run.sh" "$build/bench/startup_bench.exe" "$@"
