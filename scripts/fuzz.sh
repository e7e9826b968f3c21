#!/usr/bin/env bash
# Runs every libFuzzer target of build/asan for the given number of seconds (default 10),
# starting from its seed corpus in fuzz/corpus/<target> when there is one.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-10}
status=0
for src in "$root"/fuzz/*.cpp; do
  [ -f "$src" ] || continue
  name=$(basename "$src" .cpp)
  bin="$root/build/asan/$name"
  [ -x "$bin" ] || { echo "$name: not built"; status=1; continue; }
  work=$(mktemp -d)
  seeds=()
  [ -d "$root/fuzz/corpus/$name" ] && seeds=("$root/fuzz/corpus/$name")
  if "$bin" -max_total_time="$seconds" -rss_limit_mb=2048 "$work" "${seeds[@]}" >"$work.log" 2>&1; then
    echo "$name: $(grep -aoE 'Done [0-9]+ runs' "$work.log" | tail -1) in ${seconds}s, no finding"
  else
    echo "$name: FAILED"; tail -40 "$work.log"; status=1
  fi
  rm -rf "$work" "$work.log"
done
exit $status
