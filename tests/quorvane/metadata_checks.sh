# Sourced by run.sh: the metadata of delivery masters through quorvane, SoX
# and FFmpeg. quorvane must keep at least what either of them keeps of what
# the input holds. Each comparison prints its table as diagnostics.

# Kept FILE: one line per item of metadata FILE holds, as readers other than
# ours see it: tag:NAME per string tag and broadcast field (ffprobe),
# layout:NAME (ffprobe's channel layout), bext and cues:COUNT (libsndfile's
# sndfile-info), flac-tag:NAME (metaflac).
Kept() {
  ffprobe -v error -show_entries format_tags:stream=channel_layout -of default=nw=1 "$1" |
    sed -nE 's/^TAG:([A-Za-z_]+)=.+/tag:\L\1/p; s/^channel_layout=(.+)/layout:\1/p'
  sndfile-info "$1" 2>/dev/null | sed -nE 's/^bext : .*/bext/p; s/^ *Count : ([0-9]+)/cues:\1/p'
  case "$1" in
    *.flac) metaflac --export-tags-to=- "$1" | sed -nE 's/^([A-Za-z_]+)=.+/flac-tag:\L\1/p' ;;
  esac
}

# The items of $1 that the input $2 also holds, sorted.
KeptOf() { comm -12 <(Kept "$1" | sort -u) <(Kept "$2" | sort -u); }

# KeepsWhatOthersKeep NAME INPUT EXT: INPUT through quorvane, SoX (shaped
# dither to 16 bits) and FFmpeg (16 bits; for a WAV also with bext written,
# as asked for), each into a 16-bit EXT; every item SoX or FFmpeg keeps,
# quorvane keeps.
KeepsWhatOthersKeep() {
  local name=$1 input=$2 ext=$3 dir="$WORK/meta/$1"
  mkdir -p "$dir"
  local codec=(-c:a pcm_s16le) extra=()
  [ "$ext" = flac ] && codec=(-c:a flac -sample_fmt s16)
  [ "$ext" = wav ] && extra=(-write_bext 1)
  Tool -q -y --seed 1 "$input" -o "$dir/quorvane.$ext" || { Diagnose <"$WORK/last.err"; return 1; }
  sox -V1 "$input" -b 16 "$dir/sox.$ext" dither -s || return 1
  ffmpeg -v error -y -i "$input" "${codec[@]}" "$dir/ffmpeg.$ext" || return 1
  ffmpeg -v error -y -i "$input" "${codec[@]}" "${extra[@]}" "$dir/ffmpeg-asked.$ext" || return 1
  local tool missing=0
  for tool in quorvane sox ffmpeg ffmpeg-asked; do
    KeptOf "$dir/$tool.$ext" "$input" >"$dir/$tool.kept"
    echo "# $name, $tool keeps: $(tr '\n' ' ' <"$dir/$tool.kept")"
  done
  local item
  for item in $(sort -u "$dir/sox.kept" "$dir/ffmpeg.kept" "$dir/ffmpeg-asked.kept"); do
    grep -qxF "$item" "$dir/quorvane.kept" || { echo "# quorvane loses $item"; missing=1; }
  done
  return $missing
}

mkdir -p "$WORK/meta"
TAGS=(-metadata title="Night Drive" -metadata artist="The Testers" -metadata album="Masters"
  -metadata comment="final mix" -metadata date=2026 -metadata copyright="(c) 2026 Northlight Mastering"
  -metadata genre=Electronic -metadata track=7)
