#!/usr/bin/env bash
# Runs one GoogleTest executable, shows its output on failure and appends its counts to
# $NV_COUNTS (lines "suite passed failed").
set -uo pipefail
name=$1; shift
log=$(mktemp)
# A hanging suite must fail the run, not block it: each suite gets at most NV_SUITE_TIMEOUT s.
timeout "${NV_SUITE_TIMEOUT:-900}" "$@" --gtest_brief=1 >"$log" 2>&1
rc=$?
[ "$rc" -eq 124 ] && echo "$name: timed out after ${NV_SUITE_TIMEOUT:-900} s" >>"$log"
passed=$(grep -aoE '^\[  PASSED  \] [0-9]+' "$log" | grep -oE '[0-9]+$' || echo 0)
failed=$(grep -aoE '^\[  FAILED  \] [0-9]+ tests?, listed below' "$log" | grep -oE '[0-9]+' | head -1 || echo 0)
: "${passed:=0}" "${failed:=0}"
if [ "$rc" -ne 0 ] && [ "$failed" -eq 0 ]; then failed=1; fi  # crashed or aborted
if [ "$rc" -ne 0 ]; then cat "$log"; fi
printf '%-28s %4d passed, %d failed\n' "$name:" "$passed" "$failed"
[ -n "${NV_COUNTS:-}" ] && echo "$name $passed $failed" >>"$NV_COUNTS"
rm -f "$log"
exit $rc
