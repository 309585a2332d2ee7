#!/bin/sh
# The real SDL window on an X server of its own (Xvfb): the program is driven
# with xdotool through the title into the workshop, draws a stroke, and the
# X screen's pixels are checked where the fit puts them. Three screens: a
# 1280 x 1024 desktop with --window (2x), full screen on 1920 x 1080 (2x,
# centred, black around) and on 1366 x 768 (1024 x 768, filled sharply); then
# a 600 x 400 desktop, where the program says which screen it needs.
# The window is closed as a window manager does (close_window); the full
# screens end with SIGTERM.
#   xvfb_test.sh PROGRAM CLOSE_WINDOW OUT_DIR
# Exits 77 (skipped) when Xvfb, xdotool or ImageMagick's import is missing.
set -eu
program=$1
closer=$2
out=$3
test_name="xvfb test"
. "$(dirname "$0")/xvfb_common.sh"
need Xvfb xdotool import convert
mkdir -p "$out"

# pixel FILE X Y: the pixel as "R G B", 0 to 255.
pixel() {
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:
}
expect_red() {
    set -- $(pixel "$1" "$2" "$3") "$4"
    [ "$1" -gt 150 ] && [ "$2" -lt 110 ] && [ "$3" -lt 110 ] || fail "$4: ($1 $2 $3) is not the stroke's red"
}
expect_black() {
    set -- $(pixel "$1" "$2" "$3") "$4"
    [ "$1" -eq 0 ] && [ "$2" -eq 0 ] && [ "$3" -eq 0 ] || fail "$4: ($1 $2 $3) is not black"
}

# run NAME WxH ORIGIN_X ORIGIN_Y NUM DEN [OPTION]: starts the program on a
# fresh server, and maps picture points to the screen by ORIGIN + P * NUM / DEN.
run() {
    name=$1 size=$2 ox=$3 oy=$4 num=$5 den=$6
    shift 6
    start_server "$size"
    rm -rf "$work/home" "$work/runtime"
    mkdir -p "$work/home" "$work/runtime"
    env -i PATH=/usr/bin:/bin DISPLAY="$DISPLAY" LANG=fr_FR.UTF-8 HOME="$work/home" \
        XDG_RUNTIME_DIR="$work/runtime" "$program" --mute "$@" >"$work/$name.log" 2>&1 &
    app=$!
    find_window "$name"
    sleep 1
    if [ $# -gt 0 ]; then
        eval "$(xdotool getwindowgeometry --shell "$window")"
        ox=$((ox + X))
        oy=$((oy + Y))
    fi
    at() { echo $((ox + $1 * num / den + num / den / 2)) $((oy + $2 * num / den + num / den / 2)); }
    xdotool mousemove $(at 320 240) click 1
    sleep 1.5
    xdotool mousemove $(at 20 100) click 1 mousemove $(at 610 218) click 1
    xdotool mousemove $(at 150 200) mousedown 1
    for x in 200 250 300 350 400 450; do xdotool mousemove $(at $x 200); done
    xdotool mouseup 1
    sleep 1
    import -window root "$out/$name.png"
    xdotool search --name "^Le petit Tavelin\$" >/dev/null || fail "$name: no window named by the caption"
    if [ $# -gt 0 ]; then
        # The window manager's close: the quit question, yes, the farewell, exit 0.
        "$closer" "$window"
        sleep 1.5
        import -window root "$out/$name-question.png"
        xdotool mousemove $(at 268 302) click 1
        sleep 1
        import -window root "$out/$name-farewell.png"
        status=0
        wait "$app" || status=$?
        [ "$status" -eq 0 ] || fail "$name: closing ended with $status"
    else
        kill "$app"
        wait "$app" || fail "$name: the program ended with $?"
    fi
    app=""
    kill "$server"
    wait "$server" 2>/dev/null || true
    server=""
}

# A window at 2x on a 1280 x 1024 desktop: the stroke at picture (300, 200).
run window 1280x1024 0 0 2 1 --window
[ "$ox" -eq 0 ] && [ "$oy" -eq 32 ] || fail "the 2x window is at ($ox, $oy), not centred"
expect_red "$out/window.png" $((ox + 601)) $((oy + 401)) "window 2x"
# The question sits in the middle of the sheet; the farewell picture too.
set -- $(pixel "$out/window-farewell.png" 640 512)
[ "$1" -gt 0 ] || fail "no farewell picture after the quit question"

# Full screen on 1920 x 1080: 2x at (320, 60), black around.
run full1080 1920x1080 320 60 2 1
expect_red "$out/full1080.png" $((320 + 601)) $((60 + 401)) "1920x1080 stroke"
expect_black "$out/full1080.png" 100 540 "1920x1080 left border"
expect_black "$out/full1080.png" 1800 540 "1920x1080 right border"

# Full screen on 1366 x 768: 1024 x 768 at (171, 0), 1.6 output pixels a pixel.
run full768 1366x768 171 0 8 5
expect_red "$out/full768.png" $((171 + 300 * 8 / 5)) $((200 * 8 / 5)) "1366x768 stroke"
expect_black "$out/full768.png" 80 384 "1366x768 left border"
expect_black "$out/full768.png" 1195 384 "1366x768 right border"
set -- $(pixel "$out/full768.png" 1194 384)
[ "$1" -ne 0 ] || fail "1366x768: the picture does not reach x 1194"
# A desktop smaller than the picture: the program says which screen it needs.
start_server 600x400
status=0
env -i PATH=/usr/bin:/bin DISPLAY="$DISPLAY" LANG=en_GB.UTF-8 HOME="$work/home" \
    XDG_RUNTIME_DIR="$work/runtime" timeout 30 "$program" --mute >"$work/small.log" 2>&1 &
app=$!
sleep 3
import -window root "$out/small.png"
xdotool mousemove 299 172 click 1
wait "$app" || status=$?
app=""
grep -q "the minimum screen configuration must be : 640 x 480." "$work/small.log" ||
    fail "no message on a 600 x 400 desktop: $(cat "$work/small.log")"
[ "$status" -ne 124 ] || fail "the message on a 600 x 400 desktop did not end the program"
echo "xvfb test: passed"
