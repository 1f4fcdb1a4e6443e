#!/bin/bash
# The LV2 tier: the bundle in real LV2 hosts from Debian. lv2ls and lv2info
# must find and describe it; lv2apply renders through it, and with dither off
# its output must equal the VST 2.x shared object's through qvhost, bit for
# bit, at the block size the LV2 instance designs for.
#
#   tests/lv2/run.sh NATIVE_BUILD_DIR LV2_DIR
#
# LV2_DIR holds Quorvane.lv2/ (dist/lv2 after a build). Prints "ok - NAME" or
# "not ok - NAME" per check, diagnostics on lines starting with "# "; exits 0
# when every check passed.
set -u
# shellcheck source=../lib/checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../lib/checks.sh"

if [ $# -ne 2 ]; then
  echo "usage: $0 NATIVE_BUILD_DIR LV2_DIR" >&2
  exit 1
fi
NATIVE=$(realpath -m "$1")
export LV2_PATH=$(realpath -m "$2")
BUNDLE="$LV2_PATH/Quorvane.lv2"
URI=$("$NATIVE/tools/qvhost/qvhost" identity lv2_uri)
# lv2apply gives no maximum block length and runs one frame per call, so the
# instance designs its filter for its default block of 512 frames.
LV2_BLOCK=512

WORK="$NATIVE/lv2-tests"
rm -rf "$WORK"
mkdir -p "$WORK"

NativeHost() { "$NATIVE/tools/qvhost/qvhost" "$@"; }

# ---- Discovery -----------------------------------------------------------------

NoWindowSystemInDsp() {
  local needed
  needed=$(objdump -p "$BUNDLE/Quorvane_dsp.so" | awk '/NEEDED/ {print $2}')
  [ -n "$needed" ] || { echo "# no dynamic section in the DSP binary"; return 1; }
  ! grep -E 'libX|libxcb|libGL' <<<"$needed" | Diagnose | grep -q .
}

Listed() { lv2ls | grep -qx "$URI"; }

# The LV2 project's own validator finds no error in the bundle's data,
# checked against the specifications Debian installs.
Validated() {
  command -v sord_validate >/dev/null || { echo "# sord_validate is missing"; return 1; }
  local report
  report=$(lv2_validate "$BUNDLE"/*.ttl 2>&1)
  grep -q "^Found 0 errors" <<<"$report" && return 0
  grep -v "^Skipping" <<<"$report" | tail -20 | Diagnose
  return 1
}

# PortShows SYMBOL MIN MAX DEFAULT PROPERTY: lv2info's block for that port.
PortShows() {
  local block
  block=$(lv2info "$URI" | awk -v s="$1" '
    /^\tPort [0-9]+:/ { if (found) exit; text = "" }
    { text = text $0 "\n" }
    $1 == "Symbol:" && $2 == s { found = 1 }
    END { if (found) printf "%s", text }')
  [ -n "$block" ] || { echo "# no port $1"; return 1; }
  grep -q "Minimum: *$2\$" <<<"$block" && grep -q "Maximum: *$3\$" <<<"$block" &&
    grep -q "Default: *$4\$" <<<"$block" && grep -q "lv2core#$5\$" <<<"$block" && return 0
  Diagnose <<<"$block"
  return 1
}

ScalePointOff() {
  lv2info "$URI" | grep -q '0\.0 = "off"'
}

PresetsListed() {
  local presets
  presets=$(lv2info "$URI" | sed -n '/Presets:/,/^$/p' | sed -E 's/^[[:space:]]+//')
  grep -qx 'Default' <<<"$presets" && grep -qx 'CD render (hard)' <<<"$presets" &&
    grep -qx 'CD render (soft)' <<<"$presets" && ! grep -qx -- '-' <<<"$presets" && return 0
  Diagnose <<<"$presets"
  return 1
}

AudioPorts() {
  local info
  info=$(lv2info "$URI")
  [ "$(grep -c 'lv2core#AudioPort' <<<"$info")" -eq 4 ] &&
    [ "$(grep -c 'lv2core#ControlPort' <<<"$info")" -eq 4 ]
}

# ---- Audio ------------------------------------------------------------------------

# Signal RATE: two seconds, a tone on the left and noise on the right, as a
# float WAV that both hosts read without conversion.
Signal() {
  sox -n -r "$1" -c 2 -e floating-point -b 32 "$WORK/in.$1.wav" synth 2 sine 997 pinknoise \
    vol 0.5 2>&1 | Diagnose
  [ -s "$WORK/in.$1.wav" ]
}

# Equal A B: the same samples, and not empty.
Equal() {
  [ -s "$1" ] && [ -s "$2" ] || { echo "# missing output"; return 1; }
  NativeHost compare "$1" "$2" | grep -q 'largest difference 0 ' && return 0
  NativeHost compare "$1" "$2" | Diagnose
  return 1
}

# Lv2Render NAME RATE lv2apply-controls...
Lv2Render() {
  local name=$1 rate=$2
  shift 2
  lv2apply -i "$WORK/in.$rate.wav" -o "$WORK/$name.lv2.wav" "$@" "$URI" 2>&1 | Diagnose
}

# VstRender NAME RATE BLOCK qvhost-options...
VstRender() {
  local name=$1 rate=$2 block=$3
  shift 3
  NativeHost render "$NATIVE/Quorvane.so" "$WORK/in.$rate.wav" "$WORK/$name.vst.wav" \
    --block "$block" "$@" >/dev/null 2>"$WORK/$name.err" || { Diagnose <"$WORK/$name.err"; }
}

# SameAsVst NAME RATE "lv2apply controls" "qvhost options"
SameAsVst() {
  local name=$1 rate=$2
  # shellcheck disable=SC2086
  Lv2Render "$name" "$rate" $3
  # shellcheck disable=SC2086
  VstRender "$name" "$rate" "$LV2_BLOCK" $4
  Equal "$WORK/$name.lv2.wav" "$WORK/$name.vst.wav"
}

# The comparison must be able to fail: a design for another block size
# shapes the noise differently.
OtherBlockDiffers() {
  VstRender other 44100 4096 --param 0=0
  [ -s "$WORK/other.vst.wav" ] && [ -s "$WORK/default.44100.lv2.wav" ] &&
    ! NativeHost compare "$WORK/other.vst.wav" "$WORK/default.44100.lv2.wav" |
      grep -q 'largest difference 0 '
}

# The port values of a preset in presets.ttl, as lv2apply options.
PresetControls() {
  awk -v label="$1" '
    index($0, "rdfs:label \"" label "\"") { inside = 1 }
    inside && /lv2:symbol/ {
      match($0, /lv2:symbol "[^"]+"/); symbol = substr($0, RSTART + 12, RLENGTH - 13)
      match($0, /pset:value [-0-9.e]+/); value = substr($0, RSTART + 11, RLENGTH - 11)
      printf "-c %s %s ", symbol, value
    }
    inside && / \.$/ { exit }' "$BUNDLE/presets.ttl"
}

PresetSameAsProgram() {
  local controls
  controls=$(PresetControls "CD render (hard)")
  [ "$(wc -w <<<"$controls")" -eq 12 ] || { echo "# preset values: $controls"; return 1; }
  SameAsVst preset.hard 44100 "$controls" "--program 1"
}

Check "the DSP binary links no window-system library" NoWindowSystemInDsp
Check "lv2ls lists $URI" Listed
Check "lv2_validate finds no error in the bundle" Validated
Check "lv2info: two audio inputs, two audio outputs, four controls" AudioPorts
Check "lv2info: dither is toggled, 0 to 1, default 0" PortShows dither 0.000000 1.000000 0.000000 toggled
Check "lv2info: psychoacoustic power is an integer, 0 to 12, default 9" \
  PortShows psychoacoustic_power 0.000000 12.000000 9.000000 integer
Check "lv2info: psychoacoustic power has the scale point 0 = off" ScalePointOff
Check "lv2info: target bits is an integer, 6 to 32, default 16" \
  PortShows target_bits 6.000000 32.000000 16.000000 integer
Check "lv2info: show graph is toggled, 0 to 1, default 1" PortShows show_graph 0.000000 1.000000 1.000000 toggled
Check "lv2info lists the presets Default, CD render (hard), CD render (soft)" PresetsListed

for rate in 44100 48000 96000; do
  Check "test signal at $rate Hz" Signal "$rate"
  Check "lv2apply equals the VST 2.x plug-in at $rate Hz (dither off, block $LV2_BLOCK)" \
    SameAsVst "default.$rate" "$rate" "-c dither 0" "--param 0=0"
done
Check "lv2apply at 20 bits equals the VST 2.x plug-in at 20 bits" \
  SameAsVst bits20 48000 "-c target_bits 20" "--param 2=0.53846157"
Check "lv2apply with shaping off equals the VST 2.x plug-in with shaping off" \
  SameAsVst shaping-off 44100 "-c psychoacoustic_power 0" "--param 1=0"
Check "lv2apply with the values of preset CD render (hard) equals program 1" PresetSameAsProgram
Check "a render designed for another block size differs" OtherBlockDiffers

# The plug-in in jalv, under a virtual display of its own.
ui=
[ -f "$BUNDLE/Quorvane_ui.so" ] && ui=--ui
timeout 300 xvfb-run -a -s "-screen 0 1280x1024x24" "$(dirname "$0")/jalv_checks.sh" "$NATIVE" $ui ||
  failures=$((failures + 1))

Passed
