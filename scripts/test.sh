#!/usr/bin/env bash
# The whole test run: installs what is missing, builds the native, sanitizer and Windows builds
# and runs every suite (native, ASan+UBSan, fuzz smoke runs, Windows under Wine and Xvfb).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh || exit 1
bash scripts/build.sh native asan windows || { echo "build failed"; exit 1; }

export NV_COUNTS=$(mktemp)
status=0
echo "== native"
scripts/run-suite.sh native/unit_tests build/native/unit_tests || status=1
echo "== asan+ubsan"
scripts/run-suite.sh asan/unit_tests build/asan/unit_tests || status=1
echo "== fuzz smoke runs"
bash scripts/fuzz.sh "${NV_FUZZ_SECONDS:-10}" || status=1
echo "== windows (wine)"
xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/run-wine-suites.sh || status=1
echo "== blackbox (wine)"
(source scripts/wine-env.sh && python3 tests/blackbox/run.py) || status=1

read -r passed failed < <(awk '{p+=$2; f+=$3} END {print p+0, f+0}' "$NV_COUNTS")
rm -f "$NV_COUNTS"
echo
echo "all suites: $passed passed, $failed failed"
[ "$passed" -gt 0 ] || status=1
exit $status
