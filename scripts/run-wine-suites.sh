#!/usr/bin/env bash
# Runs every Windows test executable of build/windows under Wine, one after the other in one
# prefix (the suites share the suite's named kernel objects). Expects a display (xvfb-run).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh"
nv_wine_prefix
status=0
for exe in "$root"/build/windows/*_tests.exe; do
  [ -f "$exe" ] || continue
  "$root/scripts/run-suite.sh" "windows/$(basename "$exe" .exe)" wine "$exe" || status=1
done
wineserver -k 2>/dev/null || true
exit $status
