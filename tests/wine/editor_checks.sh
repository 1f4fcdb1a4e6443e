# The editor in a real window under wine and Xvfb: opened by qvhost's
# Windows build the way a host opens it, clicked, dragged and wheeled with
# posted mouse messages, painted by its own frame timer and captured to PNG.
# Sourced by run.sh, which defines Check, Diagnose, WORK, X86 and X64.
#
# Positions follow the plug-in's layout: the dither patch of the background
# at (180, 445)-(215, 475), the knobs at (345, 414) and (412, 414), 31 pixels
# square, the first knob's caption at (350, 459)-(370, 470).

EDITOR_RESOURCES="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../resources" && pwd)"
# The system's Python, which has PIL (python3-pil), before any other.
# EditorHost BUILD NAME ARGS...: `qvhost editor` on that build's DLL under a
# virtual display; output in $WORK/editor.NAME.BUILD.txt, picture in .png.
EditorHost() {
  local build=$1 name=$2 dir
  shift 2
  case $build in
    x86) dir=$X86 ;;
    x64) dir=$X64 ;;
  esac
  local out="$WORK/editor.$name.$build"
  # A wine server left by a run without a display would keep its desktop
  # there, where no window can be created; each session starts a fresh one.
  wineserver -k 2>/dev/null
  timeout 60 wineserver -w
  timeout "$WINE_TIMEOUT" xvfb-run -a -s "-screen 0 1280x1024x24" \
    wine "$dir/tools/host/qvhost.exe" editor "$dir/Quorvane.dll" "$out.png" --hold 600 "$@" \
    2>"$out.err" | tr -d '\r' >"$out.txt"
  [ "${PIPESTATUS[0]}" -eq 0 ] && return 0
  Diagnose <"$out.err"
  return 1
}

# Pixel FILE X Y: "R G B" of a pixel of a PNG file.
Pixel() {
  "$PYTHON" -c 'import sys
from PIL import Image
r, g, b = Image.open(sys.argv[1]).convert("RGB").getpixel((int(sys.argv[2]), int(sys.argv[3])))
print(r, g, b)' "$@"
}

# SamePixel FILE_A XA YA FILE_B XB YB: the two pixels agree within 2 per channel.
SamePixel() {
  local a b
  a=$(Pixel "$1" "$2" "$3") && b=$(Pixel "$4" "$5" "$6") || return 1
  "$PYTHON" -c 'import sys
a = [int(v) for v in sys.argv[1].split()]
b = [int(v) for v in sys.argv[2].split()]
sys.exit(0 if all(abs(x - y) <= 2 for x, y in zip(a, b)) else 1)' "$a" "$b" && return 0
  echo "$1 ($2, $3) is $a; $4 ($5, $6) is $b" | Diagnose
  return 1
}

# DiffersIn FILE_A FILE_B LEFT TOP RIGHT BOTTOM: some pixel of the rectangle
# differs between the two pictures.
DiffersIn() {
  "$PYTHON" -c 'import sys
from PIL import Image
a = Image.open(sys.argv[1]).convert("RGB")
b = Image.open(sys.argv[2]).convert("RGB")
l, t, r, btm = (int(v) for v in sys.argv[3:7])
sys.exit(0 if any(a.getpixel((x, y)) != b.getpixel((x, y))
                  for y in range(t, btm) for x in range(l, r)) else 1)' "$@"
}

# WhiteAt FILE X Y: the pixel is white, as an entry box's background is.
WhiteAt() {
  local p
  p=$(Pixel "$@") || return 1
  [ "$p" = "255 255 255" ] && return 0
  echo "$1 ($2, $3) is $p, not white" | Diagnose
  return 1
}

# Says FILE LINE: the output holds that exact line.
Says() {
  grep -qxF "$2" "$1" && return 0
  echo "missing line: $2" | Diagnose
  return 1
}

# NoGdiGrowth FILE WHAT: "gdi objects over N WHAT A -> B" with A = B.
NoGdiGrowth() {
  local line
  line=$(grep "^gdi objects over [0-9]* $2 " "$1") || { echo "no count for $2" | Diagnose; return 1; }
  [ "$(awk '{print $6}' <<<"$line")" = "$(awk '{print $8}' <<<"$line")" ] && return 0
  echo "$line" | Diagnose
  return 1
}

