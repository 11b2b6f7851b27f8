#!/usr/bin/env bash
# The benchmark's full table on this machine's GPU, one command away: builds
# lumisk-bench if needed, prints the GL renderer, runs lumisk-bench --full
# (extra arguments go to it, e.g. --frames 5). The WGL layer takes a GPU's EGL
# device over a software rasteriser on Mesa's surfaceless platform; when only
# a software rasteriser is found the script stops, unless --allow-software is
# given. LUMISK_BENCH names a built lumisk-bench to run instead of building one.
set -euo pipefail
allow_software=false
bench_args=()
for arg in "$@"; do
  if [ "$arg" = --allow-software ]; then
    allow_software=true
  else
    bench_args+=("$arg")
  fi
done
cd "$(dirname "$0")/.."
bench=${LUMISK_BENCH:-}
if [ -z "$bench" ]; then
  if [ ! -f build/CMakeCache.txt ]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
  fi
  cmake --build build -j"$(nproc)" --target lumisk-bench
  bench=build/bench/lumisk-bench
fi
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
if ! renderer=$("$bench" --renderer 2>"$errors"); then
  cat "$errors" >&2
  echo "bench-gpu.sh: lumisk-bench could not make a GL context (above)" >&2
  exit 1
fi
echo "GL renderer: $renderer"
case "$renderer" in
  *llvmpipe* | *softpipe* | *swrast*)
    if [ "$allow_software" != true ]; then
      echo "bench-gpu.sh: only a software rasteriser ($renderer) was found, so these would be CPU figures;" \
        "no EGL display on a GPU made an OpenGL 3.3 core context. Give --allow-software to run the table anyway." >&2
      exit 1
    fi
    ;;
esac
exec "$bench" --full "${bench_args[@]+"${bench_args[@]}"}"
