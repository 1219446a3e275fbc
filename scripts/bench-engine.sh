#!/bin/bash
# The engine's benchmarks, from the top of the checkout:
#
#   bash scripts/bench-engine.sh [icons] [rounds]
#
# Natively (Google Benchmark): restore of 1000 and 5000 stored entries against
# as many in-memory icons, SaveLayoutFile and LoadLayoutFile of 1000 and 5000
# entries.  Under Wine: capture and restore of the test desktop (1000 icons by
# default) beside their floor, the same messages and memory transfers in a
# plain loop, with the ratio.
set -euo pipefail
cd "$(dirname "$0")/.."
icons=${1:-1000}
rounds=${2:-5}

cmake --preset linux >/dev/null
cmake --build build/linux -j2 --target engine_bench
build/linux/bin/engine_bench

cmake --preset windows >/dev/null
cmake --build build/windows -j2 --target engine_shell_view_bench test_desktop
scripts/wine-run.sh --prefix "$PWD/build/windows/wineprefix" \
  "$PWD/build/windows/bin/engine_shell_view_bench.exe" "$icons" "$rounds"
