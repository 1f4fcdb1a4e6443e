#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
set -euo pipefail

packages=(
  cmake make g++ pkg-config clang-format
  libgtest-dev libbenchmark-dev libsndfile1-dev libsoxr-dev libstb-dev libfreetype-dev fonts-liberation
  libfftw3-dev sox ffmpeg sndfile-programs flac bc time valgrind clang libclang-rt-14-dev python3
  python3-pil git
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 wine32:i386 xvfb xauth openbox
  libx11-dev libxext-dev libxtst-dev libxres-dev xdotool x11-utils xrestop ardour
  lv2-dev lilv-utils lv2-examples jalv jackd2 sordi
)

sudo_if_needed() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  sudo_if_needed dpkg --add-architecture i386
fi
sudo_if_needed apt-get update -qq
sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
