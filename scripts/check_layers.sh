#!/usr/bin/env bash
# Checks every #include "..." of the tracked sources against the layers: a
# file may include only its own layer and the layers listed for it below.
# Every folder of sources is a layer, and its platform subfolders (win32/,
# posix/) belong to it; a folder missing from the table is an error. X11's
# own headers (<X11/...>) may be included only in x11/ folders, which are
# layers of their own above the portable code, so that no other binary needs
# X11. Prints each include that breaks these rules and exits 1 if there is
# one.
#
#   scripts/check_layers.sh
set -uo pipefail
cd "$(dirname "$0")/.."

# Layer: the layers below it that it may include. The plug-in formats' folders
# (vst2/, lv2/, vst3/, clap/) reach the plug-in only through the plug-in core's factories
# (plug/), never dither/.
declare -A allowed=(
  [core]=""
  [draw]=""
  [dsp]=""
  [text]="draw"
  [resources]="core"
  [plug]="core"
  [editor]="text draw core resources"
  [editor/x11]="editor text draw core resources"
  [editor/headless]="editor text draw core resources"
  [dither]="plug dsp core"
  [dither/editor]="dither plug editor dsp text draw core resources"
  [vst2]="plug core"
  [vst2/module]="vst2 plug editor core"
  [lv2]="plug editor core"
  [lv2/x11]="lv2"
  [vst3]="plug core"
  [vst3/module]="vst3 core"
  [clap]="plug core"
  [clap/module]="clap core"
  [tools/measure]="dsp"
  [tools/qvhost]="tools/qvhost/vst2 tools/qvhost/vst3 tools/qvhost/clap tools/measure vst2 vst3 clap plug dsp core"
  [tools/qvhost/vst2]="tools/qvhost tools/measure vst2 dsp core"
  [tools/qvhost/vst3]="tools/qvhost vst3 plug core"
  [tools/qvhost/clap]="tools/qvhost clap plug core"
  [tools/qvhost/x11]="tools/qvhost tools/qvhost/vst2 tools/measure vst2 dsp core"
  [tools/render_hash]="tools/measure vst2 plug dither dsp core"
  [tools/quorvane]="tools/measure dither dsp text draw"
  [tests/core]="core"
  [tests/draw]="draw"
  [tests/dsp]="dsp"
  [tests/editor]="tests/draw editor/headless editor text draw core resources"
  [tests/support]="tools/measure vst2 plug dither/editor dither editor dsp text draw core resources"
  [tests/plug]="tests/support vst2 plug dither/editor dither editor dsp text draw core resources"
  [tests/vst2]="tests/support vst2 plug dither/editor dither editor dsp text draw core resources"
  [tests/dither]="tests/support vst2 plug dither/editor dither editor dsp text draw core resources"
  [tests/allocation]="tests/support vst2 plug dither/editor dither editor dsp text draw core resources"
  [tests/entries]="vst2 plug core"
  [tests/vst3]="tests/counting tests/support tools/qvhost/vst3 tools/qvhost vst3 vst2 plug dither/editor dither editor tools/measure dsp text draw core resources"
  [tests/clap]="tests/counting tests/support tools/qvhost/clap tools/qvhost clap vst2 plug dither/editor dither editor tools/measure dsp text draw core resources"
  [tests/counting]=""
  [tests/formats]="tests/counting tests/support tests/vst3 tests/clap tests/lv2 tools/qvhost/vst3 tools/qvhost/clap tools/qvhost vst3 clap lv2 vst2 plug dither/editor dither editor tools/measure dsp text draw core resources"
  [tests/quorvane]="tools/quorvane tools/measure dither plug dsp core"
  [tests/fuzz]="tools/qvhost/vst2 tools/qvhost vst2 plug dither/editor dither editor dsp text draw core resources"
  [tests/lv2]="tests/lv2/x11 lv2 plug dither/editor dither editor core"
  [tests/lv2/x11]=""
  [tests/x11]="editor/x11 vst2 plug dither/editor dither editor dsp text draw core resources"
  [bench]="vst2 plug dither/editor dither editor dsp text draw core resources"
  [bench/x11]="editor/x11 vst2 plug dither/editor dither editor dsp text draw core resources"
)

LayerOf() {  # path -> its folder, less a platform subfolder
  local dir
  dir=$(dirname "$1")
  case $dir in */win32 | */posix) dir=$(dirname "$dir") ;; esac
  echo "$dir"
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
  if [ -z "${allowed[$from]+set}" ]; then
    echo "$file: its folder $from is not a layer of scripts/check_layers.sh"
    broken=$((broken + 1))
    continue
  fi
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
