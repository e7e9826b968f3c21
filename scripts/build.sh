#!/usr/bin/env bash
# Configures and builds the three builds: build/native, build/asan (clang, sanitizers, fuzz
# targets) and build/windows (MinGW-w64). Usage: scripts/build.sh [native|asan|windows]...
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
builds=("$@")
((${#builds[@]})) || builds=(native asan windows)
bash "$root/scripts/fetch-sources.sh"
for b in "${builds[@]}"; do
  dir="$root/build/$b"
  case $b in
    native)  args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
    asan)    args=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14
                   -DNV_SANITIZE=ON -DNV_FUZZ=ON) ;;
    windows) args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake") ;;
    *) echo "unknown build '$b'" >&2; exit 2 ;;
  esac
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" -G Ninja "${args[@]}" >/dev/null
  fi
  echo "== building $b"
  cmake --build "$dir" -- -j2 | grep -vE '^\[[0-9]+/[0-9]+\] ' || true
  test "${PIPESTATUS[0]}" -eq 0
done
