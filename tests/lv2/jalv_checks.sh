#!/bin/bash
# The plug-in in jalv, a real LV2 host, on a JACK server with a dummy driver,
# under the X display this script is given (run.sh starts it in xvfb-run).
# Console jalv lists and loads the presets. With the UI: jalv.gtk3 embeds it
# in its window, whose picture must equal the VST 2.x editor's outside the
# text areas; a click through XTest toggles "dither", and the state jalv
# saves holds the port's new value; a state jalv loads moves the knobs.
#
#   tests/lv2/jalv_checks.sh NATIVE_BUILD_DIR [--ui]
#
# LV2_PATH must name the directory holding Quorvane.lv2/. Prints "ok - NAME"
# and "not ok - NAME" lines and "# " diagnostics.
set -u
# shellcheck source=../lib/checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../lib/checks.sh"

NATIVE=$(realpath -m "$1")
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
URI=$("$NATIVE/tools/qvhost/qvhost" identity lv2_uri)
PRESETS=$("$NATIVE/tools/qvhost/qvhost" identity lv2_preset_prefix)
NAME=$("$NATIVE/tools/qvhost/qvhost" identity name)
WORK="$NATIVE/lv2-jalv-tests"
WITH_UI=${2:-}
rm -rf "$WORK"
mkdir -p "$WORK"
# The spectra, inclusive: with dither on, jalv's running instance draws the
# noise of the dither on silence, while the VST 2.x editor is captured
# without audio.
DISPLAY_AREA=86,80,430,344
LEVEL_AREA=49,461,162,470
# The dither switch's patch in the editor.
DITHER_X=197
DITHER_Y=460
pids=()

Stop() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
  pids=()
}

# A JACK server of this run's own, with no sound card.
export JACK_NO_AUDIO_RESERVATION=1 JACK_NO_START_SERVER=1
export JACK_DEFAULT_SERVER="quorvane-lv2-$$"
jackd --no-realtime -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 512 >"$WORK/jackd.log" 2>&1 &
JACKD=$!
trap 'Stop; kill $JACKD 2>/dev/null' EXIT
# A jalv that died leaves its command fifo without a reader: writes then fail
# instead of ending the script.
trap '' PIPE
# jalv gives up at once when the server does not take clients yet, and the
# server may announce itself before it does: every jalv starts only once a
# client of ours has connected (up to 20 seconds).
JackReady() {
  local i
  for i in $(seq 100); do
    jack_lsp >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  echo "# jackd takes no clients"
  Diagnose <"$WORK/jackd.log"
  return 1
}
JackReady || true

# EditorWindow: "X Y WINDOW" of the first mapped 500 x 525 window on the
# screen, waiting up to 20 seconds for it.
EditorWindow() {
  local i line
  for i in $(seq 100); do
    line=$(xwininfo -root -tree 2>/dev/null | grep -E ' 500x525\+-?[0-9]+\+-?[0-9]+ +\+[0-9]+\+[0-9]+' | head -1)
    if [ -n "$line" ]; then
      sed -E 's/^ *(0x[0-9a-f]+).* \+([0-9]+)\+([0-9]+)$/\2 \3 \1/' <<<"$line"
      return 0
    fi
    sleep 0.2
  done
  return 1
}

# Capture FILE: the editor's window, from the screen, once it shows the
# editor's dark face (a window just mapped paints a moment later). Its place
# is read again for each try: the host may still move it (jalv.gtk3 lays
# out its menu bar after the UI's window is mapped).
Capture() {
  local where i
  for i in $(seq 20); do
    sleep 0.5
    where=$(EditorWindow) || { echo "# no editor window"; return 1; }
    "$PYTHON" -c 'import sys
from PIL import ImageGrab
x, y = int(sys.argv[2]), int(sys.argv[3])
picture = ImageGrab.grab(xdisplay="").crop((x, y, x + 500, y + 525))
picture.save(sys.argv[1])
sys.exit(0 if sum(picture.getpixel((20, 20))) < 300 else 1)' "$1" $where && return 0
  done
  echo "# the editor window never showed the editor"
  return 1
}

