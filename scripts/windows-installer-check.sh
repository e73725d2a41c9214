#!/usr/bin/env bash
# Builds the Windows installer and zip from a Windows build with CPack and
# tries the installer under Wine as a school's IT staff would use it: a
# silent install into a folder that already holds Horalis's files, what it
# leaves there, in the program list and in the Start menu, and a silent
# uninstall that takes Enlazor away and leaves Horalis's files be. The help
# goes in as SAGA.chm only where none is: installed into a folder without
# one and removed with Enlazor; a folder with Horalis's own SAGA.chm keeps it,
# byte for byte, through install and uninstall.
#
#   bash scripts/windows-installer-check.sh [BUILD_DIR [WINEPREFIX]]
#
# BUILD_DIR defaults to build-windows. Without WINEPREFIX a fresh 64-bit
# prefix is made and thrown away (its first start takes about 10 s); with
# one, Enlazor is installed into a new folder of it, which goes at the end.
# Every Wine call has a time limit.
set -uo pipefail
cd "$(dirname "$0")/.."

build="${1:-build-windows}"
given_prefix="${2:-}"
work="$(mktemp -d)"
log="$work/wine.log"

export WINEDEBUG=-all
# No Mono or Gecko prompt in a new prefix, and no Linux menu entry made
# from the Start-menu shortcut.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ -n "$given_prefix" ]; then
  export WINEPREFIX="$(realpath "$given_prefix")"
  folder="Horalis-check-$$"
else
  export WINEPREFIX="$work/prefix" WINEARCH=win64
  folder="Horalis"
fi
win_folder="C:\\$folder"
unix_folder="$WINEPREFIX/drive_c/$folder"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Enlazor'
start_menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
shortcut="$start_menu/Enlazor.lnk"
check_shortcut="$start_menu/Enlazor - Comprobar datos.lnk"

wine_run() { # seconds, program and arguments
  local limit="$1"
  shift
  timeout "$limit" wine "$@" 2>>"$log"
}
wine_wait() { timeout 60 wineserver -w 2>>"$log"; }
uninstall_value() { # name: the value of the program-list entry, if any
  wine_run 30 reg query "$uninstall_key" /v "$1" | tr -d '\r' |
    sed -n "s/^ *$1 *REG_[A-Z]* *//p"
}

cleanup() {
  if [ -n "$given_prefix" ]; then
    # A failed uninstall leaves the entry and the shortcut; they name our
    # folder, not an installation of the prefix's owner.
    if [ "$(uninstall_value InstallLocation)" = "$win_folder" ]; then
      wine_run 30 reg delete "$uninstall_key" /f >/dev/null
      rm -f "$shortcut" "$check_shortcut"
    fi
    wine_wait
    rm -rf "$unix_folder"
  else
    timeout 30 wineserver -k 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "ok   $1"; }
fail() { failed=$((failed + 1)); echo "FAIL $1" >&2; }
check() { # description, then a command that succeeds when it holds
  local what="$1"
  shift
  if "$@"; then pass "$what"; else fail "$what"; return 1; fi
}
finish() {
  echo "installer: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}
stop() { # after a failure that leaves nothing more to check
  [ -s "$log" ] && tail -n 20 "$log" >&2
  finish
}
abort() {
  fail "$1"
  stop
}

# ---- the packages ----
[ -f "$build/CPackConfig.cmake" ] \
  || abort "no $build/CPackConfig.cmake: build the Windows programs first (bash scripts/build-windows.sh)"
if ! cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  abort "cpack could not build the installer and the zip"
fi
installer="$(ls "$work"/package/Enlazor-*-win64.exe 2>/dev/null | head -n1)"
zip="$(ls "$work"/package/Enlazor-*-win64.zip 2>/dev/null | head -n1)"
[ -n "$installer" ] && [ -n "$zip" ] || abort "cpack made no Enlazor-<version>-win64.exe and .zip"
version="$(basename "$installer" -win64.exe)"
version="${version#Enlazor-}"
echo "$(basename "$installer"), $(basename "$zip")"

# A 32-bit installer cannot start where only 64-bit programs run.
check "the installer is a 64-bit program (PE32+)" \
  grep -q 'PE32+ executable' <(file -b "$installer")

zip_lists_the_programs() {
  local listed
  listed="$(unzip -Z1 "$zip" | sort | tr '\n' ' ')"
  [ "$listed" = "Enlazor-ayuda.chm LEEME-Enlazor.txt enlazor-cli.exe enlazor-comprobar.exe enlazor.exe " ] \
    || { echo "  the zip holds: $listed" >&2; return 1; }
}
check "the zip holds enlazor.exe, enlazor-cli.exe, enlazor-comprobar.exe, Enlazor-ayuda.chm and LEEME-Enlazor.txt, no folder" \
  zip_lists_the_programs

# ---- a silent install into a folder of Horalis's ----
if [ -z "$given_prefix" ]; then
  wine_run 120 wineboot --init >/dev/null && wine_wait || abort "Wine could not make a prefix in $WINEPREFIX"
elif [ -n "$(uninstall_value DisplayName)" ]; then
  abort "$WINEPREFIX already has Enlazor installed; give a prefix without it"
fi
mkdir -p "$unix_folder"
printf 'MZ Horalis\r\n' >"$unix_folder/Horalis.exe"
printf '[Transformadores]\r\nTransformado=1\r\n' >"$unix_folder/Horalis.ini"
cp "$unix_folder/Horalis.ini" "$work/Horalis.ini"

wine_run 120 "$installer" /S "/D=$win_folder" && wine_wait \
  || abort "the silent install ($(basename "$installer") /S /D=$win_folder) failed or timed out"
installed_programs() {
  [ -f "$unix_folder/enlazor.exe" ] && [ -f "$unix_folder/enlazor-cli.exe" ] \
    && [ -f "$unix_folder/enlazor-comprobar.exe" ] && [ -f "$unix_folder/Desinstalar-Enlazor.exe" ]
}
check "/S /D=$win_folder puts enlazor.exe, enlazor-cli.exe, enlazor-comprobar.exe and the uninstaller in the folder" \
  installed_programs || stop
help_as_saga_chm() {
  [ -f "$unix_folder/Enlazor-ayuda.chm" ] && cmp -s "$unix_folder/SAGA.chm" "$unix_folder/Enlazor-ayuda.chm"
}
check "in a folder without SAGA.chm, the help goes in also as SAGA.chm" help_as_saga_chm

# Runs with no DLL of ours beside it, from where Horalis starts it.
installed_cli_runs() {
  local said
  said="$(wine_run 30 "$win_folder\\enlazor-cli.exe" --version | tr -d '\r')"
  [ "$said" = "enlazor-cli $version" ] || { echo "  enlazor-cli.exe --version said '$said'" >&2; return 1; }
}
check "the installed enlazor-cli.exe runs and is version $version" installed_cli_runs

registered() {
  local name value expected
  for name in DisplayName DisplayVersion UninstallString InstallLocation Publisher; do
    case "$name" in
      DisplayName) expected="Enlazor" ;;
      DisplayVersion) expected="$version" ;;
      UninstallString) expected="\"$win_folder\\Desinstalar-Enlazor.exe\"" ;;
      InstallLocation) expected="$win_folder" ;;
      Publisher) expected="" ;;
    esac
    value="$(uninstall_value "$name")"
    if [ -z "$value" ] || { [ -n "$expected" ] && [ "$value" != "$expected" ]; }; then
      echo "  $name is '$value', expected '${expected:-some text}'" >&2
      return 1
    fi
  done
}
check "the program list names Enlazor, its version, publisher and uninstaller" registered

