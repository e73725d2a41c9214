#!/usr/bin/env bash
# enlazor-wine against throwaway Wine prefixes: plain folders that look like
# one (drive_c, maybe dosdevices/c:) with Horalis's files in its folder, and
# stub programs through ENLAZOR_WINDOWS_DIR; no Wine is run. The command runs
# under dash, as /bin/sh does on Debian, so no bash-only construct slips in.
#
#   bash tests/packaging/enlazor_wine_test.sh BUILD/bin/enlazor-wine
set -uo pipefail
command="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"  # the read-only row runs as another user
passed=0 failed=0
check() { # name, then a test command
  if "${@:2}"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: $1" >&2; fi
}
stubs="$work/stubs"
mkdir -p "$stubs"
# The programs the package carries, as the build wrote their list into the
# command; a stub of each.
programs="$(sed -n "s/^programs='\(.*\)'$/\1/p" "$command")"
[ -n "$programs" ] || { echo "no list of programs in $command" >&2; exit 1; }
for program in $programs; do printf 'MZ %s' "$program" >"$stubs/$program"; done
# And of the help, under the name the build wrote into the command.
help="$(sed -n "s/^help='\(.*\)'$/\1/p" "$command")"
[ -n "$help" ] || { echo "no help file name in $command" >&2; exit 1; }
printf 'ITSF ayuda de Enlazor' >"$stubs/$help"

# A prefix whose drive C: holds the given folders, each with Horalis's files,
# and one file of an earlier Windows installation that is not ours to remove.
make_prefix() { # dir, folders...
  local prefix="$1" folder
  shift
  for folder in "$@"; do
    mkdir -p "$prefix/drive_c/$folder"
    printf '[Horalis]\r\nResultado=1\r\n' >"$prefix/drive_c/$folder/Horalis.ini"
    printf 'MZ horalis' >"$prefix/drive_c/$folder/HORALIS.EXE"
    printf 'LEEME' >"$prefix/drive_c/$folder/LEEME-Enlazor.txt"
  done
}
snapshot() { (cd "$1" && find . -printf '%p %y %m %s\n' | sort && find . -type f -exec md5sum {} + | sort); }
run() { # environment assignments, then arguments; output in $out, status in $status
  local assignments=()
  while [[ "$1" == *=* ]]; do assignments+=("$1"); shift; done
  out="$(env ENLAZOR_WINDOWS_DIR="$stubs" ENLAZOR_HELP_FILE="$stubs/$help" "${assignments[@]}" sh "$command" "$@" 2>&1)"
  status=$?
}
installed_in() {
  local program
  for program in $programs; do cmp -s "$stubs/$program" "$1/$program" || return 1; done
}
said_removed() { grep -q '^Quitado de C:\\Horalis' <<<"$out" && grep -qF "$programs" <<<"$out"; }
# What the folder should list once they are in: Horalis's three files and
# ours, the help also as SAGA.chm.
listed_with_ours="$(printf '%s\n' HORALIS.EXE Horalis.ini LEEME-Enlazor.txt $programs "$help" SAGA.chm |
  LC_ALL=C sort | tr '\n' ' ')"

# Round trip, whatever the drive: instalar puts exactly our programs into the
# folder, desinstalar takes exactly them out, and Horalis's files keep their
# bytes. With dosdevices/c: the drive is where it points, not drive_c.
for layout in drive_c dosdevices; do
  prefix="$work/round-$layout"
  make_prefix "$prefix" Horalis
  drive="$prefix/drive_c"
  if [ "$layout" = dosdevices ]; then
    mkdir -p "$prefix/dosdevices" "$prefix/other_c"
    mv "$drive/Horalis" "$prefix/other_c/" && ln -s ../other_c "$prefix/dosdevices/c:"
    drive="$prefix/other_c"
  fi
  before="$(snapshot "$prefix")"
  run instalar --prefijo "$prefix"
  check "$layout: instalar succeeds, in Spanish" grep -q '^Instalado en C:\\Horalis' <<<"$out"
  check "$layout: the programs are installed" installed_in "$drive/Horalis"
  check "$layout: only our programs were added" \
    test "$(ls -A "$drive/Horalis" | LC_ALL=C sort | tr '\n' ' ')" = "$listed_with_ours"
  run desinstalar --prefijo "$prefix"
  check "$layout: desinstalar says what it removed" said_removed
  check "$layout: the prefix is as before, byte for byte" test "$(snapshot "$prefix")" = "$before"
