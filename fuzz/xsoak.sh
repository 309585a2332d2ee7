#!/bin/bash
# Random input on the real clock: the program in a window of a virtual X
# display, hammered by xdotool for SECONDS seconds; resident memory is printed
# every minute, then the idle processor use over ten quiet seconds. The quit
# button is left alone so that one process lives the whole soak.
#   fuzz/xsoak.sh [SECONDS] [SEED] [PROGRAM]
set -u
seconds=${1:-600}
RANDOM=${2:-1}
program=${3:-build/dist/bin/tavelin}
work=$(mktemp -d /tmp/tavelin-xsoak-XXXXXX)
mkdir -p "$work/home" "$work/rt"
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
sleep 2
export DISPLAY=$display HOME=$work/home XDG_RUNTIME_DIR=$work/rt SDL_AUDIODRIVER=dummy
launch() {
    "$program" --window --mute >"$work/out.txt" 2>&1 &
    pid=$!
    sleep 5
    window=$(xdotool search --pid $pid | head -1)
}
launch
# Resident memory, and the anonymous part of it (the heap), in kB; the rest
# is mapped files such as the graphics driver's libraries.
rss() { awk '/VmRSS/ {r = $2} /RssAnon/ {a = $2} END {print r " kB (anonymous " a " kB)"}' /proc/$pid/status 2>/dev/null; }
ticks() { awk '{print $14 + $15}' /proc/$pid/stat 2>/dev/null; }
echo "start: rss $(rss)"
keys=(Return Escape Tab space BackSpace Left Right Up Down F1 a e z 1 eacute ctrl+z shift+a)
start=$SECONDS
next=60
while ((SECONDS - start < seconds)); do
    if ! kill -0 $pid 2>/dev/null; then
        wait $pid
        code=$?
        echo "the program ended with code $code after $((SECONDS - start)) s"
        if ((code != 0)); then cat "$work/out.txt"; exit 1; fi
        launch  # the random input said yes to the quit question
    fi
    x=$((RANDOM % 640)) y=$((RANDOM % 480))
    if ((x >= 557 && y < 32)); then continue; fi
    case $((RANDOM % 10)) in
        0 | 1 | 2 | 3) xdotool mousemove --window "$window" $x $y click 1 ;;
        4) xdotool mousemove --window "$window" $x $y click 3 ;;
        5 | 6) xdotool mousemove --window "$window" $x $y mousedown 1 \
               mousemove --window "$window" $((RANDOM % 640)) $((RANDOM % 480)) mouseup 1 ;;
        7) xdotool mousemove --window "$window" $x $y click --repeat 2 1 ;;
        8) xdotool key --window "$window" "${keys[RANDOM % ${#keys[@]}]}" ;;
        9) sleep 0.$((RANDOM % 9)) ;;
    esac 2>/dev/null
    if ((SECONDS - start >= next)); then
        echo "$next s: rss $(rss)"
        next=$((next + 60))
    fi
done
echo "end: rss $(rss)"
xdotool mousemove --window "$window" 700 590 2>/dev/null
sleep 5
before=$(ticks)
sleep 10
after=$(ticks)
echo "idle: $(( (after - before) * 100 / (10 * $(getconf CLK_TCK)) )) % of a core over 10 s"
kill $pid
