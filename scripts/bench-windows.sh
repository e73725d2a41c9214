#!/usr/bin/env bash
# The benchmarks' directions run by the Windows enlazor-cli.exe under Wine:
# the same generated documents and the same timing of each whole process as
# on Linux (bench/), the Windows program started through Wine's loader.
#
#   bash scripts/bench-windows.sh [LINUX_BUILD]      (default build/)
set -euo pipefail
cd "$(dirname "$0")/.."
LINUX_BUILD="${1:-build}"

bash scripts/build-windows.sh >/dev/null
cmake --build "$LINUX_BUILD" --target enlazor_bench -j "$(nproc)" >/dev/null

source scripts/wine-prefix.sh
# A Wine server kept running, as on a desktop where Wine is in use: each run
# then pays the start of its own process, not the server's.
wineserver -p
trap 'timeout 60 wineserver -k || true' EXIT
# The first run of a program under a prefix sets the prefix up for it; that
# is no part of any direction's time.
wine build-windows/bin/enlazor-cli.exe --version >/dev/null

ENLAZOR_WINDOWS_CLI="$PWD/build-windows/bin/enlazor-cli.exe" \
ENLAZOR_BENCH_CLI="$PWD/scripts/wine-enlazor-cli.sh" \
  "$LINUX_BUILD/bin/enlazor_bench" --benchmark_filter='ProgramStart|BM_Export[A-Za-z]*/iterations|BM_Import'
