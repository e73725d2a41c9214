#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each one
# for a bounded time (seconds per target, default 60) on a copy of its seed
# corpus, so the corpus in the repository never grows. Fails on any crash,
# leak, sanitizer report, broken invariant, hang or memory blow-up; the input
# that caused it is kept in build-fuzz/artifacts/ to replay with
#   build-fuzz/bin/<target> <file>
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 [seconds per target]" >&2
  exit 2
fi

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
    -max_total_time="$seconds" -max_len="$max_len" -timeout=60 -rss_limit_mb=2048 \
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
    echo "== ${entry%%:*}: ${seconds}s"
    run_target "$entry" &
    pids+=($!)
  done
  for j in "${!batch[@]}"; do
    target="${batch[j]%%:*}"
    if wait "${pids[j]}"; then
      echo "-- $target"
      grep -E '^#[0-9]+[[:space:]]+DONE|^stat::number_of_executed_units' "$work/$target.log" || true
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
echo "fuzzing: no failures"
