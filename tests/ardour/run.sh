#!/bin/bash
# A real host: Ardour 7 from Debian opens the native plug-in's editor. A
# session holding the plug-in is made with Ardour's Lua tool on its dummy
# backend, marked as having the plug-in's window open (as Ardour saves it),
# and opened in Ardour's GUI under Xvfb; xdotool answers Ardour's dialogs.
# The editor's window is then grabbed from the screen and compared with the
# native qvhost's capture of the same editor. Ardour's LV2 and VST 3 hosts
# then load the LV2 and VST 3 bundles of the same build in sessions of its
# Lua tool.
#
#   tests/ardour/run.sh NATIVE_BUILD_DIR
#
# Prints "ok - NAME" / "not ok - NAME" lines and "# " diagnostics.
set -u
# shellcheck source=../lib/checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../lib/checks.sh"
NATIVE=$(realpath -m "$1")
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# The plug-in's names and ids, as Ardour lists and saves them.
Identity() { "$NATIVE/tools/qvhost/qvhost" identity "$1"; }
NAME=$(Identity name)
export QV_NAME=$NAME
LV2_URI=$(Identity lv2_uri)
VST3_ID=$(Identity vst3_class_id)
VST3_LISTED="uid=\"$VST3_ID\" name=\"$NAME\" vendor=\"$(Identity vendor)\" category=\"$(Identity vst3_categories)\""
WORK="$NATIVE/ardour-tests"
rm -rf "$WORK"
mkdir -p "$WORK/vst" "$WORK/vst3" "$WORK/config/ardour7" "$WORK/cache"

if ! command -v ardour >/dev/null || ! command -v ardour7-lua >/dev/null; then
  echo "not ok - Ardour 7 is installed"
  exit 1
fi
echo "# host: $(ardour --version 2>&1 | grep -m1 "^Ardour")"

# Ardour's own settings, kept in the work folder: the dummy backend shown
# and remembered, Linux VST and VST 3 plug-ins looked for in folders of the
# work folder, no first-run wizard.
export XDG_CONFIG_HOME="$WORK/config" XDG_CACHE_HOME="$WORK/cache"
# The copy keeps its time: a plug-in no older than its scan counts as changed
# since, and Ardour would not use it.
cp -p "$NATIVE/Quorvane.so" "$WORK/vst/"
sed "s|@VST@|$WORK/vst|; s|@VST3@|$WORK/vst3|" "$HERE/config.xml" >"$WORK/config/ardour7/config"
touch "$WORK/config/ardour7/.a7"
# The test tone and the float WAV export preset of the export checks.
mkdir -p "$WORK/config/ardour7/scripts" "$WORK/config/ardour7/export"
cp "$HERE/test_tone.lua" "$WORK/config/ardour7/scripts/quorvane_test_tone.lua"
cp "$HERE/float.preset" "$WORK/config/ardour7/export/quorvane-float.preset"

MakeSession() {
  LD_LIBRARY_PATH=/usr/lib/ardour7 timeout 120 /usr/lib/ardour7/ardour-vst-scanner -f \
    "$WORK/vst/Quorvane.so" >"$WORK/scan.txt" 2>&1 &&
    QV_SCRIPTS="$HERE" QV_SESSION="$WORK/quorvane" timeout 120 ardour7-lua "$HERE/make_session.lua" \
      >"$WORK/lua.txt" 2>&1 &&
    "$PYTHON" "$HERE/open_window.py" "$WORK/quorvane/quorvane.ardour" "$NAME"
}

# Waits up to 120 s for the plug-in's window, answering whatever dialog
# Ardour puts up meanwhile with Return (each one's default button; with the
# remembered engine state that is the note that the session's I/O device
# changed).
WaitForEditor() {
  local display=$1
  for _ in $(seq 40); do
    sleep 3
    if DISPLAY=$display xdotool search --name "$NAME" >/dev/null 2>&1; then
      sleep 3
      return 0
    fi
    # GTK ignores keys sent to a window; a real key goes to the focused one.
    DISPLAY=$display xdotool key Return 2>/dev/null
  done
  return 1
}

