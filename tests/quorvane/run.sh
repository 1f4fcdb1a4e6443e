#!/bin/bash
# End-to-end checks of the quorvane tool: its output against the plug-in's
# own through the VST interface (qvhost render), reproducible dither, exact
# integers, formats and channels, and the refusals that must leave nothing
# behind.
#
#   tests/quorvane/run.sh NATIVE_BUILD_DIR
#
# Prints one line per check, "ok - NAME" or "not ok - NAME", diagnostics on
# lines starting with "# "; exits 0 when every check passed, 1 otherwise.
set -u
# shellcheck source=../lib/checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../lib/checks.sh"

if [ $# -ne 1 ]; then
  echo "usage: $0 NATIVE_BUILD_DIR" >&2
  exit 1
fi
BUILD=$(realpath -m "$1")
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
TOOL="$BUILD/tools/quorvane/quorvane"
QVHOST="$BUILD/tools/qvhost/qvhost"
PLUGIN="$BUILD/Quorvane.so"
WORK="$BUILD/quorvane-tests"
rm -rf "$WORK"
mkdir -p "$WORK/in" "$WORK/out"

# Tool ARGS...: quorvane with its stdout and stderr kept in $WORK/last.out
# and $WORK/last.err.
Tool() { "$TOOL" "$@" >"$WORK/last.out" 2>"$WORK/last.err"; }

# Signal FILE RATE CHANNELS [SECONDS]: a 24-bit test signal with a different
# sound on every channel, peaking below full scale. The rate and channels
# are the synthesiser's own: given to the output only, SoX would synthesise
# at 48 kHz and resample, and its resampler may push a noise sample to full
# scale.
Signal() {
  local file=$1 rate=$2 channels=$3 seconds=${4:-2}
  local sounds=(sine 220 sine 1000 pinknoise sine 3000 whitenoise sine 7000)
  sox -r "$rate" -c "$channels" -n -b 24 "$file" synth "$seconds" "${sounds[@]:0:$((2 * channels))}" \
    gain -6 2>/dev/null
}

# SameAudio A B: every sample equal (both read as doubles).
SameAudio() {
  local result
  result=$("$QVHOST" compare "$1" "$2" --tolerance 0) && return 0
  echo "$result" | Diagnose
  return 1
}

# Channels FILE FIRST COUNT OUT: channels FIRST .. FIRST+COUNT-1 (from 1) as a
# 64-bit float file.
Channels() {
  local file=$1 first=$2 count=$3 out=$4
  local picked=$first
  [ "$count" -eq 2 ] && picked="$first $((first + 1))"
  # shellcheck disable=SC2086
  sox -V1 "$file" -e floating-point -b 64 "$out" remix $picked
}

# MatchesPlugin CHANNELS RATE [BLOCK [BITS [POWER]]]: with dither off, every
# pair of channels of the tool's output equals what the plug-in itself makes
# of those channels through its double-precision callback at the same block
# size, limited to the output's range as the tool limits it (the plug-in
# keeps a step over full scale; a file cannot).
MatchesPlugin() {
  local channels=$1 rate=$2 block=${3:-512} bits=${4:-16} power=${5:-9}
  local name="$WORK/match.$channels.$rate.$block.$bits"
  Signal "$name.in.wav" "$rate" "$channels" || return 1
  Tool "$name.in.wav" -o "$name.out.wav" --dither off --bits "$bits" --power "$power" \
    --block "$block" || { Diagnose <"$WORK/last.err"; return 1; }
  [ "$(soxi -c "$name.out.wav")" = "$channels" ] || { echo "# channel count changed"; return 1; }
  [ "$(soxi -r "$name.out.wav")" = "$rate" ] || { echo "# rate changed"; return 1; }
  local params=(--param 0=0 --param "1=$(echo "$power / 12" | bc -l)"
    --param "2=$(echo "($bits - 6) / 26" | bc -l)")
  local first count container=$(( bits <= 16 ? 16 : bits <= 24 ? 24 : 32 ))
  for ((first = 1; first <= channels; first += 2)); do
    count=$((channels - first >= 1 ? 2 : 1))
    Channels "$name.in.wav" "$first" "$count" "$name.pair$first.in.wav" || return 1
    "$QVHOST" render "$PLUGIN" "$name.pair$first.in.wav" "$name.pair$first.ref.wav" \
      --block "$block" --path double "${params[@]}" >/dev/null || return 1
    sox -V1 -D "$name.pair$first.ref.wav" -b "$container" "$name.pair$first.lim.wav" 2>/dev/null &&
      mv "$name.pair$first.lim.wav" "$name.pair$first.ref.wav" || return 1
    Channels "$name.out.wav" "$first" "$count" "$name.pair$first.out.wav" || return 1
    # A mono file goes through the plug-in on both of its inputs; the
    # engines' first channel is compared.
    if [ "$count" -eq 1 ]; then
      sox -V1 "$name.pair$first.ref.wav" "$name.pair$first.ref1.wav" remix 1 &&
        mv "$name.pair$first.ref1.wav" "$name.pair$first.ref.wav"
    fi
    SameAudio "$name.pair$first.out.wav" "$name.pair$first.ref.wav" ||
      { Diagnose <"$WORK/last.out"; return 1; }
  done
}

for rate in 44100 48000 96000; do
  for channels in 1 2 6; do
    Check "dither off equals the plug-in: $channels channels at $rate Hz" MatchesPlugin "$channels" "$rate"
  done
done
Check "dither off equals the plug-in: 20 bits, power 5, block 1000" MatchesPlugin 2 48000 1000 20 5
Check "dither off equals the plug-in: 24 bits, power off, block 64" MatchesPlugin 3 44100 64 24 0

# ---- Reproducible dither and exact integers ----------------------------------

Signal "$WORK/in/stereo.wav" 44100 2 3

SameSeedSameFile() {
  Tool "$WORK/in/stereo.wav" -o "$WORK/seed.a.wav" --seed 42 &&
    Tool "$WORK/in/stereo.wav" -o "$WORK/seed.b.wav" --seed 42 &&
    cmp -s "$WORK/seed.a.wav" "$WORK/seed.b.wav"
}
Check "the same seed gives the same file" SameSeedSameFile

OtherSeedOtherFile() {
  Tool "$WORK/in/stereo.wav" -o "$WORK/seed.c.wav" --seed 43 &&
    ! cmp -s "$WORK/seed.a.wav" "$WORK/seed.c.wav"
}
Check "another seed gives another file" OtherSeedOtherFile

# IntegersEqualFloats BITS: the integer file read back and scaled equals the
# float-grid file, sample for sample.
IntegersEqualFloats() {
  local bits=$1
  Tool "$WORK/in/stereo.wav" -o "$WORK/grid.$bits.int.wav" --bits "$bits" --seed 5 &&
    Tool "$WORK/in/stereo.wav" -o "$WORK/grid.$bits.float.wav" --bits "$bits" --seed 5 --float &&
    SameAudio "$WORK/grid.$bits.int.wav" "$WORK/grid.$bits.float.wav"
}
for bits in 12 16 24 32; do
  Check "integers equal the float grid at $bits bits" IntegersEqualFloats "$bits"
done

# Container EXTENSION BITS WANTED [ARGS...]: the output's format and the
# width of its samples.
Container() {
  local extension=$1 bits=$2 wanted=$3
  shift 3
  local file="$WORK/container.$bits.$extension"
  Tool "$WORK/in/stereo.wav" -o "$file" --bits "$bits" "$@" || return 1
  local got
  got="$(soxi -V1 -t "$file") $(soxi -V1 -b "$file") $(soxi -V1 -e "$file")"
  [ "$got" = "$wanted" ] || { echo "# $extension at $bits bits stored as $got"; return 1; }
}
Check "8 bits in a 16-bit WAV" Container wav 8 "wav 16 Signed Integer PCM"
Check "20 bits in a 24-bit FLAC" Container flac 20 "flac 24 FLAC"
Check "16 bits in AIFF" Container aiff 16 "aiff 16 Signed Integer PCM"
Check "24 bits in AIFF (.aif)" Container aif 24 "aiff 24 Signed Integer PCM"
Check "32 bits in W64" Container w64 32 "w64 32 Signed Integer PCM"
Check "16 bits in CAF" Container caf 16 "caf 16 Signed Integer PCM"
Check "--float at 16 bits in 32-bit floats" Container wav 16 "wav 32 Floating Point PCM" --float
Check "--float at 28 bits in 64-bit floats" Container wav 28 "wav 64 Floating Point PCM" --float

# ---- Overs, clipping and the report ------------------------------------------

# Full-scale floats rounded without dither or shaping reach +1.0, one step
# above the largest 16-bit code: 1000 samples of +1.0 and 10 of +1.5 (which
# the requantiser clips to +1.0 first) are clipped and counted; 1000 of -1.0
# fit.
OversAreClippedAndCounted() {
  python3 - "$WORK/full-scale.wav" <<'PY' || return 1
import struct, sys
data = struct.pack("<f", 1.0) * 1000 + struct.pack("<f", -1.0) * 1000 + struct.pack("<f", 1.5) * 10
fmt = struct.pack("<HHIIHH", 3, 1, 44100, 4 * 44100, 4, 32)  # IEEE float, mono
body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
open(sys.argv[1], "wb").write(b"RIFF" + struct.pack("<I", len(body)) + body)
PY
  Tool "$WORK/full-scale.wav" -o "$WORK/full-scale.out.wav" --dither off --power off || return 1
  grep -q ' 10 clipped input samples; 1010 overs' "$WORK/last.out" || {
    Diagnose <"$WORK/last.out"
    return 1
  }
  local range
  range=$(sox -V1 "$WORK/full-scale.out.wav" -t raw -e signed -b 16 - | od -An -td2 -v |
    awk '{ for (i = 1; i <= NF; ++i) { if (!n++ || $i < lo) lo = $i; if ($i > hi) hi = $i } }
         END { print lo, hi }')
  [ "$range" = "-32768 32767" ] || { echo "# stored range $range"; return 1; }
}
Check "overs are clipped to the container and counted" OversAreClippedAndCounted

ReportNamesEverything() {
  Tool "$WORK/in/stereo.wav" -o "$WORK/report.wav" --seed 9 --bits 18 --power 4 || return 1
  local line
  line=$(cat "$WORK/last.out")
  for part in '18 bits' 'dither on' 'power 4' 'block 512' 'seed 9' '24-bit PCM WAV' \
    'input peak -[0-9.]+ dBFS' '0 clipped input samples' '[0-9]+ overs' \
    'error -[0-9.]+ dBFS RMS' "ear-weighted -[0-9.]+ dBFS RMS \(plug-in's weighting curve\)"; do
    grep -qE "$part" <<<"$line" || { echo "# no \"$part\" in: $line"; return 1; }
  done
  # Not a terminal: no progress on stderr.
  [ ! -s "$WORK/last.err" ] || { Diagnose <"$WORK/last.err"; return 1; }
}
Check "the report line gives settings, peak, clipping, overs and both error levels" ReportNamesEverything

Quiet() { Tool -q "$WORK/in/stereo.wav" -o "$WORK/quiet.wav" && [ ! -s "$WORK/last.out" ]; }
Check "-q prints nothing" Quiet

HighRateTurnsShapingOff() {
  Signal "$WORK/in/hires.wav" 192000 2 1 &&
    Tool "$WORK/in/hires.wav" -o "$WORK/hires.wav" &&
    grep -q 'power 9 (off above 96 kHz)' "$WORK/last.out"
}
Check "above 96 kHz the report says shaping is off" HighRateTurnsShapingOff

# The PNG signature, then the header chunk's width and height (800, 450).
Plot() {
  Tool "$WORK/in/stereo.wav" -o "$WORK/plotted.wav" --plot "$WORK/plot.png" || return 1
  local header
  header=$(od -An -tx1 -N 24 "$WORK/plot.png" | tr -d ' \n')
  [ "$header" = 89504e470d0a1a0a0000000d4948445200000320000001c2 ] || {
    echo "# header $header"
    return 1
  }
}
Check "--plot writes an 800 x 450 PNG" Plot

Help() { "$TOOL" --help >"$WORK/help.txt" 2>/dev/null && grep -q 'CD render (soft)' "$WORK/help.txt"; }
Check "--help prints the usage and programs on stdout" Help

Program() {
  Tool "$WORK/in/stereo.wav" -o "$WORK/program.wav" --program "cd render (hard)" --bits 20 &&
    grep -q '20 bits, dither off, power 9' "$WORK/last.out"
}
Check "a program by name, with one value changed" Program

# ---- Digital silence ---------------------------------------------------------

# Music between a silent head (0.5 s), a gap (0.3 s) and a tail (0.5 s):
# with --auto-blank the silence comes out exactly zero, everything else as a
# run without the option gives it, and no transition jumps by more than the
# music plus the error's own range.
AutoBlank() {
  local dir="$WORK/blank"
  mkdir -p "$dir"
  sox -n -r 44100 -c 2 -b 24 "$dir/music.wav" synth 1.2 sine 440 sine 1250 vol 0.5 &&
    sox -n -r 44100 -c 2 -b 24 "$dir/head.wav" trim 0 0.5 &&
    sox -n -r 44100 -c 2 -b 24 "$dir/gap.wav" trim 0 0.3 &&
    sox "$dir"/{head,music,gap,music,head}.wav "$dir/in.wav" || return 1
  Tool --seed 5 "$dir/in.wav" -o "$dir/plain.wav" || return 1
  Tool --seed 5 --auto-blank "$dir/in.wav" -o "$dir/blank.wav" || return 1
  grep -q 'auto-blank: 1.30 s of digital silence blanked' "$WORK/last.out" ||
    { echo "# $(cat "$WORK/last.out")"; return 1; }
  python3 - "$dir" <<'PY'
import struct, subprocess, sys
def read(name):
    raw = subprocess.run(['sox', sys.argv[1] + '/' + name, '-t', 's32', '-'],
                         capture_output=True, check=True).stdout
    return struct.unpack('<%di' % (len(raw) // 4), raw)
x, y, plain = read('in.wav'), read('blank.wav'), read('plain.wav')
frames = len(x) // 2
zero = [x[2 * i] == 0 and x[2 * i + 1] == 0 for i in range(frames)]
silent = [False] * frames
i = 0
while i < frames:
    j = i
    while j < frames and zero[j]: j += 1
    if j - i >= 441: silent[i:j] = [True] * (j - i)
    i = max(j, i + 1)
assert sum(silent) == 57330, sum(silent)
error = max(abs(plain[k] - x[k]) for k in range(len(x)))
for n in range(frames):
    for c in range(2):
        k = 2 * n + c
        if silent[n]: assert y[k] == 0, ('not blank', n)
        else: assert y[k] == plain[k], ('not as without the option', n)
        if n > 0 and silent[n] != silent[n - 1]:
            assert abs(y[k] - y[k - 2]) <= abs(x[k] - x[k - 2]) + 2 * error, ('jump', n)
PY
}
Check "--auto-blank: digital silence stays exactly zero, the music as without it" AutoBlank

# ---- Batch -------------------------------------------------------------------

Batch() {
  local i
  for i in 1 2 3 4 5; do Signal "$WORK/in/batch$i.wav" 44100 2 1 || return 1; done
  mkdir -p "$WORK/batch"
  Tool "$WORK"/in/batch{1,2,3,4,5}.wav --outdir "$WORK/batch" || return 1
  local order
  order=$(grep -o 'batch[0-9].wav ->' "$WORK/last.out" | tr -dc '0-9')
  [ "$order" = 12345 ] || { echo "# order $order"; return 1; }
  tail -1 "$WORK/last.out" | grep -q '^5 files dithered, 0 failed' || return 1
  [ "$(ls "$WORK/batch" | wc -l)" = 5 ]
}
Check "a batch writes every file and reports in input order, then a summary" Batch

# Three copies of one input: each file its own dither, the first the batch's
# seed, and any file made again alone from the seed on its line.
BatchSeeds() {
  mkdir -p "$WORK/seeds" "$WORK/seeds/in"
  local i
  for i in 1 2 3; do cp "$WORK/in/batch1.wav" "$WORK/seeds/in/copy$i.wav"; done
  Tool --seed 7 "$WORK"/seeds/in/copy{1,2,3}.wav --outdir "$WORK/seeds" || return 1
  ! cmp -s "$WORK/seeds/copy1.wav" "$WORK/seeds/copy2.wav" &&
    ! cmp -s "$WORK/seeds/copy2.wav" "$WORK/seeds/copy3.wav" &&
    ! cmp -s "$WORK/seeds/copy1.wav" "$WORK/seeds/copy3.wav" || { echo "# copies alike"; return 1; }
  local first third
  first=$(grep 'copy1.wav ->' "$WORK/last.out" | grep -o 'seed [0-9]*' | cut -d' ' -f2)
  third=$(grep 'copy3.wav ->' "$WORK/last.out" | grep -o 'seed [0-9]*' | cut -d' ' -f2)
  [ "$first" = 7 ] && [ -n "$third" ] && [ "$third" != 7 ] || { echo "# seeds $first $third"; return 1; }
  Tool --seed "$third" "$WORK/seeds/in/copy3.wav" -o "$WORK/seeds/alone.wav" &&
    cmp -s "$WORK/seeds/alone.wav" "$WORK/seeds/copy3.wav"
}
Check "each file of a batch gets its own seed, reported, and can be made again alone" BatchSeeds

BatchFailureIsReported() {
  mkdir -p "$WORK/batch2"
  ! Tool "$WORK/in/batch1.wav" "$WORK/in/missing.wav" --outdir "$WORK/batch2" &&
    grep -q 'missing.wav' "$WORK/last.err" && [ -s "$WORK/batch2/batch1.wav" ] &&
    tail -1 "$WORK/last.out" | grep -q '1 file dithered, 1 failed'
}
Check "one failed file in a batch fails the run but not the others" BatchFailureIsReported

# ---- Refusals: a message, a non-zero status, no output, nothing left ----------

# Leftovers DIR: temporary files left in the folder.
Leftovers() { find "$1" -maxdepth 1 -name '.quorvane-*' 2>/dev/null | grep -q .; }

# Refused PATTERN OUTPUT ARGS...: quorvane fails, says PATTERN on stderr and
# leaves neither OUTPUT nor a temporary file beside it.
Refused() {
  local pattern=$1 output=$2
  shift 2
  if Tool "$@"; then
    echo "# succeeded"
    return 1
  fi
  grep -qiE "$pattern" "$WORK/last.err" || { echo "# stderr:"; Diagnose <"$WORK/last.err"; return 1; }
  [ ! -e "$output" ] || { echo "# $output was written"; return 1; }
  ! Leftovers "$(dirname "$output")" || { echo "# temporary file left"; return 1; }
}

OUT="$WORK/out/x.wav"
: >"$WORK/in/empty.wav"
echo "not audio at all" >"$WORK/in/text.wav"
head -c 100000 "$WORK/in/stereo.wav" >"$WORK/in/truncated.wav"
Check "a missing input is refused" Refused 'no such file' "$OUT" "$WORK/in/nothing.wav" -o "$OUT"
Check "an empty input is refused" Refused 'empty' "$OUT" "$WORK/in/empty.wav" -o "$OUT"
Check "a non-audio input is refused" Refused 'as audio' "$OUT" "$WORK/in/text.wav" -o "$OUT"
Check "a truncated WAV names frames read and promised" \
  Refused 'read [0-9]+ frames of the 132300 its header promises' "$OUT" "$WORK/in/truncated.wav" -o "$OUT"
Check "a missing output folder is refused" \
  Refused 'cannot create' "$WORK/none/x.wav" "$WORK/in/stereo.wav" -o "$WORK/none/x.wav"
Check "an unknown option is refused" Refused 'unknown option --dance' "$OUT" \
  "$WORK/in/stereo.wav" -o "$OUT" --dance
Check "--bits 33 is refused" Refused 'bits must be' "$OUT" "$WORK/in/stereo.wav" -o "$OUT" --bits 33
Check "--bits 5 is refused" Refused 'bits must be' "$OUT" "$WORK/in/stereo.wav" -o "$OUT" --bits 5
Check "--power 13 is refused" Refused 'power must be' "$OUT" "$WORK/in/stereo.wav" -o "$OUT" --power 13
Check "--block 0 is refused" Refused 'block must be' "$OUT" "$WORK/in/stereo.wav" -o "$OUT" --block 0
Check "FLAC at 32 bits is refused" Refused 'FLAC holds at most 24' "$WORK/out/x.flac" \
  "$WORK/in/stereo.wav" -o "$WORK/out/x.flac" --bits 32
Check "an unknown output extension is refused" Refused 'cannot tell the format' "$WORK/out/x.mp3" \
  "$WORK/in/stereo.wav" -o "$WORK/out/x.mp3"

UnwritableFolder() {
  if [ "$(id -u)" -eq 0 ]; then
    # Permissions do not stop root; /proc takes no new files from anyone.
    Refused 'cannot create' /proc/x.wav "$WORK/in/stereo.wav" -o /proc/x.wav
  else
    mkdir -p "$WORK/readonly" && chmod 555 "$WORK/readonly"
    Refused 'cannot create' "$WORK/readonly/x.wav" "$WORK/in/stereo.wav" -o "$WORK/readonly/x.wav"
  fi
}
Check "an unwritable output folder is refused" UnwritableFolder

OverInput() {
  cp "$WORK/in/stereo.wav" "$WORK/self.wav"
  ! Tool "$WORK/self.wav" -o "$WORK/self.wav" -y && grep -q 'over its own input' "$WORK/last.err" &&
    cmp -s "$WORK/in/stereo.wav" "$WORK/self.wav"
}
Check "the input itself is never overwritten, even with -y" OverInput

ExistingOutput() {
  echo keep >"$WORK/existing.wav"
  ! Tool "$WORK/in/stereo.wav" -o "$WORK/existing.wav" && grep -q 'use -y' "$WORK/last.err" &&
    [ "$(cat "$WORK/existing.wav")" = keep ] &&
    Tool "$WORK/in/stereo.wav" -o "$WORK/existing.wav" -y && [ "$(soxi -p "$WORK/existing.wav")" = 16 ]
}
Check "an existing output is kept without -y and replaced with it" ExistingOutput

# A file-size limit below the output's size: the write fails, and the
# partial file is removed.
DiskFull() {
  mkdir -p "$WORK/full"
  (ulimit -f 100 && Tool "$WORK/in/stereo.wav" -o "$WORK/full/x.wav") && return 1
  grep -qi 'cannot write' "$WORK/last.err" || { Diagnose <"$WORK/last.err"; return 1; }
  [ -z "$(ls -A "$WORK/full")" ] || { ls -A "$WORK/full" | Diagnose; return 1; }
}
Check "a full disk (ulimit -f) leaves nothing behind" DiskFull

# StoppedWhileWriting FOLDER SIGNAL: quorvane, writing into FOLDER from a
# pipe that stalls after its first part, is sent SIGNAL while it writes; it
# must end with a failure and leave FOLDER empty.
StoppedWhileWriting() {
  local folder=$1 signal=$2 fifo="$1.fifo"
  mkdir -p "$folder"
  rm -f "$fifo" && mkfifo "$fifo"
  (head -c 200000 "$WORK/in/stereo.wav"; sleep 30) >"$fifo" &
  local feeder=$!
  "$TOOL" "$fifo" -o "$folder/x.wav" >/dev/null 2>&1 &
  local tool=$!
  sleep 1
  kill "-$signal" "$tool"
  wait "$tool"
  local status=$?
  kill "$feeder" 2>/dev/null
  wait "$feeder" 2>/dev/null
  [ "$status" -ne 0 ] || { echo "# exit status 0"; return 1; }
  [ -z "$(ls -A "$folder")" ] || { ls -A "$folder" | Diagnose; return 1; }
}
Check "an interrupt leaves nothing behind" StoppedWhileWriting "$WORK/interrupted" INT

# Peak memory of a three-minute file against a one-second file.
MemoryIndependentOfLength() {
  Signal "$WORK/in/long.wav" 44100 2 180 && Signal "$WORK/in/short.wav" 44100 2 1 || return 1
  local long short
  short=$( { /usr/bin/time -f '%M' "$TOOL" -q "$WORK/in/short.wav" -o "$WORK/short.wav"; } 2>&1)
  long=$( { /usr/bin/time -f '%M' "$TOOL" -q "$WORK/in/long.wav" -o "$WORK/long.wav"; } 2>&1)
  echo "# peak resident set: 1 s file ${short} kB, 180 s file ${long} kB"
  [ "$long" -le $((short + 2048)) ]
}
Check "memory does not grow with the file's length" MemoryIndependentOfLength

# ---- qvhost render, the test host the tool's output is compared with -------

RenderRefusesParamOutOfRange() {
  ! "$QVHOST" render "$PLUGIN" "$WORK/in/short.wav" "$WORK/param.wav" --param 2=16 2>/dev/null &&
    [ ! -e "$WORK/param.wav" ] &&
    "$QVHOST" render "$PLUGIN" "$WORK/in/short.wav" "$WORK/param.wav" --param 2=1 >/dev/null
}
Check "qvhost render refuses a normalised value outside 0 .. 1" RenderRefusesParamOutOfRange

# A block far longer than the file is bounded by the file: the same output as
# a block of the file's length, in little memory.
RenderBoundsTheBlock() {
  local peak
  peak=$( { /usr/bin/time -f '%M' "$QVHOST" render "$PLUGIN" "$WORK/in/short.wav" \
    "$WORK/huge-block.wav" --block 2000000000 --param 0=0 >/dev/null; } 2>&1) || return 1
  "$QVHOST" render "$PLUGIN" "$WORK/in/short.wav" "$WORK/file-block.wav" --block 44100 \
    --param 0=0 >/dev/null || return 1
  SameAudio "$WORK/huge-block.wav" "$WORK/file-block.wav" || return 1
  echo "# peak resident set with --block 2000000000: $peak kB"
  [ "$peak" -lt 102400 ]
}
Check "qvhost render bounds --block by the file's length" RenderBoundsTheBlock

# shellcheck source=metadata_checks.sh
source "$HERE/metadata_checks.sh"
# shellcheck source=safety_checks.sh
source "$HERE/safety_checks.sh"
# shellcheck source=rate_checks.sh
source "$HERE/rate_checks.sh"

Passed
