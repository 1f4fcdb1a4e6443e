#!/bin/bash
# The host-robustness tier: `qvhost validate` against the native plug-in (the
# whole matrix), the 32-bit and 64-bit DLLs under wine (--quick), `qvhost
# clap` against the three CLAP modules, and the sanitizer builds: the
# lifecycle and editor groups and the CLAP checks under AddressSanitizer with
# leak detection, and under ThreadSanitizer.
#
#   tests/validate.sh NATIVE X86 X64 ASAN TSAN   (build directories)
#
# Prints "ok - NAME" / "not ok - NAME" lines, each name prefixed with the
# build it ran on, and "# " diagnostics; exits 0 when every check passed.
set -u
# shellcheck source=lib/checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/checks.sh"

if [ $# -ne 5 ]; then
  echo "usage: $0 NATIVE_BUILD X86_BUILD X64_BUILD ASAN_BUILD TSAN_BUILD" >&2
  exit 1
fi
NATIVE=$(realpath -m "$1")
X86=$(realpath -m "$2")
X64=$(realpath -m "$3")
ASAN=$(realpath -m "$4")
TSAN=$(realpath -m "$5")

UseWine "$NATIVE" 300

# Names each result line after the build and turns any other line into a
# diagnostic.
Label() { sed -u -E -e "s/^(not )?ok - /&$1: /" -e '/^((not )?ok - |# )/!s/^/# /'; }

# Validate LABEL QVHOST LIBRARY ARGS...
Validate() {
  local label=$1
  shift
  "$@" 2>&1 | tr -d '\r' | Label "$label"
  [ "${PIPESTATUS[0]}" -eq 0 ] || failures=$((failures + 1))
}

# The native editor is an X11 window: each native run gets a virtual display.
WithDisplay() { xvfb-run -a -s "-screen 0 1280x1024x24" "$@"; }

# Sanitized LABEL PATTERN COMMAND...: COMMAND's checks on a sanitizer build,
# under a display; one more check that no report matching PATTERN appeared.
Sanitized() {
  local label=$1 pattern=$2 log
  shift 2
  log=$(mktemp)
  WithDisplay "$@" >"$log" 2>&1
  Label "$label" <"$log" | grep -E '^(not )?ok - '
  if grep -q -E "$pattern" "$log"; then
    echo "not ok - $label: no sanitizer report"
    grep -E -A12 "$pattern" "$log" | head -30 | sed 's/^/# /'
    failures=$((failures + 1))
  else
    echo "ok - $label: no sanitizer report"
  fi
  rm -f "$log"
}

# SanitizedBoth LABEL DIR PATTERN: the VST 2.x plug-in's lifecycle and editor
# groups and every CLAP check, GUI included, on that sanitizer build.
SanitizedBoth() {
  local label=$1 dir=$2 pattern=$3
  Sanitized "$label" "$pattern" "$dir/tools/qvhost/qvhost" validate "$dir/Quorvane.so" --quick \
    --only lifecycle --only editor
  Sanitized "$label CLAP" "$pattern" "$dir/tools/qvhost/qvhost" clap "$dir/clap/Quorvane.clap" --gui
}

Main() {
  Validate native WithDisplay "$NATIVE/tools/qvhost/qvhost" validate "$NATIVE/Quorvane.so"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    timeout 300 wineboot -i >/dev/null 2>&1 || echo "# wineboot -i failed for $WINEPREFIX"
  fi
  # The editor needs a display: one virtual X server for both DLLs.
  Validate 32-bit timeout "$WINE_TIMEOUT" xvfb-run -a wine "$X86/tools/qvhost/qvhost.exe" validate \
    "$X86/Quorvane.dll" --quick
  Validate 64-bit timeout "$WINE_TIMEOUT" xvfb-run -a wine "$X64/tools/qvhost/qvhost.exe" validate \
    "$X64/Quorvane.dll" --quick
  # The CLAP modules, loaded as a CLAP host loads them, their GUIs in a
  # real window.
  Validate "native CLAP" WithDisplay "$NATIVE/tools/qvhost/qvhost" clap "$NATIVE/clap/Quorvane.clap" --gui
  Validate "32-bit CLAP" timeout "$WINE_TIMEOUT" xvfb-run -a wine "$X86/tools/qvhost/qvhost.exe" clap \
    "$X86/clap/Quorvane.clap" --gui
  Validate "64-bit CLAP" timeout "$WINE_TIMEOUT" xvfb-run -a wine "$X64/tools/qvhost/qvhost.exe" clap \
    "$X64/clap/Quorvane.clap" --gui
  ASAN_OPTIONS=detect_leaks=1 SanitizedBoth "asan+lsan" "$ASAN" 'ERROR: (Address|Leak)Sanitizer|runtime error'
  TSAN_OPTIONS=halt_on_error=0 SanitizedBoth tsan "$TSAN" 'WARNING: ThreadSanitizer'
  Passed
}

Main
