#!/usr/bin/env bash
# The Windows enlazor-cli.exe, run under Wine, against the Linux enlazor-cli
# on the same documents: export, the Horalis stand-in's timetable, import.
# Tables must be equal apart from the date of last update (header bytes 1-3),
# documents byte for byte, and a run that fails must fail alike on both.
#
#   bash scripts/windows-parity-check.sh LINUX_BUILD WINDOWS_BUILD [COUNT]
set -euo pipefail
cd "$(dirname "$0")/.."
LINUX_BIN="$(realpath "$1")/bin"
WINDOWS_BIN="$(realpath "$2")/bin"
COUNT="${3:-12}"
WORK="$(realpath "$2")/parity"
# A Spanish school's settings: decimal comma. Wine takes them from the Unix
# locale; the Linux program reads the locale name. A prefix of our own keeps
# other Wine programs of this machine out of the way.
export WINEDEBUG=-all
export WINEPREFIX="${WINEPREFIX:-$(realpath "$2")/wineprefix}"

rm -rf "$WORK"
mkdir -p "$WORK/documents"
cp samples/saga-ies-ejemplo.xml tests/export/fixtures/small_school.xml \
  tests/check/fixtures/every_export_finding.xml "$WORK/documents/"
/usr/bin/python3 tests/windows/parity_documents.py samples/saga-ies-ejemplo.xml "$WORK/documents" "$COUNT"

# One direction on one system: exit code and output kept for comparison.
run() {  # system dir verb
  local system="$1" dir="$2" verb="$3" code=0
  if [ "$system" = linux ]; then
    LC_ALL=es_ES.UTF-8 "$LINUX_BIN/enlazor-cli" "$verb" "$dir/doc.xml" --exchange-dir "$dir/HTEMP" \
      >"$dir/$verb.out" 2>"$dir/$verb.err" || code=$?
  else
    LC_ALL=es_ES.UTF-8 timeout 120 wine "$WINDOWS_BIN/enlazor-cli.exe" "$verb" "$dir/doc.xml" --exchange-dir "$dir/HTEMP" \
      >"$dir/$verb.out" 2>"$dir/$verb.err" || code=$?
  fi
  echo "$code" >"$dir/$verb.code"
}

# Table bytes without the date of last update.
undated() { { head -c 1 "$1"; tail -c +5 "$1"; } | od -An -tx1; }

passed=0
failed=0
for document in "$WORK"/documents/*.xml; do
  name="$(basename "$document" .xml)"
  for system in linux windows; do
    dir="$WORK/$name/$system"
    mkdir -p "$dir/HTEMP"
    cp "$document" "$dir/doc.xml"
    run "$system" "$dir" export
    if [ "$(cat "$dir/export.code")" = 0 ]; then
      "$LINUX_BIN/horalis-standin" --exchange-dir "$dir/HTEMP" >/dev/null
      run "$system" "$dir" import
    fi
  done
  linux="$WORK/$name/linux"
  windows="$WORK/$name/windows"
  problems=()
  for verb in export import; do
    [ -f "$linux/$verb.code" ] || continue
    cmp -s "$linux/$verb.code" "$windows/$verb.code" ||
      problems+=("$verb: exit $(cat "$linux/$verb.code") on Linux, $(cat "$windows/$verb.code") on Windows")
  done
  for table in "$linux"/HTEMP/*.DBF; do
    other="$windows/HTEMP/$(basename "$table")"
    if [ ! -f "$other" ] || [ "$(undated "$table")" != "$(undated "$other")" ]; then
      problems+=("$(basename "$table") differs")
    fi
  done
  cmp -s "$linux/doc.xml" "$windows/doc.xml" || problems+=("the saved document differs")
  if [ "${#problems[@]}" -eq 0 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL %s: %s\n' "$name" "${problems[*]}"
  fi
done
echo "windows parity: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
