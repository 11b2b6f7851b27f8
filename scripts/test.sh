#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite: once plainly, once under
# AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# Without it the format check would only be skipped.
if ! clang-format-14 --version > /dev/null 2>&1; then
  echo "$0: clang-format-14 is missing (scripts/setup.sh installs it); the format check needs it" >&2
  exit 1
fi
jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DLUMISK_SANITIZE=ON
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"
bash scripts/test-windows.sh
