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

# The converter bench's 24-megapixel photo, 5K PNG and 4K TIFF, one on each
# monitor.
echo "== A picture on each of three 3840 x 2160 monitors, with Fill, one run"
screens=$BUILD_DIR/bench/screens
rm -rf "$screens" && mkdir -p "$screens"
cp "$BUILD_DIR"/bench/converter/{photo-24mp.jpg,wallpaper-5k-rgba.png,picture-4k-lzw.tif} "$screens/"
wine "$BUILD_DIR/tests/bench/cycle_bench.exe" --screens "$(wine_path "$screens")"
