#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the render tool need.
# Run as root on a fresh Debian 12 machine.
set -euo pipefail
packages=(
  build-essential cmake pkg-config git
  libgtest-dev libgmock-dev
  libglbinding-dev libegl-dev libegl-mesa0 libgl-dev libgl1-mesa-dri
  libpng-dev
  llvm binutils clang-format-14
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev dpkg-dev wine64 wine xvfb xauth libgl1 libglx-mesa0 libxrender1 libxrandr2 libxi6 libxcursor1 libxfixes3 libxinerama1 libxcomposite1 libxxf86vm1
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
