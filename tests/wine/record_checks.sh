# Loading, the effect record and the dispatcher, compared across builds.
# Sourced by run.sh, which defines Check, Host, Same and Diagnose.

# Completes BUILD COMMAND: runs `qvhost COMMAND` on that build's plug-in and
# keeps the output in $WORK/COMMAND.BUILD.txt; succeeds when qvhost did.
Completes() {
  local out="$WORK/$2.$1.txt"
  Host "$1" "$2" >"$out" 2>"$out.err" && return 0
  Diagnose <"$out.err"
  return 1
}

# InfoMatchesNative BUILD RECORD_SIZE: the `info` output of a Windows build
# equals the native one. The record size is the one line that rightly
# differs (144 bytes on 32-bit, 192 on 64-bit); the build's line must show
# RECORD_SIZE and is compared as if it showed the native size.
InfoMatchesNative() {
  local native_size
  native_size=$(grep '^record size ' "$WORK/info.native.txt")
  sed "s/^record size $2\$/$native_size/" "$WORK/info.$1.txt" >"$WORK/info.$1.filtered.txt"
  Same "$WORK/info.native.txt" "$WORK/info.$1.filtered.txt"
}

# qvhost marks text buffers written past their capacity or left without a
# terminator, and pin records changed beyond the label and flags.
NoStrayWrites() {
  local found
  found=$(grep -H -E 'OVERRUN|UNTERMINATED|CHANGED' "$WORK"/info.*.txt "$WORK"/dispatch.*.txt)
  [ -z "$found" ] && return 0
  echo "$found" | head -20 | Diagnose
  return 1
}

RunRecordChecks() {
  Check "native plug-in loads in qvhost" Completes native info
  Check "32-bit DLL loads in qvhost under wine" Completes x86 info
  Check "64-bit DLL loads in qvhost under wine" Completes x64 info
  Check "32-bit info equals native info, record size 144" InfoMatchesNative x86 144
  Check "64-bit info equals native info, record size 192" InfoMatchesNative x64 192
  Check "dispatch script completes on the native plug-in" Completes native dispatch
  Check "dispatch script completes on the 32-bit DLL" Completes x86 dispatch
  Check "dispatch script completes on the 64-bit DLL" Completes x64 dispatch
  Check "32-bit dispatch answers equal native answers" Same "$WORK/dispatch.native.txt" "$WORK/dispatch.x86.txt"
  Check "64-bit dispatch answers equal native answers" Same "$WORK/dispatch.native.txt" "$WORK/dispatch.x64.txt"
  Check "no text or pin buffer written out of bounds" NoStrayWrites
}
