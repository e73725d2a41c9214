#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs them on
# a copy of their seed corpus, so the corpus in the repository never grows.
# Fails on any crash, leak, sanitizer report, broken invariant, hang or
# memory blow-up; the input that caused it is kept in build-fuzz/artifacts/
# to replay with
#   build-fuzz/bin/<target> <file>
# and belongs, once mended, in fuzz/corpus/<target>/ as a regression seed.
#
#   bash scripts/fuzz.sh [SECONDS]          every target for SECONDS (default 60)
#   bash scripts/fuzz.sh --long [TARGET=SECONDS ...]
#                                           the long run: a time per target
#                                           (default: the times below), and
#                                           the inputs each one ran
set -euo pipefail
cd "$(dirname "$0")/.."

# target:max_len — room for a few small tables or a small school, and far
# beyond any real line for the text rules.
targets=(
  fuzz_dbf_reader:8192
  fuzz_xml_export:16384
  fuzz_import_tables:8192
  fuzz_numbers:64
  fuzz_command_line:256
  fuzz_ini:1024
)
# The long run's times: enough at this machine's pace for ten million
# inputs of the fast targets and two million of the XML and import ones.
declare -A long_seconds=(
  [fuzz_dbf_reader]=900 [fuzz_numbers]=300 [fuzz_command_line]=1000 [fuzz_ini]=500
  [fuzz_xml_export]=900 [fuzz_import_tables]=900
)

usage() {
  echo "usage: $0 [seconds per target] | --long [target=seconds ...]" >&2
  exit 2
}

declare -A seconds_of=()
if [ "${1:-}" = --long ]; then
  shift
  if [ "$#" -eq 0 ]; then
    for target in "${!long_seconds[@]}"; do seconds_of[$target]=${long_seconds[$target]}; done
  fi
  for request in "$@"; do
    [[ "$request" =~ ^(fuzz_[a-z_]+)=([1-9][0-9]*)$ ]] || usage
    [ -n "${long_seconds[${BASH_REMATCH[1]}]:-}" ] || usage
    seconds_of[${BASH_REMATCH[1]}]=${BASH_REMATCH[2]}
  done
else
  seconds="${1:-60}"
  [[ "$seconds" =~ ^[1-9][0-9]*$ ]] && [ "$#" -le 1 ] || usage
  for entry in "${targets[@]}"; do seconds_of[${entry%%:*}]=$seconds; done
fi
chosen=()
for entry in "${targets[@]}"; do
  if [ -n "${seconds_of[${entry%%:*}]:-}" ]; then chosen+=("$entry"); fi
done
targets=("${chosen[@]}")

cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DENLAZOR_BUILD_FUZZERS=ON -DENLAZOR_BUILD_GUI=OFF -DENLAZOR_BUILD_TESTS=OFF \
  -DENLAZOR_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]%%:*}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The targets write their tables and documents under TMPDIR: memory is
# faster than the disk and leaves nothing behind.
scratch="$work/tmp"
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  scratch="$(mktemp -d /dev/shm/enlazor-fuzz.XXXXXX)"
  trap 'rm -rf "$work" "$scratch"' EXIT
fi
mkdir -p "$scratch" build-fuzz/artifacts

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# Runs one target; its log goes to $work/<target>.log.
run_target() {
  local target="${1%%:*}" max_len="${1##*:}"
  local corpus="$work/corpus/$target"
  mkdir -p "$corpus"
  cp -r "fuzz/corpus/$target/." "$corpus/"
  local dictionary=()
  if [ -f "fuzz/$target.dict" ]; then dictionary=(-dict="fuzz/$target.dict"); fi
  TMPDIR="$scratch" "build-fuzz/bin/$target" "$corpus" "${dictionary[@]}" \
    -max_total_time="${seconds_of[$target]}" -max_len="$max_len" -timeout=60 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$target-" \
    >"$work/$target.log" 2>&1
}

# Two targets at a time at most: each fuzzer uses one core.
parallel=$(( $(nproc) >= 2 ? 2 : 1 ))
failed=()
for ((i = 0; i < ${#targets[@]}; i += parallel)); do
  batch=("${targets[@]:i:parallel}")
  pids=()
  for entry in "${batch[@]}"; do
    echo "== ${entry%%:*}: ${seconds_of[${entry%%:*}]}s"
    run_target "$entry" &
    pids+=($!)
  done
  for j in "${!batch[@]}"; do
    target="${batch[j]%%:*}"
    if wait "${pids[j]}"; then
      echo "-- $target"
      grep -E '^#[0-9]+[[:space:]]+DONE|^stat::number_of_executed_units' "$work/$target.log" || true
      runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$target.log" | tail -n 1)"
      echo "$target: ${runs:-?} inputs in ${seconds_of[$target]} s" >>"$work/summary"
    else
      echo "-- $target FAILED"
      tail -n 60 "$work/$target.log"
      failed+=("$target")
    fi
  done
done

if [ "${#failed[@]}" -gt 0 ]; then
  echo "fuzzing failed: ${failed[*]} (inputs in build-fuzz/artifacts/)" >&2
  exit 1
fi
cat "$work/summary"
echo "fuzzing: no failures"
