# Sourced by run.sh: nothing quorvane does may lose, corrupt or expose a
# user's files.

mkdir -p "$WORK/safe"

# A WAV written to a pipe says 0xFFFFFFFF for its sizes; read to its end,
# from a file and from a pipe, it gives every frame, as a W64 from a pipe
# does. Of a length not known before its end, the output is a WAV (not
# RF64) with room to become one.
StreamedHeaders() {
  ffmpeg -v error -i "$WORK/in/stereo.wav" -f wav - >"$WORK/safe/streamed.wav" || return 1
  Tool -q -y "$WORK/safe/streamed.wav" -o "$WORK/safe/from-file.wav" ||
    { Diagnose <"$WORK/last.err"; return 1; }
  ffmpeg -v error -i "$WORK/in/stereo.wav" -f wav - |
    "$TOOL" -q -y /dev/stdin -o "$WORK/safe/from-pipe.wav" 2>"$WORK/last.err" ||
    { Diagnose <"$WORK/last.err"; return 1; }
  local f
  for f in from-file from-pipe; do
    [ "$(soxi -s "$WORK/safe/$f.wav")" = 132300 ] || { echo "# $f: $(soxi -s "$WORK/safe/$f.wav")"; return 1; }
  done
  # A W64 from a pipe: libsndfile guesses some 2^61 frames, the header
  # promises 1000.
  "$PYTHON" "$HERE/sparse_w64.py" "$WORK/safe/small.w64" 48000 2 1000 &&
    cat "$WORK/safe/small.w64" | "$TOOL" -q -y /dev/stdin -o "$WORK/safe/w64-pipe.wav" 2>"$WORK/last.err" ||
    { Diagnose <"$WORK/last.err"; return 1; }
  [ "$(soxi -s "$WORK/safe/w64-pipe.wav")" = 1000 ] || { echo "# piped W64: $(soxi -s "$WORK/safe/w64-pipe.wav")"; return 1; }
  [ "$(head -c 4 "$WORK/safe/from-pipe.wav")" = RIFF ] &&
    [ "$(head -c 16 "$WORK/safe/from-pipe.wav" | tail -c 4)" = JUNK ] ||
    { echo "# the piped output begins $(head -c 16 "$WORK/safe/from-pipe.wav" | tr -c '[:print:]' .)"; return 1; }
}
Check "a WAV streamed with unknown sizes is read to its end, from a file and a pipe; so is a W64 from a pipe" StreamedHeaders

# The second job's input is the first job's output: neither may run.
BatchKeepsItsInputs() {
  mkdir -p "$WORK/safe/out2"
  cp "$WORK/in/stereo.wav" "$WORK/safe/in.wav"
  cp "$WORK/in/stereo.wav" "$WORK/safe/out2/in.wav"
  (cd "$WORK/safe" && "$TOOL" -q -y in.wav out2/in.wav --outdir out2) 2>"$WORK/last.err" &&
    { echo "# succeeded"; return 1; }
  grep -q 'input of this run' "$WORK/last.err" || { Diagnose <"$WORK/last.err"; return 1; }
  cmp -s "$WORK/in/stereo.wav" "$WORK/safe/out2/in.wav" || { echo "# out2/in.wav was replaced"; return 1; }
  # An output that is an input under another name (a hard link) is found by
  # identity: in.wav's output is written, stereo.wav's is refused.
  ln -f "$WORK/safe/in.wav" "$WORK/safe/out2/stereo.wav"
  "$TOOL" -q -y "$WORK/safe/in.wav" "$WORK/in/stereo.wav" --outdir "$WORK/safe/out2" \
    2>"$WORK/last.err" && { echo "# succeeded"; return 1; }
  grep -q 'stereo.wav: it is an input of this run' "$WORK/last.err" || { Diagnose <"$WORK/last.err"; return 1; }
  cmp -s "$WORK/in/stereo.wav" "$WORK/safe/in.wav" || { echo "# in.wav was replaced"; return 1; }
}
Check "a batch never replaces one of its own inputs, by name or by identity" BatchKeepsItsInputs

# A group-only master replaced with -y stays group-only, with its owner and
# group; a symbolic link stays a link to the new file.
ReplacingKeepsModeOwnerAndLinks() {
  local out="$WORK/safe/master.wav"
  cp "$WORK/in/stereo.wav" "$out" && chmod 640 "$out" || return 1
  local owner=""
  if [ "$(id -u)" -eq 0 ]; then
    chown nobody:nogroup "$out" && owner="nobody:nogroup"
  fi
  Tool -q -y "$WORK/in/stereo.wav" -o "$out" || { Diagnose <"$WORK/last.err"; return 1; }
  [ "$(stat -c %a "$out")" = 640 ] || { echo "# mode now $(stat -c %a "$out")"; return 1; }
  [ -z "$owner" ] || [ "$(stat -c %U:%G "$out")" = "$owner" ] ||
    { echo "# owner now $(stat -c %U:%G "$out")"; return 1; }
  [ "$(soxi -p "$out")" = 16 ] || return 1
  cp "$WORK/in/stereo.wav" "$WORK/safe/real.wav" && ln -sf real.wav "$WORK/safe/link.wav" || return 1
  Tool -q -y "$WORK/in/stereo.wav" -o "$WORK/safe/link.wav" || { Diagnose <"$WORK/last.err"; return 1; }
  [ -L "$WORK/safe/link.wav" ] || { echo "# the link was replaced by a file"; return 1; }
  [ "$(soxi -p "$WORK/safe/real.wav")" = 16 ] || { echo "# the linked file was not replaced"; return 1; }
}
Check "-y keeps the replaced file's mode, owner and group, and follows a symbolic link" \
  ReplacingKeepsModeOwnerAndLinks

