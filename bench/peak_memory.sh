#!/usr/bin/env bash
# Runs a command and reports, besides its output, the peak anonymous (private) resident memory
# of the process tree it starts, sampled every 20 ms from /proc (RssAnon: heap, stacks and other
# private pages; file-backed pages of mapped files are not counted), and the peak total RSS.
# Usage: bench/peak_memory.sh COMMAND [ARGS...]
set -uo pipefail
"$@" &
root=$!
peak_anon=0
peak_rss=0
tree() { echo "$1"; for c in $(cat /proc/"$1"/task/*/children 2>/dev/null); do tree "$c"; done; }
while kill -0 "$root" 2>/dev/null; do
  anon=0 rss=0
  for p in $(tree "$root"); do
    a=$(awk '/^RssAnon:/ {print $2}' /proc/"$p"/status 2>/dev/null); anon=$((anon + ${a:-0}))
    r=$(awk '/^VmRSS:/ {print $2}' /proc/"$p"/status 2>/dev/null); rss=$((rss + ${r:-0}))
  done
  ((anon > peak_anon)) && peak_anon=$anon
  ((rss > peak_rss)) && peak_rss=$rss
  sleep 0.02
done
wait "$root"
status=$?
echo "peak private (RssAnon): $((peak_anon / 1024)) MiB, peak RSS: $((peak_rss / 1024)) MiB, exit $status" >&2
exit $status
