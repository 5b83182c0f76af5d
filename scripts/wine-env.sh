# Sourced by the scripts that run Windows programs: a private Wine prefix
# inside the build folder (never the user's own; 32-bit unless the script
# picks another with wine_use), no debug chatter, and no offer to install
# Mono or Gecko.
#   BUILD_DIR   the build folder (default: build beside the sources)

VISTRANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Absolute: make passes a relative one, and Wine refuses a relative prefix.
BUILD_DIR=$(realpath -m "${BUILD_DIR:-$VISTRANE_ROOT/build}")
# A host whose kernel runs no 32-bit code cannot start Wine at all: the
# script that sourced this then runs whole inside a small emulated machine.
if [ -z "${VISTRANE_IN_VM:-}" ] && "$VISTRANE_ROOT/scripts/wine-vm.sh" needed; then
    export BUILD_DIR
    exec "$VISTRANE_ROOT/scripts/wine-vm.sh" run "$0" "$@"
fi
export WINEPREFIX=${WINEPREFIX_OVERRIDE:-$BUILD_DIR/wineprefix}
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# wine_use <prefix> <win32|win64>: the prefix the following Wine calls use,
# and its kind: win64 is a 64-bit Windows where our 32-bit programs run
# under WoW64, as on every current PC.
wine_use() {
    export WINEPREFIX=$1 WINEARCH=$2
}

# Makes the prefix afresh and starts the wineserver that serves it until
# wine_stop; tests then start in the same clean state on every run.
wine_fresh_prefix() {
    wine_stop
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wine_prefix_in_memory
    # On a slow machine (an emulated one, or two prefixes made at once) a
    # first start can outlast the five minutes Wine waits for it, while the
    # prefix's setup goes on: then wait for that to end and try it once more.
    if ! wineboot --init >/dev/null 2>&1; then
        wineserver -w >/dev/null 2>&1 || true
        wineboot >/dev/null 2>&1 || { echo "wineboot failed for $WINEPREFIX" >&2; return 1; }
    fi
    # Wine's own fonts (MS Sans Serif, Tahoma, Marlett for the caption
    # buttons) are not found where Debian installs them; the Fonts folder is
    # where every Windows program looks. They have no Chinese or Japanese
    # characters; Windows in those languages has a font with them, which the
    # dialogs' font (MS Shell Dlg) maps to there: here WenQuanYi Micro Hei.
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    cp /usr/share/fonts/truetype/wqy/wqy-microhei.ttc "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # Headless: dialogs and the desktop run on Wine's null display driver
    # unless a caller asks for X11 (screenshots under Xvfb). The desktop
    # takes its driver when it is made, so the server that made one while
    # this was set is ended before the tests start.
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "${VISTRANE_WINE_GRAPHICS:-null}" /f >/dev/null
    # On X11, an optional desktop of Wine's own (VISTRANE_WINE_DESKTOP=800x600):
    # Wine then draws every frame and caption and paints the wallpaper itself,
    # so screenshots show what a Windows desktop would.
    if [ -n "${VISTRANE_WINE_DESKTOP:-}" ]; then
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$VISTRANE_WINE_DESKTOP" /f >/dev/null
    fi
    wine_stop
    wine_start
}

# Starts the wineserver for an existing prefix, making the prefix if needed,
# and keeps it until wine_stop. The prefix's services and its desktop start
# here, detached from the caller's output: started by a test instead, they
# would hold its output open and its runner would wait for them.
wine_start() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wine_fresh_prefix
        return
    fi
    wineserver -p >/dev/null 2>&1
    wine reg query 'HKCU\Software\Wine\Drivers' >/dev/null 2>&1 </dev/null
}

# Inside the emulated machine the prefix lives in the machine's memory and
# the usual path is a link to it: the thousands of small files a prefix holds
# would take minutes to write through the shared folder.
wine_prefix_in_memory() {
    [ -n "${VISTRANE_IN_VM:-}" ] || return 0
    local memory=/tmp/wineprefixes$WINEPREFIX
    rm -rf "$memory" "$WINEPREFIX"
    mkdir -p "$memory"
    ln -s "$memory" "$WINEPREFIX"
}

# The kind of an existing prefix (win32 or win64), as Wine recorded it when
# it made the prefix: Wine refuses a prefix of the other kind.
wine_prefix_arch() {
    sed -n '/^#arch=/{s///p;q}' "$1/system.reg"
}

# wine_copy_prefix <path>: a copy of the current prefix, a few seconds where
# making one takes minutes. Its wineserver is stopped meanwhile, so that the
# registry files are whole on disk, and started again after. In the emulated
# machine the copy lives on the machine's own disk: beside the prefix in its
# memory, it would not fit there.
wine_copy_prefix() {
    local copy=$1
    wine_stop
    rm -rf "$copy"
    if [ -n "${VISTRANE_IN_VM:-}" ]; then
        local place=/var/tmp/wineprefixes$copy
        rm -rf "$place"
        mkdir -p "$place" "$(dirname "$copy")"
        ln -s "$place" "$copy"
    else
        mkdir -p "$copy"
    fi
    cp -a "$WINEPREFIX/." "$copy/"
    wine_start
}

wine_stop() {
    if [ -d "$WINEPREFIX" ]; then
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
    fi
}

# A Unix path as Wine's programs see it (drive Z: is the root).
wine_path() {
    winepath -w "$1" 2>/dev/null
}

# The scripts' helper programs, built with the tests.
WINE_TOOLS=$BUILD_DIR/tests/tools
# Wine's Control Panel by its window class: its caption is in the user's
# language.
WINE_CONTROL_PANEL=Shell_Control_WndClass

# wine_window <caption or class> [close]: true when a window with that
# caption or class is up; with "close", also asks it to close.
wine_window() {
    wine "$WINE_TOOLS/find_window.exe" "$@" >/dev/null 2>&1
}

# Waits until a window with that caption is up (up to 30 seconds).
wine_wait_for_window() {
    for _ in $(seq 100); do
        wine_window "$1" && return 0
        sleep 0.3
    done
    echo "no window \"$1\" appeared" >&2
    return 1
}
