#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the run command need,
# when any of them is missing.
set -euo pipefail
packages=(cmake g++ make mingw-w64 wine64 xvfb xauth xdotool imagemagick icoutils liblnk-utils
  mscompress libmspack-dev python3-olefile python3-pil libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
