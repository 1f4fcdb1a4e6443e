#!/usr/bin/env bash
# Prints every C++ source of ours (.cpp and .h, or the name patterns given),
# relative to the top folder and sorted, found without git so that an
# unpacked archive is listed too. Build outputs are skipped.
#
#   scripts/list_sources.sh ['*.h' ...]
set -uo pipefail
cd "$(dirname "$0")/.."
[ $# -gt 0 ] || set -- '*.cpp' '*.h'
names=()
for pattern in "$@"; do names+=(${names:+-o} -name "$pattern"); done
find . \( -path ./build -o -path ./dist -o -path ./out -o -path ./.git \) -prune -o \
  \( "${names[@]}" \) -print | sed 's|^\./||' | sort
