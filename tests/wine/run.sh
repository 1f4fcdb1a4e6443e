#!/bin/bash
# The Windows integration tier: the 32-bit and 64-bit DLLs, loaded under wine
# by the Windows builds of qvhost, must answer exactly like the native build.
#
#   tests/wine/run.sh NATIVE_BUILD_DIR X86_BUILD_DIR X64_BUILD_DIR
#
# Each directory holds the plug-in (Quorvane.so or Quorvane.dll) at its top
# and qvhost under tools/qvhost/. Prints one line per check, "ok - NAME" or
# "not ok - NAME", diagnostics on lines starting with "# "; exits 0 when every
# check passed, 1 otherwise.
set -u
# shellcheck source=../lib/checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../lib/checks.sh"

if [ $# -ne 3 ]; then
  echo "usage: $0 NATIVE_BUILD_DIR X86_BUILD_DIR X64_BUILD_DIR" >&2
  exit 1
fi
NATIVE=$(realpath -m "$1")
X86=$(realpath -m "$2")
X64=$(realpath -m "$3")

UseWine "$NATIVE" 120

WORK="$NATIVE/wine-tests"
rm -rf "$WORK"
mkdir "$WORK" 2>/dev/null

NativeHost() { "$NATIVE/tools/qvhost/qvhost" "$@"; }

# WineProgram EXE ARGS...: a Windows program under wine. Windows text output
# ends lines with CR LF; the CR is dropped so that outputs compare.
WineProgram() {
  timeout "$WINE_TIMEOUT" wine "$@" | tr -d '\r'
  return "${PIPESTATUS[0]}"
}

# WineHost BUILD_DIR ARGS...: the Windows qvhost of that build.
WineHost() {
  local dir=$1
  shift
  WineProgram "$dir/tools/qvhost/qvhost.exe" "$@"
}

# Host BUILD ARGS...: qvhost of the build named native, x86 or x64, with the
# path of that build's plug-in as the first argument after the command.
Host() {
  local build=$1 command=$2
  shift 2
  case $build in
    native) NativeHost "$command" "$NATIVE/Quorvane.so" "$@" ;;
    x86) WineHost "$X86" "$command" "$X86/Quorvane.dll" "$@" ;;
    x64) WineHost "$X64" "$command" "$X64/Quorvane.dll" "$@" ;;
  esac
}

# Same FILE_A FILE_B: identical bytes, and not empty (an empty output is a
# failed run); otherwise the first differences.
Same() {
  local file
  for file in "$1" "$2"; do
    [ -s "$file" ] || { echo "# missing or empty: $file"; return 1; }
  done
  cmp -s "$1" "$2" && return 0
  diff "$1" "$2" 2>&1 | head -20 | Diagnose
  return 1
}

. "$(dirname "$0")/record_checks.sh"
. "$(dirname "$0")/audio_checks.sh"
. "$(dirname "$0")/exact_checks.sh"
. "$(dirname "$0")/module_checks.sh"

Main() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    timeout 300 wineboot -i >/dev/null 2>&1 || echo "# wineboot -i failed for $WINEPREFIX"
  fi
  RunRecordChecks
  RunAudioChecks
  RunExactChecks
  RunModuleChecks vst3 "VST 3" "view opens in a real window"
  RunModuleChecks clap CLAP "GUI opens embedded in a real window"
  . "$(dirname "$0")/editor_checks.sh" && RunEditorChecks
  Passed
}

# Whatever else a tool prints becomes a diagnostic line.
Main 2>&1 | sed -u -E '/^((not )?ok - |# )/!s/^/# /'
exit "${PIPESTATUS[0]}"
