#!/usr/bin/env bash
# Installs the built plug-ins and the file tool where Linux hosts and shells
# look for them, or removes them again. Run ./run first: it fills dist/.
#
#   scripts/install.sh [--user] [--remove]
#
# System-wide (as root, or through sudo): the VST 2.x plug-in in
# /usr/local/lib/vst (Ardour, and most Linux hosts, search it with no
# configuration), the LV2 bundle in /usr/local/lib/lv2, the VST 3 bundle in
# /usr/local/lib/vst3, the CLAP module (with the read-me its editor opens) in
# /usr/local/lib/clap, quorvane in /usr/local/bin and its manual page in
# /usr/local/share/man/man1.
# With --user: ~/.vst, ~/.lv2, ~/.vst3, ~/.clap, ~/.local/bin and
# ~/.local/share/man/man1.
# The VST 3 bundle goes without its Windows modules, which Linux hosts would
# try to load and list as failures (dist/ keeps the whole bundle).
# With --remove: takes away exactly what the install put there, and the
# plug-in folders it leaves empty.
# QV_ROOT, when set, is put in front of every path (for packaging and tests).
set -euo pipefail
cd "$(dirname "$0")/.."

user=false
remove=false
for argument in "$@"; do
  case "$argument" in
    --user) user=true ;;
    --remove) remove=true ;;
    *) echo "usage: $0 [--user] [--remove]" >&2; exit 2 ;;
  esac
done

root=${QV_ROOT:-}
# What a system-wide install makes is for everyone to read and no one but
# root to change, whatever the umask it is run with.
$user || umask 022
if $user; then
  vst="$root$HOME/.vst" lv2="$root$HOME/.lv2" vst3="$root$HOME/.vst3" clap="$root$HOME/.clap"
  bin="$root$HOME/.local/bin"
  man="$root$HOME/.local/share/man/man1"
else
  vst="$root/usr/local/lib/vst" lv2="$root/usr/local/lib/lv2" vst3="$root/usr/local/lib/vst3"
  clap="$root/usr/local/lib/clap"
  bin="$root/usr/local/bin"
  man="$root/usr/local/share/man/man1"
fi

# What goes where: source in dist/, target folder, name there.
items=(
  "dist/linux/Quorvane.so|$vst|Quorvane.so"
  "dist/Quorvane_README.txt|$vst|Quorvane_README.txt"
  "dist/lv2/Quorvane.lv2|$lv2|Quorvane.lv2"
  "dist/vst3/Quorvane.vst3|$vst3|Quorvane.vst3"
  "dist/clap/linux/Quorvane.clap|$clap|Quorvane.clap"
  "dist/clap/linux/Quorvane_README.txt|$clap|Quorvane_README.txt"
  "dist/linux/quorvane|$bin|quorvane"
  "dist/linux/quorvane.1|$man|quorvane.1"
)

if $remove; then
  for item in "${items[@]}"; do
    IFS='|' read -r _ folder name <<<"$item"
    rm -rf "${folder:?}/$name"
    echo "removed $folder/$name"
  done
  # The folders of the plug-ins and the manual page, if nothing else is in
  # them; the shells' bin folders stay.
  for folder in "$vst" "$lv2" "$vst3" "$clap" "$man"; do
    rmdir "$folder" 2>/dev/null && echo "removed $folder" || true
  done
  exit 0
fi

for item in "${items[@]}"; do
  IFS='|' read -r source _ _ <<<"$item"
  [ -e "$source" ] || { echo "$0: $source is missing; run ./run first" >&2; exit 1; }
done
for item in "${items[@]}"; do
  IFS='|' read -r source folder name <<<"$item"
  mkdir -p "$folder"
  # A bundle is replaced whole, so that no file of an older one stays.
  rm -rf "${folder:?}/$name"
  # The plug-in keeps its time (hosts that cache scans take a file newer
  # than its scan for a changed one), and belongs to whoever installs it.
  cp -r --preserve=timestamps "$source" "$folder/$name"
  # A system-wide install belongs to root, whoever built dist/ and whatever
  # their umask: no user may replace what root and others run.
  if ! $user; then
    chown -R 0:0 "$folder/$name"
    find "$folder/$name" \( -type d -o -type f -perm /111 \) -exec chmod 0755 {} +
    find "$folder/$name" -type f ! -perm /111 -exec chmod 0644 {} +
  fi
  echo "installed $folder/$name"
done
rm -rf "$vst3/Quorvane.vst3/Contents/"*-win
if $user; then
  echo "Ardour looks for Linux VST plug-ins in system folders only: add $HOME/.vst in"
  echo "Edit > Preferences > Plugins > VST > Linux VST Path. LV2, VST 3 and CLAP hosts find"
  echo "~/.lv2, ~/.vst3 and ~/.clap as they are."
  case ":$PATH:" in *":$HOME/.local/bin:"*) ;; *) echo "Add $HOME/.local/bin to your PATH to run quorvane." ;; esac
fi
