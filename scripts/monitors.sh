#!/usr/bin/env bash
# A display server with several monitors, for the tests that run under a
# layout of them. Wine's null driver has one monitor; this is an X server
# with Debian's dummy video driver, whose RandR outputs (DUMMY0 to DUMMY15)
# Wine's X11 driver lists as monitors, each with its own current mode, as a
# Windows PC with several screens reports them.
#   monitors.sh start WxH+X+Y...   starts one whose monitors are those
#                                  rectangles in Windows' coordinates, the
#                                  primary first, at +0+0 ("1920x1080+0+0
#                                  1024x768-1024+312": one left of it);
#                                  prints the value for DISPLAY
#   monitors.sh stop DISPLAY       stops a server this script started
#
# Before it answers, start checks that Wine reports exactly those monitors,
# with a current mode of each one's size, in the Wine prefix named by
# WINEPREFIX_OVERRIDE (default: build/wineprefix-monitors, made when
# missing), which must use Wine's X11 driver. Wine reads the monitors once
# per wineserver session, so start ends that prefix's wineserver before the
# check and after it: the caller's next session sees the new layout. So one
# prefix serves one start, and one layout's session, at a time.
set -euo pipefail
scripts=$(cd "$(dirname "$0")" && pwd)

if [ -z "${VISTRANE_IN_VM:-}" ] && "$scripts/wine-vm.sh" needed; then
    # The server has to outlive this call, and the emulated machine ends
    # with the command it runs.
    echo "monitors: this host runs Wine inside an emulated machine; use monitors.sh inside it (as the tests do)" >&2
    exit 1
fi
source "$scripts/wine-env.sh"

trap 'exit 130' INT
trap 'exit 143' TERM

fail() {
    echo "monitors: $*" >&2
    exit 1
}

# Xorg itself, not its wrapper, which would want a console to run on.
XORG=/usr/lib/xorg/Xorg
SERVERS=$BUILD_DIR/monitors
# Outputs of the dummy driver.
MAX_MONITORS=16

