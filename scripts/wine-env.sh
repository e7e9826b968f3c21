# Sourced: the Wine environment of the tests and the demo. The prefix lives in the build tree
# (never ~/.wine); the ANSI code page is pinned to 1252 through the locale.
: "${NV_ROOT:=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
: "${WINEPREFIX:=$NV_ROOT/build/wineprefix}"
export WINEPREFIX
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine takes the ANSI code page from the locale: C.UTF-8 gives Windows-1252 and UTF-8 file names.
export LC_ALL=C.UTF-8

nv_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
}
