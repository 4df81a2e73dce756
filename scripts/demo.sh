#!/usr/bin/env bash
# The main job, on a fresh Debian 12 machine as root: installs what is
# missing, builds the plug-in and the host-logger simulator (Windows build)
# and the native scorer, then runs the simulator under Wine on the sample
# log with its member file, as a logger would run the plug-in. Prints the
# statistics window's report and the claimed score, checks the report
# against the native scorer, and saves a picture of the window to
# build/demo/statistics.png (copied to docs/statistics.png for the README).
# Safe to run twice.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/install-deps.sh
jobs=$(nproc)

echo "Building VelmoraCup.dll, velmora-host.exe and velmora-score (a few minutes the first time)..."
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs" --target velmora-score >/dev/null
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$jobs" --target velmora-host velmora-score >/dev/null

echo "Starting the virtual screen and Wine..."
source scripts/wine-env.sh

# Whatever this run started is stopped when it ends, however it ends; what
# was already running (another session's screen or Wine server) is left.
stop_what_this_run_started() {
  if [ -n "${VELMORA_STARTED_WINESERVER:-}" ]; then
    wineserver -k 2>/dev/null || true
    echo "Stopped the Wine server of $WINEPREFIX."
  else
    echo "The Wine server of $WINEPREFIX was running before and is left running (stop it with: WINEPREFIX=$WINEPREFIX wineserver -k)."
  fi
  if [ -n "${VELMORA_STARTED_XVFB:-}" ]; then
    kill "$VELMORA_STARTED_XVFB" 2>/dev/null || true
    echo "Stopped the virtual screen $DISPLAY."
  else
    echo "The virtual screen $DISPLAY was running before and is left running."
  fi
}
trap stop_what_this_run_started EXIT
mkdir -p build/demo docs
rm -f build/demo/statistics.png

log=samples/velmora-cup-sample.adi
echo "\$ velmora-host score $log --members samples/VC.dom --screenshot build/demo/statistics.png"
wine build/mingw/velmora-host.exe score "$log" --members samples/VC.dom \
  --screenshot build/demo/statistics.png >build/demo/report.txt
echo
echo "The statistics window's report (read from VelmoraCup.dll's window):"
tr -d '\r' <build/demo/report.txt | sed 's/^/    /'
echo
score=$(sed -n 's/^ Score: .*=\([0-9-]*\)\r*$/\1/p' build/demo/report.txt)
echo "Claimed score: $score"

# The window's text, a line feed, then velmora-score's contact lines: the
# window's report must be exactly what the native scorer writes first.
build/native/velmora-score "$log" >build/demo/velmora-score.txt
if cmp -s -n "$(wc -c <build/demo/report.txt)" build/demo/report.txt build/demo/velmora-score.txt; then
  echo "The native velmora-score gives the same report, byte for byte."
else
  echo "The native velmora-score gives ANOTHER report: compare build/demo/report.txt and build/demo/velmora-score.txt" >&2
  exit 1
fi

cp build/demo/statistics.png docs/statistics.png
echo "Picture of the statistics window: build/demo/statistics.png (copied to docs/statistics.png)"
