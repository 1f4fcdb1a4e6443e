#!/usr/bin/env bash
# Whole-process figures for the quorvane tool beside FFmpeg and SoX, all
# measured in this run on the same file: a stereo 24-bit 44.1 kHz WAV of a
# sine and pink noise, dithered to 16 bits. quorvane runs as the README runs
# it, with its report, and quiet (-q). Prints each tool's wall time
# (best of five runs, interleaved), its processor time (user + system) and
# peak resident memory; then a batch of 8 such files in one run of quorvane
# (one worker per core) against the same 8 one after another; then the
# delivery step from a 96 kHz master of the same length, the rate converted
# to 44.1 kHz and dithered to 16 bits by each tool; then a 2-hour file
# through each tool once, beside the time the disk itself takes to store
# that much. Figures only: nothing here passes or fails on time.
#
#   bench/quorvane_vs_sox_ffmpeg.sh [BUILD_DIR] [SECONDS] [LONG_SECONDS]
#     (defaults: build/native, 600 s, 7200 s; LONG_SECONDS 0 leaves the long file out)
set -euo pipefail
build=${1:-build/native}
seconds=${2:-600}
long=${3:-7200}
tool="$build/tools/quorvane/quorvane"
tmp=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-bench.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

sox -n -r 44100 -c 2 -b 24 "$tmp/in.wav" synth "$seconds" sine 997 pinknoise vol 0.3

# Run NAME IN OUT: one run of that tool on IN; appends "NAME WALL CPU KB" to
# $tmp/runs.
Run() {
  local name=$1 in=$2 out=$3 wall user system kb
  case $name in
    quorvane) set -- "$tool" -y --seed 1 "$in" -o "$out" ;;
    quorvane-q) set -- "$tool" -q -y --seed 1 "$in" -o "$out" ;;
    ffmpeg) set -- ffmpeg -nostdin -v error -y -i "$in" -af aresample=osf=s16:dither_method=shibata \
      "$out" ;;
    sox) set -- sox "$in" -b 16 "$out" dither -s ;;
    # The delivery step from a 96 kHz master: the rate converted, then
    # dithered to 16 bits with shaping, each tool at its best converter.
    quorvane-rate) set -- "$tool" -y --seed 1 --rate 44100 "$in" -o "$out" ;;
    ffmpeg-rate) set -- ffmpeg -nostdin -v error -y -i "$in" \
      -af aresample=44100:resampler=soxr:precision=28:osf=s16:dither_method=shibata "$out" ;;
    sox-rate) set -- sox "$in" -b 16 "$out" rate -v 44100 dither -s ;;
  esac
  /usr/bin/time -o "$tmp/time" -f '%e %U %S %M' "$@" >/dev/null 2>&1
  read -r wall user system kb <"$tmp/time"
  echo "$name $wall $(echo "$user + $system" | bc) $kb" >>"$tmp/runs"
  rm -f "$out"
}

# Report SAMPLES [REFERENCE]: each tool's best wall time of $tmp/runs, with
# that run's processor time and the largest peak memory, beside the
# reference's (FFmpeg's run unless named).
Report() {
  awk -v samples="$1" -v reference="${2:-ffmpeg}" '
    {
      if (!($1 in wall) || $2 < wall[$1]) { wall[$1] = $2; cpu[$1] = $3 }
      if ($4 > kb[$1]) kb[$1] = $4
    }
    END {
      for (name in wall) {
        printf "    %-10s %6.2f s wall %6.2f s cpu %6.1f M samples/s  peak RSS %6.1f MB", name,
               wall[name], cpu[name], samples / wall[name] / 1e6, kb[name] / 1024
        if (name != reference) {
          printf "  (%.2f x FFmpeg in wall time, %.2f of its cpu)", wall[reference] / wall[name],
                 cpu[name] / cpu[reference]
        }
        printf "\n"
      }
    }' "$tmp/runs" | sort
  rm -f "$tmp/runs"
}

echo "$seconds s of stereo 24-bit 44.1 kHz audio to 16 bits, best of 5 interleaved runs," \
  "$(nproc) cores:"
for run in 1 2 3 4 5; do
  for name in quorvane quorvane-q ffmpeg sox; do Run "$name" "$tmp/in.wav" "$tmp/out.wav"; done
done
Report $((seconds * 44100 * 2))

# The batch: 8 names for the input (hard links, so no extra disk), all in
# one run, then one after another.
mkdir "$tmp/batch" "$tmp/one"
files=()
for i in 1 2 3 4 5 6 7 8; do
  ln "$tmp/in.wav" "$tmp/in$i.wav"
  files+=("$tmp/in$i.wav")
done
start=$(date +%s%N)
"$tool" -q "${files[@]}" --outdir "$tmp/batch"
middle=$(date +%s%N)
for file in "${files[@]}"; do "$tool" -q "$file" -o "$tmp/one/$(basename "$file")"; done
end=$(date +%s%N)
rm -rf "$tmp/batch" "$tmp/one"
awk -v batch=$((middle - start)) -v one=$((end - middle)) 'BEGIN {
  printf "  batch of 8 such files: %.2f s in one run, %.2f s one after another (%.2f x)\n",
         batch / 1e9, one / 1e9, one / batch }'

# The delivery step: a 96 kHz 24-bit master of the same length to 44.1 kHz
# and 16 bits.
sox -r 96000 -c 2 -n -b 24 "$tmp/master.wav" synth "$seconds" sine 997 pinknoise vol 0.3
echo "$seconds s of stereo 24-bit 96 kHz audio to 44.1 kHz 16 bits, best of 3 interleaved runs:"
for run in 1 2 3; do
  for name in quorvane-rate ffmpeg-rate sox-rate; do Run "$name" "$tmp/master.wav" "$tmp/out.wav"; done
done
Report $((seconds * 44100 * 2)) ffmpeg-rate
rm -f "$tmp/master.wav"

[ "$long" -gt 0 ] || exit 0
# The long file: the short one repeated, each tool once.
copies=$(((long + seconds - 1) / seconds))
parts=()
for ((i = 0; i < copies; i++)); do parts+=("$tmp/in.wav"); done
sox "${parts[@]}" "$tmp/long.wav" trim 0 "$long"
echo "  $long s ($((long / 60)) minutes), one run each:"
for name in quorvane ffmpeg sox; do Run "$name" "$tmp/long.wav" "$tmp/out.wav"; done
Report $((long * 44100 * 2))
# What the disk takes to store the 16-bit output, written and synced as
# quorvane writes its files: beyond this, the disk and not the processor
# sets quorvane's time.
bytes=$((long * 44100 * 4))
/usr/bin/time -o "$tmp/time" -f '%e' \
  dd if=/dev/zero of="$tmp/disk" bs=1M count=$((bytes / 1048576)) conv=fsync status=none
awk -v bytes="$bytes" -v wall="$(cat "$tmp/time")" 'BEGIN {
  printf "    disk     %6.2f s to write and sync the %.0f MB of 16-bit output (%.0f MB/s)\n",
         wall, bytes / 1e6, bytes / 1e6 / wall }'
