#!/usr/bin/env bash
# Cross-builds the Windows module, the test host, the tools and the tests with
# mingw-w64, then runs the tests under Wine on one Xvfb display. Expects the
# Linux build in build/ (scripts/test.sh makes it first): the render tool's
# Windows output is compared with its Linux output.
#
#   bash scripts/test-windows.sh               # build, then test under Wine
#   bash scripts/test-windows.sh --build-only  # build-windows/project/effect/ZQLumisk.aex
set -euo pipefail
usage() {
  echo "usage: $0 [--build-only]" >&2
  exit 2
}
build_only=false
case "$#:${1:-}" in
  0:) ;;
  1:--build-only) build_only=true ;;
  *) usage ;;
esac
cd "$(dirname "$0")/.."
bash scripts/setup.sh
root=$(pwd)
out="$root/build-windows"
deps="$out/deps"
jobs=$(( $(nproc) < 8 ? $(nproc) : 8 ))

# glbinding 2.1.1 as a static library (users compile with
# GLBINDING_STATIC_DEFINE, which its installed CMake package sets).
bash scripts/build-mingw-dependency.sh glbinding=2.1.1-2 "$deps/glbinding" \
  -DBUILD_SHARED_LIBS=OFF \
  -DOPTION_BUILD_TESTS=OFF -DOPTION_BUILD_GPU_TESTS=OFF -DOPTION_BUILD_EXAMPLES=OFF
# libpng 1.6, static over mingw's static zlib (libz-mingw-w64-dev), for the
# Windows render tool.
bash scripts/build-mingw-dependency.sh libpng1.6 "$deps/libpng" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
# GoogleTest from Debian's source copy (libgtest-dev), built once for this target.
if [[ ! -f "$deps/googletest/.lumisk-built" ]]; then
  rm -rf "$deps/googletest"
  bash scripts/mingw-cmake-install.sh /usr/src/googletest "$deps/googletest"
  touch "$deps/googletest/.lumisk-built"
fi

cmake -S . -B "$out/project" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "-DLUMISK_MINGW_DEPS=$deps/glbinding;$deps/libpng;$deps/googletest" \
  -DLUMISK_LINUX_BUILD_DIR="$root/build"
cmake --build "$out/project" -j"$jobs"
$build_only && exit 0
# Each test runs once: scripts/wine-run.sh, the build's emulator, tries
# again only a Wine start that died before its program printed anything.
bash scripts/wine-session.sh "$out" \
  ctest --test-dir "$out/project" --output-on-failure -j"$jobs"
