# Sourced by the scripts that run Windows programs: a private 32-bit Wine
# prefix inside the build folder (never the user's own), no debug chatter,
# and no offer to install Mono or Gecko.
#   BUILD_DIR   the build folder (default: build beside the sources)

VISTRANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$VISTRANE_ROOT/build}
# Wine takes only an absolute prefix path, and make passes the build folder
# as given, relative to the folder make runs in.
case $BUILD_DIR in /*) ;; *) BUILD_DIR=$PWD/$BUILD_DIR ;; esac
export WINEPREFIX=${WINEPREFIX_OVERRIDE:-$BUILD_DIR/wineprefix}
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# Makes the prefix afresh and starts the wineserver that serves it until
# wine_stop; tests then start in the same clean state on every run.
wine_fresh_prefix() {
    wine_stop
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot --init >/dev/null 2>&1 || { echo "wineboot failed for $WINEPREFIX" >&2; return 1; }
    # The server that booted the prefix goes away by itself; the one started
    # after it stays until wine_stop.
    wineserver -w
    wineserver -p
    # Headless: dialogs and the desktop run on Wine's null display driver
    # unless a caller asks for X11 (screenshots under Xvfb).
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "${VISTRANE_WINE_GRAPHICS:-null}" /f >/dev/null
}

# Starts the wineserver for an existing prefix, making the prefix if needed.
wine_start() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wine_fresh_prefix
    else
        wineserver -p
    fi
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
