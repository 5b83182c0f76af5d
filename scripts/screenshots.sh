#!/usr/bin/env bash
# Pictures of the applet as a user sees it, taken on a private X server with
# Wine's X11 driver and a Wine desktop: the settings dialog, and the Control
# Panel listing Vistrane. Saved in build/screenshots/. They show the user
# interface language Wine takes from the locale, named in the files but for
# English: LANG=ja_JP.UTF-8 make screenshots saves settings-dialog-ja_JP.png.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
source "$(dirname "$0")/xvfb.sh"
out=$BUILD_DIR/screenshots
export WINEPREFIX=$out/wineprefix
desktop=800x600
locale=${LC_ALL:-${LC_MESSAGES:-${LANG:-C}}}
locale=${locale%%.*}
case $locale in
C | POSIX | en_*) suffix= ;;
*) suffix=-$locale ;;
esac

mkdir -p "$out"
xvfb_start 1024x768
trap 'wine_stop; xvfb_stop' EXIT
VISTRANE_WINE_GRAPHICS=x11 VISTRANE_WINE_DESKTOP=$desktop wine_fresh_prefix

applet=$(wine_path "$BUILD_DIR/dist/Vistrane.cpl")
# Where the Control Panel looks for applets outside the system folder.
wine reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Control Panel\Cpls' /v Vistrane /d "$applet" /f >/dev/null

echo "== Settings dialog"
wine control.exe "$applet" >/dev/null 2>&1 &
host=$!
wine_wait_for_window "Vistrane 2.1"
sleep 1
# The dialog sits at the desktop's top left corner; trimming the desktop's
# plain background leaves just the dialog.
shoot "$out/settings-dialog$suffix.png" "$desktop+0+0"
convert "$out/settings-dialog$suffix.png" -gravity SouthEast -background none -trim +repage "$out/settings-dialog$suffix.png"
wine_window "Vistrane 2.1" close || true
wait "$host"

echo "== Control Panel"
wine control.exe >/dev/null 2>&1 &
host=$!
wine_wait_for_window "$WINE_CONTROL_PANEL"
sleep 2
shoot "$out/control-panel$suffix.png" "$desktop+0+0"
wine_window "$WINE_CONTROL_PANEL" close || true
wait "$host"

ls -l "$out"/*.png
