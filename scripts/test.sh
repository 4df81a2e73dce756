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
trap summary EXIT

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

# clang-tidy and cppcheck.
LINT_JOBS="$jobs" scripts/lint.sh
stage "lint"

cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$jobs"
stage "windows build"
source scripts/wine-env.sh
ctest --preset mingw
stage "windows tests"
