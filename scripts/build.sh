#!/usr/bin/env bash
# Builds the native tree (plug-in, LV2 and VST 3 bundles, CLAP module, host tool, the quorvane file
# tool, unit tests, benchmarks) and both Windows DLLs with their host tools,
# then fills dist/.
#
#   scripts/build.sh [--sanitizers] [--native] [LOG]
#
# With LOG, one progress line per build goes to the terminal and the
# compilers' full output to LOG; without it, everything goes to the terminal.
# With --sanitizers, the native tree is also built under AddressSanitizer
# with UndefinedBehaviorSanitizer (build/asan) and under ThreadSanitizer
# (build/tsan), for the test tiers that use them. With --native, the Windows
# trees are left as they are and only the Linux parts of dist/ that the
# native tree makes alone are filled (the file tool, the VST 2.x plug-in, the
# LV2 bundle, the Linux CLAP module); the VST 3 bundle, which holds every
# target's module, and the Windows parts need a full build.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
sanitizers=false
native_only=false
while [ $# -gt 0 ]; do
  case $1 in
    --sanitizers) sanitizers=true ;;
    --native) native_only=true ;;
    *) break ;;
  esac
  shift
done
log=${1:-/dev/stdout}
mkdir -p build
[ "$log" = /dev/stdout ] || : >"$log"

configure() {  # dir, description, extra cmake arguments...
  local dir=$1 what=$2; shift 2
  echo "  building $what (build/$dir)"
  {
    [ -f "build/$dir/CMakeCache.txt" ] ||
      cmake -S . -B "build/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "build/$dir" -j "$jobs"
  } >>"$log" 2>&1
}

configure native "native Linux" -DQV_BENCH=ON
if ! $native_only; then
  configure x86 "32-bit Windows" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-i686.cmake"
  configure x64 "64-bit Windows" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-x86_64.cmake"
fi
if $sanitizers; then
  asan="-fsanitize=address,undefined,float-cast-overflow"
  asan="$asan -fno-sanitize-recover=undefined,float-cast-overflow -fno-omit-frame-pointer"
  configure asan "native Linux under ASan+UBSan" -DCMAKE_CXX_FLAGS="$asan" \
    -DCMAKE_EXE_LINKER_FLAGS="$asan" -DCMAKE_SHARED_LINKER_FLAGS="$asan"
  tsan="-fsanitize=thread -fno-omit-frame-pointer"
  configure tsan "native Linux under TSan" -DCMAKE_CXX_FLAGS="$tsan" \
    -DCMAKE_EXE_LINKER_FLAGS="$tsan" -DCMAKE_SHARED_LINKER_FLAGS="$tsan"
fi

mkdir -p dist/linux dist/lv2 dist/clap/linux
cp build/native/tools/quorvane/quorvane dist/linux/
cp tools/quorvane/quorvane.1 dist/linux/
cp build/native/Quorvane.so dist/linux/
# The bundle is copied whole, so that no file of an older build stays in it.
rm -rf dist/lv2/Quorvane.lv2
cp -r build/native/lv2/Quorvane.lv2 dist/lv2/
cp resources/Quorvane_README.txt dist/
if ! $native_only; then
  mkdir -p dist/x86 dist/x64 dist/vst3 dist/clap/x86 dist/clap/x64
  cp build/x86/Quorvane.dll dist/x86/
  cp build/x64/Quorvane.dll dist/x64/
  # One VST 3 bundle holds the three targets' modules.
  vst3=dist/vst3/Quorvane.vst3
  rm -rf "$vst3"
  cp -r build/native/vst3/Quorvane.vst3 dist/vst3/
  cp -r build/x86/vst3/Quorvane.vst3/Contents/x86-win "$vst3/Contents/"
  cp -r build/x64/vst3/Quorvane.vst3/Contents/x86_64-win "$vst3/Contents/"
fi
# The CLAP module of each target, with the read-me its editor's logo opens
# beside it.
targets=(linux:native)
$native_only || targets+=(x86:x86 x64:x64)
for target in "${targets[@]}"; do
  cp "build/${target#*:}/clap/Quorvane.clap" "dist/clap/${target%%:*}/"
  cp resources/Quorvane_README.txt "dist/clap/${target%%:*}/"
done

# What ships carries no debug information: each binary copied into dist/ is
# stripped of it, and it is kept apart under dist/debug/ (the same path with
# .debug added), which the binary names, so that a debugger finds it. A
# binary that names its file already was stripped by an earlier build (a
# --native build leaves the Windows parts as they were).
StripForShipping() {
  local file=$1 tools="" debug="dist/debug/${1#dist/}.debug"
  if [ "$(head -c 2 "$file")" = MZ ]; then
    tools=i686-w64-mingw32-
    x86_64-w64-mingw32-objdump -f "$file" | grep 'pei-x86-64' >/dev/null && tools=x86_64-w64-mingw32-
  fi
  "${tools}objdump" -h "$file" | grep '\.gnu_debuglink' >/dev/null && return 0
  mkdir -p "$(dirname "$debug")"
  "${tools}objcopy" --only-keep-debug "$file" "$debug"
  "${tools}strip" --strip-debug "$file"
  "${tools}objcopy" --add-gnu-debuglink="$debug" "$file"
}
while IFS= read -r -d '' binary; do
  StripForShipping "$binary"
done < <(find dist -path dist/debug -prune -o -type f \( -name '*.so' -o -name '*.dll' \
  -o -name '*.clap' -o -name '*.vst3' -o -name quorvane \) -print0)
