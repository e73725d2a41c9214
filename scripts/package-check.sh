#!/usr/bin/env bash
# Builds the Debian package from an existing build (default build/) with
# CPack and checks it as a school's technician will meet it: the files it
# holds and the libraries it depends on, lintian (errors fail; warnings and
# notes are shown), apt resolving its dependencies, an installation into a
# throwaway root, the installed enlazor-cli --version, the Windows programs
# it carries (the cross build's own bytes) with enlazor-wine putting them into
# a throwaway Wine prefix, and the manual pages rendered by man.
#
#   bash scripts/package-check.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build}"
fail() {
  echo "package-check: $*" >&2
  exit 1
}
step() { printf '== %s\n' "$1"; }

# The Windows programs the package carries: their targets, and the folder of
# the cross build they are taken from.
[ -f "$build/windows-programs" ] || fail "no $build/windows-programs: configure $build again"
mapfile -t windows_targets <"$build/windows-programs"
windows_programs="$(sed -n 's/^ENLAZOR_WINDOWS_PROGRAMS:[A-Z]*=//p' "$build/CMakeCache.txt")"
windows_paths=()
for target in "${windows_targets[@]}"; do windows_paths+=("usr/lib/enlazor/windows/$target.exe"); done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

step "cpack"
cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; fail "cpack failed"; }
debs=("$work"/package/enlazor_*_*.deb)
[ -f "${debs[0]}" ] || fail "no enlazor_<version>_<arch>.deb in $work/package"
deb="${debs[0]}"
version="$(dpkg-deb --field "$deb" Version)"
echo "$(basename "$deb")"

step "dpkg-deb --contents"
contents="$(dpkg-deb --contents "$deb")"
for path in usr/bin/enlazor usr/bin/enlazor-cli usr/bin/enlazor-comprobar \
    usr/share/applications/enlazor.desktop usr/share/applications/enlazor-comprobar.desktop \
    usr/share/icons/hicolor/scalable/apps/enlazor.svg \
    usr/share/man/man1/enlazor-cli.1.gz usr/share/man/man1/enlazor.1.gz \
    usr/share/man/man1/enlazor-comprobar.1.gz \
    usr/bin/enlazor-wine usr/share/man/man1/enlazor-wine.1.gz \
    usr/share/enlazor/ayuda/Enlazor-ayuda.chm usr/share/enlazor/ayuda/index.html \
    usr/share/enlazor/ayuda/mensajes.html usr/share/enlazor/ayuda/img/ventana-principal.png \
    "${windows_paths[@]}" \
    usr/share/doc/enlazor/copyright usr/share/doc/enlazor/changelog.gz; do
  grep -q " \./$path\$" <<<"$contents" || fail "the package lacks /$path"
done
# The programs in the Horalis folder are for private installations only.
if grep -q " \./usr/enlazor" <<<"$contents"; then fail "the package holds the private-folder copies"; fi
depends="$(dpkg-deb --field "$deb" Depends)"
echo "Depends: $depends"
for library in libc6 libstdc++6 libpugixml1v5 libexpat1 libqt6core6 libqt6gui6 libqt6widgets6 qt6-translations-l10n; do
  grep -q "\b$library\b" <<<"$depends" || fail "Depends lacks $library"
done
# F1 opens SAGA.chm only with a CHM viewer at hand.
[ "$(dpkg-deb --field "$deb" Recommends)" = "xchm" ] || fail "the package does not recommend xchm"

step "lintian"
# Errors fail the check; the rest (a locally built binary lacks, for
# instance, the hardening flags Debian's own build tools add) is shown.
status=0
lintian --fail-on error --display-info "$deb" >"$work/lintian.log" 2>&1 || status=$?
grep -v '^running with root privileges' "$work/lintian.log" || true
[ "$status" -eq 0 ] || fail "lintian reports errors"

step "apt resolves the dependencies"
apt-get install --simulate --no-install-recommends "$deb" >"$work/apt.log" 2>&1 \
  || { cat "$work/apt.log"; fail "apt cannot install the package"; }

step "installed into a throwaway root"
root="$work/root"
dpkg-deb -x "$deb" "$root"
installed_version="$("$root/usr/bin/enlazor-cli" --version)"
[ "$installed_version" = "enlazor-cli $version" ] \
  || fail "enlazor-cli --version says '$installed_version', the package is $version"
