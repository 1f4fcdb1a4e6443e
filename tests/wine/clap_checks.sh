# The CLAP modules of the three builds, loaded by qvhost as a CLAP host loads
# them (through clap_entry, activated on its main thread, processed on an
# audio thread): with dither off, each renders the test signal bit for bit
# as the native module does, and the native module as the VST 2.x plug-in
# does, through both sample sizes and two block lengths, a program and a
# parameter; each Windows module's GUI opens embedded in a real window,
# pixel for pixel the VST 2.x DLL's editor. Sourced by run.sh, after the
# audio checks wrote the test signal.

# ClapModule BUILD
ClapModule() {
  case $1 in
    native) echo "$NATIVE/clap/Quorvane.clap" ;;
    x86) echo "$X86/clap/Quorvane.clap" ;;
    x64) echo "$X64/clap/Quorvane.clap" ;;
  esac
}

# ClapRender BUILD PATH BLOCK [ARGS...]: the test signal through that build's
# module, dither off; the output's name is printed.
ClapRender() {
  local build=$1 path=$2 block=$3 extension=f32 out
  shift 3
  [ "$path" = double ] && extension=f64
  out="$WORK/clap.$build.$path.$block${1:+.program}.$extension"
  case $build in
    native) NativeHost render "$(ClapModule native)" "$WORK/tone.f32" "$out" --path "$path" \
      --block "$block" --param 0=0 "$@" >/dev/null 2>"$out.err" ;;
    x86 | x64)
      local dir=$X86
      [ "$build" = x64 ] && dir=$X64
      WineHost "$dir" render "$(ClapModule "$build")" "$WORK/tone.f32" "$out" --path "$path" \
        --block "$block" --param 0=0 "$@" >/dev/null 2>"$out.err" ;;
  esac
  echo "$out"
}

# ClapMatchesNative BUILD PATH BLOCK
ClapMatchesNative() {
  Same "$(ClapRender native "$2" "$3")" "$(ClapRender "$@")"
}

# ClapMatchesVst2 PATH BLOCK: the native module against the VST 2.x plug-in.
ClapMatchesVst2() {
  Render native "$1" "$2" on &&
    Same "$(RenderFile native "$1" "$2" on)" "$(ClapRender native "$1" "$2")"
}

# ClapProgramMatchesVst2 BUILD: program 1 and 20 target bits, as the VST 2.x
# plug-in renders them with the same program and value.
ClapProgramMatchesVst2() {
  local reference="$WORK/vst2.program.f32"
  NativeHost render "$NATIVE/Quorvane.so" "$WORK/tone.f32" "$reference" --program 1 \
    --param 0=0 --param 2=0.538461538 >/dev/null 2>"$reference.err" || { Diagnose <"$reference.err"; return 1; }
  Same "$reference" "$(ClapRender "$1" float 512 --program 1 --param 2=0.538461538)"
}

# GuiMatchesEditor BUILD: that Windows module's GUI, embedded in a window of
# qvhost's, shows what the same build's VST 2.x editor shows.
GuiMatchesEditor() {
  local build=$1 dir out="$WORK/clap-gui.$1"
  case $build in
    x86) dir=$X86 ;;
    x64) dir=$X64 ;;
  esac
  wineserver -k 2>/dev/null
  timeout 60 wineserver -w
  timeout "$WINE_TIMEOUT" xvfb-run -a -s "-screen 0 1280x1024x24" \
    wine "$dir/tools/host/qvhost.exe" view "$(ClapModule "$build")" "$out.png" --hold 600 \
    2>"$out.err" | tr -d '\r' >"$out.txt" || { Diagnose <"$out.err"; return 1; }
  grep -qx "gui embedded 1 host loop fds 0 timers 0" "$out.txt" || { Diagnose <"$out.txt"; return 1; }
  EditorHost "$build" plain || return 1
  "$PYTHON" "$(dirname "${BASH_SOURCE[0]}")/../x11/compare.py" "$out.png" \
    "$WORK/editor.plain.$build.png" | Diagnose
  return "${PIPESTATUS[0]}"
}

RunClapChecks() {
  local path block
  for path in float double; do
    for block in 512 441; do
      Check "native CLAP $path output equals the VST 2.x plug-in's, block $block" \
        ClapMatchesVst2 "$path" "$block"
      Check "32-bit CLAP $path output equals native, block $block" \
        ClapMatchesNative x86 "$path" "$block"
      Check "64-bit CLAP $path output equals native, block $block" \
        ClapMatchesNative x64 "$path" "$block"
    done
  done
  for build in native x86 x64; do
    Check "$build CLAP with a program and a parameter equals the VST 2.x plug-in" \
      ClapProgramMatchesVst2 "$build"
  done
  # shellcheck source=../lib/editor_checks.sh
  source "$(dirname "${BASH_SOURCE[0]}")/../lib/editor_checks.sh"
  Check "32-bit CLAP GUI opens embedded in a real window, as the VST 2.x editor looks" \
    GuiMatchesEditor x86
  Check "64-bit CLAP GUI opens embedded in a real window, as the VST 2.x editor looks" \
    GuiMatchesEditor x64
  wineserver -k 2>/dev/null
}
