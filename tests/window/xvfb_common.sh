# Shared by the real-window tests, sourced after setting test_name: a work
# folder removed at exit with the program ($app) and the X server ($server)
# still running, the tool check, a fresh server and the wait for the window.

# need TOOL...: exits 77 (skipped) when one is missing.
need() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "$test_name: no $tool, skipped"; exit 77; }
    done
}
fail() { echo "$test_name: $*" >&2; exit 1; }

work=$(mktemp -d /tmp/tavelin-xvfb-XXXXXX)
server=""
app=""
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null
    [ -n "$server" ] && kill "$server" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# start_server WxH [OPTION...]: a new Xvfb on a free display, exported in
# DISPLAY.
start_server() {
    size=$1
    shift
    exec 3>"$work/display"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp "$@" >"$work/xvfb.log" 2>&1 &
    server=$!
    exec 3>&-
    for _ in 1 2 3 4 5 6 7 8 9 10; do [ -s "$work/display" ] && break; sleep 0.3; done
    export DISPLAY=":$(cat "$work/display")"
}

# find_window LABEL: the program's visible, named window in $window.
find_window() {
    window=""
    for _ in $(seq 40); do
        sleep 0.5
        window=$(xdotool search --onlyvisible --class tavelin 2>/dev/null | tail -1) || true
        [ -n "$window" ] && xdotool getwindowname "$window" >/dev/null 2>&1 && return 0
    done
    fail "$1: no window"
}
