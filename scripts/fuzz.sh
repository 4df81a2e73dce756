#!/usr/bin/env bash
# Runs one libFuzzer target (or "all", one after another) for SECONDS each,
# building the fuzz preset first when needed. The fuzzer works on a scratch
# copy of the target's starting corpus, so the repository never gains files;
# an input that breaks a property is kept under build/fuzz/findings/.
#
#   scripts/fuzz.sh TARGET SECONDS      e.g. scripts/fuzz.sh fuzz_scorer 600
#   scripts/fuzz.sh all SECONDS         every target, FUZZ_JOBS (default 1) at once
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

if [ ! -f build/fuzz/CMakeCache.txt ]; then
  cmake --preset fuzz >/dev/null
fi
# Every target with a starting corpus that this build knows (the log-file
# readers' target exists only when their library is part of the build).
known=$(cmake --build --preset fuzz --target help | sed -n 's/^\.\.\. \(fuzz_[a-z_]*\).*/\1/p')
targets=()
for corpus in tests/fuzz/corpus/*/; do
  name=$(basename "$corpus")
  if grep -qx "$name" <<<"$known"; then
    targets+=("$name")
  fi
done

if [ $# -ne 2 ] || ! [[ $2 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 TARGET|all SECONDS   (targets: ${targets[*]})" >&2
  exit 2
fi
if [ "$1" = all ]; then
  # Built once here, so that the targets run side by side never build.
  cmake --build --preset fuzz -j 2 --target "${targets[@]}" >/dev/null
  printf '%s\n' "${targets[@]}" | FUZZ_BUILT=1 xargs -P "${FUZZ_JOBS:-1}" -I{} "$0" {} "$2"
  exit 0
fi
target=$1
seconds=$2
if ! printf '%s\n' "${targets[@]}" | grep -qx "$target"; then
  echo "unknown target $target (targets: ${targets[*]})" >&2
  exit 2
fi

# Two cores are shared with others: build with two jobs at most.
if [ -z "${FUZZ_BUILT:-}" ]; then
  cmake --build --preset fuzz -j 2 --target "$target" >/dev/null
fi

# Whole host records are 5,916 bytes each; room for a short log of them.
# The scorer reads at most 64 contact lines. The other inputs are short texts.
case $target in
  fuzz_records) max_len=$((5916 * 8)) ;;
  fuzz_scorer) max_len=2048 ;;
  *) max_len=4096 ;;
esac

scratch=$(mktemp -d)
log="$scratch.log"
trap 'rm -rf "$scratch" "$log"' EXIT
cp -R "tests/fuzz/corpus/$target/." "$scratch/"
findings="build/fuzz/findings/$target"
mkdir -p "$findings"

# Tokens the rules turn on ("VC", line breaks, hexadecimal prefixes) reach
# the mutations sooner from a dictionary than by chance.
dictionary=()
if [ -f "tests/fuzz/dict/$target.dict" ]; then
  dictionary=(-dict="tests/fuzz/dict/$target.dict")
fi

status=0
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  "build/fuzz/tests/fuzz/$target" "$scratch" "${dictionary[@]}" \
  -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$findings/" -print_final_stats=1 >"$log" 2>&1 || status=$?

runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
if [ "$status" -ne 0 ]; then
  # The property that broke and the saved input are near the end.
  tail -n 60 "$log" >&2
  echo "$target: FINDING after ${runs:-?} executions (input saved under $findings/)" >&2
  exit "$status"
fi
echo "$target: ${runs:-?} executions in ${seconds} s, no finding"