# EditorGeometry DISPLAY: "500x525+X+Y" of the editor's window on the screen;
# Ardour gives an LV2 UI's window 6 rows more, below the editor.
EditorGeometry() {
  local tree
  tree=$(DISPLAY=$1 xwininfo -root -tree)
  { grep -m1 -o ' 500x525+[0-9]*+[0-9]*  +[0-9]*+[0-9]*' <<<"$tree" ||
    grep -o ' 500x531+0+0  +[0-9]*+[0-9]*' <<<"$tree" | tail -1 | sed 's/500x531/500x525/'; } |
    awk '{split($1, s, "+"); print s[1] $2}'
}

# GrabEditor DISPLAY OUT.png: the editor's window grabbed from the screen.
GrabEditor() {
  local geometry
  geometry=$(EditorGeometry "$1")
  [ -n "$geometry" ] || return 1
  "$PYTHON" "$HERE/grab.py" "$1" "$geometry" "$2"
}

# TypeIntoBox DISPLAY: a right press on "psychoacoustic power" opens the
# value box; keys Ardour binds (Ctrl+A selects all, Backspace deletes the
# selection, Space plays) then "11" and Return are typed, as real key
# events. Only the box may see them: the knob then shows 11.
TypeIntoBox() {
  local display=$1 x y main
  IFS=+ read -r _ x y <<<"$(EditorGeometry "$display")"
  # Ardour's main window has the focus first; the press then makes the
  # window manager focus the plug-in's window, as a user's click does.
  main=$(DISPLAY=$display timeout 20 xdotool search --name -- '- Ardour$' | head -1)
  [ -n "$main" ] && DISPLAY=$display timeout 20 xdotool windowfocus --sync "$main" 2>/dev/null
  sleep 0.5
  DISPLAY=$display timeout 20 xdotool mousemove $((x + 361)) $((y + 430)) click 3 || return 1
  sleep 1
  DISPLAY=$display timeout 20 xdotool key ctrl+a BackSpace BackSpace space BackSpace 1 1 Return ||
    return 1
  sleep 1
  timeout 20 "$PYTHON" "$HERE/grab.py" "$display" "$(EditorGeometry "$display")" \
    "$WORK/ardour-typed.png"
}

# ClickDitherAndSave DISPLAY: a click on the dither patch of the editor,
# then Ctrl+S in Ardour's main window, which saves the session with the
# values Ardour's automation holds.
ClickDitherAndSave() {
  local display=$1 x y main
  IFS=+ read -r _ x y <<<"$(EditorGeometry "$display")"
  DISPLAY=$display timeout 20 xdotool mousemove $((x + 197)) $((y + 460)) click 1 || return 1
  sleep 1
  timeout 20 "$PYTHON" "$HERE/grab.py" "$display" "$(EditorGeometry "$display")" \
    "$WORK/ardour-vst3-clicked.png"
  main=$(DISPLAY=$display timeout 20 xdotool search --name -- '- Ardour$' | head -1)
  [ -n "$main" ] || return 1
  DISPLAY=$display timeout 20 xdotool windowfocus --sync "$main" key ctrl+s || return 1
  sleep 3
}

# RunArdour SESSION PICTURE AFTER: Ardour's GUI, under a window manager
# (openbox), opens the session (its folder, named as its snapshot, or its
# .ardour file) and with it the plug-in's window; its picture
# is grabbed to PICTURE, then AFTER DISPLAY runs.
RunArdour() {
  local session=$1 picture=$2 after=$3
  local display=:$((100 + RANDOM % 400)) server manager ardour status=1
  Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
  server=$!
  sleep 2
  DISPLAY=$display openbox >"$WORK/openbox.txt" 2>&1 &
  manager=$!
  DISPLAY=$display timeout 300 ardour -n -a "$session" >"$WORK/ardour.txt" 2>&1 &
  ardour=$!
  if WaitForEditor "$display" && GrabEditor "$display" "$picture"; then
    status=0
    "$after" "$display" || echo "# $after failed"
  fi
  # What the screen showed, for a failure's diagnosis.
  timeout 20 "$PYTHON" "$HERE/grab.py" "$display" 1600x1000+0+0 "$WORK/screen.png" 2>/dev/null
  DISPLAY=$display timeout 20 xdotool search --name . getwindowname %@ 2>/dev/null | sort -u | Diagnose
  # Keys that reached Ardour may have left a dialog waiting: it is killed.
  kill "$ardour" 2>/dev/null
  sleep 2
  kill -KILL "$ardour" 2>/dev/null
  pkill -KILL -f "ardour-7.*-a $session" 2>/dev/null
  wait "$ardour" 2>/dev/null
  kill "$manager" 2>/dev/null
  wait "$manager" 2>/dev/null
  kill "$server" 2>/dev/null
  wait "$server" 2>/dev/null
  return $status
}

