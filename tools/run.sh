#!/usr/bin/env bash
# Starts brevane.exe under Wine. Without a display: under Xvfb, waits for the main window,
# saves a screenshot to build/screenshot.png, closes the window with WM_CLOSE.
set -eu
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
exe="$here/build/windows/brevane.exe"
tool="$here/build/windows/wintool.exe"
args="${1:-}"

if [ -z "${BREVANE_IN_XVFB:-}" ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  # shellcheck disable=SC2086
  exec "$here/tools/wine-run" "$exe" "$args"
fi

if [ -z "${BREVANE_IN_XVFB:-}" ]; then
  BREVANE_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

shot="$here/build/screenshot.png"
rm -f "$shot"
if [ -n "$args" ]; then
  "$here/tools/wine-run" "$exe" "$args" &
else
  "$here/tools/wine-run" "$exe" &
fi
pid=$!
if "$here/tools/wine-run" "$tool" wait-window Brevane 30000; then
  sleep 2
  import -window root "$shot"
  "$here/tools/wine-run" "$tool" close-window Brevane 10000 || true
else
  echo "The main window did not appear within 30 s" >&2
fi
for _ in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then
  echo "The program did not end after WM_CLOSE" >&2
  kill $pid 2>/dev/null || true
  exit 1
fi
if [ -f "$shot" ]; then echo "Screenshot saved to $shot"; else exit 1; fi