# A broadcast WAV with LIST/INFO tags, bext and three cue markers, as a DAW
# delivers it; a FLAC with Vorbis comments; a 5.1 WAV (channel mask 0x3f).
MakeTaggedInputs() {
  Signal "$WORK/meta/plain.wav" 48000 2 2 &&
    ffmpeg -v error -y -i "$WORK/meta/plain.wav" -c:a pcm_s24le "${TAGS[@]}" -write_bext 1 \
      -metadata description="Master for delivery" -metadata originator="Northlight Studio" \
      -metadata originator_reference="NORTH0001" -metadata origination_date=2026-12-01 \
      -metadata origination_time=10:00:00 -metadata time_reference=96000 \
      -metadata coding_history="A=PCM,F=48000,W=24,M=stereo,T=mix" "$WORK/meta/bwf.wav" &&
    "$PYTHON" "$HERE/add_cues.py" "$WORK/meta/bwf.wav" 1000 48000 90000 &&
    ffmpeg -v error -y -i "$WORK/meta/plain.wav" -c:a flac "${TAGS[@]}" "$WORK/meta/tagged.flac" &&
    Signal "$WORK/meta/surround.wav" 48000 6 2 &&
    ffmpeg -v error -y -i "$WORK/meta/surround.wav" -af "channelmap=channel_layout=5.1" \
      -c:a pcm_s24le "$WORK/meta/surround51.wav"
}
Check "tagged delivery masters made with FFmpeg (bext, INFO, cues, Vorbis comments, 5.1)" \
  MakeTaggedInputs

Check "a broadcast WAV to WAV keeps everything SoX or FFmpeg keeps" \
  KeepsWhatOthersKeep bwf-wav "$WORK/meta/bwf.wav" wav
Check "a broadcast WAV to FLAC keeps everything SoX or FFmpeg keeps" \
  KeepsWhatOthersKeep bwf-flac "$WORK/meta/bwf.wav" flac
Check "a tagged FLAC to FLAC keeps everything SoX or FFmpeg keeps" \
  KeepsWhatOthersKeep flac-flac "$WORK/meta/tagged.flac" flac
Check "a 5.1 WAV to WAV keeps everything SoX or FFmpeg keeps" \
  KeepsWhatOthersKeep surround-wav "$WORK/meta/surround51.wav" wav
Check "a 5.1 WAV to FLAC keeps everything SoX or FFmpeg keeps" \
  KeepsWhatOthersKeep surround-flac "$WORK/meta/surround51.wav" flac

# The broadcast data come through whole, and the coding history says what
# quorvane did.
BroadcastDataAndHistory() {
  local out="$WORK/meta/bwf-wav/quorvane.wav" fields
  fields=$(sndfile-metadata-get --bext-description --bext-originator --bext-orig-ref \
    --bext-orig-date --bext-orig-time --bext-coding-hist "$out" 2>&1)
  local want
  for want in "Master for delivery" "Northlight Studio" NORTH0001 2026-12-01 10:00:00 \
    "T=mix" "W=16,M=stereo,T=quorvane 1.0: 16 bits, dither on, power 9"; do
    grep -qF "$want" <<<"$fields" || { echo "# no \"$want\" in:"; Diagnose <<<"$fields"; return 1; }
  done
  [ "$(ffprobe -v error -show_entries format_tags=time_reference -of default=nw=1:nk=1 "$out")" = 96000 ] ||
    { echo "# time reference lost"; return 1; }
}
Check "bext fields and time reference kept, with a coding-history line for this run" \
  BroadcastDataAndHistory

# A format that cannot hold an item is named in the report.
ReportSaysWhatWasNotKept() {
  Tool -y --seed 1 "$WORK/meta/bwf.wav" -o "$WORK/meta/bwf.w64" || return 1
  grep -q 'not kept: .*title.*broadcast extension (bext).*cue points' "$WORK/last.out" ||
    { Diagnose <"$WORK/last.out"; return 1; }
  Tool -y --seed 1 "$WORK/meta/bwf.wav" -o "$WORK/meta/bwf-again.wav" || return 1
  ! grep -q 'not kept' "$WORK/last.out" || { Diagnose <"$WORK/last.out"; return 1; }
}
Check "the report names what the output format could not keep" ReportSaysWhatWasNotKept

