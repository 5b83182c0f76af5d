#!/usr/bin/env bash
# Runs one test program under a layout of several monitors, for CTest (see
# add_wine_monitor_test in cmake/WineTests.cmake): a display server with
# those monitors (scripts/monitors.sh), a wineserver session of the given
# prefix on it, which must use Wine's X11 driver (scripts/run-tests.sh makes
# such a copy of each fresh prefix), then the program. The program finds the
# layout in VISTRANE_MONITORS; the session and the display server end on
# every way out, so the next layout starts from nothing.
#   monitor-test.sh <prefix> <program> [args...]
set -euo pipefail
scripts=$(cd "$(dirname "$0")" && pwd)
prefix=$1 program=$2
shift 2
export WINEPREFIX_OVERRIDE=$prefix
source "$scripts/wine-env.sh"
[ -f "$prefix/system.reg" ] ||
    { echo "monitor-test: no Wine prefix $prefix: scripts/run-tests.sh makes it" >&2; exit 1; }
wine_use "$prefix" "$(wine_prefix_arch "$prefix")"

display=
finish() {
    wine_stop
    [ -z "$display" ] || "$scripts/monitors.sh" stop "$display"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
# Word splitting on purpose: one rectangle per word.
# shellcheck disable=SC2086
display=$("$scripts/monitors.sh" start ${VISTRANE_MONITORS:?names no layout})
export DISPLAY=$display
wine_start
wine "$program" "$@"
