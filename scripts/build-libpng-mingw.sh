#!/usr/bin/env bash
# Builds libpng 1.6 for x86_64-w64-mingw32 from Debian's source package into
# PREFIX, as a static library over mingw's static zlib (libz-mingw-w64-dev),
# for the Windows render tool. Does nothing when PREFIX already holds it.
#
#   bash scripts/build-libpng-mingw.sh PREFIX
set -euo pipefail
if (($# != 1)); then
  echo "usage: $0 PREFIX" >&2
  exit 2
fi
scripts=$(cd "$(dirname "$0")" && pwd)
prefix=$(realpath -m "$1")
[[ -f "$prefix/.lumisk-built" ]] && exit 0

work="$prefix.work"
rm -rf "$work" "$prefix"
bash "$scripts/debian-source.sh" libpng1.6 "$work"
bash "$scripts/mingw-cmake-install.sh" "$(echo "$work"/libpng1.6-*/)" "$prefix" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
rm -rf "$work"
touch "$prefix/.lumisk-built"
