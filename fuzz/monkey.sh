#!/bin/sh
# Random input on fixed seeds, as CI runs it after the tests:
#   fuzz/monkey.sh [BUILD_DIR [COUNT [SEED...]]]
# Each seed runs COUNT actions in a private home folder; the first failure
# stops, leaving its replay script (shrink it with fuzz/shrink_script.py).
set -u
dir=${1:-build-sanitize}
count=${2:-20000}
if [ $# -gt 2 ]; then shift 2; else set -- 1 2 3:answer; fi
work=$(mktemp -d /tmp/tavelin-monkey-XXXXXX)
for seed in "$@"; do
    arg=${seed%%:*}:$count
    case $seed in *:answer) arg=$arg:answer ;; esac
    run=$work/$(echo "$arg" | tr : _)
    mkdir -p "$run/home" "$run/rt"
    start=$(date +%s)
    env -i PATH=/usr/bin:/bin LANG=en_GB.UTF-8 HOME="$run/home" XDG_RUNTIME_DIR="$run/rt" \
        "$dir/dist/bin/tavelin" --headless --monkey "$arg" --monkey-script "$run/replay.txt" \
        --log "$run/log.txt"
    code=$?
    echo "monkey $arg: exit $code in $(($(date +%s) - start)) s; $(grep '^monkey:' "$run/log.txt")"
    if [ $code -ne 0 ] || grep -q '^debug:' "$run/log.txt"; then
        echo "replay: $dir/dist/bin/tavelin --headless --script $run/replay.txt"
        exit 1
    fi
done
rm -rf "$work"