StripMetadata() {
  Tool -q -y --strip-metadata "$WORK/meta/bwf.wav" -o "$WORK/meta/stripped.wav" || return 1
  [ -z "$(KeptOf "$WORK/meta/stripped.wav" "$WORK/meta/bwf.wav")" ] ||
    { KeptOf "$WORK/meta/stripped.wav" "$WORK/meta/bwf.wav" | Diagnose; return 1; }
}
Check "--strip-metadata drops all of it" StripMetadata

# ---- Every chunk, block and tag accounted for --------------------------------

# Items FILE: its chunks or blocks with the hash of their bytes (our test's
# own reader), then "tag:KEY" per tag FFmpeg reads of it.
Items() {
  "$PYTHON" "$HERE/chunk_list.py" "$1"
  ffprobe -v error -show_entries format_tags -of default=nw=1 "$1" | sed -nE 's/^TAG:([^=]+)=.*/tag:\L\1/p'
}

# AccountedFor NAME INPUT EXT: INPUT through quorvane into EXT; each chunk,
# block and tag of the input is in the output (a chunk or block with the
# same bytes), made anew and said so, or named in the report. The broadcast
# extension gains a line, which its own check reads. Our reader's list is
# checked against sndfile-info's and metaflac's.
AccountedFor() {
  local name=$1 input=$2 ext=$3 out="$WORK/meta/accounted-$1.$3"
  Tool -y --seed 1 "$input" -o "$out" || { Diagnose <"$WORK/last.err"; return 1; }
  local report named item missing=0
  report=$(cat "$WORK/last.out")
  # What the report names, without underscores: FFmpeg calls ALBUMARTIST
  # album_artist.
  named=$(sed 's/^.*; not kept: //; s/_//g' <<<"$report")
  Items "$out" >"$out.items"
  while read -r item; do
    case "$item" in bext\ *) continue ;; esac
    grep -qixF "$item" "$out.items" && continue
    item=${item//_/}
    grep -qiF -- "${item%% *}" <<<"$named" && continue
    grep -qiF -- "${item#tag:}" <<<"$named" && continue
    echo "# $name: ${item%% *} lost in silence"
    missing=1
  done < <(Items "$input")
  # Every chunk or block sndfile-info or metaflac sees, our reader lists.
  local ours theirs chunk
  ours=$("$PYTHON" "$HERE/chunk_list.py" "$input" | cut -d' ' -f1)
  case "$input" in
    *.flac)
      theirs=$(metaflac --list "$input" |
        sed -nE 's/^  type: [0-9]+ \((APPLICATION|CUESHEET|PICTURE)\)/\1/p') ;;
    *)
      theirs=$(sndfile-info "$input" | sed -nE 's/^([A-Za-z0-9_ ]{3}[A-Za-z0-9_]?) *: [0-9]+.*/\1/p' |
        sed 's/^ *//; s/ *$//' | grep -vixE 'RIFF|RF64|riff|WAVE|fmt|data|ds64|File|Length|Sample Rate|Frames|Channels') ;;
  esac
  for chunk in $theirs; do
    grep -qxF "$chunk" <<<"$ours" || { echo "# $name: our reader misses $chunk"; missing=1; }
  done
  [ "$missing" -eq 0 ] || Diagnose <<<"$report"
  return "$missing"
}

# The masters of the audit: a FLAC with a seek table, comments, a picture and
# a cue sheet; a WAV with INFO fields (ISRC, an engineer), labelled cue
# points, an iXML chunk, a peak
# envelope, a chunk no one knows and an ID3 tag after the audio; an RF64
# (FFmpeg) and a W64 (SoX).
MakeAuditInputs() {
  local dir="$WORK/meta"
  sox -V1 "$dir/plain.wav" -b 16 "$dir/audit.flac" &&
    printf 'FILE "a.wav" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    INDEX 01 00:01:00\n' \
      >"$dir/audit.cue" &&
    "$PYTHON" - "$dir/audit.png" <<'PY' &&
import struct, sys, zlib
def chunk(kind, body):
    return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
rows = b''.join(b'\0' + b''.join(bytes((x * 4, y * 6, 128)) for x in range(64)) for y in range(40))
open(sys.argv[1], 'wb').write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', 64, 40, 8, 2, 0, 0, 0)) +
                              chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))
