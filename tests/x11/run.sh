#!/bin/bash
# The native editor tier: Quorvane.so's editor in an X11 window under Xvfb,
# opened by the native qvhost as a host opens it, used with real input sent
# through XTest, captured with XGetImage, and compared with the 64-bit DLL's
# editor in the same state, captured under wine.
#
#   tests/x11/run.sh NATIVE_BUILD_DIR X64_BUILD_DIR [ASAN_BUILD_DIR TSAN_BUILD_DIR]
#
# With the sanitizer builds, the editor is also used, opened and closed
# under AddressSanitizer (with leak detection) and ThreadSanitizer.
#
# Prints "ok - NAME" / "not ok - NAME" lines and "# " diagnostics; exits 0
# when every check passed.
set -u
# shellcheck source=../lib/checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../lib/checks.sh"

if [ $# -ne 2 ] && [ $# -ne 4 ]; then
  echo "usage: $0 NATIVE_BUILD_DIR X64_BUILD_DIR [ASAN_BUILD_DIR TSAN_BUILD_DIR]" >&2
  exit 1
fi
NATIVE=$(realpath -m "$1")
X64=$(realpath -m "$2")
ASAN=${3:+$(realpath -m "$3")}
TSAN=${4:+$(realpath -m "$4")}
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

UseWine "$NATIVE" 120

WORK="$NATIVE/x11-tests"
rm -rf "$WORK"
mkdir -p "$WORK"

# shellcheck source=../lib/editor_checks.sh
source "$HERE/../lib/editor_checks.sh"

SCREEN="-screen 0 1280x1024x24"

# Native NAME [--server XVFB_ARGUMENTS] ARGS...: `qvhost editor` on the
# native plug-in under a virtual display of its own; output in
# $WORK/NAME.txt, picture in $WORK/NAME.png.
Native() {
  local name=$1 server=$SCREEN
  shift
  if [ "${1:-}" = --server ]; then
    server=$2
    shift 2
  fi
  local out="$WORK/$name"
  timeout 120 xvfb-run -a -s "$server" "$NATIVE/tools/qvhost/qvhost" editor "$NATIVE/Quorvane.so" \
    "$out.png" --hold 400 "$@" >"$out.txt" 2>"$out.err"
  [ $? -eq 0 ] && return 0
  Diagnose <"$out.err"
  return 1
}

# SameAsWindows NAME: the native picture and the Windows one agree outside the
# text areas; the count inside them is reported.
SameAsWindows() {
  local result
  result=$("$PYTHON" "$HERE/compare.py" "$WORK/$1.png" "$WORK/editor.$1.x64.png" --text)
  local status=$?
  echo "$result" | Diagnose
  return $status
}

SameAs() { "$PYTHON" "$HERE/compare.py" "$WORK/$1.png" "$WORK/$2.png" | Diagnose; return "${PIPESTATUS[0]}"; }

# Equal WHAT FILE: every "WHAT over N SERIES A -> B" line has A = B.
NoGrowth() {
  local lines
  lines=$(grep "^$1 over " "$2") || { echo "no count of $1" | Diagnose; return 1; }
  echo "$lines" | Diagnose
  ! awk '$(NF - 2) != $NF { exit 1 }' <<<"$lines" && return 1
  return 0
}

# NativeView: the VST 3 module's view, attached as a VST 3 host attaches it,
# draws what the VST 2.x editor opened first drew; qvhost is given the
# bundle folder, as its usage offers.
NativeView() {
  timeout 120 xvfb-run -a -s "$SCREEN" "$NATIVE/tools/qvhost/qvhost" view \
    "$NATIVE/vst3/Quorvane.vst3" "$WORK/view.png" \
    >"$WORK/view.txt" 2>"$WORK/view.err" || { Diagnose <"$WORK/view.err"; return 1; }
  Says "$WORK/view.txt" "view platform X11EmbedWindowID 0" "view size 500 525 resizable 0" \
    "view attached 0" "view removed 0" && SameAs open view
}

# HandlerAfterUnload MODULE NAME: the module's editor shown and the module
# unloaded twice by qvhost, which installed its own handler of a lost display
# first; after the last unload the handler is qvhost's own, and when qvhost's
# own connection breaks, that handler answers (a handler left pointing into
# the unloaded module would end qvhost by a signal).
HandlerAfterUnload() {
  timeout 120 xvfb-run -a -s "$SCREEN" "$NATIVE/tools/qvhost/qvhost" view "$1" "$WORK/$2.png" \
    --hold 200 --cycles 2 --break-display >"$WORK/$2.txt" 2>"$WORK/$2.err"
  local status=$?
  [ $status -eq 0 ] &&
    Says "$WORK/$2.txt" "host display handler kept 1" "host handled the lost display" && return 0
  echo "# exit status $status"
  Diagnose <"$WORK/$2.err"
  return 1
}

# ClapGui NAME [--no-loop]: the CLAP module's GUI, embedded as a CLAP host
# embeds it, on qvhost's loop (the host's descriptor and timer) or, with
# --no-loop, on the window layer's own thread; it draws what the VST 2.x
# editor opened first drew and leaves nothing registered.
ClapGui() {
  local name=$1 registered="1 timers 1"
  shift
  [ "${1:-}" = --no-loop ] && registered="0 timers 0"
  timeout 120 xvfb-run -a -s "$SCREEN" "$NATIVE/tools/qvhost/qvhost" view \
    "$NATIVE/clap/Quorvane.clap" "$WORK/$name.png" "$@" >"$WORK/$name.txt" 2>"$WORK/$name.err" ||
    { Diagnose <"$WORK/$name.err"; return 1; }
  Says "$WORK/$name.txt" "gui api x11 floating 0 supported 1" "gui size 500 525 resizable 0" \
    "gui embedded 1 host loop fds $registered" "gui destroyed host loop fds 0 timers 0" &&
    SameAs open "$name"
}

# SameWith NAME ARGS...: the editor opened again as NAME, under other
# conditions (Native's), draws the same picture as when first opened.
SameWith() { Native "$@" && SameAs open "$1"; }

# FineWheel: one wheel notch with Control moves "target bits" by 0.001.
FineWheel() {
  Native fine --finewheel 427,430,1 && [[ "$(LastAutomation "$WORK/fine.txt" 2)" == 0.38561* ]]
}

# DoubleClickResets: a double-click returns "target bits" to its default.
DoubleClickResets() {
  Native double --drag 427,430,0,-20 --dblclick 427,430 &&
    [ "$(LastAutomation "$WORK/double.txt" 2)" = 0.384615391 ] &&
    Says "$WORK/double.txt" "param 2 0.384615"
}

# BoxOpensFocused: a right press on a knob opens the value box over it, with
# the keyboard focus.
BoxOpensFocused() {
  Native box --rclick 360,430 && NotWhiteAt "$WORK/open.png" 346 429 &&
    WhiteAt "$WORK/box.png" 346 429 && Says "$WORK/box.txt" "keyboard focus moved"
}

# TypedValueCommits: a value typed with a correction commits with Return, the
# box closes and the focus goes back.
TypedValueCommits() {
  Native typed --rclick 360,430 --type "1{BackSpace}10{Return}" &&
    Says "$WORK/typed.txt" "param 1 0.833333" "keyboard focus where it was" &&
    NotWhiteAt "$WORK/typed.png" 346 429
}

# CaretEdits: the caret moves and deletes, and a sign, a point and an exponent
# are taken: "16" becomes "12", then "+2.5e1" is 25.
CaretEdits() {
  Native caret --rclick 427,430 --type "{Right}{Left}{Left}{Delete}2{Return}" \
    --rclick 427,430 --type "+2.5e1{Return}" &&
    [ "$(Automations "$WORK/caret.txt" 2)" = 4 ] &&
    grep -q "^host request 0 record own index 2 value 0 opt 0.76923" "$WORK/caret.txt" &&
    Says "$WORK/caret.txt" "param 2 0.730769"
}

# EscapeCancels: Escape closes the box; nothing is set and the focus goes back.
EscapeCancels() {
  Native escape --rclick 427,430 --type "20{Escape}" && NeverAutomated "$WORK/escape.txt" 2 &&
    Says "$WORK/escape.txt" "param 2 0.384615" "keyboard focus where it was"
}

# RightPressCancels: a second right press closes the box without setting.
RightPressCancels() {
  Native rcancel --rclick 427,430 --type "20" --rclick 427,430 &&
    NeverAutomated "$WORK/rcancel.txt" 2 && NotWhiteAt "$WORK/rcancel.png" 413 429
}

# Reframed: the host destroys its frame without closing the editor, then
# opens it in a new one, which works.
Reframed() {
  Native reframe --reframe --click 197,460 &&
    Says "$WORK/reframe.txt" "editor reopen 1" "editor window 500 525" "param 0 1.000000"
}

# EscapeKeepsWindow: Escape sent by the host to the focused box closes the box
# and leaves the editor's window.
EscapeKeepsWindow() {
  Native escape-host --escape 360,430 &&
    Says "$WORK/escape-host.txt" "entry box open 1" "after escape entry box closed editor window alive"
}

# LinkOpensReadme: the logo's link hands the read-me to xdg-open (a slow
# one, in $WORK/bin) and the editor answers the next click at once.
LinkOpensReadme() {
  PATH="$WORK/bin:$PATH" Native link --click 100,400 --click 197,460 &&
    grep -q "/Quorvane_README.txt$" "$WORK/opened.txt" && Says "$WORK/link.txt" "param 0 1.000000"
}

# WindowsCaptured: the 64-bit DLL's editor under wine in the states of the
# comparisons.
WindowsCaptured() {
  EditorHost x64 open &&
    EditorHost x64 used --click 197,460 --drag 360,430,0,-62 --wheel 427,430,-3 &&
    EditorHost x64 layout --param 1=0 --click 100,440 --click 179,444 --click 233,455 \
      --drag 360,440,0,-124
}

RunOpenChecks() {
  local open="$WORK/open"
  Check "native editor opens in the host's X window, paints and is captured" \
    Native open --second
  Check "native editor answers effEditOpen with 0 where no window can be made" \
    Says "$open.txt" "editor open in no window 0"
  Check "native editor: a second instance opens beside the first, and each window goes with its close" \
    Says "$open.txt" "second editor open 1" "editor windows after closing 0"
  Check "native editor shows the first background frame with dither off" ShowsFrame "$open" 1
  Check "native editor opened without MIT-SHM draws the same picture" \
    SameWith open-noshm --server "$SCREEN -extension MIT-SHM"
  Check "native editor in a 32-bit (ARGB) parent draws the same picture" \
    SameWith open-argb --parent-depth 32
  Check "native editor on a 16-bit screen draws the same picture through a visual of its own" \
    SameWith open-16 --server "-screen 0 1280x1024x16"
  Check "native VST 3 view attached to an X window draws the same picture" NativeView
  Check "native CLAP GUI on the host's loop draws the same picture" ClapGui clap-loop
  Check "native CLAP GUI without the host's loop draws the same picture" \
    ClapGui clap-own-thread --no-loop
  Check "native CLAP GUI shown and unloaded twice: the host's own handler answers a lost display" \
    HandlerAfterUnload "$NATIVE/clap/Quorvane.clap" clap-unload
  Check "native VST 3 view shown and unloaded twice: the host's own handler answers a lost display" \
    HandlerAfterUnload "$NATIVE/vst3/Quorvane.vst3" vst3-unload
}

RunInputChecks() {
  local open="$WORK/open" used="$WORK/used" layout="$WORK/layout"
  Check "native editor used with a click, a drag and the wheel" \
    Native used --click 197,460 --drag 360,430,0,-62 --wheel 427,430,-3
  Check "native: a click on the dither patch toggles the switch and swaps the frame" \
    DitherPatchToggled "$used"
  Check "native: dragging a knob up 62 pixels turns it from 9 to 12" KnobTurnedUp "$open" "$used"
  Check "native: three wheel notches down take target bits from 16 to 15" \
    Says "$used.txt" "param 2 0.346154"
  Check "native: one wheel notch with Control moves a knob by 0.001" FineWheel
  Check "native editor used on the background, the lamp's margin and a long knob drag" \
    Native layout --param 1=0 --click 100,440 --click 179,444 --click 233,455 --drag 360,440,0,-124
  Check "native: clicks on the background outside the dither patch change nothing" \
    BackgroundIgnoresClicks "$layout"
  Check "native: the lamp's margin toggles show graph" LampToggledByItsMargin "$open" "$layout"
  Check "native: a 124-pixel drag takes a knob across its range" KnobCrossedItsRange "$layout"
  Check "native: a double-click returns a knob to its default" DoubleClickResets
}

RunEntryChecks() {
  Check "native: a right press on a knob opens the value box over it, focused, with its text selected" \
    BoxOpensFocused
  Check "native: a typed value commits with Return and the focus goes back" TypedValueCommits
  Check "native: the box edits with the caret: Left, Delete, a sign, a point and an exponent" \
    CaretEdits
  Check "native: Escape cancels the box" EscapeCancels
  Check "native: a right press cancels the box" RightPressCancels
}

RunHostChecks() {
  Check "native: the host destroys its frame without closing the editor, then opens it in a new one" \
    Reframed
  Check "native: Escape in the focused box closes it and leaves the editor's window" \
    EscapeKeepsWindow
}

RunOtherChecks() {
  # An opener that takes its time: the editor must not wait for it.
  mkdir -p "$WORK/bin"
  printf '#!/bin/sh\necho "$1" >"%s"\nsleep 5\n' "$WORK/opened.txt" >"$WORK/bin/xdg-open"
  chmod +x "$WORK/bin/xdg-open"
  Check "native: the read-me link opens Quorvane_README.txt with xdg-open, and the editor goes on" \
    LinkOpensReadme
  Check "native editor opened and closed 50 times, used each time, and 5 instances" \
    Native cycles --click 197,460 --drag 360,430,0,-30 --rclick 427,430 --type "7{Return}" \
    --cycles 50 --instances 5
  for what in "x clients" "x resources" "shm segments" "open files"; do
    Check "native: no $what left over by 50 open/close cycles and 5 instances" \
      NoGrowth "$what" "$WORK/cycles.txt"
  done
}

# LayerTests NAME FILTER [tcp]: the window layer's tests that need a display
# (test_x11, test_lv2_ui), under a virtual display of their own: the local
# socket by default; with tcp, a server that listens on TCP, reached as
# 127.0.0.1 (as a display forwarded over ssh is).
LayerTests() {
  local name=$1 filter=$2 out="$WORK/$1.txt" binary
  binary=$NATIVE/tests/$(echo "$filter" | cut -d: -f1)
  filter=$(echo "$filter" | cut -d: -f2-)
  if [ "${3:-}" != tcp ]; then
    timeout 120 xvfb-run -a -s "$SCREEN" "$binary" --gtest_filter="$filter" >"$out" 2>&1 ||
      { Diagnose <"$out"; return 1; }
    Ran "$out"
    return
  fi
  local number="$WORK/$name.display" server rc i
  : >"$number"
  # shellcheck disable=SC2086
  Xvfb -displayfd 3 -listen tcp -ac $SCREEN 3>"$number" >"$WORK/$name.xvfb" 2>&1 &
  server=$!
  for i in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
  DISPLAY="127.0.0.1:$(head -1 "$number")" timeout 120 "$binary" --gtest_filter="$filter" >"$out" 2>&1
  rc=$?
  kill "$server" 2>/dev/null
  wait "$server" 2>/dev/null
  [ $rc -eq 0 ] || { Diagnose <"$out"; return 1; }
  Ran "$out"
}

# Ran OUT: the tests in OUT ran, none skipped for want of a display.
Ran() {
  grep -q '^\[  PASSED  \]' "$1" && ! grep -q '^\[  SKIPPED \]' "$1" && return 0
  Diagnose <"$1"
  return 1
}

RunConnectionChecks() {
  Check "native: the editor's X connection killed while the host plays: the host plays on, the editor reopens" \
    LayerTests killed "test_x11:X11Window.AKilledConnection*"
  Check "native: the same over a TCP display" \
    LayerTests killed-tcp "test_x11:X11Window.AKilledConnection*" tcp
  Check "native: on a host's run loop the editor's window has no thread of its own and paints when run" \
    LayerTests host-loop "test_x11:X11Window.OnTheHostsLoop*"
  Check "LV2 UI shown in a window of its own: its close button makes idle() answer non-zero" \
    LayerTests lv2-close "test_lv2_ui:Lv2Ui.AWindowOfItsOwn*"
}

# Sanitized NAME DIR PATTERN: the editor used, opened and closed by that
# build's qvhost; no report matching PATTERN.
Sanitized() {
  local out="$WORK/$1"
  timeout 600 xvfb-run -a -s "$SCREEN" "$2/tools/qvhost/qvhost" editor "$2/Quorvane.so" "$out.png" \
    --hold 200 --click 197,460 --drag 360,430,0,-30 --rclick 427,430 --type "7{Return}" \
    --dblclick 427,430 --cycles 20 --instances 3 >"$out.txt" 2>&1 || { tail -5 "$out.txt" | Diagnose; return 1; }
  ! grep -q -E "$3" "$out.txt" && return 0
  grep -E -A12 "$3" "$out.txt" | head -30 | Diagnose
  return 1
}

RunSanitizedChecks() {
  [ -n "$ASAN" ] && ASAN_OPTIONS=detect_leaks=1 Check \
    "native editor used, opened and closed under AddressSanitizer: no leak, no error" \
    Sanitized asan "$ASAN" 'ERROR: (Address|Leak)Sanitizer|runtime error'
  [ -n "$TSAN" ] && TSAN_OPTIONS=halt_on_error=0 Check \
    "native editor used, opened and closed under ThreadSanitizer: no race" \
    Sanitized tsan "$TSAN" 'WARNING: ThreadSanitizer'
  return 0
}

RunComparisons() {
  Check "Windows editor captured under wine in the same states" WindowsCaptured
  for state in open used layout; do
    Check "native and Windows pictures of the $state editor are equal outside the text areas" \
      SameAsWindows "$state"
  done
}

RunOpenChecks
RunInputChecks
RunEntryChecks
RunHostChecks
RunOtherChecks
RunConnectionChecks
RunSanitizedChecks
RunComparisons
wineserver -k 2>/dev/null
Passed
