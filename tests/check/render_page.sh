#!/usr/bin/env bash
# Renders the results page of a small contest in headless Chromium and checks
# what a reader sees: the title, the table with every station, both pictures,
# and a hostile call shown as text rather than run. Keeps a screenshot.
# Usage: render_page.sh VELMORA_CHECK CHROMIUM CASES_DIR WORK_DIR
set -euo pipefail
check=$1 chromium=$2 cases=$3 work=$4
rm -rf "$work" && mkdir -p "$work/logs"
cp "$cases"/clock-an-hour-off/*.log "$work/logs/"
cp "$cases"/bust-real-station/c.log "$work/logs/dl1bac.log"
sed 's/^CALLSIGN: .*/CALLSIGN: <script>document.title="RAN"<\/script>/' "$cases/nil/a.log" > "$work/logs/hostile.log"
"$check" "$work/logs" --out "$work/out" > "$work/stdout.txt" 2> "$work/stderr.txt" || {
  echo "velmora-check failed:"; cat "$work/stderr.txt"; exit 1; }

run_chromium() {
  timeout 120 "$chromium" --headless --no-sandbox --disable-gpu --disable-dev-shm-usage --no-first-run \
    --user-data-dir="$work/profile" "$@" "file://$work/out/results.html" 2> "$work/chromium.log"
}
run_chromium --dump-dom > "$work/dom.html"
run_chromium --screenshot="$work/results.png" --window-size=1400,900 > /dev/null

fail=0
expect() {  # expect WHAT PATTERN: the rendered page must hold PATTERN
  if ! grep -q -- "$2" "$work/dom.html"; then echo "rendered page: expected $1 ($2)"; fail=1; fi
}
expect "the title" '<title>Velmora Cup: checked results</title>'
expect "the summary" '6 logs checked'
for station in G4ABC DL1ABC OK1XYZ SP9AAA; do expect "a row of $station" "<td class=\"text\">$station</td>"; done
expect "the hostile call as text" '&lt;SCRIPT&gt;DOCUMENT.TITLE="RAN"&lt;/SCRIPT&gt;'
expect "the band picture" 'aria-label="Checked contacts per band"'
expect "the verdict picture" 'aria-label="Verdict shares per log"'
expect "the clock offset of G4ABC" '<td>59</td></tr>'
if grep -q '<title>RAN</title>' "$work/dom.html"; then echo "rendered page: the hostile call ran as a script"; fail=1; fi
if grep -qi '<script' "$work/dom.html"; then echo "rendered page: holds a script element"; fail=1; fi
if [ ! -s "$work/results.png" ]; then echo "no screenshot"; fail=1; fi
exit $fail
