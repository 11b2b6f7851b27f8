#!/usr/bin/env bash
# Sets up, builds and runs the main job: renders the built-in test card through
# the module into lumisk.png (pass lumisk-render options to change it).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
./build/tools/lumisk-render "$@"
