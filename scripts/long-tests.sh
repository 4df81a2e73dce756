#!/usr/bin/env bash
# The long runs the test command leaves out, as root on Debian 12 (installs
# what is missing): under Wine, the model-based random test of 5 x 10,000 host
# actions and the soak of 1,000 window cycles and 100 reloads (about 15
# minutes on two cores); then SECONDS of fuzzing for every fuzz target (the
# first argument, default 600).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

seconds=${1:-600}
if ! [[ $seconds =~ ^[0-9]+$ ]]; then
  echo "usage: $0 [FUZZ_SECONDS]" >&2
  exit 2
fi

scripts/install-deps.sh
jobs=$(nproc)

cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$jobs"
(
  source scripts/wine-env.sh
  ctest --preset mingw-long
)

cmake --preset fuzz >/dev/null
FUZZ_JOBS="$jobs" scripts/fuzz.sh all "$seconds"
