#!/bin/bash
# The plug-in in jalv, a real LV2 host, on a JACK server with a dummy driver,
# under the X display this script is given (run.sh starts it in xvfb-run).
# Console jalv lists and loads the presets. With the UI: jalv.gtk3 embeds it
# in its window, whose picture must equal the VST 2.x editor's outside the
# text areas; console jalv shows it in a window of its own, a click through
# XTest toggles "dither" and jalv's own list of control values shows the
# change; values set in jalv move the editor's controls.
#
#   tests/lv2/jalv_checks.sh NATIVE_BUILD_DIR [--ui]
#
# LV2_PATH must name the directory holding Quorvane.lv2/. Prints "ok - NAME"
# and "not ok - NAME" lines and "# " diagnostics.
set -u

NATIVE=$(realpath -m "$1")
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
URI=urn:varek:quorvane
WORK="$NATIVE/lv2-jalv-tests"
WITH_UI=${2:-}
rm -rf "$WORK"
mkdir -p "$WORK"
PYTHON=python3
[ -x /usr/bin/python3 ] && PYTHON=/usr/bin/python3
# The text the editor draws itself: frequency labels and knob captions.
TEXT_AREAS=(66,58,452,80 342,455,378,474 409,455,445,474)
# The dither switch's patch in the editor.
DITHER_X=197
DITHER_Y=460
failures=0
pids=()

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
# jalv gives up at once when the server is not up yet.
jack_wait --wait --timeout 20 >/dev/null 2>&1 || { echo "# jackd did not start"; Diagnose <"$WORK/jackd.log"; }

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

# Capture FILE: the editor's window, from the screen.
Capture() {
  local where
  where=$(EditorWindow) || { echo "# no editor window"; return 1; }
  sleep 0.5
  "$PYTHON" -c 'import sys
from PIL import ImageGrab
x, y = int(sys.argv[2]), int(sys.argv[3])
ImageGrab.grab(xdisplay="").crop((x, y, x + 500, y + 525)).save(sys.argv[1])' "$1" $where
}

# Reference NAME ARGS...: the VST 2.x editor of the native shared object,
# captured by qvhost in the same state.
Reference() {
  "$NATIVE/tools/host/qvhost" editor "$NATIVE/Quorvane.so" "$WORK/$1.vst.png" --hold 400 "${@:2}" \
    >"$WORK/$1.vst.txt" 2>&1 || { Diagnose <"$WORK/$1.vst.txt"; return 1; }
}

SameAsVst() {
  "$PYTHON" "$HERE/../x11/compare.py" "$WORK/$1.png" "$WORK/$1.vst.png" "${TEXT_AREAS[@]}" |
    Diagnose
  return "${PIPESTATUS[0]}"
}

# ---- jalv.gtk3: the UI embedded in the host's window ----------------------------

GtkOpen() {
  jalv.gtk3 "$URI" >"$WORK/gtk.log" 2>&1 &
  pids+=($!)
  Capture "$WORK/embedded.png" || { Diagnose <"$WORK/gtk.log"; return 1; }
}

Click() {
  local x y window
  read -r x y window < <(EditorWindow) || return 1
  xdotool mousemove --sync $((x + DITHER_X)) $((y + DITHER_Y)) click 1
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
    grep -qF "urn:varek:quorvane#preset-$preset" "$WORK/console.log" ||
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
Check "jalv loads preset CD render (soft)" Console "preset urn:varek:quorvane#preset-cd-render-soft"
Check "console jalv then lists dither = 1" HostSays dither 1.000000
ConsoleClose

if [ "$WITH_UI" = --ui ]; then
  Check "jalv.gtk3 loads the plug-in with its X11 UI embedded in its window" GtkOpen
  Check "the VST 2.x editor captured for comparison" Reference open
  Check "the embedded UI equals the VST 2.x editor outside the text areas" SameAsVst embedded
  Check "a click through XTest on the embedded UI's dither switch" Click
  Check "the VST 2.x editor with dither on captured for comparison" Reference dither --param 0=1
  Check "the embedded UI then equals the VST 2.x editor with dither on" \
    eval 'Capture "$WORK/dither.png" && SameAsVst dither'
  Stop

  Check "console jalv shows the UI in a window of its own" ConsoleOpen -s
  Check "console jalv lists dither = 0 at first" HostSays dither 0.000000
  Check "a click through XTest on the dither switch" Click
  Check "console jalv then lists dither = 1" HostSays dither 1.000000
  Check "target bits set to 20 in jalv" Console "set target_bits 20"
  Check "the VST 2.x editor at 20 bits with dither on captured for comparison" \
    Reference bits20 --param 0=1 --param 2=0.53846157
  Check "the UI follows: its knob shows 20 bits" eval 'Capture "$WORK/bits20.png" && SameAsVst bits20'
  Check "jalv loads preset CD render (hard)" Console "preset urn:varek:quorvane#preset-cd-render-hard"
  Check "console jalv then lists dither = 0" HostSays dither 0.000000
  Check "the UI follows: its dither switch shows off" eval 'Capture "$WORK/open.png" && SameAsVst open'
  ConsoleClose
fi

[ "$failures" -eq 0 ]
