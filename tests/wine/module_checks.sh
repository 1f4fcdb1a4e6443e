# The VST 3 and CLAP modules of the three builds, loaded by qvhost as a host
# of that format loads them (a CLAP module through clap_entry, activated on
# qvhost's main thread and processed on an audio thread): with dither off,
# each renders the test signal bit for bit as the native module does, and the
# native module as the VST 2.x plug-in does, through both sample sizes and two
# block lengths (a CLAP module also with a program and a parameter); each
# Windows module's editor opens in a real window, pixel for pixel the VST 2.x
# DLL's editor. Sourced by run.sh, after the audio checks wrote the test
# signal. FORMAT below is vst3 or clap.

# Module FORMAT BUILD: that build's module (a VST 3 one inside its bundle).
Module() {
  case $1.$2 in
    vst3.native) echo "$NATIVE/vst3/Quorvane.vst3/Contents/x86_64-linux/Quorvane.so" ;;
    vst3.x86) echo "$X86/vst3/Quorvane.vst3/Contents/x86-win/Quorvane.vst3" ;;
    vst3.x64) echo "$X64/vst3/Quorvane.vst3/Contents/x86_64-win/Quorvane.vst3" ;;
    clap.native) echo "$NATIVE/clap/Quorvane.clap" ;;
    clap.x86) echo "$X86/clap/Quorvane.clap" ;;
    clap.x64) echo "$X64/clap/Quorvane.clap" ;;
  esac
}

# BuildDir BUILD
BuildDir() {
  case $1 in
    native) echo "$NATIVE" ;;
    x86) echo "$X86" ;;
    x64) echo "$X64" ;;
  esac
}

# ModuleRender FORMAT BUILD PATH BLOCK [ARGS...]: the test signal through that
# build's module, dither off; the output's name is printed.
ModuleRender() {
  local format=$1 build=$2 path=$3 block=$4 extension=f32 out
  shift 4
  [ "$path" = double ] && extension=f64
  out="$WORK/$format.$build.$path.$block${1:+.program}.$extension"
  local arguments=(render "$(Module "$format" "$build")" "$WORK/tone.f32" "$out" --path "$path"
    --block "$block" --param 0=0 "$@")
  if [ "$build" = native ]; then
    NativeHost "${arguments[@]}" >/dev/null 2>"$out.err"
  else
    WineHost "$(BuildDir "$build")" "${arguments[@]}" >/dev/null 2>"$out.err"
  fi
  echo "$out"
}

# ModuleMatchesNative FORMAT BUILD PATH BLOCK
ModuleMatchesNative() {
  Same "$(ModuleRender "$1" native "$3" "$4")" "$(ModuleRender "$@")"
}

# ModuleMatchesVst2 FORMAT PATH BLOCK: the native module against the VST 2.x
# plug-in.
ModuleMatchesVst2() {
  Render native "$2" "$3" on &&
    Same "$(RenderFile native "$2" "$3" on)" "$(ModuleRender "$1" native "$2" "$3")"
}

# ClapProgramMatchesVst2 BUILD: program 1 and 20 target bits, as the VST 2.x
# plug-in renders them with the same program and value.
ClapProgramMatchesVst2() {
  local reference="$WORK/vst2.program.f32"
  NativeHost render "$NATIVE/Quorvane.so" "$WORK/tone.f32" "$reference" --program 1 \
    --param 0=0 --param 2=0.538461538 >/dev/null 2>"$reference.err" || { Diagnose <"$reference.err"; return 1; }
  Same "$reference" "$(ModuleRender clap "$1" float 512 --program 1 --param 2=0.538461538)"
}

# ViewMatchesEditor FORMAT BUILD: that Windows module's editor, opened in a
# window of qvhost's as a host of the format opens it, shows what the same
# build's VST 2.x editor shows.
ViewMatchesEditor() {
  local format=$1 build=$2 out="$WORK/$1-view.$2" opened="view attached 0"
  [ "$format" = clap ] && opened="gui embedded 1 host loop fds 0 timers 0"
  wineserver -k 2>/dev/null
  timeout 60 wineserver -w
  timeout "$WINE_TIMEOUT" xvfb-run -a -s "-screen 0 1280x1024x24" \
    wine "$(BuildDir "$build")/tools/qvhost/qvhost.exe" view "$(Module "$format" "$build")" \
    "$out.png" --hold 600 2>"$out.err" | tr -d '\r' >"$out.txt" || { Diagnose <"$out.err"; return 1; }
  grep -qx "$opened" "$out.txt" || { Diagnose <"$out.txt"; return 1; }
  EditorHost "$build" plain || return 1
  "$PYTHON" "$(dirname "${BASH_SOURCE[0]}")/../x11/compare.py" "$out.png" \
    "$WORK/editor.plain.$build.png" | Diagnose
  return "${PIPESTATUS[0]}"
}

# RunModuleChecks FORMAT NAME OPENED: NAME is the format as the checks name it,
# OPENED how its editor is said to open.
RunModuleChecks() {
  local format=$1 name=$2 opened=$3 path block build
  for path in float double; do
    for block in 512 441; do
      Check "native $name $path output equals the VST 2.x plug-in's, block $block" \
        ModuleMatchesVst2 "$format" "$path" "$block"
      Check "32-bit $name $path output equals native, block $block" \
        ModuleMatchesNative "$format" x86 "$path" "$block"
      Check "64-bit $name $path output equals native, block $block" \
        ModuleMatchesNative "$format" x64 "$path" "$block"
    done
  done
  if [ "$format" = clap ]; then
    for build in native x86 x64; do
      Check "$build CLAP with a program and a parameter equals the VST 2.x plug-in" \
        ClapProgramMatchesVst2 "$build"
    done
  fi
  # shellcheck source=../lib/editor_checks.sh
  source "$(dirname "${BASH_SOURCE[0]}")/../lib/editor_checks.sh"
  Check "32-bit $name $opened, as the VST 2.x editor looks" ViewMatchesEditor "$format" x86
  Check "64-bit $name $opened, as the VST 2.x editor looks" ViewMatchesEditor "$format" x64
  wineserver -k 2>/dev/null
}
