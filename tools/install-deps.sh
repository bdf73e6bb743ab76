#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the run command and the release
# need, when any of them is missing. Wine's 32-bit side (wine32, from the i386
# architecture, added here when needed) runs the 32-bit setup.exe.
set -euo pipefail
packages=(cmake g++ make mingw-w64 wine64 wine32:i386 xvfb xauth xdotool imagemagick icoutils liblnk-utils
  mscompress libmspack-dev python3-olefile python3-pil libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev osslsigncode openssl)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  if [ "$(dpkg --print-architecture)" = amd64 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get -o DPkg::Lock::Timeout=900 update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=900 install -y --no-install-recommends "${missing[@]}"
fi
