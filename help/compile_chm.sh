#!/usr/bin/env bash
# Compiles Brisolt's help pages into Brisolt.chm with chmcmd (Free Pascal's CHM compiler).
# chmcmd 3.2.2 stores the topic of every context id under the absolute path of the project folder, so
# the ids resolve only when that folder is the root of the file system the compiler sees. The sources
# are therefore copied to a staging folder, which becomes the root of a private mount namespace
# (with the system's /usr mounted inside so that the compiler can run), and chmcmd runs there.
# The [MAP] of the project reads context_ids.h, which is made here from the program's resource ids: each
# name the [ALIAS] section gives a page gets the number resource.h gives it (IDOK and IDCANCEL are the
# system's), so the two cannot drift apart.
# Usage: compile_chm.sh SOURCE_FOLDER STAGING_FOLDER OUTPUT_FILE RESOURCE_H
set -euo pipefail
source=$1
stage=$2
output=$3
resource_h=$4
project=Brisolt.hhp

# A failed compile must not leave an older help file behind.
rm -f "$output"

compiler=$(readlink -f "$(command -v chmcmd)")
case "$compiler" in
  /usr/*) ;;
  *) echo "compile_chm.sh: chmcmd must live under /usr, found $compiler" >&2; exit 1 ;;
esac

rm -rf --one-file-system "$stage"
mkdir -p "$stage"
cp -r "$source"/. "$stage"/
rm -f "$stage/CMakeLists.txt" "$stage/compile_chm.sh"

# chmcmd silently drops a #define whose name and number are separated by a tab: one space each.
{
  echo "// Made from src/res/resource.h when the help is compiled."
  sed -n '/^\[ALIAS\]/,/^\[/p' "$source/$project" | sed -n 's/^\([A-Z][A-Z0-9_]*\)=.*/\1/p' | while read -r name; do
    case "$name" in
      IDOK) number=1 ;;
      IDCANCEL) number=2 ;;
      *) number=$(sed -n "s/^#define $name \([0-9][0-9]*\).*/\1/p" "$resource_h") ;;
    esac
    if [ -z "$number" ]; then
      echo "compile_chm.sh: the help names $name, which $resource_h does not define" >&2
      exit 1
    fi
    echo "#define $name $number"
  done
} >"$stage/context_ids.h"

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