# Killed outright while writing: no file, hidden or not, is left.
Check "SIGKILL while writing leaves nothing behind" StoppedWhileWriting "$WORK/safe/killed" KILL

# Out of memory (256 channels in 65536-frame blocks under a 1 GB limit):
# a message, exit 1, nothing left, and the batch's other file still done.
OutOfMemory() {
  mkdir -p "$WORK/safe/oom"
  sox -V1 -n -r 44100 -c 256 -b 16 "$WORK/safe/wide.wav" synth 0.2 sine 440 || return 1
  (ulimit -v 1000000 && "$TOOL" -q --block 65536 "$WORK/safe/wide.wav" "$WORK/in/stereo.wav" \
    --outdir "$WORK/safe/oom" 2>"$WORK/last.err")
  local status=$?
  [ "$status" -eq 1 ] || { echo "# exit status $status"; Diagnose <"$WORK/last.err"; return 1; }
  grep -q 'not enough memory' "$WORK/last.err" || { Diagnose <"$WORK/last.err"; return 1; }
  [ "$(ls -A "$WORK/safe/oom")" = stereo.wav ] || { ls -A "$WORK/safe/oom" | Diagnose; return 1; }
}
Check "running out of memory fails that file cleanly and the batch goes on" OutOfMemory

# ExitsWith STATUS PATTERN ARGS...: quorvane ends with STATUS and says PATTERN.
ExitsWith() {
  local want=$1 pattern=$2
  shift 2
  Tool "$@"
  local status=$?
  [ "$status" -eq "$want" ] || { echo "# exit status $status"; Diagnose <"$WORK/last.err"; return 1; }
  grep -qiE "$pattern" "$WORK/last.err" "$WORK/last.out" || { Diagnose <"$WORK/last.err"; return 1; }
}
Check "a folder given as input says it is a folder" \
  ExitsWith 1 'is a folder' "$WORK/in" -o "$WORK/safe/folder.wav"
Check "FLAC above 24 bits is a command-line error (exit 2)" \
  ExitsWith 2 'FLAC holds at most 24' "$WORK/in/stereo.wav" -o "$WORK/safe/x.flac" --bits 32
Check "--plot refuses a name that is not .png (exit 2)" \
  ExitsWith 2 'ending in .png' "$WORK/in/stereo.wav" -o "$WORK/safe/x.wav" --plot "$WORK/safe/x.jpg"
Check "--format that names no format is a command-line error (exit 2)" \
  ExitsWith 2 'cannot tell the format' "$WORK/in/stereo.wav" --outdir "$WORK/safe" --format mp3
Check "--version prints the version" ExitsWith 0 '^quorvane [0-9]' --version

FormatAndNewOutdir() {
  cp "$WORK/in/stereo.wav" "$WORK/safe/one.wav" && cp "$WORK/in/stereo.wav" "$WORK/safe/two.wav"
  Tool -q --format flac "$WORK/safe/one.wav" "$WORK/safe/two.wav" --outdir "$WORK/safe/new/masters" ||
    { Diagnose <"$WORK/last.err"; return 1; }
  local f
  for f in one two; do
    [ "$(soxi -t "$WORK/safe/new/masters/$f.flac")" = flac ] || { echo "# no $f.flac"; return 1; }
  done
}
Check "--format flac turns a batch of WAVs into FLAC masters in a folder it makes" FormatAndNewOutdir

