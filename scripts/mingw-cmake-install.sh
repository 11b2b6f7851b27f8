#!/usr/bin/env bash
# Configures, builds and installs one CMake project for x86_64-w64-mingw32
# (Release) into PREFIX; the logs are shown only when a step fails.
#
#   bash scripts/mingw-cmake-install.sh SOURCE_DIR PREFIX [CMAKE_ARG...]
set -euo pipefail
if (($# < 2)); then
  echo "usage: $0 SOURCE_DIR PREFIX [CMAKE_ARG...]" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
source_dir=$1
prefix=$2
shift 2
build="$prefix.build"
jobs=$(( $(nproc) < 8 ? $(nproc) : 8 ))
log="$build.log"
rm -rf "$build"
run() { "$@" >>"$log" 2>&1 || { tail -n 60 "$log" >&2; exit 1; }; }
: >"$log"
run cmake -S "$source_dir" -B "$build" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "$@"
run cmake --build "$build" -j"$jobs"
run cmake --install "$build"
rm -rf "$build" "$log"
