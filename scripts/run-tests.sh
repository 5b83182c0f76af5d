#!/usr/bin/env bash
# Runs the tests under Wine, each in both kinds of prefix: a 32-bit one and a
# 64-bit one where the programs run under WoW64. Every prefix a selected test
# uses is made afresh for this run, with its wineserver kept alive from the
# first test to the last. The two prefixes are independent, so their tests
# run side by side (VISTRANE_TEST_JOBS, default 2); CTest's options follow.
# The tests under several monitors (label "monitors") each run in a copy of
# their kind's fresh prefix, on Wine's X11 driver, with a display server and
# a wineserver of their own (scripts/monitor-test.sh).
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"

# Prefix kind as CTest names it, Wine's name for it, and where it lives; the
# paths are those cmake/WineTests.cmake gives the tests.
prefixes=("win32 win32 $BUILD_DIR/wineprefix" "wow64 win64 $BUILD_DIR/wineprefix64")
selected=$(ctest --test-dir "$BUILD_DIR" -N "$@")
monitor_tests=$(ctest --test-dir "$BUILD_DIR" -N -L monitors "$@")
used=()
for prefix in "${prefixes[@]}"; do
    read -r kind _ _ <<<"$prefix"
    grep -q " $kind/" <<<"$selected" && used+=("$prefix")
done

# fresh_prefixes <kind> <arch> <path>: the kind's prefix and, when a selected
# test runs under several monitors, its copy for those.
fresh_prefixes() {
    local kind=$1 arch=$2 path=$3
    wine_use "$path" "$arch"
    wine_fresh_prefix
    grep -q " $kind/" <<<"$monitor_tests" || return 0
    wine_copy_prefix "$path-monitors"
    wine_use "$path-monitors" "$arch"
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f >/dev/null
    wine_stop
}

stop_all() {
    local prefix kind arch path server
    for prefix in "${used[@]}"; do
        read -r kind arch path <<<"$prefix"
        wine_use "$path" "$arch"
        wine_stop
        if [ -f "$path-monitors/system.reg" ]; then
            wine_use "$path-monitors" "$arch"
            wine_stop
        fi
    done
    # Display servers a test left behind when it was ended by force (its
    # time-out).
    for server in "$BUILD_DIR"/monitors/display-*; do
        [ -d "$server" ] && "$(dirname "$0")/monitors.sh" stop ":${server##*-}" 2>/dev/null || true
    done
}
trap stop_all EXIT

# Made side by side: a prefix takes minutes, mostly in one process.
pids=()
for prefix in "${used[@]}"; do
    read -r kind arch path <<<"$prefix"
    fresh_prefixes "$kind" "$arch" "$path" &
    pids+=($!)
done
for pid in "${pids[@]}"; do
    wait "$pid"
done

ctest --test-dir "$BUILD_DIR" --output-on-failure --timeout 900 -j "${VISTRANE_TEST_JOBS:-2}" "$@"
