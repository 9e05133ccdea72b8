#!/usr/bin/env bash
# Builds the release package dist/brevane-<version>-win64.zip: the statically linked
# brevane.exe, its help file brevane.chm, README.txt and LICENSE.txt in one folder.
# The version is the project VERSION of CMakeLists.txt.
set -eu
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
jobs="${DIST_JOBS:-$(nproc)}"
fail() {
  echo "dist: $*" >&2
  exit 1
}

version=$(sed -n 's/^project(Brevane VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || fail "no project VERSION in CMakeLists.txt"
for tool in zip x86_64-w64-mingw32-objdump x86_64-w64-mingw32-strip; do
  command -v "$tool" >/dev/null || fail "$tool is missing: run tools/setup.sh"
done

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs" --target brevane >/dev/null 2>&1 ||
  fail "brevane.exe did not build (cmake --build --preset windows --target brevane)"
exe=build/windows/brevane.exe
chm=build/windows/brevane.chm
[ -f "$exe" ] || fail "$exe is missing"
[ -f "$chm" ] || fail "$chm is missing: the help file is compiled with chmcmd (package fp-utils); install it, then run cmake --preset windows again"

# One self-contained exe: only DLLs that every Windows has.
system_dlls=" kernel32.dll user32.dll gdi32.dll advapi32.dll ole32.dll oleaut32.dll comctl32.dll
  comdlg32.dll shell32.dll shlwapi.dll version.dll msvcrt.dll ucrtbase.dll uxtheme.dll
  dwmapi.dll imm32.dll winmm.dll ws2_32.dll rpcrt4.dll secur32.dll crypt32.dll bcrypt.dll
  ntdll.dll "
system_dlls=$(tr -s '[:space:]' ' ' <<<"$system_dlls")
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$imports" ] || fail "objdump found no imports in $exe"
foreign=()
for dll in $imports; do
  case "$dll" in
  api-ms-win-*) ;;
  *) [[ "$system_dlls" == *" $dll "* ]] || foreign+=("$dll") ;;
  esac
done
[ ${#foreign[@]} -eq 0 ] || fail "$exe needs DLLs that Windows does not ship: ${foreign[*]} (link statically)"

# The version resource must name the version being packaged.
file_version="$version"
while [ "$(tr -cd . <<<"$file_version" | wc -c)" -lt 3 ]; do file_version="$file_version.0"; done
strings -el "$exe" | grep -qx "$file_version" ||
  fail "the version resource of $exe does not say $file_version (res/brevane.rc)"

name="brevane-$version"
stage="build/dist/$name"
rm -rf build/dist
mkdir -p "$stage" dist
# strip stamps the PE header with the current time unless SOURCE_DATE_EPOCH names one.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || date +%s) \
  x86_64-w64-mingw32-strip -o "$stage/brevane.exe" "$exe"
cp "$chm" "$stage/brevane.chm"
# Text files with Windows line ends, so that Notepad on any version shows them properly.
# The readme names the menu captions, so it is UTF-8 with a byte order mark for older Notepads.
{
  printf '\xEF\xBB\xBF'
  sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' docs/user-readme.txt
} >"$stage/README.txt"
sed -e 's/$/\r/' LICENSE >"$stage/LICENSE.txt"

# The same sources give the same archive: the time of the last commit, no extra attributes.
stamp=$(git log -1 --format=%cd --date=format:%Y%m%d%H%M.%S 2>/dev/null || date +%Y%m%d%H%M.%S)
find "$stage" -exec touch -t "$stamp" {} +
package="dist/$name-win64.zip"
rm -f "$package"
(cd build/dist && TZ=UTC zip -X -q -r "../../$package" "$name")
echo "$package ($(du -k "$package" | cut -f1) KB)"
unzip -l "$package" | sed -n '4,$p' | head -n -2