# SameAsQvhost ARDOUR_PICTURE [--param I=X]...: the picture grabbed in
# Ardour equals qvhost's capture of the editor in the same state, outside
# the text areas.
SameAsQvhost() {
  local picture=$1 reference="${1%.png}.qvhost.png"
  shift
  [ -s "$picture" ] || { echo "# no picture $picture"; return 1; }
  timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" "$NATIVE/tools/qvhost/qvhost" editor \
    "$NATIVE/Quorvane.so" "$reference" --hold 400 "$@" >/dev/null 2>&1 || return 1
  "$PYTHON" "$HERE/../x11/compare.py" "$picture" "$reference" --text | Diagnose
  return "${PIPESTATUS[0]}"
}

# Lists OUT EXPECTED...: the "NAME = VALUE" lines of Ardour's output are
# the ones expected.
Lists() {
  local out=$1 listed expected
  shift
  listed=$(grep ' = ' "$out")
  expected=$(printf '%s\n' "$@")
  [ "$listed" = "$expected" ] && return 0
  echo "# Ardour listed:"
  Diagnose <<<"$listed"
  return 1
}

BEFORE=("dither = 0.0" "psychoacoustic power = 9.0" "target bits = 16.0" "show graph = 1.0")
AFTER=("dither = 0.0" "psychoacoustic power = 9.0" "target bits = 20.0" "show graph = 1.0")

# ControlsSession NAME PLUGIN KIND: the plug-in in a session made by Ardour's
# Lua tool, in $WORK/NAME: Ardour's own host of that kind instantiates it and
# lists its controls in their own units, before and after "target bits" is
# set to 20 while the session runs.
ControlsSession() {
  QV_SCRIPTS="$HERE" QV_SESSION="$WORK/$1" QV_PLUGIN="$2" QV_KIND="$3" timeout 120 \
    ardour7-lua "$HERE/controls_session.lua" >"$WORK/$1.txt" 2>&1 ||
    { tail -5 "$WORK/$1.txt" | Diagnose; return 1; }
  Lists "$WORK/$1.txt" "${BEFORE[@]}" "${AFTER[@]}"
}

Lv2Session() { LV2_PATH="$NATIVE/lv2" ControlsSession lv2 "$LV2_URI" LV2; }

# The session Ardour saved holds the LV2 processor with "target bits" at 20.
Lv2Saved() {
  local session="$WORK/lv2/quorvane.ardour"
  grep -q "type=\"lv2\" unique-id=\"$LV2_URI\"" "$session" &&
    grep -q 'value="20" parameter="2" symbol="target_bits"' "$session"
}

