# The VST 3 modules of the three builds, loaded by qvhost as a VST 3 host
# loads them: with dither off, each renders the test signal bit for bit as
# the native module does, and the native module as the VST 2.x plug-in does,
# through both sample sizes and two block lengths; each Windows module's view
# opens in a real window, pixel for pixel the VST 2.x DLL's editor. Sourced
# by run.sh, after the audio checks wrote the test signal.

# Vst3Module BUILD: the module of that build inside its bundle.
Vst3Module() {
  case $1 in
    native) echo "$NATIVE/vst3/Quorvane.vst3/Contents/x86_64-linux/Quorvane.so" ;;
    x86) echo "$X86/vst3/Quorvane.vst3/Contents/x86-win/Quorvane.vst3" ;;
    x64) echo "$X64/vst3/Quorvane.vst3/Contents/x86_64-win/Quorvane.vst3" ;;
  esac
}

# Vst3Render BUILD PATH BLOCK: the test signal through that build's module,
# dither off; the output's name is printed.
Vst3Render() {
  local build=$1 path=$2 block=$3 extension=f32 out
  [ "$path" = double ] && extension=f64
  out="$WORK/vst3.$build.$path.$block.$extension"
  case $build in
    native) NativeHost render "$(Vst3Module native)" "$WORK/tone.f32" "$out" --path "$path" \
      --block "$block" --param 0=0 >/dev/null 2>"$out.err" ;;
    x86) WineHost "$X86" render "$(Vst3Module x86)" "$WORK/tone.f32" "$out" --path "$path" \
      --block "$block" --param 0=0 >/dev/null 2>"$out.err" ;;
    x64) WineHost "$X64" render "$(Vst3Module x64)" "$WORK/tone.f32" "$out" --path "$path" \
      --block "$block" --param 0=0 >/dev/null 2>"$out.err" ;;
  esac
  echo "$out"
}

# Vst3MatchesNative BUILD PATH BLOCK
Vst3MatchesNative() {
  Same "$(Vst3Render native "$2" "$3")" "$(Vst3Render "$@")"
}

# Vst3MatchesVst2 PATH BLOCK: the native module against the VST 2.x plug-in.
Vst3MatchesVst2() {
  Render native "$1" "$2" on &&
    Same "$(RenderFile native "$1" "$2" on)" "$(Vst3Render native "$1" "$2")"
}

# ViewMatchesEditor BUILD: that Windows module's view, attached to a window
# of qvhost's, shows what the same build's VST 2.x editor shows.
ViewMatchesEditor() {
  local build=$1 dir out="$WORK/vst3-view.$1"
  case $build in
    x86) dir=$X86 ;;
    x64) dir=$X64 ;;
  esac
  wineserver -k 2>/dev/null
  timeout 60 wineserver -w
  timeout "$WINE_TIMEOUT" xvfb-run -a -s "-screen 0 1280x1024x24" \
    wine "$dir/tools/host/qvhost.exe" view "$(Vst3Module "$build")" "$out.png" --hold 600 \
    2>"$out.err" | tr -d '\r' >"$out.txt" || { Diagnose <"$out.err"; return 1; }
  grep -qx "view attached 0" "$out.txt" || { Diagnose <"$out.txt"; return 1; }
  EditorHost "$build" plain || return 1
  "$PYTHON" "$(dirname "${BASH_SOURCE[0]}")/../x11/compare.py" "$out.png" \
    "$WORK/editor.plain.$build.png" | Diagnose
  return "${PIPESTATUS[0]}"
}

RunVst3Checks() {
  local path block
  for path in float double; do
    for block in 512 441; do
      Check "native VST 3 $path output equals the VST 2.x plug-in's, block $block" \
        Vst3MatchesVst2 "$path" "$block"
      Check "32-bit VST 3 $path output equals native, block $block" \
        Vst3MatchesNative x86 "$path" "$block"
      Check "64-bit VST 3 $path output equals native, block $block" \
        Vst3MatchesNative x64 "$path" "$block"
    done
  done
  # shellcheck source=../lib/editor_checks.sh
  source "$(dirname "${BASH_SOURCE[0]}")/../lib/editor_checks.sh"
  Check "32-bit VST 3 view opens in a real window, as the VST 2.x editor looks" ViewMatchesEditor x86
  Check "64-bit VST 3 view opens in a real window, as the VST 2.x editor looks" ViewMatchesEditor x64
  wineserver -k 2>/dev/null
}