# Background FRAME X Y: where pixel (X, Y) of frame 1 or 2 lies in the picture.
Background() { echo "$EDITOR_RESOURCES/background.png $2 $(($3 + ($1 - 1) * 525))"; }

RunEditorChecksFor() {
  local build=$1 open="$WORK/editor.open.$1" used="$WORK/editor.used.$1" flags
  flags=$(timeout "$WINE_TIMEOUT" wine "$2/tools/host/qvhost.exe" info "$2/Quorvane.dll" \
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
  Check "$build editor's class is registered only while a window is open" \
    eval 'Says "$open.txt" "class before opening unregistered" &&
          Says "$open.txt" "class while open registered" &&
          Says "$open.txt" "class after closing unregistered"'
  Check "$build two editors share one class until the last closes" \
    eval 'Says "$open.txt" "class with two editors registered" &&
          Says "$open.txt" "class after closing the second with its window open registered"'
  Check "$build editor shows the first background frame with dither off" \
    eval 'SamePixel "$open.png" 20 20 $(Background 1 20 20) &&
          SamePixel "$open.png" 480 200 $(Background 1 480 200)'
  Check "$build editor used with clicks, a drag, the wheel and a right press" \
    EditorHost "$build" used --click 197,460 --drag 360,430,0,-62 --wheel 427,430,-3 \
    --rclick 360,430 --cycles 20 --instances 5
  Check "$build a click on the dither patch swaps the background" \
    eval 'SamePixel "$used.png" 20 20 $(Background 2 20 20) && Says "$used.txt" "param 0 1.000000"'
  Check "$build dragging a knob up 62 pixels turns it from 9 to 12" \
    eval 'Says "$used.txt" "param 1 1.000000" && DiffersIn "$open.png" "$used.png" 345 414 376 445 &&
          DiffersIn "$open.png" "$used.png" 350 459 370 470'
  # 16 bits is 10/26; 0.03 less makes 15.22 bits, which the parameter rounds to 15.
  Check "$build three wheel notches down take target bits from 16 to 15" \
    Says "$used.txt" "param 2 0.346154"
  Check "$build the host is told of each change" \
    eval 'grep -q "^host request 0 record own index 0 value 0 opt 1 " "$used.txt" &&
          grep -q "^host request 0 record own index 2 " "$used.txt"'
  Check "$build a right press on a knob opens the entry box over it" \
    eval 'WhiteAt "$used.png" 346 429 && [ "$(Pixel "$open.png" 346 429)" != "255 255 255" ]'
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
    eval 'Says "$layout.txt" "param 0 0.000000" && SamePixel "$layout.png" 20 20 $(Background 1 20 20)'
  Check "$build the lamp answers a click in its margin, three times its size" \
    eval 'Says "$layout.txt" "param 3 0.000000" && DiffersIn "$open.png" "$layout.png" 240 462 248 470'
  Check "$build a 124-pixel drag turns a knob from its minimum to its maximum" \
    eval 'Says "$layout.txt" "param 1 1.000000" &&
          grep -q "^host request 0 record own index 1 value 0 opt 1 " "$layout.txt"'
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
    eval 'Says "$hard.txt" "entry box focused 1" &&
          Says "$hard.txt" "after escape entry box closed editor window alive" &&
          Says "$hard.txt" "param 1 0.750000"'
  Check "$build the editor re-opened in a new frame is whole and painted" \
    eval 'Says "$hard.txt" "editor reopen 1" && Says "$hard.txt" "editor window 500 525" &&
          SamePixel "$hard.png" 20 20 $(Background 1 20 20) &&
          SamePixel "$hard.png" 480 200 $(Background 1 480 200) &&
          Says "$hard.txt" "class after closing unregistered"'
}

RunEditorChecks() {
  RunEditorChecksFor x86 "$X86"
  RunEditorChecksFor x64 "$X64"
  wineserver -k 2>/dev/null
}
