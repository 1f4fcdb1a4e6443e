#!/usr/bin/env bash
# Checks every #include "..." of the tracked sources against the layers: a
# file may include only its own layer and the layers listed for it below.
# A platform subfolder (win32/, posix/) belongs to its folder's layer; the
# editor's window layers for X11 (editor/x11/) and for the unit tests
# (editor/headless/) are layers of their own above the editor, so that no
# portable code reaches them. X11's own headers (<X11/...>) may be included
# only in x11/ folders: the libraries that an LV2 DSP binary will reuse must
# not need X11. Prints each include that breaks these rules and exits 1 if
# there is one.
#
#   scripts/check_layers.sh
set -uo pipefail
cd "$(dirname "$0")/.."

# Layer: the layers below it that it may include.
declare -A allowed=(
  [core]=""
  [draw]=""
  [dsp]=""
  [resources]="core"
  [host]="core"
  [editor]="draw core resources"
  [editor/x11]="editor draw core resources"
  [editor/headless]="editor draw core resources"
  [host/vst2]="host core"
  [dither]="host editor dsp draw core resources"
  [host/vst2/module]="host/vst2 host editor core"
  [host/lv2]="host/lv2 host dither editor core"
  [tools/measure]="dsp"
  [tools/host]="tools/measure host/vst2 dsp core"
  [tools/render_hash]="tools/measure host/vst2 host dither dsp core"
  [tools/quorvane]="tools/measure dither editor dsp draw"
  [tests/core]="core"
  [tests/draw]="draw"
  [tests/dsp]="dsp"
  [tests/editor]="tests/draw editor/headless editor draw core resources"
  [tests/host]="tests/support host/vst2 host dither editor dsp draw core resources"
  [tests/dither]="tests/support host/vst2 host dither editor dsp draw core resources"
  [tests/support]="host/vst2 host dither editor dsp draw core resources"
  [tests/allocation]="tests/support host/vst2 host dither editor dsp draw core resources"
  [tests/quorvane]="tools/quorvane tools/measure dither host dsp core"
  [tests/fuzz]="tools/host host/vst2 host dither editor dsp draw core resources"
  [tests/lv2]="tests/lv2/x11 host/lv2 host dither editor core"
  [tests/lv2/x11]=""
  [bench]="host/vst2 host dither editor dsp draw core resources"
  [bench/x11]="editor/x11 host/vst2 host dither editor dsp draw core resources"
)
# The layer names, longest first, so that host/vst2/module wins over host.
mapfile -t layers < <(printf '%s\n' "${!allowed[@]}" | awk '{ print length, $0 }' | sort -rn |
  cut -d' ' -f2-)

LayerOf() {  # path -> layer, or nothing
  local layer
  for layer in "${layers[@]}"; do
    case $1 in "$layer"/*) echo "$layer"; return ;; esac
  done
}

broken=0
while IFS= read -r file; do
  case $file in
    */x11/*) ;;
    *)
      while IFS= read -r included; do
        echo "$file includes <$included>: only x11/ folders may include X11"
        broken=$((broken + 1))
      done < <(sed -n 's/^#include <\(X11\/[^>]*\)>.*/\1/p' "$file")
      ;;
  esac
  from=$(LayerOf "$file")
  [ -n "$from" ] || continue
  while IFS= read -r included; do
    # Names without a folder are files beside the includer; the tests'
    # helpers are named from tests/.
    [[ $included == */* ]] || continue
    if [ -e "$included" ]; then
      to=$(LayerOf "$included")
    else
      to=$(LayerOf "tests/$included")
    fi
    [ "$to" = "$from" ] && continue
    case " ${allowed[$from]} " in *" $to "*) continue ;; esac
    echo "$file includes $included: $from may include only ${allowed[$from]:-itself}"
    broken=$((broken + 1))
  done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(scripts/list_sources.sh)
[ "$broken" -eq 0 ]
