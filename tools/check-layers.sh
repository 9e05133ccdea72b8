#!/usr/bin/env bash
# Fails when a file under src/ includes a header of a higher area. The areas, lowest first:
#   util < framework < wmi < dialogs < app
# An area may include its own headers and those of the areas below it, never above: that keeps
# the areas free of cycles (docs/architecture.md, "Layers").
#   tools/check-layers.sh [SOURCE_DIR]
set -u
root=${1:-"$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"}
areas=(util framework wmi dialogs app)

rank() {
  local i
  for i in "${!areas[@]}"; do
    if [ "${areas[$i]}" = "$1" ]; then echo "$i"; return; fi
  done
  echo -1
}

status=0
cd "$root/src" || { echo "no src folder in $root" >&2; exit 2; }
for area in "${areas[@]}"; do
  [ -d "$area" ] || { echo "missing area src/$area" >&2; status=1; continue; }
  own=$(rank "$area")
  while IFS=: read -r file line text; do
    target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^/"]+)\/.*/\1/' <<<"$text")
    theirs=$(rank "$target")
    if [ "$theirs" -gt "$own" ]; then
      echo "src/$file:$line: $area includes $target, an area above it: $text"
      status=1
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^/"]+/' "$area" \
             --include='*.h' --include='*.cpp')
done
# Every folder under src/ must be an area with a place in the order.
for dir in */; do
  dir=${dir%/}
  if [ "$(rank "$dir")" -lt 0 ]; then
    echo "src/$dir is not in the layer order of tools/check-layers.sh"
    status=1
  fi
done
exit $status
