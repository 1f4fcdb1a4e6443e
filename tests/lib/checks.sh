# What the check scripts of the test tiers share, sourced by each: the
# "ok - NAME" / "not ok - NAME" lines that ./test counts, "# " diagnostics,
# the Python that has PIL, and the wine set-up of the tiers that run it.
# A script ends with `Passed` as its exit status.

failures=0

# Check NAME COMMAND...: one result line for the command's exit status.
Check() {
  local name=$1
  shift
  if "$@"; then
    echo "ok - $name"
  else
    echo "not ok - $name"
    failures=$((failures + 1))
  fi
}

Diagnose() { sed 's/^/# /'; }

Passed() { [ "$failures" -eq 0 ]; }

# Debian's own python3, which has PIL, even where another one comes first
# in PATH.
PYTHON=python3
[ -x /usr/bin/python3 ] && PYTHON=/usr/bin/python3

# UseWine NATIVE_BUILD_DIR TIMEOUT: the wine prefix and settings the caller
# gives, or else a prefix beside the builds, whose server is ended on exit.
# WINE_TIMEOUT bounds each Windows program.
UseWine() {
  if [ -z "${WINEPREFIX:-}" ]; then
    export WINEPREFIX="$(dirname "$1")/wineprefix"
    trap 'wineserver -k 2>/dev/null' EXIT
  fi
  export WINEDEBUG="${WINEDEBUG:--all}"
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml,winedbg.exe=}"
  WINE_TIMEOUT=$2
}
