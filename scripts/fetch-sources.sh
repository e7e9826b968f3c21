#!/usr/bin/env bash
# Fetches the C libraries the builds compile in from Debian's source packages of this release,
# into build/third_party/ (never committed), once:
#   build/third_party/sqlite/  sqlite3.c and sqlite3.h, the amalgamation built from "sqlite3"
#   build/third_party/lz4/     lz4.c and lz4.h from "lz4" (its block decoder and compressor)
# The source entries apt needs are derived from the machine's own apt sources (same archives,
# suites and components, type deb-src). Needs root the first time (apt); dpkg-dev unpacks,
# tcl and a C compiler build the amalgamation.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dest="$root/build/third_party"
sqlite_version=3.40.1
lz4_version=1.9.4

fail() { echo "fetch-sources: $*" >&2; exit 1; }

have_sqlite() {
  [ -f "$dest/sqlite/sqlite3.c" ] && [ -f "$dest/sqlite/sqlite3.h" ] &&
    grep -q "^#define SQLITE_VERSION  *\"$sqlite_version\"" "$dest/sqlite/sqlite3.h"
}
have_lz4() {
  [ -f "$dest/lz4/lz4.c" ] && [ -f "$dest/lz4/lz4.h" ] &&
    [ "$(awk '/^#define LZ4_VERSION_(MAJOR|MINOR|RELEASE) / { v = v (v == "" ? "" : ".") $3 } END { print v }' \
         "$dest/lz4/lz4.h")" = "$lz4_version" ]
}
have_sqlite && have_lz4 && exit 0

# deb-src twins of the machine's deb entries, in files of their own: stanzas of the deb822
# files (*.sources) with "Types: deb" become "Types: deb-src", lines "deb ..." of the one-line
# files become "deb-src ...". Stanzas that list deb-src already are left out.
add_source_entries() {
  local stanzas="" lines=""
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && [ "$f" != /etc/apt/sources.list.d/nv-deb-src.sources ] || continue
    stanzas+=$(awk 'BEGIN { RS = ""; ORS = "\n\n" }
                    /Types:[^\n]*deb-src/ { next }
                    /Types:[ \t]*deb/ { sub(/Types:[ \t]*deb/, "Types: deb-src"); print }' "$f")$'\n'
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && [ "$f" != /etc/apt/sources.list.d/nv-deb-src.list ] || continue
    lines+=$(sed -n 's/^[ \t]*deb[ \t]\+/deb-src /p' "$f")$'\n'
  done
  [ -n "${stanzas//[[:space:]]/}${lines//[[:space:]]/}" ] ||
    fail "no deb entry in the apt sources to derive a source entry from"
  [ -n "${stanzas//[[:space:]]/}" ] && printf '%s\n' "$stanzas" >/etc/apt/sources.list.d/nv-deb-src.sources
  [ -n "${lines//[[:space:]]/}" ] && printf '%s\n' "$lines" >/etc/apt/sources.list.d/nv-deb-src.list
  apt-get update -qq
}

# The newest version of source package $1 that apt knows, or nothing.
source_version() {
  { apt-cache showsrc "$1" 2>/dev/null || true; } | sed -n 's/^Version: //p' | sort -V | tail -1
}

# Unpacks source package $1 of the pinned upstream version $2 into $3 (the unpacked folder).
fetch_source() {
  local package=$1 version=$2 work=$3
  local found
  found=$(source_version "$package")
  [ -n "$found" ] || { add_source_entries; found=$(source_version "$package"); }
  case $found in
    "$version"-*|"$version"|*:"$version"-*) ;;
    "") fail "Debian's source package '$package' is not available from the apt sources" ;;
    *) fail "Debian's source package '$package' is version $found; the builds expect $version (scripts/fetch-sources.sh)" ;;
  esac
  rm -rf "$work" && mkdir -p "$work"
  (cd "$work" && apt-get source -qq "$package=$found" >/dev/null 2>"$work.log") ||
    { cat "$work.log" >&2; fail "apt-get source $package=$found failed"; }
  rm -f "$work.log"
}

command -v dpkg-source >/dev/null || fail "dpkg-source is missing: scripts/install-deps.sh installs dpkg-dev"
command -v tclsh >/dev/null || fail "tclsh is missing: scripts/install-deps.sh installs tcl"
mkdir -p "$dest"

if ! have_sqlite; then
  echo "== fetching Debian's sqlite3 $sqlite_version source and building its amalgamation"
  work="$dest/sqlite3-source"
  fetch_source sqlite3 "$sqlite_version" "$work"
  tree=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'sqlite3-*' | head -1)
  [ -n "$tree" ] || fail "the sqlite3 source package has no source folder"
  (cd "$tree" && ./configure --disable-tcl --disable-readline >"$work/build.log" 2>&1 &&
     make sqlite3.c >>"$work/build.log" 2>&1) ||
    { tail -30 "$work/build.log" >&2; fail "building sqlite3.c failed (log: $work/build.log)"; }
  mkdir -p "$dest/sqlite"
  cp "$tree/sqlite3.c" "$tree/sqlite3.h" "$dest/sqlite/"
  have_sqlite || fail "the amalgamation is not SQLite $sqlite_version"
  rm -rf "$work"
fi

if ! have_lz4; then
  echo "== fetching Debian's lz4 $lz4_version source"
  work="$dest/lz4-source"
  fetch_source lz4 "$lz4_version" "$work"
  lib=$(find "$work" -mindepth 2 -maxdepth 2 -type d -name lib | head -1)
  [ -n "$lib" ] && [ -f "$lib/lz4.c" ] || fail "the lz4 source package has no lib/lz4.c"
  mkdir -p "$dest/lz4"
  cp "$lib/lz4.c" "$lib/lz4.h" "$dest/lz4/"
  have_lz4 || fail "lib/lz4.h is not LZ4 $lz4_version"
  rm -rf "$work"
fi
