#!/usr/bin/env bash
# Fails when a source file includes a folder above its own: the layers of src/ are, bottom to top,
# base, settings, exec, config, app; res/ (ids shared with the resource script) may be included anywhere.
set -euo pipefail
src="$(cd "${1:-$(dirname "$0")/../src}" && pwd)"
layers=(base settings exec config app)
status=0
for ((i = 0; i < ${#layers[@]}; i++)); do
  allowed="res"
  for ((j = 0; j <= i; j++)); do allowed="$allowed|${layers[j]}"; done
  while IFS= read -r hit; do
    echo "upward include: $hit"
    status=1
  done < <(grep -rnE '#include "[a-z]+/' "$src/${layers[i]}" | grep -vE "#include \"($allowed)/" || true)
done
[ "$status" -eq 0 ] && echo "layers: every include runs downward"
exit "$status"
