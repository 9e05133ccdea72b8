#!/usr/bin/env bash
# Checks the release package as a user meets it: unpacks dist/brevane-<version>-win64.zip into
# a fresh folder, starts brevane.exe from there under Wine (in Xvfb without a display) with a
# start-up query, waits for the main window, closes it with WM_CLOSE and checks that the
# program ended and left nothing in its folder but its settings file, whose query history
# must hold the query that ran.
# Builds the package first when it is missing or older than the program.
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  exec tools/xrun "$0" "$@"
fi
fail() {
  echo "dist-test: $*" >&2
  exit 1
}

version=$(sed -n 's/^project(Brevane VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
package="dist/brevane-$version-win64.zip"
if [ ! -f "$package" ] || [ build/windows/brevane.exe -nt "$package" ]; then
  tools/dist.sh >/dev/null || fail "the package did not build"
fi
cmake --build --preset windows -j "$(nproc)" --target wintool >/dev/null 2>&1 ||
  fail "wintool.exe did not build"
tool=build/windows/wintool.exe

tools/setup-wineprefix >/dev/null || fail "cannot create the Wine prefix"
folder=$(mktemp -d "$here/build/dist-test.XXXXXX")
trap '[ -n "${KEEP_DIST_TEST:-}" ] || rm -rf "$folder"' EXIT
unzip -q "$package" -d "$folder" || fail "cannot unpack $package"
app="$folder/brevane-$version"
for file in brevane.exe brevane.chm README.txt LICENSE.txt; do
  [ -f "$app/$file" ] || fail "the package has no $file"
done
before=$(cd "$app" && ls | sort)

tools/wine-run "$app/brevane.exe" "-query:select Name from Win32_Service" &
pid=$!
if ! tools/wine-run "$tool" wait-window Brevane 60000; then
  kill "$pid" 2>/dev/null
  fail "the main window of the unpacked brevane.exe did not appear within 60 s"
fi
# The start-up query runs once the window is first activated; give it time to finish.
sleep "${DIST_TEST_SETTLE_SECONDS:-5}"
tools/wine-run "$tool" close-window Brevane 20000 || fail "the main window did not close on WM_CLOSE"
for _ in $(seq 1 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then
  kill "$pid" 2>/dev/null
  fail "brevane.exe did not end after its window closed"
fi

if [ -f "$app/brevane.ini" ]; then
  # The file turns UTF-16 once it holds a text outside the ANSI code page.
  settings=$(if [ "$(head -c 2 "$app/brevane.ini" | od -An -tx1 | tr -d ' ')" = fffe ]; then
    iconv -f UTF-16 -t UTF-8 "$app/brevane.ini"
  else
    cat "$app/brevane.ini"
  fi)
  grep -q "select Name from Win32_Service" <<<"$settings" ||
    fail "brevane.ini does not hold the query that ran"
else
  fail "no brevane.ini beside the program after the close"
fi
after=$(cd "$app" && ls | grep -vx brevane.ini | sort)
[ "$before" = "$after" ] || fail "the program left other files in its folder: $(comm -13 <(echo "$before") <(echo "$after"))"
echo "dist-test: $package unpacks, starts, shows its window, closes and keeps its history"
