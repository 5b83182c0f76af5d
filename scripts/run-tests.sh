#!/usr/bin/env bash
# Runs every test under Wine in a prefix made afresh for this run, with one
# wineserver kept alive from the first test to the last.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"

wine_fresh_prefix
trap wine_stop EXIT
ctest --test-dir "$BUILD_DIR" --output-on-failure --timeout 900 "$@"