PY
    metaflac --add-seekpoint=1s --set-tag=ALBUMARTIST="The Testers" --set-tag=ISRC=GBAYE0601498 \
      --set-tag=REPLAYGAIN_TRACK_GAIN="-3.20 dB" --import-cuesheet-from="$dir/audit.cue" \
      --import-picture-from="3|image/png|cover|64x40x24|$dir/audit.png" "$dir/audit.flac" || return 1
  "$PYTHON" - "$dir/plain.wav" "$dir/audit.wav" <<'PY' || return 1
import struct, sys
data = bytearray(open(sys.argv[1], 'rb').read())
def chunk(cid, body):
    return cid + struct.pack('<I', len(body)) + body + (b'\0' if len(body) % 2 else b'')
cue = struct.pack('<I', 2)
for number, position in ((1, 1000), (2, 48000)):
    cue += struct.pack('<II4sIII', number, position, b'data', 0, 0, position)
labels = b'adtl' + chunk(b'labl', struct.pack('<I', 1) + b'Verse\0') + chunk(b'labl', struct.pack('<I', 2) + b'Chorus\0')
info = b'INFO' + chunk(b'INAM', b'Night Drive\0') + chunk(b'ISRC', b'GBAYE0601498\0') + chunk(b'IENG', b'Sam Q\0')
extra = (chunk(b'LIST', info) + chunk(b'iXML', b'<BWFXML><PROJECT>audit</PROJECT></BWFXML>') + chunk(b'cue ', cue) +
         chunk(b'LIST', labels) + chunk(b'levl', b'\1' * 128) + chunk(b'qvzz', b'odd'))
at = data.find(b'data')
data[at:at] = extra
if len(data) % 2:
    data += b'\0'
data += chunk(b'id3 ', b'ID3\x03\x00\x00\x00\x00\x00\x00')
data[4:8] = struct.pack('<I', len(data) - 8)
open(sys.argv[2], 'wb').write(data)
PY
  ffmpeg -v error -y -i "$dir/bwf.wav" -c:a pcm_s24le -write_bext 1 -rf64 always "$dir/audit-rf64.wav" &&
    sox -V1 "$dir/plain.wav" "$dir/audit.w64"
}
Check "the audit's masters: a FLAC with a picture and a cue sheet, a WAV with labels and iXML, RF64, W64" \
  MakeAuditInputs

Check "FLAC to FLAC: every block, comment and tag accounted for" AccountedFor flac-flac "$WORK/meta/audit.flac" flac
Check "FLAC to WAV: every block, comment and tag accounted for" AccountedFor flac-wav "$WORK/meta/audit.flac" wav
Check "WAV to WAV: every chunk and tag accounted for" AccountedFor wav-wav "$WORK/meta/audit.wav" wav
Check "WAV to FLAC: every chunk and tag accounted for" AccountedFor wav-flac "$WORK/meta/audit.wav" flac
Check "broadcast WAV to WAV: every chunk and tag accounted for" AccountedFor bwf-wav "$WORK/meta/bwf.wav" wav
Check "RF64 to WAV: every chunk and tag accounted for" AccountedFor rf64-wav "$WORK/meta/audit-rf64.wav" wav
Check "W64 to WAV: every chunk and tag accounted for" AccountedFor w64-wav "$WORK/meta/audit.w64" wav

# A FLAC output's seek table is made for its own frames: decoding from each
# point gives what decoding the whole file gives there.
SeekTableMadeAnew() {
  local out="$WORK/meta/accounted-flac-flac.flac"
  metaflac --list --block-type=SEEKTABLE "$out" | grep -q 'point 1: sample_number=' ||
    { echo "# no seek table"; return 1; }
  flac -s -d -f "$out" -o "$WORK/meta/whole.wav" &&
    flac -s -d -f --skip=48000 --until=48100 "$out" -o "$WORK/meta/sought.wav" &&
    sox -V1 "$WORK/meta/whole.wav" "$WORK/meta/whole-cut.wav" trim 48000s 100s &&
    cmp -s "$WORK/meta/sought.wav" "$WORK/meta/whole-cut.wav" && flac -s -t "$out"
}
Check "a FLAC output's seek table and MD5 are made for its new frames" SeekTableMadeAnew

