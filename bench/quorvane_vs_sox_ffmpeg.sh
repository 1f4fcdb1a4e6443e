#!/usr/bin/env bash
# Whole-process figures for the quorvane tool beside SoX and FFmpeg, all
# measured in this run on the same file: a stereo 24-bit 44.1 kHz WAV
# dithered to 16 bits. Prints wall time, rate and peak resident memory of
# each, then a batch of 8 such files against the same 8 one after another.
# Figures only: nothing here passes or fails on time.
#
#   bench/quorvane_vs_sox_ffmpeg.sh [BUILD_DIR] [SECONDS]   (default 600 s of audio)
set -euo pipefail
build=${1:-build/native}
seconds=${2:-600}
tool="$build/tools/quorvane/quorvane"
tmp=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-bench.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

sox -n -r 44100 -c 2 -b 24 "$tmp/in.wav" synth "$seconds" pinknoise sine 1000 gain -6
samples=$((seconds * 44100 * 2))

# Measure NAME COMMAND...: best wall time of three runs and the largest peak
# resident set, appended to $tmp/figures as "NAME SECONDS KB".
Measure() {
  local name=$1 best="" most=0 run wall kb
  shift
  for run in 1 2 3; do
    /usr/bin/time -o "$tmp/time" -f '%e %M' "$@" >/dev/null 2>&1
    read -r wall kb <"$tmp/time"
    if [ -z "$best" ] || [ "$(echo "$wall < $best" | bc)" = 1 ]; then best=$wall; fi
    if [ "$kb" -gt "$most" ]; then most=$kb; fi
  done
  echo "$name $best $most" >>"$tmp/figures"
}

Measure quorvane "$tool" -q -y "$tmp/in.wav" -o "$tmp/quorvane.wav"
Measure sox sox "$tmp/in.wav" -b 16 "$tmp/sox.wav" dither -s
Measure ffmpeg ffmpeg -nostdin -v error -y -i "$tmp/in.wav" -af aresample=osf=s16:dither_method=shibata \
  "$tmp/ffmpeg.wav"

echo "$seconds s of stereo 24-bit 44.1 kHz audio to 16 bits ($samples samples), best of 3, $(nproc) cores:"
awk -v samples="$samples" '
  { wall[$1] = $2; kb[$1] = $3 }
  END {
    for (name in wall) {
      printf "  %-8s %6.2f s  %6.1f M samples/s  peak RSS %6.1f MB", name, wall[name],
             samples / wall[name] / 1e6, kb[name] / 1024
      if (name != "ffmpeg") printf "  (%.2f x FFmpeg'"'"'s rate)", wall["ffmpeg"] / wall[name]
      printf "\n"
    }
  }' "$tmp/figures" | sort

# The batch: 8 names for the input (hard links, so no extra disk), all at
# once, then one after another.
mkdir "$tmp/batch" "$tmp/one"
files=()
for i in 1 2 3 4 5 6 7 8; do
  ln "$tmp/in.wav" "$tmp/in$i.wav"
  files+=("$tmp/in$i.wav")
done
rm -f "$tmp/quorvane.wav" "$tmp/sox.wav" "$tmp/ffmpeg.wav"
start=$(date +%s%N)
"$tool" -q "${files[@]}" --outdir "$tmp/batch"
middle=$(date +%s%N)
for file in "${files[@]}"; do
  "$tool" -q "$file" -o "$tmp/one/$(basename "$file")"
  rm -f "$tmp/batch/$(basename "$file")"
done
end=$(date +%s%N)
awk -v batch=$((middle - start)) -v one=$((end - middle)) 'BEGIN {
  printf "batch of 8 files: %.2f s in one run, %.2f s one after another (%.2f x)\n",
         batch / 1e9, one / 1e9, one / batch }'