# Over 4 GiB of output: RF64, read back whole; AIFF, whose sizes cannot say
# that much, refused before anything is written. The input is a W64 file of
# silence whose audio is a hole in the file system (sparse), so that only
# the output takes disk space.
BigOutputs() {
  local free
  free=$(df -Pk "$WORK/safe" | awk 'NR == 2 { print $4 }')
  if [ "$free" -lt 12000000 ]; then
    echo "# skipped: $((free / 1024)) MB free, 12 GB wanted"
    return 0
  fi
  local frames=1100000000 input="$WORK/safe/big.w64"
  "$PYTHON" "$HERE/sparse_w64.py" "$input" 48000 2 "$frames" || return 1
  Tool -q -y --dither off --power off "$input" -o "$WORK/safe/big.aiff" &&
    { echo "# AIFF written"; return 1; }
  grep -q 'cannot hold' "$WORK/last.err" || { Diagnose <"$WORK/last.err"; return 1; }
  [ ! -e "$WORK/safe/big.aiff" ] || return 1
  Tool -y --dither off --power off "$input" -o "$WORK/safe/big.wav" ||
    { Diagnose <"$WORK/last.err"; rm -f "$input" "$WORK/safe/big.wav"; return 1; }
  local header read
  header=$(head -c 4 "$WORK/safe/big.wav")
  read=$(soxi -s "$WORK/safe/big.wav")
  echo "# $(cut -c1-160 "$WORK/last.out")"
  rm -f "$WORK/safe/big.wav"
  [ "$header" = RF64 ] || { echo "# header $header"; rm -f "$input"; return 1; }
  [ "$read" = "$frames" ] || { echo "# soxi reads $read frames of $frames"; rm -f "$input"; return 1; }
  # From a pipe, whose length is not known before its end: a WAV that
  # becomes RF64 as it passes 4 GiB.
  cat "$input" | "$TOOL" -q -y --dither off --power off /dev/stdin -o "$WORK/safe/big-pipe.wav" \
    2>"$WORK/last.err" || { Diagnose <"$WORK/last.err"; rm -f "$input" "$WORK/safe/big-pipe.wav"; return 1; }
  header=$(head -c 4 "$WORK/safe/big-pipe.wav")
  read=$(soxi -s "$WORK/safe/big-pipe.wav")
  rm -f "$input" "$WORK/safe/big-pipe.wav"
  [ "$header" = RF64 ] || { echo "# piped: header $header"; return 1; }
  [ "$read" = "$frames" ] || { echo "# piped: soxi reads $read frames of $frames"; return 1; }
}
Check "an output over 4 GiB is RF64 and reads back whole, from a file and from a pipe; AIFF is refused before writing" BigOutputs

# A chunk of 64 MB (an iXML a session tool wrote) goes through whole, in
# pieces: the tool's peak memory stays far below the chunk's size.
LargeChunkInPieces() {
  local input="$WORK/safe/large-chunk.wav" kb
  "$PYTHON" - "$WORK/in/stereo.wav" "$input" <<'PY' || return 1
import struct, sys
data = bytearray(open(sys.argv[1], 'rb').read())
body = (b'<BWFXML>' + b'x' * (64 << 20) + b'</BWFXML>')
at = data.find(b'fmt ')
at += 8 + struct.unpack('<I', data[at + 4:at + 8])[0]
data[at:at] = b'iXML' + struct.pack('<I', len(body)) + body + (b'\0' if len(body) % 2 else b'')
data[4:8] = struct.pack('<I', len(data) - 8)
open(sys.argv[2], 'wb').write(data)
PY
  /usr/bin/time -o "$WORK/safe/large-chunk.time" -f %M "$TOOL" -q -y "$input" -o "$WORK/safe/large-chunk-out.wav" \
    2>"$WORK/last.err" || { Diagnose <"$WORK/last.err"; return 1; }
  kb=$(tail -1 "$WORK/safe/large-chunk.time")
  echo "# peak memory $((kb / 1024)) MB for a 64 MB chunk"
  cmp -s <("$PYTHON" "$HERE/chunk_list.py" "$input" | grep iXML) \
    <("$PYTHON" "$HERE/chunk_list.py" "$WORK/safe/large-chunk-out.wav" | grep iXML) ||
    { echo "# the iXML chunk changed"; return 1; }
  rm -f "$input" "$WORK/safe/large-chunk-out.wav"
  [ "$kb" -lt 32768 ]
}
Check "a 64 MB chunk is copied in pieces: the tool stays under 32 MB" LargeChunkInPieces

# A 70-byte WAV whose LIST chunk claims 0xFFFFFF00 bytes after its four
# frames of audio: the claim is damage, which must not decide the memory the
# tool takes. It converts whole within 200 MB of address space, and the
# report names the damaged chunk as not kept.
HostileListClaim() {
  local input="$WORK/safe/hostile-list.wav"
  "$PYTHON" - "$input" <<'PY' || return 1
import struct, sys
data = struct.pack('<8h', 1000, -1000, 2000, -2000, 3000, -3000, 4000, -4000)
fmt = struct.pack('<HHIIHH', 1, 2, 44100, 44100 * 4, 4, 16)
body = (b'WAVE' + b'fmt ' + struct.pack('<I', 16) + fmt + b'data' + struct.pack('<I', len(data)) +
        data + b'LIST' + struct.pack('<I', 0xFFFFFF00) + b'IN')
open(sys.argv[1], 'wb').write(b'RIFF' + struct.pack('<I', len(body)) + body)
PY
  [ "$(stat -c %s "$input")" = 70 ] || return 1
  (ulimit -v 200000 && Tool -y "$input" -o "$WORK/safe/hostile-list-out.wav") ||
    { Diagnose <"$WORK/last.err"; return 1; }
  [ "$(soxi -s "$WORK/safe/hostile-list-out.wav")" = 4 ] || return 1
  grep -q "not kept: LIST (damaged: claims 4294967040 bytes, the file holds 2 more)" "$WORK/last.out" ||
    { Diagnose <"$WORK/last.out"; return 1; }
}
Check "a LIST chunk claiming 4 GB in a 70-byte WAV: converted whole within 200 MB, the damaged chunk named" HostileListClaim
