#!/usr/bin/env bash
# The benchmark's full table on this machine's GL, one command away: builds
# lumisk-bench if needed, prints the GL renderer string, runs lumisk-bench
# --full (extra arguments go to it, e.g. --frames 5). On a machine with a GPU
# and its vendor's EGL, the WGL layer takes EGL's device platform when the
# surfaceless one is missing, so the figures are the GPU's.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build build -j"$(nproc)" --target lumisk-bench
echo "GL renderer: $(build/bench/lumisk-bench --renderer 2>/dev/null | tail -n 1)"
exec build/bench/lumisk-bench --full "$@"
