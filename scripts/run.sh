#!/usr/bin/env bash
# Sets up, builds and runs the main job: the test host loads the built module
# and prints what it answers to the about, set-up and parameter commands, for
# an English and a Simplified Chinese host.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
./build/testhost/lumisk-testhost --language en_US
./build/testhost/lumisk-testhost --language zh_CN