shortcut_starts_the_window() {
  [ -f "$shortcut" ] && grep -qF "$win_folder\\enlazor.exe" <(strings -a "$shortcut")
}
check "the Start-menu entry \"Enlazor\" starts $win_folder\\enlazor.exe" shortcut_starts_the_window

check_shortcut_starts_the_check() {
  [ -f "$check_shortcut" ] && grep -qF "$win_folder\\enlazor-comprobar.exe" <(strings -a "$check_shortcut")
}
check "the Start-menu entry \"Enlazor - Comprobar datos\" starts $win_folder\\enlazor-comprobar.exe" \
  check_shortcut_starts_the_check

# ---- a silent uninstall ----
wine_run 60 "$win_folder\\Desinstalar-Enlazor.exe" /S && wine_wait \
  || abort "the silent uninstall (Desinstalar-Enlazor.exe /S) failed or timed out"
removed() {
  local file
  for file in enlazor.exe enlazor-cli.exe enlazor-comprobar.exe LEEME-Enlazor.txt Desinstalar-Enlazor.exe \
      Enlazor-ayuda.chm SAGA.chm; do
    [ ! -e "$unix_folder/$file" ] || { echo "  $file is still there" >&2; return 1; }
  done
  [ ! -e "$shortcut" ] || { echo "  the Start-menu entry is still there" >&2; return 1; }
  [ ! -e "$check_shortcut" ] || { echo "  \"Enlazor - Comprobar datos\" is still in the Start menu" >&2; return 1; }
  [ -z "$(uninstall_value DisplayName)" ] || { echo "  the program list still names Enlazor" >&2; return 1; }
}
check "the uninstaller removes the programs, our SAGA.chm, the Start-menu entries and the program-list entry" removed

horalis_stays() {
  [ -f "$unix_folder/Horalis.exe" ] && cmp -s "$unix_folder/Horalis.ini" "$work/Horalis.ini"
}
check "Horalis's files, Horalis.ini among them, and its folder stay" horalis_stays

# ---- Horalis's own SAGA.chm: kept through install and uninstall ----
printf 'ITSF la ayuda de Horalis\r\n' >"$unix_folder/SAGA.chm"
cp "$unix_folder/SAGA.chm" "$work/SAGA.chm"
wine_run 120 "$installer" /S "/D=$win_folder" && wine_wait \
  || abort "the second silent install, beside Horalis's SAGA.chm, failed or timed out"
horalis_help_kept() {
  [ -f "$unix_folder/Enlazor-ayuda.chm" ] && cmp -s "$unix_folder/SAGA.chm" "$work/SAGA.chm"
}
check "beside Horalis's own SAGA.chm, the help goes in under its own name only" horalis_help_kept
wine_run 60 "$win_folder\\Desinstalar-Enlazor.exe" /S && wine_wait \
  || abort "the second silent uninstall failed or timed out"
horalis_help_stays() {
  [ ! -e "$unix_folder/Enlazor-ayuda.chm" ] && cmp -s "$unix_folder/SAGA.chm" "$work/SAGA.chm"
}
check "the uninstaller removes our help and keeps Horalis's SAGA.chm" horalis_help_stays

finish
