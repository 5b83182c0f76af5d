#!/usr/bin/env bash
# Runs the tests under Wine, each in both kinds of prefix: a 32-bit one and a
# 64-bit one where the programs run under WoW64. Every prefix a selected test
# uses is made afresh for this run, with its wineserver kept alive from the
# first test to the last. The two prefixes are independent, so their tests
# run side by side (VISTRANE_TEST_JOBS, default 2); CTest's options follow.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"

# Prefix kind as CTest names it, Wine's name for it, and where it lives; the
# paths are those cmake/WineTests.cmake gives the tests.
prefixes=("win32 win32 $BUILD_DIR/wineprefix" "wow64 win64 $BUILD_DIR/wineprefix64")
selected=$(ctest --test-dir "$BUILD_DIR" -N "$@")
used=()
for prefix in "${prefixes[@]}"; do
    read -r kind _ _ <<<"$prefix"
    grep -q " $kind/" <<<"$selected" && used+=("$prefix")
done

stop_all() {
    local prefix kind arch path
    for prefix in "${used[@]}"; do
        read -r kind arch path <<<"$prefix"
        wine_use "$path" "$arch"
        wine_stop
    done
}
trap stop_all EXIT

# Made side by side: a prefix takes minutes, mostly in one process.
pids=()
for prefix in "${used[@]}"; do
    read -r kind arch path <<<"$prefix"
    (wine_use "$path" "$arch" && wine_fresh_prefix) &
    pids+=($!)
done
for pid in "${pids[@]}"; do
    wait "$pid"
done

ctest --test-dir "$BUILD_DIR" --output-on-failure --timeout 900 -j "${VISTRANE_TEST_JOBS:-2}" "$@"
