#!/usr/bin/env bash
# The logon run, played a few times: Wine's own rundll32.exe calls AfterLogon
# in the built Vistrane.cpl against a folder of sample pictures, and after each
# run the demo prints the chosen picture, the desktop values and the history.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
export WINEPREFIX=$BUILD_DIR/demo/wineprefix
source "$(dirname "$0")/wine-registry.sh"

settings='HKCU\Software\Calderane\Vistrane'
desktop='HKCU\Control Panel\Desktop'
applet=$BUILD_DIR/dist/Vistrane.cpl
pictures=$BUILD_DIR/demo/pictures

echo "== Making a Wine prefix for the demo in $WINEPREFIX"
wine_fresh_prefix
trap wine_stop EXIT
rm -rf "$pictures"
"$VISTRANE_ROOT/scripts/make-sample-pictures.sh" "$pictures"
picture_folder=$(wine_path "$pictures")
applet_path=$(wine_path "$applet")
echo "   pictures: $picture_folder ($(ls "$pictures" | tr '\n' ' '))"

reg_set_sz "$settings" ImageDir "$picture_folder"

logon() {
    wine rundll32.exe "$applet_path",AfterLogon
    local wallpaper
    wallpaper=$(reg_get "$desktop" Wallpaper)
    printf '   logon %d: %-10s Wallpaper=%s TileWallpaper=%s  history %s, %s, %s\n' \
        "$1" "$(basename "${wallpaper//\\//}")" "$wallpaper" "$(reg_get "$desktop" TileWallpaper)" \
        "$(reg_get "$settings" LastImageShown)" "$(reg_get "$settings" LastImageShown-1)" \
        "$(reg_get "$settings" LastImageShown-2)"
}

echo "== In turn (DoRandomSearch 0): each logon takes the next picture"
reg_set_dword "$settings" DoRandomSearch 0
for run in 1 2 3 4 5; do logon "$run"; done

echo "== At random (DoRandomSearch 1): never one of the last three"
reg_set_dword "$settings" DoRandomSearch 1
reg_set_dword "$settings" DoTile 1
for run in 6 7 8 9 10; do logon "$run"; done

echo "== The settings key after the runs"
wine reg query "$settings" | tr -d '\r' | sed -n 's/^    /   /p'

if command -v Xvfb >/dev/null 2>&1; then
    echo "== Screenshots"
    "$VISTRANE_ROOT/scripts/screenshots.sh"
fi
