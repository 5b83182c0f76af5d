#!/usr/bin/env bash
# Checks that the build is reproducible: builds the shipped files a second
# time from a copy of this working tree without its git history, in a folder
# of another name with a space in its path, later and in another time zone,
# and compares each with the project's own build byte for byte.
#   check-reproducible.sh      BUILD_DIR: the project's build (default build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=$(realpath -m "${BUILD_DIR:-build}")
work=$root/build-reproducible
copy="$work/Vistrane second copy"
rm -rf "$work"
mkdir -p "$copy"

# Unsigned on both sides: a signature holds the time it was made.
unset VISTRANE_SIGN_CERT VISTRANE_SIGN_PASSWORD_FILE VISTRANE_TIMESTAMP_URL
log=$work/build.log
failed() {
    tail -n 30 "$log" >&2
    echo "check-reproducible: $1 (whole log: $log)" >&2
    exit 1
}
echo "== The project's own build, in $build"
make build BUILD_DIR="$build" >"$log" 2>&1 || failed "the project's build failed"

echo "== A second build, in $copy"
# The tracked files as they stand in the working tree, so that changes not
# yet committed are compared too; a file deleted but not yet committed is
# left out.
git ls-files -z | while IFS= read -r -d '' file; do
    [ -e "$file" ] && printf '%s\0' "$file"
done | tar --null -T - -cf - | tar -xf - -C "$copy"
# Without git history, the copy takes the commit's time from the variable.
(
    export SOURCE_DATE_EPOCH
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
    export TZ=CHAST-13:45
    make -C "$copy" build BUILD_DIR=build
) >"$log" 2>&1 || failed "the second build failed"

echo "== Comparing the shipped files and the setup helper packed in the setup program"
different=0
compare() {
    local first=$1 second=$2
    if cmp -s "$first" "$second"; then
        echo "   same:      $(sha256sum "$first" | cut -c1-64)  $(basename "$first")"
    else
        echo "   DIFFERENT: $(basename "$first") ($first, $second)"
        different=1
    fi
}
shipped=0
for file in "$build"/dist/*; do
    compare "$file" "$copy/build/dist/$(basename "$file")"
    shipped=$((shipped + 1))
done
compare "$build/installer/CancelRemoval.exe" "$copy/build/installer/CancelRemoval.exe"
[ "$shipped" -ge 3 ] || { echo "check-reproducible: only $shipped shipped files in $build/dist" >&2; exit 1; }
if [ "$different" -ne 0 ]; then
    echo "check-reproducible: the two builds differ; both are kept for a look" >&2
    exit 1
fi
rm -rf "$work"
echo "Reproducible: both builds made the same files."
