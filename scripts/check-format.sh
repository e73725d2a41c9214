#!/usr/bin/env bash
# Holds the sources listed in scripts/formatted-files.txt to .clang-format
# with clang-format 14, and fails naming each file it would change. The
# rest of the tree keeps its own wrapping until it is formatted and listed.
#
#   bash scripts/check-format.sh
set -euo pipefail
cd "$(dirname "$0")/.."
format="$(command -v clang-format-14 || command -v clang-format || true)"
[ -n "$format" ] || { echo "check-format.sh: clang-format 14 is not installed" >&2; exit 2; }
status=0
while read -r file; do
  case "$file" in '' | '#'*) continue ;; esac
  if [ ! -f "$file" ]; then
    echo "check-format.sh: $file is listed but not there" >&2
    status=1
  elif ! "$format" --dry-run -Werror "$file" >/dev/null 2>&1; then
    echo "not formatted: $file (clang-format-14 -i $file)" >&2
    status=1
  fi
done <scripts/formatted-files.txt
exit $status