echo "$installed_version"
for entry in enlazor enlazor-comprobar; do
  desktop="$root/usr/share/applications/$entry.desktop"
  grep -qx 'Categories=Education;' "$desktop" || fail "the menu entry $entry is not under Education"
  exec_line="$(sed -n 's/^Exec=//p' "$desktop")"
  exec_name="${exec_line%% *}"  # without a field code such as %f
  icon_name="$(sed -n 's/^Icon=//p' "$desktop")"
  [ -x "$root/usr/bin/$exec_name" ] || fail "the menu entry $entry starts '$exec_name', which is not installed"
  [ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon_name.svg" ] \
    || fail "the menu entry $entry's icon '$icon_name' is not installed"
done
# The check window is offered for SAGA documents, which it checks at once.
grep -qx 'MimeType=application/xml;text/xml;' "$root/usr/share/applications/enlazor-comprobar.desktop" \
  || fail "enlazor-comprobar is not offered for XML documents"

step "the Windows programs and enlazor-wine"
for target in "${windows_targets[@]}"; do
  program="$root/usr/lib/enlazor/windows/$target.exe"
  kind="$(file -b "$program")"
  grep -q '^PE32+ executable' <<<"$kind" || fail "$target.exe is no 64-bit Windows program: $kind"
  cmp -s "$program" "$windows_programs/$target.exe" \
    || fail "$target.exe differs from the cross build's $windows_programs/$target.exe"
  echo "$target.exe: $kind"
done
# The installed command, from its own place, into a throwaway prefix that
# holds Horalis's folder; Horalis.ini stays as it was.
horalis="$work/prefix/drive_c/Horalis"
mkdir -p "$horalis"
printf '[Horalis]\r\n' >"$horalis/Horalis.ini"
env -u ENLAZOR_WINDOWS_DIR "$root/usr/bin/enlazor-wine" instalar --prefijo "$work/prefix" \
  || fail "enlazor-wine instalar failed"
for target in "${windows_targets[@]}"; do
  cmp -s "$horalis/$target.exe" "$root/usr/lib/enlazor/windows/$target.exe" \
    || fail "enlazor-wine did not install $target.exe"
done
# The help from /usr/share, also as SAGA.chm in a folder that had none.
for help in Enlazor-ayuda.chm SAGA.chm; do
  cmp -s "$horalis/$help" "$root/usr/share/enlazor/ayuda/Enlazor-ayuda.chm" \
    || fail "enlazor-wine did not install the help as $help"
done
env -u ENLAZOR_WINDOWS_DIR "$root/usr/bin/enlazor-wine" desinstalar --prefijo "$work/prefix" \
  || fail "enlazor-wine desinstalar failed"
[ "$(ls -A "$horalis")" = Horalis.ini ] || fail "enlazor-wine desinstalar left: $(ls -A "$horalis")"

for name in enlazor-cli enlazor-wine; do
  step "man $name"
  page="$root/usr/share/man/man1/$name.1.gz"
  warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)"
  [ -z "$warnings" ] || fail "the manual page of $name has groff warnings: $warnings"
  rendered="$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>&1)"
  for section in NOMBRE SINOPSIS DESCRIPCIÓN ÓRDENES OPCIONES "ESTADO DE SALIDA" ENTORNO ARCHIVOS \
      EJEMPLOS "VÉASE TAMBIÉN"; do
    grep -q "^$section" <<<"$rendered" || fail "the manual page of $name lacks $section"
  done
  head -n 4 <<<"$rendered"
done

step "man enlazor-comprobar"
page="$root/usr/share/man/man1/enlazor-comprobar.1.gz"
warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)"
[ -z "$warnings" ] || fail "the manual page of enlazor-comprobar has groff warnings: $warnings"
rendered="$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>&1)"
for section in NOMBRE SINOPSIS DESCRIPCIÓN OPCIONES ENTORNO EJEMPLOS "VÉASE TAMBIÉN"; do
  grep -q "^$section" <<<"$rendered" || fail "the manual page of enlazor-comprobar lacks $section"
done
head -n 4 <<<"$rendered"

echo "package-check: $(basename "$deb") is fine"
