#!/usr/bin/env bash
# Runs the benchmarks under Wine in a prefix of their own and prints their
# figures. Benchmarks measure; they pass or fail nothing.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
export WINEPREFIX=$BUILD_DIR/bench/wineprefix

wine_fresh_prefix
trap wine_stop EXIT

echo "== Wallpaper run"
wine "$BUILD_DIR/tests/bench/cycle_bench.exe"

echo "== Picture converter"
"$VISTRANE_ROOT/scripts/converter-bench.sh"