done

# A program copied there by hand on Windows, in capitals, is the one Wine
# starts: it is replaced in place, and removed, with no second copy beside it.
horalis="$work/capitals/drive_c/Horalis"
make_prefix "$work/capitals" Horalis
printf 'MZ older' >"$horalis/ENLAZOR.EXE"
run instalar --prefijo "$work/capitals"
check "capitals: replaced in place" cmp -s "$stubs/enlazor.exe" "$horalis/ENLAZOR.EXE"
check "capitals: no second copy" test ! -e "$horalis/enlazor.exe"
run desinstalar --prefijo "$work/capitals"
check "capitals: removed" test "$(ls "$horalis" | LC_ALL=C sort | tr '\n' ' ')" = "HORALIS.EXE Horalis.ini LEEME-Enlazor.txt "

# SAGA.chm: ours goes in only where there is none, and comes out only when
# it is ours; Horalis's own, whatever the case of its name, keeps its bytes.
# Columns: the SAGA.chm there before (none, horalis, ours), its name, the
# help source (stub, or none), then what instalar and desinstalar leave.
while IFS='|' read -r before name source after_install after_uninstall; do
  prefix="$(mktemp -d "$work/saga.XXXXXX")"
  make_prefix "$prefix" Horalis
  horalis="$prefix/drive_c/Horalis"
  case $before in
    horalis) printf 'ITSF ayuda de Horalis' >"$horalis/$name" ;;
    ours) cp "$stubs/$help" "$horalis/$name" ;;
  esac
  help_file="$stubs/$help"
  [ "$source" = stub ] || help_file="$work/no-help.chm"
  saga_chm() { # what the folder's SAGA.chm is: none, ours or horalis
    local entry
    entry="$(find "$horalis" -maxdepth 1 -iname saga.chm)"
    if [ -z "$entry" ]; then echo none
    elif cmp -s "$entry" "$stubs/$help"; then echo "ours:${entry##*/}"
    else echo "horalis:${entry##*/}"; fi
  }
  run ENLAZOR_HELP_FILE="$help_file" instalar --prefijo "$prefix"
  check "SAGA.chm $before as $name, help $source: instalar leaves $after_install (left $(saga_chm))" \
    test "$(saga_chm)" = "$after_install"
  if [ "$source" = stub ]; then
    check "SAGA.chm $before as $name: the help is in under its own name" cmp -s "$stubs/$help" "$horalis/$help"
  else
    check "no help: said so, and the programs are in" \
      eval 'grep -q "no se encuentra la ayuda" <<<"$out" && installed_in "$horalis"'
  fi
  run ENLAZOR_HELP_FILE="$help_file" desinstalar --prefijo "$prefix"
  check "SAGA.chm $before as $name, help $source: desinstalar leaves $after_uninstall (left $(saga_chm))" \
    test "$(saga_chm)" = "$after_uninstall"
  check "SAGA.chm $before as $name: our help under its own name is gone" test ! -e "$horalis/$help"
done <<'TABLE'
none|SAGA.chm|stub|ours:SAGA.chm|none
horalis|SAGA.chm|stub|horalis:SAGA.chm|horalis:SAGA.chm
horalis|saga.CHM|stub|horalis:saga.CHM|horalis:saga.CHM
ours|Saga.chm|stub|ours:Saga.chm|none
none|SAGA.chm|none|none|none
TABLE

# Which folder without --carpeta: the first that exists, in this order; with
# --carpeta, the one it names, whatever its case.
while IFS='|' read -r folders arguments expected; do
  prefix="$(mktemp -d "$work/folder.XXXXXX")"
  IFS=, read -ra list <<<"$folders"
  make_prefix "$prefix" "${list[@]}"
  eval "run instalar --prefijo \"\$prefix\" $arguments"
  check "folders $folders, $arguments: into $expected" installed_in "$prefix/drive_c/$expected"
  check "folders $folders, $arguments: nowhere else" \
    test "$(find "$prefix" -name enlazor.exe | wc -l)" = 1
done <<'TABLE'
Horalis,Program Files (x86)/Horalis,Program Files/Horalis||Horalis
Program Files (x86)/Horalis,Program Files/Horalis||Program Files (x86)/Horalis
Program Files/Horalis||Program Files/Horalis
Horalis,Escuela/Horarios|--carpeta 'c:\escuela\HORARIOS'|Escuela/Horarios
Horalis,Escuela/Horarios|--carpeta=C:/Escuela/Horarios|Escuela/Horarios
TABLE

