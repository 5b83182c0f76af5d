#!/usr/bin/env bash
# Builds the parsers' fuzzers natively (this folder's CMake project, with
# Debian's clang and libFuzzer) and runs them, one after the other.
#   fuzz.sh run    each fuzzer for FUZZ_SECONDS (default 180), from the seeds
#                  and a working corpus kept in $BUILD_DIR/fuzz/corpus
#   fuzz.sh check  each fuzzer over its seeds and then briefly, FUZZ_SECONDS
#                  (default 25) each, from an empty working corpus: the
#                  regression run make test makes
# Prints each fuzzer's executions, edges covered and findings. A finding stops
# its fuzzer, is kept in $BUILD_DIR/fuzz/findings and fails the script; once
# fixed, it belongs among the seeds.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mode=${1:-run}
case $mode in
run) seconds=${FUZZ_SECONDS:-180} ;;
check) seconds=${FUZZ_SECONDS:-25} ;;
*) echo "usage: fuzz.sh run | check" >&2; exit 2 ;;
esac
build=$(realpath -m "${BUILD_DIR:-$here/../../build}")/fuzz

"$here/../../scripts/install-deps.sh" fuzz
cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE= >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null

# fuzz <name> <longest input> <dictionary>: one fuzzer's run and its figures.
fuzz() {
    local name=$1 max_len=$2 dict=$3 corpus log findings
    findings=$build/findings/$name
    log=$build/$name.log
    if [ "$mode" = run ]; then
        corpus=$build/corpus/$name
    else
        corpus=$build/check-corpus/$name
        rm -rf "$corpus"
    fi
    rm -rf "$findings"
    mkdir -p "$corpus" "$findings"
    local status=0
    # A hang of 10 s on one input is a finding too; the dictionary names the
    # markers, chunks, blocks and tags the fuzzer's parsers look for.
    "$build/${name}_fuzzer" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
        -dict="$here/$dict" -artifact_prefix="$findings/" -print_final_stats=1 \
        "$corpus" "$here/corpus/$name" >"$log" 2>&1 || status=$?
    local runs cov found
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    found=$(find "$findings" -type f | wc -l)
    echo "fuzz: $name: ${runs:-?} executions in $seconds s, ${cov:-?} edges covered, $found findings"
    if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then
        grep -E 'ERROR|SUMMARY|Test unit written|deadly signal' "$log" >&2 || true
        echo "fuzz: $name failed; its log is $log" >&2
        return 1
    fi
}

failed=0
fuzz jpeg_layout 8192 jpeg.dict || failed=1
fuzz exif_orientation 2048 jpeg.dict || failed=1
fuzz picture_header 4096 picture.dict || failed=1
exit $failed
