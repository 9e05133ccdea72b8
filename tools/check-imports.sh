#!/usr/bin/env bash
# Fails when the exe imports a function or a DLL that Windows 7 SP1 lacks: such an exe would
# not start there at all. The lists are in tools/win7-imports.txt.
#   tools/check-imports.sh EXE [OBJDUMP]
set -u
exe=${1:?usage: check-imports.sh EXE [OBJDUMP]}
objdump=${2:-x86_64-w64-mingw32-objdump}
list="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/win7-imports.txt"

dump=$("$objdump" -p "$exe") || { echo "cannot read the import table of $exe" >&2; exit 2; }
# "dll function" per imported name, DLL names in lower case.
imports=$(printf '%s\n' "$dump" | awk '
  /^[ \t]*DLL Name:/ { dll = tolower($3); next }
  /^[ \t]*$/ { next }
  dll != "" && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print dll, $3 }')
dlls=$(printf '%s\n' "$dump" | awk '/^[ \t]*DLL Name:/ { print tolower($3) }' | sort -u)
if [ -z "$dlls" ]; then
  echo "no import table found in $exe" >&2
  exit 2
fi

status=0
allowed=$(awk '$1 == "dll" { print tolower($2) }' "$list")
for dll in $dlls; do
  if ! grep -qxF "$dll" <<<"$allowed"; then
    echo "$exe imports $dll, which Windows 7 SP1 does not have (or which is not in $list)"
    status=1
  fi
done
newer=$(awk '$1 == "newer" { print tolower($2), $3 }' "$list")
while read -r dll function; do
  [ -n "$dll" ] || continue
  if grep -qxF "$dll $function" <<<"$imports"; then
    echo "$exe imports $function from $dll, which is newer than Windows 7: resolve it at run time"
    status=1
  fi
done <<<"$newer"
count=$(printf '%s\n' "$imports" | grep -c .)
if [ "$status" -eq 0 ]; then
  echo "$exe: $count imports from $(wc -w <<<"$dlls") DLLs, all present on Windows 7 SP1"
fi
exit $status
