#!/usr/bin/env bash
# Prints the requantiser's rate beside SoX's shaped dither on the same number
# of samples, both measured in this run. Usage: bench/process_vs_sox.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build/native}
seconds=60  # of stereo audio at 44100 Hz
samples=$((seconds * 44100 * 2))
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

sox -n -r 44100 -c 2 -b 32 -e floating-point "$tmp/in.wav" synth "$seconds" sine 440 gain -6
start=$(date +%s%N)
sox "$tmp/in.wav" -b 16 "$tmp/out.wav" dither -s
end=$(date +%s%N)

"$build/bench/process_bench" --benchmark_filter=ProcessBlock --benchmark_min_time=1 \
  --benchmark_format=json >"$tmp/ours.json" 2>/dev/null
python3 - "$samples" "$start" "$end" "$tmp/ours.json" <<'PY'
import json, sys
samples, start, end = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
sox = samples / ((end - start) / 1e9)
ours = json.load(open(sys.argv[4]))["benchmarks"][0]["items_per_second"]
print(f"samples: {samples}")
print(f"SoX dither -s (file to file): {sox / 1e6:.1f} M samples/s")
print(f"ProcessBlock, order 9, dithered: {ours / 1e6:.1f} M samples/s ({ours / sox:.1f} x SoX)")
PY
