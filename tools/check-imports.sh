#!/usr/bin/env bash
# Fails when the exe would not start on Windows 7 SP1: it imports a function that the DLL does
# not export there (tools/win7-imports.txt lists every one known to be there), or its PE header
# asks for a newer subsystem version than 6.1.
#   tools/check-imports.sh EXE [OBJDUMP]
#   tools/check-imports.sh --dump FILE     (the saved output of objdump -p, for the tests)
set -u
export LC_ALL=C
list="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/win7-imports.txt"

if [ "${1:-}" = "--dump" ]; then
  exe=${2:?usage: check-imports.sh --dump FILE}
  dump=$(cat "$exe") || exit 2
else
  exe=${1:?usage: check-imports.sh EXE [OBJDUMP]}
  objdump=${2:-x86_64-w64-mingw32-objdump}
  if ! command -v "$objdump" >/dev/null 2>&1; then
    echo "objdump ($objdump) not found: the import table of $exe cannot be checked" >&2
    exit 2
  fi
  dump=$("$objdump" -p "$exe") || { echo "cannot read the import table of $exe" >&2; exit 2; }
fi

# "dll function" per imported name, DLL names in lower case; "dll #N" for an import by ordinal
# (or any line not understood, which then fails the check rather than pass unseen).
imports=$(printf '%s\n' "$dump" | awk '
  /^[ \t]*DLL Name:/ { dll = tolower($3); next }
  /^[ \t]*$/ { dll = ""; next }
  dll == "" || $1 == "vma:" { next }
  NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print dll, $3; next }
  { print dll, "#" $2 }' | sort -u)
if [ -z "$imports" ]; then
  echo "no import table found in $exe" >&2
  exit 2
fi

status=0
major=$(printf '%s\n' "$dump" | awk '$1 == "MajorSubsystemVersion" { print $2 }')
minor=$(printf '%s\n' "$dump" | awk '$1 == "MinorSubsystemVersion" { print $2 }')
if [ -z "$major" ] || [ -z "$minor" ]; then
  echo "$exe: no subsystem version in its PE header" >&2
  status=1
elif [ "$major" -gt 6 ] || { [ "$major" -eq 6 ] && [ "$minor" -gt 1 ]; }; then
  echo "$exe asks for subsystem version $major.$minor: Windows 7 loads 6.1 at most"
  status=1
fi

allowed=$(awk '!/^[ \t]*(#|$)/ { print tolower($1), $2 }' "$list" | sort -u)
unknown=$(comm -23 <(printf '%s\n' "$imports") <(printf '%s\n' "$allowed"))
while read -r dll function; do
  [ -n "$dll" ] || continue
  echo "$exe imports $function from $dll, which $list does not list as present on" \
    "Windows 7 SP1: check it and add it there, or resolve it at run time"
  status=1
done <<<"$unknown"

if [ "$status" -eq 0 ]; then
  echo "$exe: $(grep -c . <<<"$imports") imports, all present on Windows 7 SP1;" \
    "subsystem version $major.$minor"
fi
exit $status
