# Sourced by the scripts that run the Windows build under Wine: a Wine prefix
# of the build's own, made once, so that nothing of the machine's Wine
# settings leaks in and nothing of ours leaks out.
export WINEPREFIX="$PWD/build-windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  # wineboot may end with an error over a part it could not set up; the
  # prefix counts as made when its registry is there.
  timeout 300 wineboot --init >/dev/null 2>&1 || true
  timeout 120 wineserver -w || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "No se pudo crear el prefijo de Wine en $WINEPREFIX" >&2
    exit 1
  fi
fi
