#!/usr/bin/env bash
# Compiles every tracked header on its own, as the first include of an empty
# source, so that each one includes what it uses. Headers in win32/ folders
# are compiled by the mingw-w64 compiler, the others by clang. Prints the
# first errors of each header that fails and exits 1 if one does.
#
#   scripts/check_headers.sh
set -uo pipefail
cd "$(dirname "$0")/.."

CompileAlone() {  # header
  local compiler=clang++
  case $1 in */win32/*) compiler=x86_64-w64-mingw32-g++ ;; esac
  local log
  if ! log=$(echo "#include \"$1\"" |
    "$compiler" -std=c++17 -fsyntax-only -Wall -Wextra -I. -Itests -isystem /usr/include/stb \
      -x c++ - 2>&1); then
    echo "$1 does not compile alone:"
    head -5 <<<"$log" | sed 's/^/  /'
    return 1
  fi
}
export -f CompileAlone

scripts/list_sources.sh '*.h' | xargs -P "$(nproc)" -I{} bash -c 'CompileAlone "$1"' _ {}
