#!/usr/bin/env bash
# Packs and unpacks a generated tree (default 2,000 files, 400 MiB) with "nvtool archive create"
# and "nvtool archive extract" under Wine, side by side with GNU tar cf / tar xf of the same tree,
# and prints wall time and peak resident memory of each (best of N runs, caches warm).
# Usage: bench/archive_vs_tar.sh [WORKDIR] [FILES] [MIB] [RUNS]   (build/windows must be built)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/tmp/nv_archive_bench}
files=${2:-2000}
mib=${3:-400}
runs=${4:-3}
source "$root/scripts/wine-env.sh"
nv_wine_prefix
nvtool="$root/build/windows/nvtool.exe"
[ -f "$nvtool" ] || { echo "build/windows/nvtool.exe is missing" >&2; exit 1; }

winpath() { echo "Z:${1//\//\\}"; }

generate() {
  rm -rf "$work/src" && mkdir -p "$work/src"
  local per=$((mib * 1024 * 1024 / files)) i dir
  for ((i = 0; i < files; i++)); do
    dir="$work/src/ordner$((i % 40))/teil$((i % 7))"
    mkdir -p "$dir"
    # sizes from 0.5 to 1.5 times the mean, deterministic
    head -c $((per / 2 + (i * 7919) % (per + 1))) /dev/urandom >"$dir/datei$i.htm"
  done
}

# measure NAME COMMAND...: best wall time and the peak RSS of that run
measure() {
  local name=$1 best="" best_rss="" t r out
  shift
  for ((run = 0; run < runs; run++)); do
    rm -rf "$work/out" "$work/x.tar" "$work/x.sad"
    mkdir -p "$work/out"
    sync # every run starts without dirty pages of the one before
    # time writes to a file: Wine's service processes may hold inherited pipes open
    /usr/bin/time -o "$work/time.txt" -f "%e %M" "$@" >/dev/null 2>&1
    read -r t r <"$work/time.txt"
    if [ -z "$best" ] || awk "BEGIN{exit !($t < $best)}"; then best=$t best_rss=$r; fi
  done
  printf '%-16s %8.2f s  %8d KiB peak RSS\n' "$name" "$best" "$best_rss"
  eval "time_${name//[^a-z]/_}=$best"
}

generate
echo "tree: $(find "$work/src" -type f | wc -l) files, $(du -sm "$work/src" | cut -f1) MiB"
cat $(find "$work/src" -type f) >/dev/null # warm the page cache
wineserver -p 60 >/dev/null 2>&1 || true # keep the server up between runs (its output off the pipe)
wine cmd /c exit >/dev/null 2>&1 || true       # and let it start its services before measuring

src_win=$(winpath "$work/src")
measure tar_cf tar cf "$work/x.tar" -C "$work/src" .
measure nvtool_create wine "$nvtool" archive create "$src_win" "$(winpath "$work/x.sad")"
tar cf "$work/keep.tar" -C "$work/src" .
wine "$nvtool" archive create "$src_win" "$(winpath "$work/keep.sad")" >/dev/null 2>&1
measure tar_xf tar xf "$work/keep.tar" -C "$work/out"
measure nvtool_extract wine "$nvtool" archive extract "$(winpath "$work/keep.sad")" "$(winpath "$work/out")"
diff -r "$work/src" "$work/out" >/dev/null && echo "extracted tree equals the source"
# The RSS of extract counts the mapped archive's file pages; its private memory is far smaller.
rm -rf "$work/out" && mkdir -p "$work/out"
echo -n "nvtool_extract: " && bash "$root/bench/peak_memory.sh" wine "$nvtool" archive extract \
  "$(winpath "$work/keep.sad")" "$(winpath "$work/out")" 2>&1 >/dev/null | tail -1

awk -v a="$time_nvtool_create" -v b="$time_tar_cf" 'BEGIN{printf "create / tar cf: %.2f\n", a / b}'
awk -v a="$time_nvtool_extract" -v b="$time_tar_xf" 'BEGIN{printf "extract / tar xf: %.2f\n", a / b}'
rm -rf "$work"
