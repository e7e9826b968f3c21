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
  # Without a window manager under Xvfb, managed windows make Wine wait for window-manager
  # replies on every hide (seconds per dialog); unmanaged windows are drawn by Wine itself.
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    wineserver -w
  fi
}
