# The quorvane tool's rate conversion (--rate): its quality against the
# figures a mastering engineer asks of a converter, SoX's `rate -v` beside
# it, its determinism and its memory. Sourced by run.sh, which defines
# Check, Tool and the paths.

SIGNALS="$HERE/rate_signals.py"

# Raw RATE SECONDS KIND ARGS... FILE: a test signal as a 64-bit float WAV.
Raw() {
  local rate=$1 seconds=$2 kind=$3
  shift 3
  local file=${*: -1}
  python3 "$SIGNALS" "$kind" "$rate" "$seconds" "${@:1:$#-1}" |
    sox -t f64 -r "$rate" -c 1 - -e float -b 64 "$file"
}

# Converted IN RATE OUT: the converter alone, written as floats on a 32-bit
# grid with neither dither nor shaping.
Converted() { Tool --rate "$2" --dither off --power off --bits 32 --float "$1" -o "$3"; }

# Level FILE RATE F: the level of frequency F in dBFS, away from the edges.
Level() { sox "$1" -t f64 - | python3 "$SIGNALS" level "$2" "$3" 0.1 0.9; }

# Within A B TOLERANCE: |A - B| <= TOLERANCE.
Within() { python3 -c "import sys; sys.exit(abs($1 - ($2)) > $3)"; }

RATES="$WORK/rates"
mkdir -p "$RATES"

# 96 kHz to 44.1 kHz: flat to 20 kHz within 0.01 dB, and whatever lies above
# the new Nyquist frequency (a full-scale sweep from 22.1 to 47.9 kHz) comes
# out below -140 dBFS.
RateDown() {
  local f level peak
  for f in 20 1000 10000 19000 20000; do
    Raw 96000 1 tone "$f" 0.5 "$RATES/tone$f.wav" && Converted "$RATES/tone$f.wav" 44100 "$RATES/down$f.wav" ||
      return 1
    sox "$RATES/tone$f.wav" -r 44100 -e float -b 64 "$RATES/sox$f.wav" rate -v
    level=$(Level "$RATES/down$f.wav" 44100 "$f")
    echo "# $f Hz: $level dBFS (SoX rate -v: $(Level "$RATES/sox$f.wav" 44100 "$f"); in: -6.02060)"
    Within "$level" -6.02060 0.01 || return 1
  done
  Raw 96000 4 sweep 22100 47900 0.999 "$RATES/sweep.wav" &&
    Converted "$RATES/sweep.wav" 44100 "$RATES/down-sweep.wav" || return 1
  sox "$RATES/sweep.wav" -r 44100 -e float -b 64 "$RATES/sox-sweep.wav" rate -v
  # The sweep's first and last 50 ms are left out: it starts and stops
  # abruptly, a click of every frequency.
  peak=$(sox "$RATES/down-sweep.wav" -t f64 - | python3 "$SIGNALS" peak 44100 0.05 3.95)
  echo "# aliases of a full-scale sweep from 22.1 to 47.9 kHz: $peak dBFS" \
    "(SoX rate -v: $(sox "$RATES/sox-sweep.wav" -t f64 - | python3 "$SIGNALS" peak 44100 0.05 3.95))"
  Within "$peak" -200 60
}
Check "--rate 44100 from 96 kHz: flat to 20 kHz within 0.01 dB, aliases below -140 dBFS" RateDown

# 44.1 kHz to 96 kHz: flat to 20 kHz, and the images of full-scale tones
# (at 44.1 kHz minus and plus the tone) below -140 dBFS.
RateUp() {
  local f level image
  for f in 1000 10000 19000 20000; do
    Raw 44100 1 tone "$f" 0.999 "$RATES/up-tone$f.wav" &&
      Converted "$RATES/up-tone$f.wav" 96000 "$RATES/up$f.wav" || return 1
    level=$(Level "$RATES/up$f.wav" 96000 "$f")
    Within "$level" "$(python3 -c 'import math; print(20 * math.log10(0.999))')" 0.01 ||
      { echo "# $f Hz: $level dBFS"; return 1; }
    for image in $((44100 - f)) $((44100 + f)); do
      [ "$image" -lt 48000 ] || continue
      level=$(Level "$RATES/up$f.wav" 96000 "$image")
      echo "# image of a full-scale $f Hz tone at $image Hz: $level dBFS"
      Within "$level" -200 60 || return 1
    done
  done
}
Check "--rate 96000 from 44.1 kHz: flat to 20 kHz, images below -140 dBFS" RateUp

# The same input, options and seed give the same bytes, from a file or a
# pipe, whatever the channels; the shaping is designed for the new rate.
RateDeterministic() {
  Signal "$RATES/master.wav" 96000 6 2 &&
    Tool --seed 9 --rate 44100 "$RATES/master.wav" -o "$RATES/a.wav" &&
    grep -q '44100 Hz (converted from 96000 Hz), 88200 frames' "$WORK/last.out" &&
    Tool --seed 9 --rate 44100 "$RATES/master.wav" -o "$RATES/b.wav" &&
    Tool --seed 9 --rate 44100 /dev/stdin -o "$RATES/c.wav" <"$RATES/master.wav" || return 1
  cmp -s "$RATES/a.wav" "$RATES/b.wav" || { echo "# two runs differ"; return 1; }
  SameAudio "$RATES/a.wav" "$RATES/c.wav" || { echo "# the pipe differs"; return 1; }
  # At 96 kHz the plug-in's engine does not shape; at 44.1 kHz it does.
  grep -q 'power 9,' "$WORK/last.out"
}
Check "--rate gives the same bytes on every run, from a file or a pipe" RateDeterministic

