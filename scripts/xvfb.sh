# Sourced: a private X server for screenshots.

# Starts Xvfb on a free display and exports DISPLAY; xvfb_stop ends it.
xvfb_start() {
    local display
    for display in $(seq 90 120); do
        [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] && continue
        Xvfb ":$display" -screen 0 "${1:-1024x768}x24" -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        export DISPLAY=":$display"
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$display" ] && return 0
            sleep 0.1
        done
        kill "$XVFB_PID" 2>/dev/null
    done
    echo "xvfb: no display could be started" >&2
    return 1
}

xvfb_stop() {
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}

# shoot <png> [geometry]: the screen, or part of it (WxH+X+Y), as a PNG.
shoot() {
    local out=$1 part=${2:-}
    if [ -n "$part" ]; then
        import -display "$DISPLAY" -window root -crop "$part" +repage "$out"
    else
        import -display "$DISPLAY" -window root "$out"
    fi
}
