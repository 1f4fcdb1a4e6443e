# The editor in a real window under wine and Xvfb: opened by qvhost's
# Windows build the way a host opens it, clicked, dragged and wheeled with
# posted mouse messages, painted by its own frame timer and captured to PNG.
# Sourced by run.sh, which defines Check, Diagnose, WORK, X86 and X64.
# shellcheck source=../lib/editor_checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../lib/editor_checks.sh"

# NoGdiGrowth FILE WHAT: "gdi objects over N WHAT A -> B" with A = B.
NoGdiGrowth() {
  local line
  line=$(grep "^gdi objects over [0-9]* $2 " "$1") || { echo "no count for $2" | Diagnose; return 1; }
  [ "$(awk '{print $6}' <<<"$line")" = "$(awk '{print $8}' <<<"$line")" ] && return 0
  echo "$line" | Diagnose
  return 1
}

# ClassRegisteredWhileOpen CAPTURE: the window class is registered only while
# an editor window exists, and stays while a second editor's window does.
ClassRegisteredWhileOpen() {
  Says "$1.txt" "class before opening unregistered" "class while open registered" \
    "class after closing unregistered" "class with two editors registered" \
    "class after closing the second with its window open registered"
}

# ChangesReported CAPTURE: the host heard of the dither switch and of the
# wheel on "target bits".
ChangesReported() {
  grep -q "^host request 0 record own index 0 value 0 opt 1 " "$1.txt" &&
    grep -q "^host request 0 record own index 2 " "$1.txt"
}

# EntryBoxOverKnob OPEN CAPTURE: the value box is open over the first knob.
EntryBoxOverKnob() { WhiteAt "$2.png" 346 429 && NotWhiteAt "$1.png" 346 429; }

# ReopenedWhole CAPTURE: the editor opened again in the host's new frame,
# at its size, painted, and its class went with its window.
ReopenedWhole() {
  Says "$1.txt" "editor reopen 1" "editor window 500 525" "class after closing unregistered" &&
    ShowsFrame "$1" 1
}

RunEditorChecksFor() {
  local build=$1 open="$WORK/editor.open.$1" used="$WORK/editor.used.$1" flags
  flags=$(timeout "$WINE_TIMEOUT" wine "$2/tools/qvhost/qvhost.exe" info "$2/Quorvane.dll" \
    2>/dev/null | tr -d '\r' | grep '^record flags ')
  if [ -z "$flags" ]; then
    Check "$build plug-in reports its flags" false
    return
  fi
  if ! grep -q hasEditor <<<"$flags"; then
    echo "ok - editor absent, skipped"
    echo "# $build: $flags"
    return
  fi
  Check "$build editor opens, paints and is captured" EditorHost "$build" open --second
  Check "$build editor has the size it reports" Says "$open.txt" "editor rect 500 525"
  Check "$build editor's class is registered only while a window is open, and shared" \
    ClassRegisteredWhileOpen "$open"
  Check "$build editor shows the first background frame with dither off" ShowsFrame "$open" 1
  Check "$build editor used with clicks, a drag, the wheel and a right press" \
    EditorHost "$build" used --click 197,460 --drag 360,430,0,-62 --wheel 427,430,-3 \
    --rclick 360,430 --cycles 20 --instances 5
  Check "$build a click on the dither patch swaps the background" DitherPatchToggled "$used"
  Check "$build dragging a knob up 62 pixels turns it from 9 to 12" KnobTurnedUp "$open" "$used"
  # 16 bits is 10/26; 0.03 less makes 15.22 bits, which the parameter rounds to 15.
  Check "$build three wheel notches down take target bits from 16 to 15" \
    Says "$used.txt" "param 2 0.346154"
  Check "$build the host is told of each change" ChangesReported "$used"
  Check "$build a right press on a knob opens the entry box over it" EntryBoxOverKnob "$open" "$used"
  Check "$build no GDI objects left over by 20 open/close cycles" NoGdiGrowth "$used.txt" cycles
  Check "$build no GDI objects left over by 5 instances" NoGdiGrowth "$used.txt" instances
  RunLayoutChecksFor "$build"
  RunHardHostChecksFor "$build"
}

# The layout's hit areas: the background answers only on its dither patch,
# the lamp on a square three times its size, and a knob's full range is a
# 124-pixel drag.
RunLayoutChecksFor() {
  local build=$1 open="$WORK/editor.open.$1" layout="$WORK/editor.layout.$1"
  Check "$build editor used on the background, the lamp's margin and a long knob drag" \
    EditorHost "$build" layout --param 1=0 --click 100,440 --click 179,444 --click 233,455 \
    --drag 360,440,0,-124
  Check "$build clicks on the background outside the dither patch change nothing" \
    BackgroundIgnoresClicks "$layout"
  Check "$build the lamp answers a click in its margin, three times its size" \
    LampToggledByItsMargin "$open" "$layout"
  Check "$build a 124-pixel drag turns a knob from its minimum to its maximum" \
    KnobCrossedItsRange "$layout"
}

# A host that is hard on the editor, in one session: it takes the mouse
# capture away in the middle of a press on "psychoacoustic power" and then
# wheels over "target bits"; it passes its messages through IsDialogMessage,
# as hosts that keep plug-in windows in dialogs do, while Escape is typed
# into the value box; and, with the box open again, it destroys its frame
# without closing the editor, then opens the editor in a new frame.
RunHardHostChecksFor() {
  local build=$1 hard="$WORK/editor.hard.$1"
  Check "$build editor used by a hard host" \
    EditorHost "$build" hard --dialog --lost-press 360,430 --wheel 427,430,-3 --escape 360,430 \
    --rclick 360,430 --reframe
  Check "$build after a press lost its capture the wheel turns the knob under the pointer" \
    Says "$hard.txt" "param 2 0.346154"
  Check "$build Escape typed in the value box cancels the entry and keeps the editor" \
    Says "$hard.txt" "entry box focused 1" "after escape entry box closed editor window alive" \
    "param 1 0.750000"
  Check "$build the editor re-opened in a new frame is whole and painted" ReopenedWhole "$hard"
}

RunEditorChecks() {
  RunEditorChecksFor x86 "$X86"
  RunEditorChecksFor x64 "$X64"
  wineserver -k 2>/dev/null
}
