# What the editor tiers share, sourced after checks.sh by the wine tier's
# editor checks and by the X11 tier: reading captured pictures, reading
# qvhost's reports, the Windows editor session under wine (EditorHost), and
# the checks of a state that both builds' editors must show.
#
# A capture NAME is two files: NAME.png, the editor's picture, and NAME.txt,
# qvhost's report. Positions follow the plug-in's layout: the dither patch of
# the background at (180, 445)-(215, 475), the knobs at (345, 414) and
# (412, 414), 31 pixels square, the first knob's caption at
# (350, 459)-(370, 470), the lamp at (240, 462).

EDITOR_RESOURCES="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../resources" && pwd)"

# ---- Pictures -----------------------------------------------------------------

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

# NotWhiteAt FILE X Y: the pixel is not white: no entry box there.
NotWhiteAt() { ! WhiteAt "$@" >/dev/null 2>&1; }

# Background FRAME X Y: where pixel (X, Y) of frame 1 or 2 lies in the picture.
Background() { echo "$EDITOR_RESOURCES/background.png $2 $(($3 + ($1 - 1) * 525))"; }

# ---- Reports ------------------------------------------------------------------

# Says FILE LINE...: the report holds each of these exact lines.
Says() {
  local file=$1 line
  shift
  for line in "$@"; do
    grep -qxF "$line" "$file" && continue
    echo "missing line: $line" | Diagnose
    return 1
  done
}

# Automations FILE INDEX: how many automation reports the host had for it.
Automations() { grep -c "^host request 0 record own index $2 " "$1"; }

# LastAutomation FILE INDEX: the value of the last automation report for it.
LastAutomation() {
  grep "^host request 0 record own index $2 " "$1" | tail -1 | sed -E 's/.* opt ([^ ]+) .*/\1/'
}

# NeverAutomated FILE INDEX: the host had no automation report for it.
NeverAutomated() { [ "$(Automations "$@")" = 0 ]; }

# ---- The Windows editor under wine ------------------------------------------------

# EditorHost BUILD NAME ARGS...: `qvhost editor` on that build's DLL (x86 in
# $X86, x64 in $X64) under a virtual display; the capture is
# $WORK/editor.NAME.BUILD.
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
    wine "$dir/tools/qvhost/qvhost.exe" editor "$dir/Quorvane.dll" "$out.png" --hold 600 "$@" \
    2>"$out.err" | tr -d '\r' >"$out.txt"
  [ "${PIPESTATUS[0]}" -eq 0 ] && return 0
  Diagnose <"$out.err"
  return 1
}

# ---- States both editors show ---------------------------------------------------

# ShowsFrame CAPTURE FRAME: the background shows that frame of its picture
# (1 with dither off, 2 with it on).
ShowsFrame() {
  SamePixel "$1.png" 20 20 $(Background "$2" 20 20) &&
    SamePixel "$1.png" 480 200 $(Background "$2" 480 200)
}

# DitherPatchToggled CAPTURE: a click on the dither patch switched dither on
# and swapped the background's frame.
DitherPatchToggled() {
  SamePixel "$1.png" 20 20 $(Background 2 20 20) && Says "$1.txt" "param 0 1.000000"
}

# KnobTurnedUp OPEN CAPTURE: "psychoacoustic power" went from 9 to 12, and its
# knob and caption were redrawn.
KnobTurnedUp() {
  Says "$2.txt" "param 1 1.000000" && DiffersIn "$1.png" "$2.png" 345 414 376 445 &&
    DiffersIn "$1.png" "$2.png" 350 459 370 470
}

# BackgroundIgnoresClicks CAPTURE: clicks on the background outside the
# dither patch changed nothing.
BackgroundIgnoresClicks() {
  Says "$1.txt" "param 0 0.000000" && SamePixel "$1.png" 20 20 $(Background 1 20 20)
}

# LampToggledByItsMargin OPEN CAPTURE: a click in the lamp's margin switched
# "show graph" off and redrew the lamp.
LampToggledByItsMargin() {
  Says "$2.txt" "param 3 0.000000" && DiffersIn "$1.png" "$2.png" 240 462 248 470
}

# KnobCrossedItsRange CAPTURE: a knob dragged from its minimum reached its
# maximum, and the host heard the start.
KnobCrossedItsRange() {
  Says "$1.txt" "param 1 1.000000" &&
    grep -q "^host request 0 record own index 1 value 0 opt 1 " "$1.txt"
}
