#!/usr/bin/env bash
# The end-to-end figures in one go: builds what is missing in the two
# presets' build folders, then prints
#   1. VelmoraCup.dll timed through the host simulator under Wine
#      (velmora-host-bench.exe): the rebuild through ADO at 10,000 and
#      100,000 contacts, _AddQSO and _GetScore latency with 1,000 and
#      100,000 contacts recorded;
#   2. velmora-score's native throughput on the same logs;
#   3. the scorer benchmark's figures for the literal algorithm, the
#      comparison the README quotes.
# Build folders: VELMORA_NATIVE_BUILD (default build/native) and
# VELMORA_MINGW_BUILD (default build/mingw); VELMORA_JOBS build jobs.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."

native=${VELMORA_NATIVE_BUILD:-build/native}
mingw=${VELMORA_MINGW_BUILD:-build/mingw}
jobs=${VELMORA_JOBS:-$(nproc)}

[ -f "$native/CMakeCache.txt" ] || cmake --preset native -B "$native" >/dev/null
[ -f "$mingw/CMakeCache.txt" ] || cmake --preset mingw -B "$mingw" >/dev/null
cmake --build "$native" -j "$jobs" --target e2e-score-throughput scoring_bench >/dev/null
cmake --build "$mingw" -j "$jobs" --target velmora-host-bench >/dev/null

logs="$native/bench/e2e/logs"
mkdir -p "$logs"

echo "== 1. The plug-in end to end, under Wine"
source scripts/wine-env.sh
wine "$mingw/velmora-host-bench.exe"

echo
echo "== 2. velmora-score, native (logs in $logs)"
"$native/bench/e2e/e2e-score-throughput" "$logs"

echo
echo "== 3. The scorer against the literal algorithm (bench/scoring_bench, last 200 contacts of each log)"
"$native/bench/scoring_bench" --benchmark_filter=last_window 2>/dev/null | sed -n '/^Time per contact/,$p'