# Which prefix: --prefijo, else WINEPREFIX, else ~/.wine.
for prefix in option variable home/.wine; do make_prefix "$work/$prefix" Horalis; done
while read -r expected arguments; do
  for prefix in option variable home/.wine; do rm -f "$work/$prefix/drive_c/Horalis/"*.exe; done
  eval "run HOME=\"\$work/home\" $arguments instalar"
  check "$arguments: into $expected" installed_in "$work/$expected/drive_c/Horalis"
  check "$arguments: into $expected only" test "$(find "$work/option" "$work/variable" "$work/home" -name enlazor.exe | wc -l)" = 1
done <<'TABLE'
option WINEPREFIX="$work/variable" --prefijo "$work/option"
variable WINEPREFIX="$work/variable"
home/.wine WINEPREFIX=
TABLE

# What stops it: a clear Spanish message, the exit status, nothing changed.
# Each row sets up a fresh prefix with C:\Horalis, then breaks it.
cannot_write() {
  # Root writes into any folder whatever its mode, so when the test runs as
  # root the command runs as nobody, for whom the folder is not writable.
  chmod 555 "$prefix/drive_c/Horalis"
  if [ "$(id -u)" -eq 0 ]; then chmod -R a+rX "$work" && wrap=(setpriv --reuid=65534 --regid=65534 --clear-groups); fi
}
while IFS='|' read -r name breakage arguments expected_status message; do
  prefix="$work/broken"
  rm -rf "$prefix" && make_prefix "$prefix" Horalis
  wrap=() programs_dir="$stubs"
  eval "$breakage"
  before="$(snapshot "$work")"
  out="$(eval "env ENLAZOR_WINDOWS_DIR=\"\$programs_dir\" ${wrap[*]} sh \"\$command\" $arguments" 2>&1)"
  status=$?
  check "$name: exit status $expected_status (was $status)" test "$status" = "$expected_status"
  check "$name: says '$message'" grep -q -- "$message" <<<"$out"
  check "$name: nothing changed" test "$(snapshot "$work")" = "$before"
  chmod -R u+w "$work"
done <<'TABLE'
missing prefix|:|instalar --prefijo "$work/none"|1|no existe el prefijo de Wine
prefix without drive C:|rm -rf "$prefix/drive_c"|instalar --prefijo "$prefix"|1|no tiene la unidad C:
no Horalis folder|mv "$prefix/drive_c/Horalis" "$prefix/drive_c/Otro"|instalar --prefijo "$prefix"|1|no se encuentra la carpeta de Horalis
missing --carpeta|:|instalar --prefijo "$prefix" --carpeta 'C:\Otro'|1|no existe la carpeta C:\\Otro
a file in place of the folder|rm -rf "$prefix/drive_c/Horalis" && touch "$prefix/drive_c/Horalis"|instalar --prefijo "$prefix" --carpeta 'C:\Horalis'|1|no es una carpeta
read-only folder|cannot_write|instalar --prefijo "$prefix"|1|no se puede escribir en la carpeta
desinstalar, read-only folder|cp "$stubs"/*.exe "$prefix/drive_c/Horalis" && cannot_write|desinstalar --prefijo "$prefix"|1|no se puede escribir en la carpeta
a missing program, the other not copied|programs_dir="$work/half" && mkdir -p "$programs_dir" && cp "$stubs/enlazor.exe" "$programs_dir"|instalar --prefijo "$prefix"|1|falta el programa de Windows .*enlazor-cli.exe
desinstalar, missing folder|rm -rf "$prefix/drive_c/Horalis"|desinstalar --prefijo "$prefix"|1|no se encuentra la carpeta de Horalis
no order|:|--prefijo "$prefix"|2|falta la orden
unknown order|:|copiar|2|orden desconocida
two orders|:|instalar desinstalar|2|sobra
unknown option|:|instalar --force|2|opción desconocida
option without its value|:|instalar --prefijo|2|--prefijo necesita un valor
not a Windows path|:|instalar --carpeta /tmp|2|espera una ruta de Windows
help|:|--help|0|^Uso: enlazor-wine instalar
TABLE

echo "enlazor-wine: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