# parse RECT...: fills widths, heights, lefts and tops, in Windows'
# coordinates.
parse() {
    widths=() heights=() lefts=() tops=()
    [ $# -ge 1 ] || fail "no monitor given"
    [ $# -le $MAX_MONITORS ] || fail "at most $MAX_MONITORS monitors"
    local rect
    for rect in "$@"; do
        [[ $rect =~ ^([1-9][0-9]{0,4})x([1-9][0-9]{0,4})([+-][0-9]{1,5})([+-][0-9]{1,5})$ ]] ||
            fail "not a monitor: \"$rect\" (WxH+X+Y, such as 1920x1080+0+0 or 1024x768-1024+312)"
        widths+=("${BASH_REMATCH[1]}")
        heights+=("${BASH_REMATCH[2]}")
        lefts+=($((10#${BASH_REMATCH[3]#[+-]} * ${BASH_REMATCH[3]%%[0-9]*}1)))
        tops+=($((10#${BASH_REMATCH[4]#[+-]} * ${BASH_REMATCH[4]%%[0-9]*}1)))
    done
    [ "${lefts[0]}" -eq 0 ] && [ "${tops[0]}" -eq 0 ] || fail "the first monitor, the primary, must be at +0+0: $1"
}

# A mode line for a monitor of that size. The dummy driver shows nothing, so
# only the sizes count; the blanking is small and the clock gives 60 Hz.
modeline() {
    local width=$1 height=$2
    local htotal=$((width + 160)) vtotal=$((height + 30))
    local khz=$((htotal * vtotal * 60 / 1000))
    printf '%d.%03d %d %d %d %d %d %d %d %d -hsync +vsync' $((khz / 1000)) $((khz % 1000)) \
        "$width" $((width + 48)) $((width + 80)) "$htotal" "$height" $((height + 3)) $((height + 8)) "$vtotal"
}

# The server's configuration: a screen that holds the box around every
# monitor, and the video memory that takes.
write_config() {
    local width=$1 height=$2
    cat <<EOF
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoEnableDevices" "false"
    Option "DontVTSwitch" "true"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam $(((width * height * 4 + 1023) / 1024 + 4096))
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0-1000.0
    VertRefresh 5.0-200.0
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual $width $height
    EndSubSection
EndSection
EOF
}

# The X server's process for a display (":N"), as start recorded it, when it
# still runs with a configuration of this script; nothing for any other.
server_pid() {
    local number=${1#:} pid command
    [[ $number =~ ^[0-9]+$ ]] || return 0
    pid=$(cat "$SERVERS/display-$number/pid" 2>/dev/null) || return 0
    [[ $pid =~ ^[0-9]+$ ]] || return 0
    command=$(tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline") || return 0
    [[ $command == "$XORG "*" -config $SERVERS/"* ]] && echo "$pid"
    return 0
}

# The server start is setting up, stopped on a way out before it answers.
starting_pid=
starting_folder=
abandon() {
    [ -z "$starting_pid" ] || kill "$starting_pid" 2>/dev/null || true
    [ -z "$starting_folder" ] || rm -rf "$starting_folder"
}

stop() {
    local display=$1 pid gone
    pid=$(server_pid "$display")
    [ -n "$pid" ] || fail "no display server of this script runs on \"$display\""
    # Its folder goes out of the way first: once the server has ended, a
    # start may take its display number, and that folder's name, at once.
    gone=$(mktemp -d "$SERVERS/stopping.XXXXXX")
    mv "$SERVERS/display-${display#:}" "$gone/"
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "the display server on $display (process $pid) did not stop"
    rm -rf "$gone"
}

start() {
    parse "$@"
    [ -x "$XORG" ] || fail "no $XORG: install xserver-xorg-core and xserver-xorg-video-dummy (scripts/install-deps.sh)"
    command -v xrandr >/dev/null || fail "no xrandr: install x11-xserver-utils (scripts/install-deps.sh)"
    local tools=$BUILD_DIR/tests/tools
    [ -f "$tools/list_monitors.exe" ] || fail "no $tools/list_monitors.exe: build the tests first (make build)"

    # X has no negative coordinates: the layout moves so that its box starts
    # at 0,0. Wine moves it back by the primary's place.
    local count=$# i min_left=0 min_top=0 max_right=0 max_bottom=0
    for ((i = 0; i < count; i++)); do
        ((lefts[i] < min_left)) && min_left=${lefts[i]}
        ((tops[i] < min_top)) && min_top=${tops[i]}
        ((lefts[i] + widths[i] > max_right)) && max_right=$((lefts[i] + widths[i]))
        ((tops[i] + heights[i] > max_bottom)) && max_bottom=$((tops[i] + heights[i]))
    done
    local box_width=$((max_right - min_left)) box_height=$((max_bottom - min_top))
    ((box_width <= 32767 && box_height <= 32767)) || fail "the layout is larger than X's 32767 x 32767"

    mkdir -p "$SERVERS"
    local folder
    folder=$(mktemp -d "$SERVERS/starting.XXXXXX")
    # Until start answers, any way out stops the server again.
    starting_folder=$folder
    trap abandon EXIT
    : >"$folder/display"
    write_config "$box_width" "$box_height" >"$folder/xorg.conf"
    # The server picks a free display itself and writes its number to fd 3;
    # -noreset keeps its outputs' modes when the last client leaves. Started
    # by root, Xorg would take a virtual console of its own and switch the
    # screen to it; -sharevts keeps it on the one in front, untouched.
    "$XORG" -displayfd 3 -config "$folder/xorg.conf" -logfile "$folder/Xorg.log" \
        -noreset -nolisten tcp -novtswitch -keeptty -sharevts 3>"$folder/display" >"$folder/output" 2>&1 &
    local pid=$! number=
    starting_pid=$pid
    for _ in $(seq 300); do
        # Written in one piece, with a newline after it.
        number=$(sed -n '1{/^[0-9][0-9]*$/p}' "$folder/display")
        [ -n "$number" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ -z "$number" ]; then
        tail -n 20 "$folder/output" >&2
        fail "the display server did not start (its messages are above)"
    fi
    local display=:$number
    echo "$pid" >"$folder/pid"
    # A folder of that number is one whose server has ended without stop.
    rm -rf "$SERVERS/display-$number"
    mv "$folder" "$SERVERS/display-$number"
    folder=$SERVERS/display-$number
    starting_folder=$folder

    local xrandr=(xrandr --display "$display") placement=() mode output
    declare -A made=()
    for ((i = 0; i < count; i++)); do
        mode=vistrane-${widths[i]}x${heights[i]}
        output=DUMMY$i
        if [ -z "${made[$mode]:-}" ]; then
            # shellcheck disable=SC2046
            "${xrandr[@]}" --newmode "$mode" $(modeline "${widths[i]}" "${heights[i]}") ||
                fail "xrandr refused the mode $mode"
            made[$mode]=1
        fi
        "${xrandr[@]}" --addmode "$output" "$mode" || fail "xrandr refused the mode $mode on $output"
        placement+=(--output "$output" --mode "$mode" --pos "$((lefts[i] - min_left))x$((tops[i] - min_top))")
        ((i == 0)) && placement+=(--primary)
    done
    "${xrandr[@]}" --fb "${box_width}x${box_height}" "${placement[@]}" ||
        fail "xrandr could not place the monitors: ${placement[*]}"
    # The dummy driver calls an output connected once it shows a mode, but
    # the server learns that only when it next probes its outputs. Wine asks
    # for the current outputs, which probes nothing, and leaves out those
    # still marked disconnected: one query that probes settles them all.
    "${xrandr[@]}" --query >/dev/null || fail "xrandr could not query $display"

    check "$display" "$@"
    trap - EXIT
    echo "$display"
}

# check DISPLAY RECT...: Wine, in a session of its own on that display,
# reports exactly those monitors.
check() {
    local display=$1
    shift
    local prefix=${WINEPREFIX_OVERRIDE:-$BUILD_DIR/wineprefix-monitors}
    if [ ! -f "$prefix/system.reg" ]; then
        echo "monitors: making the Wine prefix $prefix, on the X11 driver" >&2
        (wine_use "$prefix" win32 && DISPLAY=$display VISTRANE_WINE_GRAPHICS=x11 wine_fresh_prefix && wine_stop) >&2
    fi
    wine_use "$prefix" "$(wine_prefix_arch "$prefix")"
    grep -q '^"Graphics"="x11"' "$prefix/user.reg" ||
        fail "the Wine prefix $prefix does not use Wine's X11 driver (HKCU\\Software\\Wine\\Drivers, Graphics)"
    wine_stop
    local shown status=0
    shown=$(DISPLAY=$display wine "$BUILD_DIR/tests/tools/list_monitors.exe" "$@" 2>&1 </dev/null) || status=$?
    wine_stop
    [ "$status" -eq 0 ] || fail "asked for $*; Wine on $display reports (rectangle, current mode):
$shown
and X reports:
$(xrandr --display "$display" --listmonitors 2>&1)"
}

case "${1:-}" in
start) shift; start "$@" ;;
stop) [ $# -eq 2 ] || fail "usage: monitors.sh stop DISPLAY"; stop "$2" ;;
*) echo "usage: monitors.sh start WxH+X+Y... | stop DISPLAY" >&2; exit 2 ;;
esac
