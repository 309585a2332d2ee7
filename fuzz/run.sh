#!/bin/sh
# Runs fuzz targets from their corpora, two at a time, and fails when any of
# them finds a crash, a leak, a timeout or an out-of-memory.
#   fuzz/run.sh BUILD_DIR SECONDS [TARGET...]
# TARGET is a name such as cursor (for cursor_fuzz); all targets by default.
# Each target starts from its seeds in fuzz/corpus/TARGET (a target without
# seeds fails) and writes what it learns into
# BUILD_DIR/fuzz-corpus/TARGET, so the committed seeds stay as they are; a
# finding lands in BUILD_DIR/fuzz-findings. Each target's log is in
# BUILD_DIR/fuzz-logs/TARGET.log, and one line a target sums it up.
set -eu
cd "$(dirname "$0")/.."
[ $# -ge 2 ] || { echo "usage: $0 BUILD_DIR SECONDS [TARGET...]" >&2; exit 2; }
build=$1
seconds=$2
shift 2

if [ $# -eq 0 ]; then
    set -- $(for f in fuzz/*_fuzz.cpp; do basename "$f" _fuzz.cpp; done)
fi
mkdir -p "$build/fuzz-corpus" "$build/fuzz-findings" "$build/fuzz-logs"

# One target: runs it, then prints its summary line; the status is the fuzzer's.
run_one() {
    name=$1
    program="$build/fuzz/${name}_fuzz"
    log="$build/fuzz-logs/$name.log"
    work="$build/fuzz-corpus/$name"
    mkdir -p "$work"
    seeds="fuzz/corpus/$name"
    if [ -z "$(ls -A "$seeds" 2>/dev/null)" ]; then
        echo "fuzz $name: FAILED: no seeds in $seeds (fuzz/make_corpus.py writes them)"
        return 1
    fi
    status=0
    "$program" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/fuzz-findings/$name-" "$work" $seeds >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
    coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1)
    corpus=$(ls "$work" | wc -l)
    if [ "$status" -eq 0 ]; then
        echo "fuzz $name: ${runs:-?} runs, ${speed:-?} exec/s, ${coverage:-no coverage}, corpus $corpus"
    else
        echo "fuzz $name: FAILED (status $status) after ${runs:-?} runs; the end of $log:"
        tail -n 40 "$log"
        ls "$build/fuzz-findings" | sed -n "s/^$name-/  finding: /p"
    fi
    return "$status"
}

# Two targets at a time: a new one starts when the older of the two running
# has ended. A failed target fails the whole run once all have ended.
failed=0
first=""
second=""
for name in "$@"; do
    if [ ! -x "$build/fuzz/${name}_fuzz" ]; then
        echo "fuzz $name: $build/fuzz/${name}_fuzz is not built" >&2
        failed=1
        continue
    fi
    if [ -n "$second" ]; then
        wait "$first" || failed=1
        first=$second
        second=""
    fi
    run_one "$name" &
    if [ -z "$first" ]; then first=$!; else second=$!; fi
done
for pid in $first $second; do
    wait "$pid" || failed=1
done
exit "$failed"
