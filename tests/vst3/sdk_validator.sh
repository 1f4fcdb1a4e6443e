#!/bin/bash
# The VST 3 format's own validator and module-description tool, built from the
# SDK's sources where they are kept beside this checkout
# (../shared/vst3-validator/), run on the bundle's three modules: the Linux one
# natively, the Windows ones under wine with Windows builds of the validator.
# Each must pass every test plain, extensive (-e) and with a new instance per
# test (-l); twenty plain runs must never report a wrong silence flag; and the
# bundle's moduleinfo.json must agree with the module.
#
#   tests/vst3/sdk_validator.sh BUNDLE WORK_DIR
#
# WORK_DIR keeps the validator's builds between runs. Prints "ok - NAME" /
# "not ok - NAME" lines and "# " diagnostics; without the sources, one
# "# skipped: " line saying why nothing ran.
set -u
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../lib/checks.sh
source "$HERE/../lib/checks.sh"
BUNDLE=$(realpath -m "$1")
WORK=$(realpath -m "$2")
SOURCES="$HERE/../../../shared/vst3-validator"
ARCHIVE="$SOURCES/vst3sdk-3.7.14-validator.tar.xz"

if [ ! -f "$ARCHIVE" ]; then
  echo "# skipped: the VST 3 validator's sources ($ARCHIVE) are not beside this checkout"
  exit 0
fi
UseWine "$WORK" 600

# Tool NAME PROGRAM: the path of a program built in WORK/NAME (the SDK puts
# Linux programs in bin/Release/, Windows ones in bin/), or nothing.
Tool() { find "$WORK/$1/bin" -maxdepth 2 -type f \( -name "$2" -o -name "$2.exe" \) 2>/dev/null | head -1; }

# Build NAME [CMAKE ARGUMENTS...]: the validator and moduleinfotool in
# WORK/NAME, once; a failure with the build's tail.
Build() {
  local name=$1 dir="$WORK/$1"
  shift
  if [ -z "$(Tool "$name" validator)" ] || [ -z "$(Tool "$name" moduleinfotool)" ]; then
    mkdir -p "$WORK/sdk"
    [ -f "$WORK/sdk/CMakeLists.txt" ] || tar -xJf "$ARCHIVE" -C "$WORK/sdk" || return 1
    {
      cmake -S "$WORK/sdk" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DSMTG_ENABLE_VSTGUI_SUPPORT=OFF \
        -DSMTG_ENABLE_VST3_PLUGIN_EXAMPLES=OFF -DSMTG_ENABLE_VST3_HOSTING_EXAMPLES=ON \
        -DSMTG_RUN_VST_VALIDATOR=OFF -DSMTG_CREATE_PLUGIN_LINK=OFF "$@" &&
        cmake --build "$dir" --target validator moduleinfotool -j "$(nproc)"
    } >"$dir.log" 2>&1 || { tail -20 "$dir.log" | Diagnose; return 1; }
  fi
}

# Runs RUNNER... -- OPTION: one validator run on the bundle; passes when the
# validator says every test passed and none failed.
Validates() {
  local log
  log=$(mktemp)
  timeout 600 "$@" "$BUNDLE" >"$log" 2>&1
  local status=$?
  local result
  result=$(tr -d '\r' <"$log" | grep -E '^Result: [0-9]+ tests passed, [0-9]+ tests failed' | tail -1)
  echo "# $result"
  if [ $status -ne 0 ] || [[ $result != *" 0 tests failed" ]]; then
    tr -d '\r' <"$log" | grep -E 'ERROR|FAILED|Failed' | head -10 | Diagnose
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
}

# No plain run of twenty reports a wrong silence flag.
SilenceFlagsRight() {
  local i
  for i in $(seq 20); do
    if timeout 300 "$@" "$BUNDLE" 2>&1 | grep -q "wrong silent flag"; then
      echo "# run $i reported a wrong silent flag"
      return 1
    fi
  done
}

ModuleInfoAgrees() {
  timeout 120 "$(Tool linux moduleinfotool)" -validate -path "$BUNDLE" 2>&1 | Diagnose
  return "${PIPESTATUS[0]}"
}

if Build linux; then
  LINUX=$(Tool linux validator)
  Check "VST 3 validator, Linux module" Validates "$LINUX"
  Check "VST 3 validator -e, Linux module" Validates "$LINUX" -e
  Check "VST 3 validator -l, Linux module" Validates "$LINUX" -l
  Check "VST 3 validator, Linux module: no wrong silence flag in 20 runs" SilenceFlagsRight "$LINUX"
  Check "moduleinfotool -validate accepts the bundle's moduleinfo.json" ModuleInfoAgrees
else
  Check "the VST 3 validator builds for Linux" false
fi
for arch in x86 x64; do
  bits=32
  toolchain=mingw32-posix.cmake
  [ $arch = x64 ] && bits=64 && toolchain=mingw64-posix.cmake
  if Build "$arch" -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_TOOLCHAIN_FILE="$SOURCES/$toolchain"; then
    WINDOWS=(wine "$(Tool "$arch" validator)")
    Check "VST 3 validator, $bits-bit Windows module" Validates "${WINDOWS[@]}"
    Check "VST 3 validator -e, $bits-bit Windows module" Validates "${WINDOWS[@]}" -e
    Check "VST 3 validator -l, $bits-bit Windows module" Validates "${WINDOWS[@]}" -l
  else
    Check "the VST 3 validator builds for $bits-bit Windows" false
  fi
done
Passed
