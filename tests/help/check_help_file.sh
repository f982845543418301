#!/usr/bin/env bash
# Opens the built help file with a CHM reader (libchm-bin) and checks what the program relies on:
# contents, index and full-text search are there, the default topic and every page the contents and
# the index name exist, and every context id the code asks for (the IDH_* topics of res/resource.h and
# the topics of helpIdMap in base/help.cpp) leads to a topic page that exists inside the file.
# Usage: check_help_file.sh HELP_FILE RESOURCE_H HELP_CPP
set -uo pipefail
help_file=$1
resource_h=$2
help_cpp=$3

for tool in enum_chmLib test_chmLib od; do
  command -v "$tool" >/dev/null || { echo "missing $tool (Debian package libchm-bin)"; exit 1; }
done
[ -s "$help_file" ] || { echo "no help file at $help_file: build the target brisolt_help"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Every object in the file, with its length.
declare -A length
while read -r _ _ size _ _ name; do
  [ -n "${name:-}" ] && length[$name]=$size
done < <(enum_chmLib "$help_file" | tail -n +4)

extract() {  # extract OBJECT DESTINATION: one object of the file, false when it is missing or empty
  test_chmLib "$help_file" "$1" "$2" >/dev/null 2>&1 && [ -s "$2" ]
}
has_page() {  # has_page PATH: the object exists and holds an HTML page with a heading
  local path=/${1#/}
  [ -n "${length[$path]:-}" ] || return 1
  extract "$path" "$work/page" && grep -qi '<h1>' "$work/page"
}

# The project's settings: entries of #SYSTEM are (code, length, data); 0 names the contents file,
# 1 the index file, 2 the default topic, and the third number of entry 4 is the full-text search flag.
extract /#SYSTEM "$work/system" || fail "no #SYSTEM"
read -r -a bytes < <(od -An -v -t u1 "$work/system" | tr -s ' \n' '  ')
declare -A entry
position=4
while [ $((position + 4)) -le ${#bytes[@]} ]; do
  code=$((bytes[position] + 256 * bytes[position + 1]))
  size=$((bytes[position + 2] + 256 * bytes[position + 3]))
  entry[$code]="${bytes[*]:position + 4:size}"
  position=$((position + 4 + size))
done
text_of() {  # text_of CODE: the entry as text, up to its first NUL
  local text="" byte
  for byte in ${entry[$1]:-}; do
    [ "$byte" -eq 0 ] && break
    text+=$(printf "\\$(printf '%03o' "$byte")")
  done
  printf '%s' "$text"
}
contents=$(text_of 0)
index=$(text_of 1)
default_topic=$(text_of 2)
[ -n "$contents" ] && extract "/$contents" "$work/contents" && grep -qi 'text/sitemap' "$work/contents" \
  || fail "no contents (entry 0 of #SYSTEM is '$contents')"
[ -n "$index" ] && extract "/$index" "$work/index" && grep -qi 'text/sitemap' "$work/index" \
  || fail "no index (entry 1 of #SYSTEM is '$index')"
[ -n "${length[/\$WWKeywordLinks/BTree]:-}" ] || fail "no keyword index (\$WWKeywordLinks/BTree)"
has_page "$default_topic" || fail "default topic '$default_topic' is not a page in the file"
read -r -a settings <<<"${entry[4]:-}"
search_flag=$((${settings[8]:-0} + 256 * ${settings[9]:-0}))
[ "$search_flag" -eq 1 ] || fail "full-text search is not switched on (#SYSTEM entry 4)"
[ "${length[/\$FIftiMain]:-0}" -gt 1000 ] || fail "no full-text search index (\$FIftiMain)"

# Every entry of the contents and the index leads to a page inside the file.
for list in contents index; do
  [ -s "$work/$list" ] || continue
  while read -r topic; do
    has_page "${topic%%#*}" || fail "the $list names '$topic', which is not a page in the file"
  done < <(sed -n 's/.*<param name="Local" value="\([^"]*\)".*/\1/p' "$work/$list" | sort -u)
done

# The context ids the program uses, read from its sources.
mapfile -t topic_ids < <(sed -n 's/^#define IDH_[A-Z_]* \([0-9][0-9]*\).*/\1/p' "$resource_h")
[ "${#topic_ids[@]}" -ge 6 ] || fail "found only ${#topic_ids[@]} IDH_ topics in $resource_h"
# The map names its controls: each name is looked up in the resource ids (IDOK and IDCANCEL are the system's).
number_of() {
  case "$1" in
    IDOK) echo 1 ;;
    IDCANCEL) echo 2 ;;
    [0-9]*) echo "$1" ;;
    *) sed -n "s/^#define $1 \([0-9][0-9]*\).*/\1/p" "$resource_h" ;;
  esac
}
map_numbers=()
for token in $(sed -n '/helpIdMap\[\] *= *{/,/};/p' "$help_cpp" | sed 's/.*{//; s/}.*//; s/\/\/.*//' | grep -oE '[A-Z_][A-Z0-9_]*|[0-9]+'); do
  number=$(number_of "$token")
  [ -n "$number" ] || fail "helpIdMap names $token, which $resource_h does not define"
  map_numbers+=("$number")
done
[ "${#map_numbers[@]}" -ge 20 ] || fail "found only ${#map_numbers[@]} numbers in helpIdMap of $help_cpp"
control_ids=()
for ((i = 1; i < ${#map_numbers[@]}; i += 2)); do
  [ "${map_numbers[i]}" -ne 0 ] && control_ids+=("${map_numbers[i]}")
done
mapfile -t context_ids < <(printf '%s\n' "${topic_ids[@]}" "${control_ids[@]}" | sort -n -u)

# Each id through the file's own map: #IVB holds (id, offset) pairs after its length, and the offset
# points at the topic's path in #STRINGS.
extract /#IVB "$work/ivb" || fail "no context map (#IVB)"
extract /#STRINGS "$work/strings" || fail "no #STRINGS"
declare -A topic_of
if [ -s "$work/ivb" ]; then
  read -r -a words < <(od -An -v -t u4 "$work/ivb" | tr -s ' \n' '  ')
  for ((i = 1; i + 1 < ${#words[@]}; i += 2)); do
    topic_of[${words[i]}]=$(tail -c +$((words[i + 1] + 1)) "$work/strings" | tr '\0' '\n' | head -n 1)
  done
fi
for id in "${context_ids[@]}"; do
  topic=${topic_of[$id]:-}
  if [ -z "$topic" ]; then
    fail "context id $id has no topic"
  elif ! has_page "$topic"; then
    fail "context id $id leads to '$topic', which is not a page in the file"
  fi
done

echo "checked ${#context_ids[@]} context ids, contents '$contents', index '$index', default topic '$default_topic'"
[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "help file OK"
