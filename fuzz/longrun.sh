#!/bin/sh
# The long run: random input over seeds 1, 2, 3, ... until TOTAL actions have
# been taken, a seed at a time in a private home folder; a run that random
# input quits early simply hands over to the next seed. Every drawing a run
# saved is loaded alone into a fresh program, whose sheet must show the
# file's pixels exactly, and nothing else may be left in the pictures folder.
# The first failure stops, leaving its replay script. FIRST_SEED continues
# an earlier long run where it stopped.
#   fuzz/longrun.sh [TOTAL [BUILD_DIR [PER_SEED [FIRST_SEED]]]]
set -u
total=${1:-1000000}
dir=${2:-build}
per=${3:-50000}
first=${4:-1}
work=$(mktemp -d /tmp/tavelin-longrun-XXXXXX)
printf 'wait 300\nclick 320 240\nwait 300\nclick 405 15\nwait 300\nclick 257 365\nwait 500\nscreenshot %s\n' \
    "$work/loaded.bmp" >"$work/load.txt"

# Loads drawing $1 alone and compares the sheet with its pixels.
read_back() {
    rm -rf "$work/back" && mkdir -p "$work/back/home/Pictures/Tavelin" "$work/back/rt"
    cp "$1" "$work/back/home/Pictures/Tavelin/"
    env -i PATH=/usr/bin:/bin HOME="$work/back/home" XDG_RUNTIME_DIR="$work/back/rt" \
        "$dir/dist/bin/tavelin" --headless --script "$work/load.txt" >/dev/null 2>&1 &&
    python3 - "$1" "$work/loaded.bmp" <<'PY'
import struct, sys
drawing, shot = (open(name, 'rb').read() for name in sys.argv[1:])
offset, = struct.unpack_from('<I', drawing, 10)
rows = [drawing[offset + (399 - y) * 1536:][:1536] for y in range(400)]
sheet = [shot[54 + (479 - y) * 1920 + 84 * 3:][:1536] for y in range(36, 436)]
sys.exit(0 if len(drawing) == offset + 1536 * 400 and rows == sheet else 1)
PY
}
taken=0 seed=$((first - 1)) start=$(date +%s)
while [ "$taken" -lt "$total" ]; do
    seed=$((seed + 1))
    count=$((total - taken))
    [ "$count" -gt "$per" ] && count=$per
    run=$work/$seed
    mkdir -p "$run/home" "$run/rt"
    env -i PATH=/usr/bin:/bin LANG=en_GB.UTF-8 HOME="$run/home" XDG_RUNTIME_DIR="$run/rt" \
        "$dir/dist/bin/tavelin" --headless --monkey "$seed:$count" --monkey-script "$run/replay.txt" \
        --log "$run/log.txt"
    code=$?
    if [ $code -ne 0 ] || grep -q '^debug:' "$run/log.txt"; then
        echo "seed $seed: exit $code; replay: $dir/dist/bin/tavelin --headless --script $run/replay.txt"
        exit 1
    fi
    n=$(sed -n 's/^monkey: \([0-9]*\) actions taken/\1/p' "$run/log.txt")
    taken=$((taken + n))
    drawings=0
    for file in "$run/home/Pictures/Tavelin"/*; do
        [ -e "$file" ] || continue
        case $file in *.BMP) ;; *) echo "seed $seed left $file"; exit 1 ;; esac
        read_back "$file" || { echo "seed $seed: $file does not read back"; exit 1; }
        drawings=$((drawings + 1))
    done
    echo "seed $seed: $n actions, $drawings drawings; $taken in all after $(($(date +%s) - start)) s"
    rm -rf "$run"
done
rm -rf "$work"
