#!/usr/bin/env bash
# velmora-check's figures on simulated contests (not part of the test command):
#   1. time and peak memory at 400, 1,000 and 4,000 logs (700 QSO lines a
#      log, so 280,000, 700,000 and 2.8 million contacts), from the checker's
#      own --timings lines and /usr/bin/time -v, each size checked several
#      times (the median run counts: a shared machine has slow moments);
#   2. the goals: the whole run at most 2x reading and parsing (measured in
#      the same run), peak memory at most 1 GB, 400 -> 4,000 logs at most 12x;
#   3. the accuracy per verdict on the 1,000-log contest against its truth.
# The contests are simulated once into the build folder and kept for later
# runs. Build folder: VELMORA_NATIVE_BUILD (default build/native);
# VELMORA_JOBS build jobs; VELMORA_CHECK_JOBS passes --jobs to the checker;
# VELMORA_BENCH_SIZES the numbers of logs (default "400 1000 4000");
# VELMORA_BENCH_RUNS the runs of each size (default 3).
# With --simulate-only it simulates the contests that are missing and stops.
#
# Every run writes into a folder of its own, and the old results are
# deleted only after the last run: a file system without a journal makes
# new files slowly for some minutes after many were deleted, which would
# otherwise be measured as the checker's writing.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."

native=${VELMORA_NATIVE_BUILD:-build/native}
jobs=${VELMORA_JOBS:-$(nproc)}
sizes=${VELMORA_BENCH_SIZES:-"400 1000 4000"}
runs=${VELMORA_BENCH_RUNS:-3}
lines_per_log=700
period=(--from 2026-03-01T12:00Z --to 2026-03-02T12:00Z)
check_jobs=()
[ -n "${VELMORA_CHECK_JOBS:-}" ] && check_jobs=(--jobs "$VELMORA_CHECK_JOBS")

[ -f "$native/CMakeCache.txt" ] || cmake --preset native -B "$native" >/dev/null
cmake --build "$native" -j "$jobs" --target velmora-contest-sim velmora-check velmora-sim-compare >/dev/null

work="$native/bench/check"
mkdir -p "$work"

# Simulates the contest of N logs unless the same one is there already.
simulate() {
    local logs=$1 folder="$work/contest-$1"
    local wanted="--logs $logs --contacts $((logs * lines_per_log)) --random-start $logs ${period[*]}"
    if [ "$(cat "$folder.made-with" 2>/dev/null)" != "$wanted" ]; then
        rm -rf "$folder" "$folder.made-with"
        echo "simulating $logs logs ..." >&2
        # shellcheck disable=SC2086
        "$native/velmora-contest-sim" --out "$folder" $wanted >/dev/null
        echo "$wanted" >"$folder.made-with"
    fi
}

# Runs the checker on the contest of N logs into the folder OUT; appends
# "read check write total peak_kb qso_lines" to the file $work/figures-N and
# keeps the check's parts in $work/parts-N.
measure() {
    local logs=$1 out=$2 folder="$work/contest-$1" err="$work/check-$1.stderr"
    local status=0
    /usr/bin/time -v "$native/velmora-check" --timings "${check_jobs[@]}" --members "$folder/VC.dom" "${period[@]}" \
        --out "$out" "$folder/logs" >/dev/null 2>"$err" || status=$?
    if [ "$status" -ne 0 ]; then
        echo "velmora-check failed on $logs logs (exit status $status); its messages:" >&2
        tail -n 20 "$err" >&2
        exit 1
    fi
    local timings peak qso
    timings=$(grep -o 'timings: read [0-9.]* s, check [0-9.]* s, write [0-9.]* s, total [0-9.]* s' "$err" | tail -n 1)
    peak=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$err")
    qso=$(($(wc -l <"$folder/truth/verdicts.csv") - 1))
    if [ -z "$timings" ] || [ -z "$peak" ]; then
        echo "no timings line or peak memory in $err" >&2
        exit 1
    fi
    echo "$timings" | awk -v peak="$peak" -v qso="$qso" '{print $3, $6, $9, $12, peak, qso}' >>"$work/figures-$logs"
    grep '^timings of the check:' "$err" | sed 's/^timings of the check: //' >>"$work/parts-$logs"
}