# Reference NAME ARGS...: the VST 2.x editor of the native shared object,
# captured by qvhost in the same state.
Reference() {
  "$NATIVE/tools/qvhost/qvhost" editor "$NATIVE/Quorvane.so" "$WORK/$1.vst.png" --hold 400 "${@:2}" \
    >"$WORK/$1.vst.txt" 2>&1 || { Diagnose <"$WORK/$1.vst.txt"; return 1; }
}

# SameAsVst NAME REFERENCE [--no-display]: equal outside the text areas and
# the level bar, which moves with the audio jalv runs (both pictures get it
# blacked out); with --no-display, outside the spectra too.
SameAsVst() {
  local a="$WORK/$1.png" b="$WORK/$2.vst.png" areas=$LEVEL_AREA
  [ "${3:-}" = --no-display ] && areas="$areas $DISPLAY_AREA"
  "$PYTHON" -c 'import sys
from PIL import Image, ImageDraw
for name in sys.argv[2:]:
    picture = Image.open(name).convert("RGB")
    for area in sys.argv[1].split():
        ImageDraw.Draw(picture).rectangle([int(v) for v in area.split(",")], fill=(0, 0, 0))
    picture.save(name[:-4] + ".masked.png")' "$areas" "$a" "$b" || return 1
  "$PYTHON" "$HERE/../x11/compare.py" "${a%.png}.masked.png" "${b%.png}.masked.png" --text |
    Diagnose
  return "${PIPESTATUS[0]}"
}

# ---- jalv.gtk3: the UI embedded in the host's window ----------------------------

GtkOpen() {
  JackReady || return 1
  jalv.gtk3 "$URI" >"$WORK/gtk.log" 2>&1 &
  pids+=($!)
  Capture "$WORK/embedded.png" || { Diagnose <"$WORK/gtk.log"; return 1; }
}

Click() {
  local x y window
  read -r x y window < <(EditorWindow) || return 1
  xdotool mousemove --sync $((x + DITHER_X)) $((y + DITHER_Y)) click 1
}

# TopWindow: jalv.gtk3's window, focused.
TopWindow() {
  local top
  # jalv names it after the plug-in, and adds the preset once one is loaded.
  top=$(xdotool search --name "^$NAME" | head -1)
  [ -n "$top" ] || { echo "# no jalv.gtk3 window" >&2; return 1; }
  xdotool windowfocus --sync "$top" 2>/dev/null
  echo "$top"
}

# SavedValue SYMBOL EXPECTED: jalv.gtk3 saves its state (File, Save: a
# dialog that takes a directory typed into it) and the port has the value.
SavedValue() {
  local top dialog value
  top=$(TopWindow) || return 1
  rm -rf "$WORK/saved"
  xdotool key --window "$top" ctrl+s
  sleep 1
  dialog=$(xdotool search --name "^Save State$" | head -1)
  [ -n "$dialog" ] || { echo "# no Save State dialog"; return 1; }
  xdotool windowfocus --sync "$dialog" 2>/dev/null
  sleep 0.5
  xdotool type --delay 20 "$WORK/saved"
  # The first Return takes the completion the dialog offers, the second the path.
  sleep 1
  xdotool key Return
  sleep 1
  xdotool key Return
  sleep 2
  [ -f "$WORK/saved/state.ttl" ] || { echo "# jalv saved no state"; return 1; }
  value=$(awk -v s="\"$1\"" '$0 ~ "lv2:symbol " s { getline; print $2 }' "$WORK/saved/state.ttl")
  [ "$value" = "$2" ] && return 0
  echo "# jalv saved $1 = ${value:-nothing}, expected $2"
  return 1
}

