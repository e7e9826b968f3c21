#!/usr/bin/env bash
# The main job: installs what is missing, builds the Windows build if needed and prepares a
# demo installation in its own Wine prefix (build/demo/prefix; scripts/demo-environment.sh).
# - With a display, it starts "ImportExport.exe -Favorites" there.
# - Without one, it runs the program under Xvfb and gives a guided tour (build/windows/
#   demo_tour.exe): both wizards in both directions, driven with mouse clicks and key presses,
#   with real conversions whose results are measured afterwards. A picture of every page and
#   message box goes to build/demo/screenshots/ (NN-name.png, in tour order) and a log of every
#   step to build/demo/tour.log; both are printed at the end. Exits non-zero if a step failed.
#
# usage: scripts/demo.sh [--archive] [--no-current-user] [--fresh]
#   --archive           the page archive wizard ("-Archiv"); without a display, its part of the tour
#   --no-current-user   remove the demo's "CurrentUser": the program shows its fixed message
#   --fresh             build the demo prefix anew
set -euo pipefail
# A step that fails says which one: some steps keep their own output quiet.
trap 'echo "demo: \"$BASH_COMMAND\" failed with status $? (line $LINENO)" >&2' ERR
root=$(cd "$(dirname "$0")/.." && pwd)
mode=-Favorites; user=usr0001; fresh=0; parts=()
for arg in "$@"; do
  case $arg in
    --archive) mode=-Archiv; parts=(archive) ;;
    --no-current-user) user= ;;
    --fresh) fresh=1 ;;
    *) echo "usage: $0 [--archive] [--no-current-user] [--fresh]" >&2; exit 2 ;;
  esac
done
[ -z "$user" ] && parts=(missing-user)

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
  exit 0
fi

# Without a display: the tour under Xvfb. Wine reaches the host's files through drive Z:.
shots="$demo/screenshots"
log="$demo/tour.log"
rm -rf "$shots" "$log"
mkdir -p "$shots"
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }
echo "no display: a guided tour of the program under Xvfb"
status=0
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  timeout 300 wine "$1" "C:\Programme\Quendal" "$2" "$3" "${@:4}"; status=$?
  wineserver -k 2>/dev/null || true
  exit $status' tour "$root/build/windows/demo_tour.exe" "$(windows_path "$shots")" "$(windows_path "$log")" \
  "${parts[@]}" || status=$?
if compgen -G "$shots/*.bmp" >/dev/null; then
  (cd "$shots" && mogrify -format png ./*.bmp && rm -f ./*.bmp)
fi
[ -f "$log" ] && cat "$log"
echo
echo "screenshots: $shots"
echo "log:         $log"
exit $status