# Across the families and back: a WAV's INFO fields become Vorbis comments
# (under their own ids where FLAC has no name for them) and its cue points a
# cue sheet, and a WAV made from that FLAC has them all again.
RoundTripAcrossFamilies() {
  local dir="$WORK/meta" fields
  Tool -y --seed 1 "$dir/audit.wav" -o "$dir/round.flac" &&
    Tool -y --seed 1 "$dir/round.flac" -o "$dir/round.wav" || { Diagnose <"$WORK/last.err"; return 1; }
  metaflac --export-tags-to=- "$dir/round.flac" | grep -qx 'ISRC=GBAYE0601498' &&
    metaflac --export-tags-to=- "$dir/round.flac" | grep -qx 'IENG=Sam Q' ||
    { metaflac --export-tags-to=- "$dir/round.flac" | Diagnose; return 1; }
  fields=$(sndfile-info "$dir/round.wav")
  local want
  for want in "INAM : Night Drive" "ISRC : GBAYE0601498" "IENG : Sam Q" "Pos :  1000" "Pos : 48000"; do
    grep -qF "$want" <<<"$fields" || { echo "# no \"$want\" in the WAV made back"; Diagnose <<<"$fields"; return 1; }
  done
}
Check "a WAV's INFO fields and cue points go to FLAC and come back" RoundTripAcrossFamilies

# Broadcast fields into FLAC: a time reference past 32 bits whole, FFmpeg's
# coding history (which has no line end) and ours on lines of their own, and
# no "not kept" for the extension whose fields the comments hold. And the
# summary of a batch names what its files could not keep.
BroadcastIntoFlacAndBatchSummary() {
  local dir="$WORK/meta" history
  ffmpeg -v error -y -i "$dir/plain.wav" -c:a pcm_s24le -write_bext 1 -metadata time_reference=5000000000 \
    -metadata coding_history="A=PCM,F=48000,W=24,M=stereo,T=mix" "$dir/far.wav" || return 1
  Tool -y --seed 1 "$dir/far.wav" -o "$dir/far.flac" || { Diagnose <"$WORK/last.err"; return 1; }
  ! grep -q 'broadcast' "$WORK/last.out" || { Diagnose <"$WORK/last.out"; return 1; }
  metaflac --export-tags-to=- "$dir/far.flac" | grep -qx 'time_reference=5000000000' ||
    { metaflac --export-tags-to=- "$dir/far.flac" | Diagnose; return 1; }
  history=$(metaflac --export-tags-to=- "$dir/far.flac" | tr -d '\r' | sed -n '/^coding_history=/,$p')
  grep -qx 'coding_history=A=PCM,F=48000,W=24,M=stereo,T=mix' <<<"$history" &&
    grep -q '^A=PCM,F=48000,W=16,M=stereo,T=quorvane' <<<"$history" ||
    { echo "# the coding history's lines are not apart:"; Diagnose <<<"$history"; return 1; }
  mkdir -p "$dir/batch" && cp "$dir/audit.wav" "$dir/audit-wav.wav" || return 1
  Tool -y --seed 1 "$dir/audit.flac" "$dir/audit-wav.wav" "$dir/plain.wav" --outdir "$dir/batch" --format flac ||
    { Diagnose <"$WORK/last.err"; return 1; }
  tail -1 "$WORK/last.out" | grep -q '^3 files dithered, 0 failed, .*; not kept in 1 file: iXML chunk' ||
    { tail -1 "$WORK/last.out" | Diagnose; return 1; }
}
Check "bext into FLAC: a 64-bit time reference, the coding history's lines apart; a batch's summary names what was not kept" \
  BroadcastIntoFlacAndBatchSummary
