# Bit-exactness across builds and over time: qvrenderhash fingerprints the
# output of every shaping order with seeded dither on and off, over several
# block sizes, and of every FFT size. All three builds must print the same
# fingerprints, and those must equal the recorded ones in render_hashes.txt:
# any change to the processing's last bits shows here. Sourced by run.sh.

RECORDED_HASHES="$(dirname "${BASH_SOURCE[0]}")/render_hashes.txt"

# Hashes BUILD: the fingerprints of that build in $WORK/hashes.BUILD.txt.
Hashes() {
  local out="$WORK/hashes.$1.txt"
  case $1 in
    native) "$NATIVE/tools/render_hash/qvrenderhash" >"$out" 2>"$out.err" ;;
    x86) WineProgram "$X86/tools/render_hash/qvrenderhash.exe" >"$out" 2>"$out.err" ;;
    x64) WineProgram "$X64/tools/render_hash/qvrenderhash.exe" >"$out" 2>"$out.err" ;;
  esac
  [ -s "$out" ] && return 0
  Diagnose <"$out.err"
  return 1
}

RunExactChecks() {
  local build
  for build in native x86 x64; do Hashes "$build"; done
  Check "native render and FFT hashes equal the recorded ones" \
    Same "$RECORDED_HASHES" "$WORK/hashes.native.txt"
  Check "32-bit render and FFT hashes equal native" \
    Same "$WORK/hashes.native.txt" "$WORK/hashes.x86.txt"
  Check "64-bit render and FFT hashes equal native" \
    Same "$WORK/hashes.native.txt" "$WORK/hashes.x64.txt"
}
