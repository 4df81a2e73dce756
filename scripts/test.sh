#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (as root) and runs every test: the
# portable core natively, then the 32-bit Windows build under Wine.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# Each stage's time is shown as it ends and again at the end.
stage_names=()
stage_seconds=()
stage_started=$SECONDS
stage() {
  stage_names+=("$1")
  stage_seconds+=($((SECONDS - stage_started)))
  echo "== $1: $((SECONDS - stage_started)) s"
  stage_started=$SECONDS
}
summary() {
  echo "== Time of each stage"
  for i in "${!stage_names[@]}"; do
    printf '%-28s %5d s\n' "${stage_names[$i]}" "${stage_seconds[$i]}"
  done
  printf '%-28s %5d s\n' total "$SECONDS"
}
# A lint still running beside the Windows tests stops with the command.
finish() {
  summary
  if [ -n "${lint_pid:-}" ]; then
    pkill -P "$lint_pid" 2>/dev/null || true
    kill "$lint_pid" 2>/dev/null || true
  fi
}
trap finish EXIT

scripts/install-deps.sh
jobs=$(nproc)
stage "packages"

cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
stage "native build"
ctest --preset native -j "$jobs"
stage "native tests"

# The same core and tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer.
cmake --preset native-asan >/dev/null
cmake --build --preset native-asan -j "$jobs"
stage "sanitizer build"
ctest --preset native-asan -j "$jobs"
stage "sanitizer tests"

# The fuzz targets: once over their starting corpora, then about 20 seconds
# of fuzzing each, as many at once as there are processors.
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
stage "fuzz build"
ctest --preset fuzz -j "$jobs"
FUZZ_JOBS="$jobs" scripts/fuzz.sh all 20
stage "fuzzing"

cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$jobs"
stage "windows build"

# clang-tidy and cppcheck over the product run beside the Windows tests,
# which spend most of their time waiting on Wine; what the lint finds is
# shown when both are done. (LINT_TESTS=1 scripts/lint.sh reads the tests
# too; scripts/long-tests.sh runs the long soaks and fuzzing.)
lint_log=$(mktemp)
LINT_JOBS="$jobs" scripts/lint.sh >"$lint_log" 2>&1 &
lint_pid=$!
source scripts/wine-env.sh
windows_status=0
ctest --preset mingw || windows_status=$?
lint_status=0
wait "$lint_pid" || lint_status=$?
echo "== lint"
cat "$lint_log"
rm -f "$lint_log"
stage "windows tests and lint"
if [ "$windows_status" -ne 0 ] || [ "$lint_status" -ne 0 ]; then
  echo "test command: failures above (windows tests: exit $windows_status, lint: exit $lint_status)" >&2
  exit 1
fi
