#!/usr/bin/env bash
# Compiles Brisolt's help pages into Brisolt.chm with chmcmd (Free Pascal's CHM compiler).
# chmcmd 3.2.2 stores the topic of every context id under the absolute path of the project folder, so
# the ids resolve only when that folder is the root of the file system the compiler sees. The sources
# are therefore copied to a staging folder, which becomes the root of a private mount namespace
# (with the system's /usr mounted inside so that the compiler can run), and chmcmd runs there.
# Usage: compile_chm.sh SOURCE_FOLDER STAGING_FOLDER OUTPUT_FILE
set -euo pipefail
source=$1
stage=$2
output=$3
project=Brisolt.hhp

# A failed compile must not leave an older help file behind.
rm -f "$output"

# chmcmd silently drops a #define whose name and number are separated by a tab.
if grep -nP '^\s*#define\s*\S*\t' "$source"/*.h; then
  echo "compile_chm.sh: separate the name and the number of a #define with one space, not a tab" >&2
  exit 1
fi

compiler=$(readlink -f "$(command -v chmcmd)")
case "$compiler" in
  /usr/*) ;;
  *) echo "compile_chm.sh: chmcmd must live under /usr, found $compiler" >&2; exit 1 ;;
esac

rm -rf --one-file-system "$stage"
mkdir -p "$stage"
cp -r "$source"/. "$stage"/
rm -f "$stage/CMakeLists.txt" "$stage/compile_chm.sh"

# The system folders the compiler needs inside the new root: /usr itself, and the top-level folders
# that are links into it on a merged-/usr system (plain folders elsewhere are mounted too).
mkdir "$stage/usr"
mounts="mount --bind /usr '$stage/usr'"
for folder in bin lib lib32 lib64; do
  if [ -L "/$folder" ]; then
    ln -s "$(readlink "/$folder")" "$stage/$folder"
  elif [ -d "/$folder" ]; then
    mkdir "$stage/$folder"
    mounts="$mounts && mount --bind '/$folder' '$stage/$folder'"
  fi
done

namespace=(unshare --mount)
[ "$(id -u)" -ne 0 ] && namespace=(unshare --user --map-root-user --mount)
log="$stage.log"
if ! "${namespace[@]}" sh -c "$mounts && exec chroot '$stage' '$compiler' '$project'" >"$log" 2>&1 \
   || [ ! -s "$stage/Brisolt.chm" ]; then
  cat "$log" >&2
  echo "compile_chm.sh: chmcmd failed; see above" >&2
  exit 1
fi
# Show what chmcmd warns about (missing files, broken links), not its progress notes.
grep -v -e '^Note:' -e '^chmcmd, a CHM compiler' -e '^Writing CHM' -e '^$' "$log" || true
mv "$stage/Brisolt.chm" "$output"
