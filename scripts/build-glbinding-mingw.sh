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
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=$(realpath -m "$1")
stamp="$prefix/.lumisk-glbinding-2.1.1"
[[ -f "$stamp" ]] && exit 0

work="$prefix.work"
rm -rf "$work" "$prefix"
mkdir -p "$work"

# The source package needs a deb-src entry; it is there only while fetching.
src_list=/etc/apt/sources.list.d/lumisk-glbinding-src.sources
remove_src_list() {
  [[ -f "$src_list" ]] || return 0
  rm -f "$src_list"
}
trap remove_src_list EXIT
cat >"$src_list" <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
apt-get update -qq
(cd "$work" && apt-get source -qq glbinding=2.1.1-2) >"$work/source.log" 2>&1 \
  || { cat "$work/source.log" >&2; exit 1; }
remove_src_list

jobs=$(( $(nproc) < 8 ? $(nproc) : 8 ))
cmake -S "$work/glbinding-2.1.1" -B "$work/build" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DBUILD_SHARED_LIBS=OFF \
  -DOPTION_BUILD_TESTS=OFF -DOPTION_BUILD_GPU_TESTS=OFF -DOPTION_BUILD_EXAMPLES=OFF \
  >"$work/configure.log" 2>&1 || { cat "$work/configure.log" >&2; exit 1; }
cmake --build "$work/build" -j"$jobs" >"$work/build.log" 2>&1 \
  || { tail -n 50 "$work/build.log" >&2; exit 1; }
cmake --install "$work/build" >"$work/install.log" 2>&1 \
  || { cat "$work/install.log" >&2; exit 1; }
rm -rf "$work"
touch "$stamp"