# PresetAt N: jalv.gtk3's Presets menu (beside File in its menu bar) holds
# Save, Delete, then the presets, in an order of jalv's choosing; N counts
# from the first preset.
PresetAt() {
  local top X Y WIDTH HEIGHT SCREEN WINDOW
  top=$(TopWindow) || return 1
  eval "$(xdotool getwindowgeometry --shell "$top")"
  xdotool mousemove --sync $((X + 70)) $((Y + 12)) click 1
  sleep 0.5
  xdotool key Down Down $(printf 'Down %.0s' $(seq "$1")) Return
  sleep 1
}

# A preset with dither off, taken from the menu: the one the saved state
# shows with dither 0 (two of the three presets have it off).
PresetDitherOff() {
  local n
  for n in 1 2; do
    PresetAt "$n" || return 1
    SavedValue dither 0.0 >/dev/null && return 0
  done
  echo "# no preset from the menu set dither to 0"
  return 1
}

# ---- console jalv: the UI in its own window, the host's values on stdin/stdout --

CONSOLE_IN="$WORK/console.in"
# ConsoleOpen [-s]: console jalv reading commands from a fifo; with -s it
# shows the UI, and the editor's window must appear.
ConsoleOpen() {
  rm -f "$CONSOLE_IN"
  mkfifo "$CONSOLE_IN"
  # The fifo stays open for writing in this shell, so jalv reads until the end.
  # Line by line, so that each answer can be read as it comes.
  JackReady || return 1
  stdbuf -oL jalv "$@" "$URI" <"$CONSOLE_IN" >"$WORK/console.log" 2>&1 &
  pids+=($!)
  exec 7>"$CONSOLE_IN"
  if [ "${1:-}" = -s ]; then
    EditorWindow >/dev/null || { Diagnose <"$WORK/console.log"; return 1; }
  else
    sleep 1
  fi
}

ConsoleClose() {
  exec 7>&-
  Stop
}

PresetsListed() {
  Console presets
  local preset
  for preset in "default (Default)" "cd-render-hard (CD render (hard))" \
    "cd-render-soft (CD render (soft))"; do
    grep -qF "$PRESETS$preset" "$WORK/console.log" ||
      { echo "# jalv lists no preset $preset"; return 1; }
  done
}

# Console COMMAND: sends a command to jalv and gives it time to answer.
Console() {
  echo "$1" >&7
  sleep 0.5
}

# HostValue SYMBOL: the last value jalv listed for the control.
HostValue() {
  Console controls
  grep -E "^(> )?$1 = " "$WORK/console.log" | tail -1 | sed -E 's/.* = //'
}

HostSays() {
  local value
  value=$(HostValue "$1")
  [ "$value" = "$2" ] && return 0
  echo "# jalv lists $1 = ${value:-nothing}, expected $2"
  return 1
}

Check "console jalv loads the plug-in" ConsoleOpen
Check "console jalv lists the three presets" PresetsListed
Check "console jalv lists dither = 0 and target_bits = 16 at first" \
  eval 'HostSays dither 0.000000 && HostSays target_bits 16.000000'
Check "jalv loads preset CD render (soft)" Console "preset ${PRESETS}cd-render-soft"
Check "console jalv then lists dither = 1" HostSays dither 1.000000
ConsoleClose

if [ "$WITH_UI" = --ui ]; then
  Check "jalv.gtk3 loads the plug-in with its X11 UI embedded in its window" GtkOpen
  Check "the VST 2.x editor captured for comparison" Reference open
  Check "the embedded UI equals the VST 2.x editor outside the text areas" SameAsVst embedded open
  Check "a click through XTest on the embedded UI's dither switch" Click
  Check "the state jalv.gtk3 then saves holds dither = 1" SavedValue dither 1.0
  Check "the VST 2.x editor with dither on captured for comparison" Reference dither --param 0=1
  Check "the embedded UI shows dither on as the VST 2.x editor does" \
    eval 'Capture "$WORK/dither.png" && SameAsVst dither dither --no-display'
  Check "jalv.gtk3 loads a preset with dither off from its menu, and saves dither = 0" \
    PresetDitherOff
  Check "the UI follows the host's port: its switch shows dither off again" \
    eval 'Capture "$WORK/hard.png" && SameAsVst hard open --no-display'
  Stop
fi

Passed
