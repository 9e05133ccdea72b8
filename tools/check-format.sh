#!/usr/bin/env bash
# Fails when a C++ file of ours differs from what clang-format makes of it (.clang-format at the
# top). Fix with: tools/check-format.sh --fix
#   tools/check-format.sh [--fix] [SOURCE_DIR]
set -u
fix=0
if [ "${1:-}" = --fix ]; then fix=1; shift; fi
root=${1:-"$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"}
cd "$root" || exit 2
format=$(command -v clang-format || command -v clang-format-14 || true)
[ -n "$format" ] || { echo "clang-format is not installed (tools/setup.sh installs it)" >&2; exit 2; }
mapfile -t files < <(find src tests bench fuzz -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
if [ "$fix" = 1 ]; then
  exec "$format" -i "${files[@]}"
fi
"$format" --dry-run --Werror "${files[@]}" 2>&1 | grep -E '^[^ ].*: (error|warning):' | cut -d: -f1 |
  sort -u | sed 's/$/: not formatted (tools\/check-format.sh --fix)/' | grep . && exit 1
exit 0
