#!/usr/bin/env bash
# Builds glbinding 2.1.1 for x86_64-w64-mingw32 from Debian's source package
# into PREFIX (a static library; users compile with GLBINDING_STATIC_DEFINE,
# which the installed CMake package sets). Does nothing when PREFIX already
# holds the finished build.
#
#   bash scripts/build-glbinding-mingw.sh PREFIX
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
bash "$scripts/debian-source.sh" glbinding=2.1.1-2 "$work"
bash "$scripts/mingw-cmake-install.sh" "$work/glbinding-2.1.1" "$prefix" \
  -DBUILD_SHARED_LIBS=OFF \
  -DOPTION_BUILD_TESTS=OFF -DOPTION_BUILD_GPU_TESTS=OFF -DOPTION_BUILD_EXAMPLES=OFF
rm -rf "$work"
touch "$prefix/.lumisk-built"
