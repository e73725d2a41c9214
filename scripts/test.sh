#!/usr/bin/env bash
# Installs what is needed, checks the format of the files held to it,
# builds with warnings as errors, and runs every test: once in the normal
# build (window included), once more under AddressSanitizer and
# UndefinedBehaviorSanitizer (core, command-line tool and their tests), then
# each fuzzer for 45 seconds, the Debian package built and checked, and last
# the Windows build with its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs="$(nproc)"

# The sources listed in scripts/formatted-files.txt keep to .clang-format.
bash scripts/check-format.sh

bash scripts/build.sh
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DENLAZOR_SANITIZE=ON -DENLAZOR_WERROR=ON \
  -DENLAZOR_BUILD_GUI=OFF -DENLAZOR_BUILD_BENCH=OFF >/dev/null
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

# Every fuzzer for a bounded time on a copy of its seeds; any crash, leak or
# sanitizer report fails the run.
bash scripts/fuzz.sh 45

# The Debian package from the normal build: contents, lintian, an install
# into a throwaway root and the installed tool and manual pages. The Windows
# programs it carries were cross-built by scripts/build.sh above.
bash scripts/package-check.sh build

# The Windows programs, cross-built, tested under Wine against the Linux ones
# built above, and their installer.
bash scripts/test-windows.sh build
