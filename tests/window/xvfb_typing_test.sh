#!/bin/sh
# Typing on real keyboard layouts: the program in a 2x window on an X server of
# its own (Xvfb), the text tool on the sheet, and physical keys pressed with
# xdotool by their key codes under a French, a German and a Spanish layout
# (setxkbmap), dead keys and AltGr included, so that the characters come from
# the layout as a child's keyboard makes them. The sheet must show exactly the
# pixels of the same text typed by a headless run.
#   xvfb_typing_test.sh PROGRAM OUT_DIR
# Exits 77 (skipped) when Xvfb, xdotool, setxkbmap or ImageMagick is missing.
set -eu
program=$1
out=$2
test_name="typing test"
. "$(dirname "$0")/xvfb_common.sh"
need Xvfb xdotool setxkbmap import compare
mkdir -p "$out"
mkdir -p "$work/home" "$work/runtime"

# What is typed, as Windows-1252 text for the headless run and as key codes
# of a PC keyboard (8 + the evdev code) for the real one:
#   French AZERTY: a (24), é (11), the dead circumflex (34) then e (26) for ê,
#   ç (18), AltGr (108) with e for the euro.
#   German QWERTZ: ß (20), ö (47), the dead acute (21) then e for é, z (29).
#   Spanish: ñ (47), the dead acute (48) then a (38) for á, ¡ (21).
# Each layout types on its own line of the sheet.
french_keys="24 11 34+26 18 108:26" french_text="a\351\352\347\200"
german_keys="20 47 21+26 29" german_text="\337\366\351z"
spanish_keys="47 48+38 21" spanish_text="\361\341\241"

# The headless reference: the same clicks, the same text through the script.
script_line() { printf "click 150 $1\\nwait 50\\ntype $2\\nkey escape\\nwait 50\\n"; }
{
    printf 'wait 300\nclick 320 240\nwait 300\nclick 40 240\nwait 50\n'
    script_line 100 "$french_text"
    script_line 160 "$german_text"
    script_line 220 "$spanish_text"
    printf 'move 20 20\nwait 300\nscreenshot %s\nclose\nwait 300\nkey enter\nwait 5000\n' "$work/headless.bmp"
} >"$work/script.txt"
# The script is read as UTF-8.
iconv -f CP1252 -t UTF-8 "$work/script.txt" >"$work/script-utf8.txt"
env -i PATH=/usr/bin:/bin LANG=fr_FR.UTF-8 HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" \
    "$program" --headless --script "$work/script-utf8.txt" >/dev/null 2>&1 || fail "the headless run failed"

# -noreset: a server whose last client leaves resets its keymap, which would
# undo the layout set before the program connects.
start_server 1280x1024 -noreset
setxkbmap -layout fr || fail "no French layout"
rm -rf "$work/home"
mkdir -p "$work/home"
env -i PATH=/usr/bin:/bin DISPLAY="$DISPLAY" LANG=fr_FR.UTF-8 HOME="$work/home" \
    XDG_RUNTIME_DIR="$work/runtime" "$program" --window --mute --log "$work/window.log" >"$work/out.txt" 2>&1 &
app=$!
find_window typing
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
at() { echo $((X + $1 * 2 + 1)) $((Y + $2 * 2 + 1)); }
# press KEYS: each is a key code, A+B a dead key A then B, A:B the key B with A held.
press() {
    for key in $1; do
        case $key in
            *+*) xdotool key "${key%+*}" && xdotool key "${key#*+}" ;;
            *:*) xdotool keydown "${key%:*}" key "${key#*:}" keyup "${key%:*}" ;;
            *) xdotool key "$key" ;;
        esac
        sleep 0.1
    done
}
# window_line LAYOUT Y KEYS: a text at (150, Y) typed on the layout.
window_line() {
    setxkbmap -layout "$1" || fail "no layout $1"
    sleep 0.5
    xdotool mousemove $(at 150 "$2") click 1
    sleep 0.3
    press "$3"
    xdotool key Escape
    sleep 0.3
}
xdotool mousemove $(at 320 240) click 1
sleep 1.5
xdotool mousemove $(at 40 240) click 1
sleep 0.3
window_line fr 100 "$french_keys"
window_line de 160 "$german_keys"
window_line es 220 "$spanish_keys"
xdotool mousemove $(at 20 20)
sleep 1
import -window root "$out/typing.png"
kill "$app"
wait "$app" || fail "the program ended with $?"
app=""

# The sheet of the window, back at 1x, against the headless sheet.
convert "$out/typing.png" -crop 1280x960+$X+$Y +repage -sample 50% "$out/typing-1x.png"
convert "$out/typing-1x.png" -crop 512x400+84+36 +repage "$work/window-sheet.png"
convert "$work/headless.bmp" -crop 512x400+84+36 +repage "$out/headless-sheet.png"
differing=$(compare -metric AE "$work/window-sheet.png" "$out/headless-sheet.png" "$out/typing-diff.png" 2>&1) || true
[ "$differing" = "0" ] || fail "$differing sheet pixels differ from the headless text (see $out)"
# Every key reached the text tool as a character: no refusal.
grep -q "Tink" "$work/window.log" && fail "a key was refused: $(cat "$work/window.log")"
echo "typing test: passed"
