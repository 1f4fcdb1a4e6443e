# Audio through the three callbacks of every build, compared byte for byte
# with the native build's output. "dither" is off in every render, which
# makes the output deterministic. Sourced by run.sh.

# One 16-bit step: with dither and shaping off, requantising to the default
# 16 bits moves no sample further than half of it.
STEP_16_BIT=3.0517578125e-05

# Output file of one render: float paths write .f32, the double path .f64.
RenderFile() {
  local build=$1 path=$2 block=$3 shaping=$4 extension=f32
  [ "$path" = double ] && extension=f64
  echo "$WORK/out.$build.$path.$block.shaping-$shaping.$extension"
}

# Render BUILD PATH BLOCK SHAPING: the test signal through that build.
Render() {
  local build=$1 path=$2 block=$3 shaping=$4 err
  local params=(--param 0=0)
  [ "$shaping" = off ] && params+=(--param 1=0)
  err="$(RenderFile "$@").err"
  Host "$build" render "$WORK/tone.f32" "$(RenderFile "$@")" --path "$path" --block "$block" \
    "${params[@]}" >/dev/null 2>"$err" && return 0
  Diagnose <"$err"
  return 1
}

# RenderMatchesNative BUILD PATH BLOCK SHAPING
RenderMatchesNative() {
  local build=$1
  shift
  Render "$build" "$@" || return 1
  cmp -s "$(RenderFile native "$@")" "$(RenderFile "$build" "$@")" && return 0
  NativeHost compare "$(RenderFile native "$@")" "$(RenderFile "$build" "$@")" | Diagnose
  return 1
}

# NearInput PATH BLOCK: the native output with shaping off lies within one
# 16-bit step of the input, so the audio went through whole, in order and
# on the right channels.
NearInput() {
  Render native "$1" "$2" off || return 1
  NativeHost compare "$WORK/tone.f32" "$(RenderFile native "$1" "$2" off)" \
    --tolerance "$STEP_16_BIT" | Diagnose
  return "${PIPESTATUS[0]}"
}

# The native build also reads and writes WAV files; a WAV render must hold
# the same samples as the raw render.
WavMatchesRaw() {
  NativeHost convert "$WORK/tone.f32" "$WORK/tone.wav" &&
    NativeHost render "$NATIVE/Quorvane.so" "$WORK/tone.wav" "$WORK/out.wav" --param 0=0 \
      >/dev/null &&
    NativeHost convert "$WORK/out.wav" "$WORK/out.from-wav.f32" &&
    Same "$(RenderFile native float 512 on)" "$WORK/out.from-wav.f32"
}

RunAudioChecks() {
  Check "test signal written" NativeHost tone "$WORK/tone.f32"
  local path block shaping
  for path in float double accumulate; do
    for block in 512 441; do
      Check "native $path output within one 16-bit step of the input, block $block, shaping off" \
        NearInput "$path" "$block"
      Render native "$path" "$block" on
      for shaping in off on; do
        Check "32-bit $path output equals native, block $block, shaping $shaping" \
          RenderMatchesNative x86 "$path" "$block" "$shaping"
        Check "64-bit $path output equals native, block $block, shaping $shaping" \
          RenderMatchesNative x64 "$path" "$block" "$shaping"
      done
    done
  done
  Check "native WAV render equals raw render" WavMatchesRaw
}
