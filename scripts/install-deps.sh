#!/usr/bin/env bash
# Installs the Debian packages the builds and tests need (as root), only what is missing.
set -euo pipefail
# fonts-wine: Wine's own fonts (its title-bar buttons are glyphs of its Marlett font).
# nlohmann-json3-dev: the JSON reader of other browsers' bookmarks (header-only).
packages=(g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth cmake ninja-build googletest libgtest-dev
          libbenchmark-dev clang-14 libclang-rt-14-dev g++ openssl python3 x11-apps imagemagick
          fonts-wine nlohmann-json3-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
