#!/usr/bin/env bash
# Vistrane as a user meets it, in a private 64-bit Wine prefix as on every
# current PC: the real setup program installs it silently, three logons run
# the command it registered, and the uninstallation is carried out by a
# restart. Where Xvfb is available the demo runs on a Wine desktop of its own
# and saves screenshots of each wallpaper and the settings dialog in
# build/demo/.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
source "$(dirname "$0")/wine-registry.sh"
source "$(dirname "$0")/xvfb.sh"
out=$BUILD_DIR/demo
wine_use "$out/wineprefix" win64
setup=$BUILD_DIR/dist/Vistrane-2.1.0-setup.exe
run_command=$WINE_TOOLS/run_command.exe
show_desktop=$WINE_TOOLS/show_desktop.exe
settings='HKCU\Software\Calderane\Vistrane'
desktop='HKCU\Control Panel\Desktop'
# The setup program registers the logon run for the machine, in the 64-bit
# view the system's logon reads; the applet's own values are in the 32-bit
# view, where a 32-bit program writes them, and only the 32-bit Control
# Panel can load a 32-bit applet.
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
run_view=/reg:64
applet_view=/reg:32
control='C:\windows\syswow64\control.exe'
cpls_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Control Panel\Cpls'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vistrane'
# As large as today's common screens: the sample pictures are drawn for them.
desktop_size=1920x1080
seen=()

mkdir -p "$out"
rm -f "$out"/*.png
screens=no
if command -v Xvfb >/dev/null 2>&1 && xvfb_start "$desktop_size"; then
    screens=yes
    export VISTRANE_WINE_GRAPHICS=x11 VISTRANE_WINE_DESKTOP=$desktop_size
fi
trap 'wine_stop; xvfb_stop' EXIT

echo "== A fresh Wine prefix in $WINEPREFIX"
wine_fresh_prefix
# The style a new Windows 10 or 11 profile has, Fill: the converter makes each
# larger picture the desktop's size, so every screenshot shows all of it.
wine reg add "$desktop" /v WallpaperStyle /d 10 /f >/dev/null

snapshot() {
    [ "$screens" = yes ] || return 0
    sleep "${2:-1}"
    shoot "$out/$1" "$desktop_size+0+0"
    seen+=("$1")
    echo "   screenshot: $out/$1"
}

files() {
    find "$WINEPREFIX/drive_c/Program Files" "$WINEPREFIX/drive_c/Program Files (x86)" \
        \( -path '*Vistrane*' -o -path '*Calderane*' \) -type f 2>/dev/null |
        sed "s|$WINEPREFIX/drive_c|   C:|" | sort
}

echo "== Installing silently: $(basename "$setup") /S"
wine "$(wine_path "$setup")" /S
files
logon_command=$(reg_get "$run_key" Vistrane $run_view)
echo "   logon run:     $logon_command"
echo "   Control Panel: $(reg_get "$cpls_key" Vistrane $applet_view)"
echo "   Add/Remove:    $(reg_get "$uninstall_key" DisplayName $applet_view)" \
     "$(reg_get "$uninstall_key" DisplayVersion $applet_view), by $(reg_get "$uninstall_key" Publisher $applet_view)"

echo "== Three logons, each running the registered command"
for logon in 1 2 3; do
    wine "$run_command" "$logon_command"
    wallpaper=$(reg_get "$desktop" Wallpaper)
    history="$(reg_get "$settings" LastImageShown), $(reg_get "$settings" LastImageShown-1)"
    history="$history, $(reg_get "$settings" LastImageShown-2)"
    chosen=$(LC_ALL=C ls "$WINEPREFIX/drive_c/Program Files/Vistrane" | sed -n "$(( $(reg_get "$settings" LastImageShown) + 1 ))p")
    echo "   logon $logon: chose $chosen; Wallpaper=$wallpaper TileWallpaper=$(reg_get "$desktop" TileWallpaper);" \
         "history $history"
    if [ "$screens" = yes ]; then
        # Wine's desktop reads the wallpaper when it starts, not when another
        # process sets it: the session is ended and the desktop brought up
        # again, as at the next logon.
        # A 64-bit prefix brings its desktop up more slowly than a 32-bit one.
        wine_stop
        wine_start
        wine "$show_desktop" 12 >/dev/null 2>&1 &
        snapshot "logon-$logon.png" 8
        wait $!
    fi
done

echo "== The settings dialog, opened from Wine's Control Panel"
wine "$control" >/dev/null 2>&1 &
panel=$!
wine_wait_for_window "$WINE_CONTROL_PANEL"
wine "$control" "$(reg_get "$cpls_key" Vistrane $applet_view)" >/dev/null 2>&1 &
applet=$!
wine_wait_for_window "Vistrane 2.1"
snapshot settings-dialog.png 1
wine_window "Vistrane 2.1" close || true
wait "$applet"
wine_window "$WINE_CONTROL_PANEL" close || true
wait "$panel" || true

echo "== Uninstalling silently"
wine "$run_command" "$(reg_get "$uninstall_key" QuietUninstallString $applet_view)"
# A silent uninstallation shows nothing and asks nothing; the copy of itself
# that NSIS runs goes on for a moment after the command returns, and has
# ended once its own uninstaller is gone.
for _ in $(seq 100); do
    [ -e "$WINEPREFIX/drive_c/Program Files (x86)/Calderane/Vistrane/uninstall.exe" ] || break
    sleep 0.3
done
echo "   left until the restart:"
files
echo "   logon run: '$(reg_get "$run_key" Vistrane $run_view)'" \
     " Control Panel: '$(reg_get "$cpls_key" Vistrane $applet_view)'" \
     " Add/Remove: '$(reg_get "$uninstall_key" DisplayName $applet_view)'"

echo "== Restarting the prefix: wineboot --restart"
wine wineboot.exe --restart
left=$(files)
echo "   files left: ${left:-none}"
echo "   the user's settings stay: ImageDir=$(reg_get "$settings" ImageDir)"

echo "== Summary"
echo "   installed by the setup program, three logons changed the wallpaper, and the"
echo "   uninstallation removed everything at the restart but the user's settings."
if [ "$screens" = yes ]; then
    echo "   screenshots in $out: ${seen[*]}"
else
    echo "   (no Xvfb here: no screenshots)"
fi

if [ "$screens" = yes ]; then
    wine_stop
    xvfb_stop
    echo "== The applet's own screenshots (make screenshots)"
    "$VISTRANE_ROOT/scripts/screenshots.sh"
fi