# Memory does not grow with the file's length when converting either.
RateMemoryIndependentOfLength() {
  local short long
  Signal "$RATES/short.wav" 96000 2 5 && Signal "$RATES/long.wav" 96000 2 60 || return 1
  short=$( { /usr/bin/time -f '%M' "$TOOL" -q -y --rate 44100 "$RATES/short.wav" \
    -o "$RATES/short-out.wav"; } 2>&1) || return 1
  long=$( { /usr/bin/time -f '%M' "$TOOL" -q -y --rate 44100 "$RATES/long.wav" \
    -o "$RATES/long-out.wav"; } 2>&1) || return 1
  echo "# peak resident set: $short kB for 5 s, $long kB for 60 s"
  [ "$long" -lt $((short + 2048)) ] && [ "$long" -lt 32768 ]
}
Check "--rate: memory does not grow with the file's length" RateMemoryIndependentOfLength

# What counts samples moves with the audio: a 96 kHz BWF's time reference,
# cue points, loop and labelled-text length come out at 48 kHz; its iXML,
# whose timestamp counts samples too, is named as not kept.
RateMetadata() {
  Signal "$RATES/plain96.wav" 96000 2 3 || return 1
  python3 - "$RATES/plain96.wav" "$RATES/bwf96.wav" <<'PY' || return 1
import struct, sys
data = bytearray(open(sys.argv[1], 'rb').read())
def chunk(cid, body):
    return cid + struct.pack('<I', len(body)) + body + (b'\0' if len(body) % 2 else b'')
bext = bytearray(602)
bext[0:5] = b'Mixed'
bext[338:346] = struct.pack('<Q', 960000)
cue = struct.pack('<I', 2)
for number, position in ((1, 96000), (2, 192000)):
    cue += struct.pack('<II4sIII', number, position, b'data', 0, 0, position)
smpl = struct.pack('<9I', 0, 0, 10417, 60, 0, 0, 0, 1, 0) + struct.pack('<6I', 1, 0, 48000, 96000, 0, 0)
adtl = b'adtl' + chunk(b'ltxt', struct.pack('<IIIHHHH', 1, 9600, 0x20677372, 0, 0, 0, 0))
extra = (chunk(b'bext', bytes(bext)) + chunk(b'cue ', cue) + chunk(b'smpl', smpl) + chunk(b'LIST', adtl) +
         chunk(b'iXML', b'<BWFXML><TIMESTAMP_SAMPLE_RATE>96000</TIMESTAMP_SAMPLE_RATE></BWFXML>'))
at = data.find(b'data')
data[at:at] = extra
data[4:8] = struct.pack('<I', len(data) - 8)
open(sys.argv[2], 'wb').write(data)
PY
  Tool --rate 48000 "$RATES/bwf96.wav" -o "$RATES/bwf48.wav" || return 1
  grep -q 'not kept: iXML (counts samples at the old rate)' "$WORK/last.out" ||
    { echo "# $(cat "$WORK/last.out")"; return 1; }
  python3 - "$RATES/bwf48.wav" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
chunks, at = {}, 12
while at + 8 <= len(data):
    cid, size = data[at:at + 4], struct.unpack('<I', data[at + 4:at + 8])[0]
    chunks[cid] = data[at + 8:at + 8 + size]
    at += 8 + size + (size & 1)
assert struct.unpack('<I', chunks[b'fmt '][4:8])[0] == 48000
assert struct.unpack('<Q', chunks[b'bext'][338:346])[0] == 480000, 'time reference'
assert chunks[b'bext'][0:5] == b'Mixed'
points = [struct.unpack('<II4sIII', chunks[b'cue '][4 + 24 * i:28 + 24 * i]) for i in range(2)]
assert [(p[1], p[5]) for p in points] == [(48000, 48000), (96000, 96000)], points
smpl = struct.unpack('<9I6I', chunks[b'smpl'])
assert smpl[2] == 20833 and smpl[11:13] == (24000, 48000), smpl
assert struct.unpack('<I', chunks[b'LIST'][16:20])[0] == 4800, 'ltxt length'
assert b'iXML' not in chunks
PY
}
Check "--rate moves the time reference, cue points, loops and text lengths to the new rate" RateMetadata

# The lower qualities are libsoxr's own: their aliases rise as their
# precision falls, and an unknown one is refused.
RateQualities() {
  local quality peak last=-999
  for quality in very-high high medium; do
    Tool -y --rate-quality "$quality" --rate 44100 --dither off --power off --bits 32 --float \
      "$RATES/sweep.wav" -o "$RATES/quality.wav" || return 1
    peak=$(sox "$RATES/quality.wav" -t f64 - | python3 "$SIGNALS" peak 44100 0.05 3.95)
    echo "# $quality: aliases at $peak dBFS"
    python3 -c "import sys; sys.exit(not $peak > $last)" || return 1
    last=$peak
  done
  ! Tool -y --rate-quality best --rate 44100 "$RATES/sweep.wav" -o "$RATES/quality.wav" &&
    grep -q 'very-high, high or medium' "$WORK/last.err"
}
Check "--rate-quality offers libsoxr's lower precisions" RateQualities
