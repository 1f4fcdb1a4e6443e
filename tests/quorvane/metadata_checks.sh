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
