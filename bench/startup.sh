#!/usr/bin/env bash
# Start-up benchmark: the time from process start to the visible wizard frame, against a bare
# window with the same four buttons (bench/win/BareWindow.cpp), started and timed by the same
# driver (bench/win/StartupBench.cpp) in the same run, alternating; medians and their ratio.
# It runs the demo installation of scripts/demo.sh in a prefix of its own (build/bench/prefix)
# under Xvfb; the program is the first of the suite, so it loads the configuration itself.
#
# usage: bench/startup.sh [RUNS] [--archive]      (default 9 runs of each, -Favorites)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=9; mode=-Favorites
for arg in "$@"; do
  case $arg in
    --archive) mode=-Archiv ;;
    [0-9]*) runs=$arg ;;
    *) echo "usage: $0 [RUNS] [--archive]" >&2; exit 2 ;;
  esac
done

bash "$root/scripts/build.sh" windows >/dev/null
export WINEPREFIX="$root/build/bench/prefix"
source "$root/scripts/wine-env.sh"
nv_wine_prefix
bash "$root/scripts/demo-environment.sh" "$root" usr0001
program='C:\Programme\Quendal'
cp "$root/build/windows/bare_window.exe" "$WINEPREFIX/drive_c/Programme/Quendal/"
bench="$root/build/windows/startup_bench.exe"

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  timeout 600 wine "$@"; status=$?
  wineserver -k 2>/dev/null || true
  exit $status' bench "$bench" "$program\\ImportExport.exe" "$mode" "$program\\bare_window.exe" "$runs"
