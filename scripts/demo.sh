#!/usr/bin/env bash
# The main job in a ready demo environment: builds the program if needed, prepares a demo Wine
# prefix (the suite's registry key with a "CurrentUser", the shell folders, "system.ini",
# "user.ini" and the enciphered per-user file with a small favorites tree and page archive) and
# starts "ImportExport.exe -Favorites" on the user's display, or under Xvfb when there is none
# (a screenshot is then saved to build/demo/screenshot.png).
#
# usage: scripts/demo.sh [--archive] [--no-current-user] [--fresh]
#   --archive           start the page archive wizard ("-Archiv") instead
#   --no-current-user   remove the demo's "CurrentUser": the program shows its fixed message
#   --fresh             build the demo prefix anew
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=-Favorites; user=usr0001; fresh=0
for arg in "$@"; do
  case $arg in
    --archive) mode=-Archiv ;;
    --no-current-user) user= ;;
    --fresh) fresh=1 ;;
    *) echo "usage: $0 [--archive] [--no-current-user] [--fresh]" >&2; exit 2 ;;
  esac
done

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" windows >/dev/null

export WINEPREFIX="$root/build/demo/prefix"
source "$root/scripts/wine-env.sh"
demo="$root/build/demo"
[ "$fresh" = 1 ] && rm -rf "$WINEPREFIX"
nv_wine_prefix
bash "$root/scripts/demo-environment.sh" "$root" "$user"

program='C:\Programme\Quendal\ImportExport.exe'
if [ -n "${DISPLAY:-}" ]; then
  wine "$program" "$mode"
else
  echo "no display: running under Xvfb; screenshot in $demo/screenshot.png"
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c "
    wine '$program' '$mode' & pid=\$!
    sleep 6
    import -window root '$demo/screenshot.png' 2>/dev/null || true
    kill \$pid 2>/dev/null || true
    wineserver -k 2>/dev/null || true"
fi
