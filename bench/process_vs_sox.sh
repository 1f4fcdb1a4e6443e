#!/usr/bin/env bash
# The requantiser's rate through its audio callback beside SoX's shaped
# dither, all measured in this run.
#
#   bench/process_vs_sox.sh [NATIVE_DIR [X86_DIR]] [--before NATIVE_DIR X86_DIR] [--rounds N]
#
# SoX: on a 2-minute stereo float WAV, the time of `sox in.wav -b 16 out.wav
# dither -s` minus that of `sox -D in.wav -b 16 out.wav` (the same conversion
# and file work without dither), as samples per second.
# Plug-in: `qvhost speed`, two channels, blocks of 512, 16 bits, through the
# double-precision callback, for shaping orders 0, 1, 4, 9 and 12 with dither
# on and off: natively and, when X86_DIR is given, the 32-bit DLL under wine.
# With --before, the same for the plug-ins of an earlier pair of builds, side
# by side (driven by this pair's qvhost; the x86 one only with X86_DIR).
# All times are processor time, not wall-clock time: the machine is shared.
# Every figure is the best of N rounds (3 by default); the rounds alternate
# between the tools so that load from other processes hits all of them alike.
# Last, the FFT of 4096 points beside FFTW from each native build's fft_bench.
set -euo pipefail
native=build/native
x86=
before_native=
before_x86=
rounds=3
positional=0
while [ $# -gt 0 ]; do
  case $1 in
    --before) before_native=$2 before_x86=$3; shift 3 ;;
    --rounds) rounds=$2; shift 2 ;;
    *)
      if [ $positional -eq 0 ]; then native=$1; else x86=$1; fi
      positional=$((positional + 1)); shift ;;
  esac
done

seconds=120
samples=$((seconds * 44100 * 2))
orders=(0 1 4 9 12)
tmp=$(mktemp -d)
if [ -n "$x86$before_x86" ]; then
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winedbg.exe="
  if [ -z "${WINEPREFIX:-}" ]; then
    export WINEPREFIX="$(dirname "$(realpath -m "$native")")/wineprefix"
    trap 'wineserver -k 2>/dev/null; rm -rf "$tmp"' EXIT
  else
    trap 'rm -rf "$tmp"' EXIT
  fi
else
  trap 'rm -rf "$tmp"' EXIT
fi

sox -n -r 44100 -c 2 -b 32 -e floating-point "$tmp/in.wav" synth "$seconds" sine 440 sine 661 \
  gain -6

# Processor seconds (user and system) a command takes: on a machine shared
# with other work these vary far less than the time on the wall clock.
CpuSeconds() {
  local TIMEFORMAT='%3U %3S'
  { time "$@" >/dev/null 2>&1; } 2>&1 | awk '{ print $1 + $2 }'
}

# Speed LABEL HOST_COMMAND...: one line "LABEL ORDER DITHER RATE" per case;
# the shaping parameter is normalised, order / 12.
Speed() {
  local label=$1 order dither rate
  shift
  for order in "${orders[@]}"; do
    for dither in 1 0; do
      rate=$("$@" --seconds 1 --block 512 --param 0="$dither" \
        --param 1="$(awk -v o="$order" 'BEGIN { printf "%.9f", o / 12 }')" | tr -d '\r' |
        awk '{print $1}')
      echo "$label $order $dither $rate"
    done
  done
}

# LABEL PLUGIN_BUILD_DIR: that build's plug-in, always driven by the qvhost of
# NATIVE_DIR or X86_DIR, so that every figure is timed the same way.
NativeSpeed() { Speed "$1" "$native/tools/qvhost/qvhost" speed "$2/Quorvane.so"; }
WineSpeed() { Speed "$1" wine "$x86/tools/qvhost/qvhost.exe" speed "$2/Quorvane.dll"; }

: >"$tmp/figures"
for ((round = 1; round <= rounds; round++)); do
  echo "sox-dither $(CpuSeconds sox "$tmp/in.wav" -b 16 "$tmp/out.wav" dither -s)" >>"$tmp/figures"
  echo "sox-plain $(CpuSeconds sox -D "$tmp/in.wav" -b 16 "$tmp/out.wav")" >>"$tmp/figures"
  NativeSpeed native "$native" >>"$tmp/figures"
  [ -z "$x86" ] || WineSpeed x86 "$x86" >>"$tmp/figures"
  [ -z "$before_native" ] || NativeSpeed native-before "$before_native" >>"$tmp/figures"
  [ -z "$before_x86" ] || [ -z "$x86" ] || WineSpeed x86-before "$before_x86" >>"$tmp/figures"
done

Fft() {  # label, build dir
  "$2/bench/fft_bench" --benchmark_filter='Fftw?Forward4096' --benchmark_min_time=0.5 \
    --benchmark_repetitions="$rounds" --benchmark_report_aggregates_only=true \
    --benchmark_format=json 2>/dev/null >"$tmp/fft.$1.json"
}
Fft native "$native"
[ -z "$before_native" ] || Fft native-before "$before_native"

python3 - "$samples" "$rounds" "$tmp" <<'PY'
import glob, json, os, sys
samples, rounds, tmp = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
times, rates = {}, {}
for line in open(os.path.join(tmp, "figures")):
    f = line.split()
    if f[0].startswith("sox"):
        times.setdefault(f[0], []).append(float(f[1]))
    else:
        rates.setdefault((f[0], int(f[1]), int(f[2])), []).append(float(f[3]))
dither, plain = min(times["sox-dither"]), min(times["sox-plain"])
sox = samples / (dither - plain) if dither > plain else float("nan")
print(f"SoX shaped dither: {sox / 1e6:.1f} M samples/s "
      f"(dither -s {dither:.3f} s minus -D {plain:.3f} s, {samples} samples, best of {rounds})")
labels = [l for l in ("native-before", "native", "x86-before", "x86")
          if any(k[0] == l for k in rates)]
names = {"native": "native", "native-before": "native before",
         "x86": "32-bit wine", "x86-before": "32-bit wine before"}
print("plug-in, blocks of 512, 2 channels, 16 bits, M samples/s (x SoX), best of", rounds)
print(f"{'order':>5} {'dither':>6}" + "".join(f"{names[l]:>21}" for l in labels))
for order in sorted({k[1] for k in rates}):
    for d in (1, 0):
        row = f"{order:>5} {'on' if d else 'off':>6}"
        for l in labels:
            r = max(rates[(l, order, d)])
            row += f"{r / 1e6:>13.1f} ({r / sox:4.1f}x)"
        print(row)
for path in sorted(glob.glob(os.path.join(tmp, "fft.*.json"))):
    label = os.path.basename(path)[4:-5]
    ns = {}
    for b in json.load(open(path))["benchmarks"]:
        if b.get("aggregate_name") == "median":
            ns["fftw" if "Fftw" in b["name"] else "ours"] = b["real_time"]
    if len(ns) == 2:
        print(f"FFT 4096 forward, {names[label]}: {ns['ours']:.0f} ns, FFTW_MEASURE "
              f"{ns['fftw']:.0f} ns, {ns['ours'] / ns['fftw']:.2f}x FFTW (median of {rounds})")
PY
