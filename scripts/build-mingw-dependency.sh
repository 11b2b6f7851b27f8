#!/usr/bin/env bash
# Builds one CMake project from Debian's source package for x86_64-w64-mingw32
# into PREFIX, with the given CMake arguments. Does nothing when PREFIX
# already holds the finished build.
#
#   bash scripts/build-mingw-dependency.sh PACKAGE[=VERSION] PREFIX [CMAKE_ARG...]
set -euo pipefail
if (($# < 2)); then
  echo "usage: $0 PACKAGE[=VERSION] PREFIX [CMAKE_ARG...]" >&2
  exit 2
fi
scripts=$(cd "$(dirname "$0")" && pwd)
package=$1
prefix=$(realpath -m "$2")
shift 2
[[ -f "$prefix/.lumisk-built" ]] && exit 0

work="$prefix.work"
rm -rf "$work" "$prefix"
bash "$scripts/debian-source.sh" "$package" "$work"
# apt-get source unpacks the package into NAME-VERSION/ beside its archives.
sources=("$work/${package%%=*}"-*/)
bash "$scripts/mingw-cmake-install.sh" "${sources[0]}" "$prefix" "$@"
rm -rf "$work"
touch "$prefix/.lumisk-built"