# The median run of a size by its whole time, as "read check write total
# peak_kb qso_lines"; the peak is the largest of all runs.
median_run() {
    local file="$work/figures-$1" peak
    peak=$(awk 'BEGIN {m = 0} $5 > m {m = $5} END {print m}' "$file")
    sort -n -k4,4 "$file" | awk -v n="$(wc -l <"$file")" -v peak="$peak" \
        'NR == int((n + 1) / 2) {print $1, $2, $3, $4, peak, $6}'
}

if [ "${1:-}" = "--simulate-only" ]; then
    for logs in $sizes; do simulate "$logs"; done
    exit 0
fi

for logs in $sizes; do
    simulate "$logs"
    rm -f "$work/figures-$logs" "$work/parts-$logs"
    # The last results are kept until every run is done.
    if [ -d "$work/checked-$logs" ]; then
        rm -rf "$work/old-checked-$logs"
        mv "$work/checked-$logs" "$work/old-checked-$logs"
    fi
    for run in $(seq 1 "$runs"); do
        echo "checking $logs logs, run $run of $runs ..." >&2
        measure "$logs" "$work/checked-$logs-run-$run"
    done
done
for logs in $sizes; do
    mv "$work/checked-$logs-run-$runs" "$work/checked-$logs"
    rm -rf "$work/old-checked-$logs" "$work"/checked-"$logs"-run-*
done

echo "== velmora-check on simulated contests ($(nproc) processors, load $(cut -d' ' -f1-3 /proc/loadavg))"
printf '%6s %4s %10s %9s %9s %9s %9s %11s %10s\n' logs run contacts "read s" "check s" "write s" "total s" total/read "peak MB"
for logs in $sizes; do
    run=0
    while read -r read check write total peak qso; do
        run=$((run + 1))
        awk -v l="$logs" -v n="$run" -v q="$qso" -v r="$read" -v c="$check" -v w="$write" -v t="$total" -v p="$peak" 'BEGIN {
            printf "%6d %4d %10d %9.3f %9.3f %9.3f %9.3f %11.2f %10.1f\n", l, n, q, r, c, w, t, (r > 0 ? t / r : 0), p / 1024 }'
    done <"$work/figures-$logs"
done
echo
echo "== The check's parts, each run"
for logs in $sizes; do
    sed "s/^/$logs logs: /" "$work/parts-$logs"
done
echo

first=$(echo "$sizes" | awk '{print $1}')
last=$(echo "$sizes" | awk '{print $NF}')
if [ "$first" != "$last" ]; then
    read -r read _ _ total peak _ < <(median_run "$last")
    read -r _ _ _ small_total _ _ < <(median_run "$first")
    echo "== Goals at $last logs (the median run of each size)"
    awk -v r="$read" -v t="$total" -v p="$peak" -v s="$small_total" -v a="$first" -v b="$last" 'BEGIN {
        printf "whole run / reading:      %6.2f   (goal <= 2)     %s\n", t / r, (t / r <= 2 ? "met" : "NOT met")
        printf "peak memory:              %6.0f MB (goal <= 1024)  %s\n", p / 1024, (p / 1024 <= 1024 ? "met" : "NOT met")
        printf "%d -> %d logs, time:     %6.2f   (goal <= 12)    %s\n", a, b, t / s, (t / s <= 12 ? "met" : "NOT met")
    }'
fi

if [ -d "$work/checked-1000" ]; then
    echo
    echo "== Accuracy on the 1,000-log contest (velmora-sim-compare)"
    "$native/velmora-sim-compare" --show 10 "$work/contest-1000/truth" "$work/checked-1000" || true
fi
