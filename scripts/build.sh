#!/usr/bin/env bash
# Builds the native tree (plug-in, host tool, the quorvane file tool, unit
# tests, benchmarks) and both Windows DLLs with their host tools, then fills
# dist/.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

configure() {  # dir, extra cmake arguments...
  local dir=$1; shift
  [ -f "build/$dir/CMakeCache.txt" ] || cmake -S . -B "build/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "build/$dir" -j "$jobs"
}

configure native -DQV_BENCH=ON
configure x86 -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-i686.cmake"
configure x64 -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-x86_64.cmake"

mkdir -p dist/x86 dist/x64 dist/linux
cp build/x86/Quorvane.dll dist/x86/
cp build/x64/Quorvane.dll dist/x64/
cp build/native/tools/quorvane/quorvane dist/linux/
if [ -f resources/Quorvane_README.txt ]; then cp resources/Quorvane_README.txt dist/; fi