# Ardour's VST 3 scanner, run on the bundle as Ardour runs it on new
# plug-ins, lists the effect with its class id, category and channels. The
# bundle joins Ardour's VST 3 folder only now, after the GUI's run.
Vst3Scan() {
  cp -rp "$NATIVE/vst3/Quorvane.vst3" "$WORK/vst3/" || return 1
  LD_LIBRARY_PATH=/usr/lib/ardour7 timeout 120 /usr/lib/ardour7/ardour-vst3-scanner -f \
    "$WORK/vst3/Quorvane.vst3" >"$WORK/vst3-scan.txt" 2>&1 || { Diagnose <"$WORK/vst3-scan.txt"; return 1; }
  grep -qF "$VST3_LISTED" \
    "$WORK"/cache/ardour7/vst/*.v3i &&
    grep -q 'n_inputs="2" n_outputs="2"' "$WORK"/cache/ardour7/vst/*.v3i
}

# The session Ardour saved holds the VST 3 processor with "target bits" at
# 20 and the effect's own state; reopened, the plug-in has the value again.
Vst3Saved() {
  local session="$WORK/vst3-session/quorvane.ardour"
  grep -q "type=\"vst3\" unique-id=\"$VST3_ID\"" "$session" &&
    grep -q '<Port id="2" value="20"/>' "$session" && grep -q '<chunk>' "$session" || return 1
  QV_SCRIPTS="$HERE" QV_SESSION="$WORK/vst3-session" timeout 120 \
    ardour7-lua "$HERE/reopen_session.lua" >"$WORK/vst3-reopened.txt" 2>&1 ||
    { tail -5 "$WORK/vst3-reopened.txt" | Diagnose; return 1; }
  Lists "$WORK/vst3-reopened.txt" "${AFTER[@]}"
}

# Ardour lists the eight programs as the plug-in's factory presets; loading
# "CD render (soft)" selects it in the plug-in, whose state Ardour saves,
# without a deadlock (the script's timeout), and Ardour's controls show the
# program's values (dither on) at once.
Vst3Presets() {
  QV_SCRIPTS="$HERE" QV_SESSION="$WORK/vst3-presets" timeout 120 \
    ardour7-lua "$HERE/presets_session.lua" >"$WORK/vst3-presets.txt" 2>&1 ||
    { tail -5 "$WORK/vst3-presets.txt" | Diagnose; return 1; }
  local presets state
  presets=$(grep '^preset ' "$WORK/vst3-presets.txt")
  state=$("$PYTHON" "$HERE/saved_state.py" "$WORK/vst3-presets/quorvane.ardour")
  [ "$presets" = "$(printf 'preset %s\n' Default "CD render (hard)" "CD render (soft)" -)" ] &&
    [ "$state" = "$(printf '%s\n' "program 2" "value 1" "value 9" "value 16" "value 1")" ] &&
    Lists "$WORK/vst3-presets.txt" "dither = 1.0" "psychoacoustic power = 9.0" \
      "target bits = 16.0" "show graph = 1.0" && return 0
  Diagnose <<<"$presets"$'\n'"$state"
  return 1
}

# TurnSlowlyAndSave DISPLAY: "psychoacoustic power" dragged 40 pixels down
# in 2-pixel steps, a slow hand (each step moves the knob a fifth of a step
# of the parameter); three wheel notches down on "target bits" (each a
# quarter of a step); then the session saved.
TurnSlowlyAndSave() {
  local display=$1 x y main step
  IFS=+ read -r _ x y <<<"$(EditorGeometry "$display")"
  DISPLAY=$display timeout 20 xdotool mousemove $((x + 360)) $((y + 430)) mousedown 1 || return 1
  for step in $(seq 20); do
    DISPLAY=$display timeout 20 xdotool mousemove_relative -- 0 2
    sleep 0.05
  done
  DISPLAY=$display timeout 20 xdotool mouseup 1 || return 1
  sleep 0.5
  for step in 1 2 3; do
    DISPLAY=$display timeout 20 xdotool mousemove $((x + 427)) $((y + 430)) click 5 || return 1
    sleep 0.3
  done
  sleep 1
  main=$(DISPLAY=$display timeout 20 xdotool search --name -- '- Ardour$' | head -1)
  [ -n "$main" ] || return 1
  DISPLAY=$display timeout 20 xdotool windowfocus --sync "$main" key ctrl+s || return 1
  sleep 3
}

# SlowTurns SESSION_FOLDER NAME=VALUE...: the session's plug-in window opened
# in Ardour's GUI and turned slowly (TurnSlowlyAndSave); the session Ardour
# saves holds the values given.
SlowTurns() {
  local folder=$1 session="$1/quorvane.ardour"
  shift
  "$PYTHON" "$HERE/open_window.py" "$session" "$NAME" &&
    RunArdour "$session" "$folder/slow.png" TurnSlowlyAndSave || return 1
  "$PYTHON" "$HERE/saved_controls.py" "$session" "$@" | Diagnose
  return "${PIPESTATUS[0]}"
}

# TypeThenClickAndSave DISPLAY: the value box typed into as TypeIntoBox
# does, then the dither click, then the session saved.
TypeThenClickAndSave() { TypeIntoBox "$1" && ClickDitherAndSave "$1"; }

# The VST 3 session, its plug-in window marked open, in Ardour's GUI: the
# view opens (its X events on Ardour's run loop); "11" typed into the value
# box and a click on "dither" reach Ardour, which saves both.
Vst3Gui() {
  local session="$WORK/vst3-session/quorvane.ardour"
  "$PYTHON" "$HERE/open_window.py" "$session" "$NAME" && RunArdour "$session" \
    "$WORK/ardour-vst3.png" TypeThenClickAndSave || return 1
  grep -q '<Controllable name="dither" id="[0-9]*" flags="Toggle" value="1" parameter="0"/>' \
    "$session" &&
    grep -q '<Controllable name="psychoacoustic power" id="[0-9]*" flags="" value="11" parameter="1"/>' \
      "$session" && return 0
  grep '<Controllable name=' "$session" | Diagnose
  return 1
}

# Exported NAME [PLUGIN KIND [SHAPING]]: Ardour's export of the test tone,
# through the plug-in when one is named ("psychoacoustic power" at SHAPING,
# in Ardour's units for that kind; off without), in
# $WORK/NAME/out/render.wav. Ardour's Lua tool sometimes aborts as it closes
# a session after an export, with or without a plug-in (seen here in about
# one run of four either way), at times before its output is flushed: the
# exported file, whole (2 s at 48 kHz), counts, not the tool's exit status or
# its lines, and an export left unfinished so is made again, up to three
# times.
Exported() {
  local attempt
  for attempt in 1 2 3; do
    rm -rf "${WORK:?}/$1"
    QV_SESSION="$WORK/$1" QV_PLUGIN="${2:-}" QV_KIND="${3:-}" QV_SHAPING="${4:-0}" timeout 300 \
      ardour7-lua "$HERE/export_session.lua" >"$WORK/$1.txt" 2>&1
    [ "$(soxi -s "$WORK/$1/out/render.wav" 2>/dev/null)" = 96000 ] && return 0
    echo "# export $1, attempt $attempt: no whole file"
  done
  tail -5 "$WORK/$1.txt" | Diagnose
  return 1
}

# SameRender A B: two renders hold the same samples.
SameRender() {
  local result
  result=$("$NATIVE/tools/qvhost/qvhost" compare "$1" "$2") || { Diagnose <<<"$result"; return 1; }
  [[ $result == *"largest difference 0 at"* ]] && return 0
  Diagnose <<<"$result"
  return 1
}

# Ardour exports the tone through the VST 3 bundle bit for bit as through the
# VST 2.x plug-in and as qvhost renders Ardour's own export of the tone
# through it at Ardour's block (1024 frames), dither and shaping off. (With
# shaping on the output depends on what Ardour ran through the plug-in
# before the export started, which it does not reset.)
Vst3Exports() {
  Exported export-tone && Exported export-vst2 Quorvane LXVST &&
    Exported export-vst3 Quorvane VST3 || return 1
  "$NATIVE/tools/qvhost/qvhost" render "$NATIVE/Quorvane.so" "$WORK/export-tone/out/render.wav" \
    "$WORK/export-qvhost.wav" --block 1024 --param 0=0 --param 1=0 >/dev/null || return 1
  SameRender "$WORK/export-vst3/out/render.wav" "$WORK/export-vst2/out/render.wav" &&
    SameRender "$WORK/export-vst3/out/render.wav" "$WORK/export-qvhost.wav"
}

# With shaping on (power 9; Ardour gives a VST 2.x plug-in normalised values)
# the VST 2.x, VST 3 and LV2 plug-ins export the tone bit for bit alike in
# one Ardour: each designs its filter for the block Ardour runs.
ShapedExports() {
  Exported shaped-vst2 Quorvane LXVST 0.75 && Exported shaped-vst3 Quorvane VST3 9 &&
    LV2_PATH="$NATIVE/lv2" Exported shaped-lv2 "$LV2_URI" LV2 9 || return 1
  SameRender "$WORK/shaped-vst3/out/render.wav" "$WORK/shaped-vst2/out/render.wav" &&
    SameRender "$WORK/shaped-vst3/out/render.wav" "$WORK/shaped-lv2/out/render.wav"
}

# ---- Installing: scripts/install.sh, as the README tells users ---------------

ROOT_DIR="$(cd "$HERE/../.." && pwd)"
AsRoot() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo -n "$@"; fi; }

# FoundByDefault NAME KIND: with Ardour's settings as a new user has them,
# its scanner (which Ardour's GUI runs on new plug-ins at start) and its Lua
# session tool find the plug-in of that kind, looking where Ardour looks.
FoundByDefault() {
  local name=$1 kind=$2 config="$WORK/default/config" cache="$WORK/default/cache"
  rm -rf "$WORK/default" && mkdir -p "$config/ardour7" "$cache" && touch "$config/ardour7/.a7"
  if [ "$kind" = LXVST ]; then
    XDG_CONFIG_HOME=$config XDG_CACHE_HOME=$cache LD_LIBRARY_PATH=/usr/lib/ardour7 timeout 120 \
      /usr/lib/ardour7/ardour-vst-scanner -f /usr/local/lib/vst/Quorvane.so >"$WORK/default.scan" 2>&1
  elif [ "$kind" = VST3 ]; then
    XDG_CONFIG_HOME=$config XDG_CACHE_HOME=$cache LD_LIBRARY_PATH=/usr/lib/ardour7 timeout 120 \
      /usr/lib/ardour7/ardour-vst3-scanner -f /usr/local/lib/vst3/Quorvane.vst3 >"$WORK/default.scan" 2>&1
  fi
  cat >"$WORK/default/find.lua" <<LUA
local NewSession = dofile(os.getenv("QV_SCRIPTS") .. "/session.lua")
local s = NewSession(os.getenv("QV_SESSION"), "$name", ARDOUR.PluginType.$kind)
print("found: $name")
close_session()
LUA
  # What is checked is the finding: a Lua tool that dies on its way (it
  # does, now and then, starting its engine or closing a session) is run
  # again, and one that dies after the finding has found it.
  local try status
  for try in 1 2 3; do
    rm -rf "$WORK/default/session"
    env -u LV2_PATH XDG_CONFIG_HOME=$config XDG_CACHE_HOME=$cache QV_SCRIPTS="$HERE" \
      QV_SESSION="$WORK/default/session" timeout 120 ardour7-lua "$WORK/default/find.lua" \
      >"$WORK/default.lua.txt" 2>&1
    status=$?
    grep -q "^found: $name" "$WORK/default.lua.txt" && return 0
    [ "$status" -eq 2 ] && break
    echo "# Ardour's Lua tool ended with status $status before finding $name ($kind) (try $try)"
  done
  echo "# Ardour did not find $name ($kind): status $status"
  grep -E '^known: |rror' "$WORK/default.lua.txt" | Diagnose
  [ "$kind" = LV2 ] || Diagnose <"$WORK/default.scan"
  return 1
}

Installed() {  # FILE...: each exists
  local f
  for f in "$@"; do [ -e "$f" ] || { echo "# $f missing"; return 1; }; done
}
Removed() {  # FILE...: none exists
  local f
  for f in "$@"; do [ ! -e "$f" ] || { echo "# $f left"; return 1; }; done
}

SystemInstall() {
  if [ -e /usr/local/lib/vst/Quorvane.so ] || [ -e /usr/local/lib/lv2/Quorvane.lv2 ] ||
    [ -e /usr/local/lib/vst3/Quorvane.vst3 ] || [ -e /usr/local/lib/clap/Quorvane.clap ]; then
    echo "# Quorvane is installed on this machine already: left as it is"
    return 1
  fi
  AsRoot "$ROOT_DIR/scripts/install.sh" >"$WORK/install.txt" 2>&1 || { Diagnose <"$WORK/install.txt"; return 1; }
  local files=(/usr/local/lib/vst/Quorvane.so /usr/local/lib/vst/Quorvane_README.txt
    /usr/local/lib/lv2/Quorvane.lv2/manifest.ttl /usr/local/bin/quorvane
    /usr/local/share/man/man1/quorvane.1
    /usr/local/lib/vst3/Quorvane.vst3/Contents/x86_64-linux/Quorvane.so
    /usr/local/lib/vst3/Quorvane.vst3/Contents/Resources/moduleinfo.json
    /usr/local/lib/vst3/Quorvane.vst3/Contents/Resources/Quorvane_README.txt
    /usr/local/lib/clap/Quorvane.clap /usr/local/lib/clap/Quorvane_README.txt)
  # Made by the install; no other package puts anything there.
  local folders=(/usr/local/lib/vst /usr/local/lib/lv2 /usr/local/lib/vst3 /usr/local/lib/clap)
  local made=() folder
  for folder in "${folders[@]}"; do [ -e "$folder" ] || made+=("$folder"); done
  local ok=0
  Installed "${files[@]}" && Removed /usr/local/lib/vst3/Quorvane.vst3/Contents/x86-win \
    /usr/local/lib/vst3/Quorvane.vst3/Contents/x86_64-win && OwnedByRoot /usr/local/lib/vst/Quorvane.so &&
    NoScanFailure && FoundByDefault "$NAME" LXVST && FoundByDefault "$LV2_URI" LV2 &&
    FoundByDefault "$NAME" VST3 &&
    MANPATH=/usr/local/share/man man -w quorvane >/dev/null || ok=1
  AsRoot "$ROOT_DIR/scripts/uninstall.sh" >>"$WORK/install.txt" 2>&1 || ok=1
  Removed "${files[@]}" "${made[@]}" || ok=1
  return $ok
}

# OwnedByRoot FILE: a system install belongs to root, whoever built it.
OwnedByRoot() {
  [ "$(stat -c %U "$1")" = root ] && return 0
  echo "# $1 belongs to $(stat -c %U "$1")"
  return 1
}

# Ardour's VST 3 scanner, run as Ardour runs it on every *.vst3 it finds in
# the folder (a Windows module in the bundle is one), reports no failure.
NoScanFailure() {
  local config="$WORK/scan-installed" report="" found
  rm -rf "$config" && mkdir -p "$config/ardour7" "$config/cache"
  while IFS= read -r found; do
    report+=$(XDG_CONFIG_HOME=$config XDG_CACHE_HOME=$config/cache LD_LIBRARY_PATH=/usr/lib/ardour7 \
      timeout 120 /usr/lib/ardour7/ardour-vst3-scanner -v "$found" 2>&1)$'\n'
  done < <(find /usr/local/lib/vst3 -name '*.vst3')
  grep -q 'Found Plugin' <<<"$report" && ! grep -q -E '\[ERROR\]|Cannot load' <<<"$report" && return 0
  Diagnose <<<"$report"
  return 1
}

# RootOwnsSystemInstall: a system install from a dist/ that another user
# built, with loose modes, run with a umask of 0, leaves only files owned by root, with modes 0755
# for folders and programs and 0644 for the rest, and keeps the files'
# times. Made under a scratch root (QV_ROOT) from a copy of the project.
RootOwnsSystemInstall() {
  local project="$WORK/other-user" root="$WORK/other-user-root"
  rm -rf "$project" "$root" && mkdir -p "$project/scripts" || return 1
  cp "$ROOT_DIR/scripts/install.sh" "$project/scripts/" && cp -r "$ROOT_DIR/dist" "$project/" &&
    chown -R 4321:4321 "$project/dist" && chmod -R go+w "$project/dist" || return 1
  touch -d 2020-01-02 "$project/dist/linux/Quorvane.so"
  AsRoot sh -c 'umask 0 && QV_ROOT="$1" exec "$2"' sh "$root" "$project/scripts/install.sh" \
    >"$WORK/other-user.txt" 2>&1 ||
    { Diagnose <"$WORK/other-user.txt"; return 1; }
  local wrong
  wrong=$(find "$root" \( ! -user 0 -o ! -group 0 -o \( -type d ! -perm 0755 \) \
    -o \( -type f ! -perm 0755 ! -perm 0644 \) \) -printf '%p %u %m\n')
  [ -z "$wrong" ] || { Diagnose <<<"$wrong"; return 1; }
  [ "$(stat -c %a "$root/usr/local/bin/quorvane")" = 755 ] &&
    [ "$(stat -c %a "$root/usr/local/lib/vst/Quorvane_README.txt")" = 644 ] &&
    [ "$(stat -c %a "$root/usr/local/lib/lv2/Quorvane.lv2/manifest.ttl")" = 644 ] &&
    [ "$(stat -c %a "$root/usr/local/lib/vst3/Quorvane.vst3/Contents/x86_64-linux/Quorvane.so")" = 755 ] ||
    { echo "# a program or a text has the wrong mode"; return 1; }
  [ "$(date -r "$root/usr/local/lib/vst/Quorvane.so" +%F)" = 2020-01-02 ] ||
    { echo "# the plug-in lost its time"; return 1; }
  rm -rf "$project" "$root"
}

UserInstall() {
  local home="$WORK/home"
  mkdir -p "$home"
  HOME=$home "$ROOT_DIR/scripts/install.sh" --user >"$WORK/user-install.txt" 2>&1 ||
    { Diagnose <"$WORK/user-install.txt"; return 1; }
  local files=("$home/.vst/Quorvane.so" "$home/.lv2/Quorvane.lv2/manifest.ttl"
    "$home/.vst3/Quorvane.vst3/Contents/x86_64-linux/Quorvane.so" "$home/.clap/Quorvane.clap"
    "$home/.local/bin/quorvane" "$home/.local/share/man/man1/quorvane.1")
  Installed "${files[@]}" || return 1
  grep -q "add $home/.vst in" "$WORK/user-install.txt" || { Diagnose <"$WORK/user-install.txt"; return 1; }
  HOME=$home "$ROOT_DIR/scripts/uninstall.sh" --user >/dev/null 2>&1 && Removed "${files[@]}"
}

Check "a system install puts everything (VST 2.x, LV2, VST 3 with its Linux module alone; CLAP in /usr/local/lib/clap), owned by root, where Ardour finds it with no configuration and scans it without a failure, and uninstall removes it and the folders it made" \
  SystemInstall
Check "a system install from a dist/ another user built, with loose modes and umask 0, leaves only root's files, 0755 and 0644, with their times kept" \
  RootOwnsSystemInstall
Check "a user install fills ~/.vst, ~/.lv2, ~/.vst3, ~/.clap and ~/.local, says what Ardour needs, and uninstall removes it" \
  UserInstall

Check "Ardour makes a session holding the plug-in on its dummy backend" MakeSession
Check "Ardour's GUI opens the plug-in's window from the session's saved state" \
  RunArdour "$WORK/quorvane" "$WORK/ardour.png" TypeIntoBox
Check "the window Ardour shows is the editor's face, as qvhost shows it outside the text" \
  SameAsQvhost "$WORK/ardour.png"
Check "keys Ardour binds, typed into the value box under a window manager, reach only the box" \
  SameAsQvhost "$WORK/ardour-typed.png" --param 1=0.91666667
Check "Ardour's LV2 host loads the bundle and lists its controls in their own units" Lv2Session
Check "the session Ardour saves holds the LV2 plug-in with target bits = 20" Lv2Saved
Check "Ardour's VST 3 scanner lists the bundle's effect" Vst3Scan
Check "Ardour's VST 3 host loads the bundle and lists its parameters in their own units" \
  ControlsSession vst3-session Quorvane VST3
Check "the session Ardour saves holds the VST 3 plug-in with target bits = 20, and reopens with it" \
  Vst3Saved
Check "Ardour lists the programs as factory presets; loading one selects it in the plug-in and Ardour shows its values" \
  Vst3Presets
Check "Ardour's GUI opens the VST 3 view on its run loop; a typed value and a click reach its automation" \
  Vst3Gui
Check "the VST 3 view Ardour shows is the editor's face, as qvhost shows it outside the text" \
  SameAsQvhost "$WORK/ardour-vst3.png" --param 2=0.538462
Check "Ardour exports a tone through the VST 3 bundle bit for bit as through the VST 2.x plug-in" \
  Vst3Exports
Check "with shaping on, Ardour's exports through VST 2.x, VST 3 and LV2 are bit for bit alike" \
  ShapedExports
# From 9 (11 in the VST 3 session, as typed above) 40 pixels down are 3.87
# steps; three notches from 16 (20 in the VST 3 and LV2 sessions, as set
# above) are 0.78 of a step. Ardour keeps a VST 2.x plug-in's values
# normalised, as the editor reported them (0.75 - 40 / 124, 10 / 26 - 0.03).
Lv2SlowTurns() { LV2_PATH="$NATIVE/lv2" SlowTurns "$@"; }
Check "in Ardour's GUI a slow drag and three wheel notches turn the VST 2.x plug-in's knobs" \
  SlowTurns "$WORK/quorvane" "psychoacoustic power=0.427419" "target bits=0.354615"
Check "in Ardour's GUI a slow drag and three wheel notches turn the VST 3 plug-in's knobs" \
  SlowTurns "$WORK/vst3-session" "psychoacoustic power=7" "target bits=19"
Check "in Ardour's GUI a slow drag and three wheel notches turn the LV2 plug-in's knobs" \
  Lv2SlowTurns "$WORK/lv2" "psychoacoustic power=5" "target bits=19"
Passed
