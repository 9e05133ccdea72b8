#!/usr/bin/env bash
# Runs every benchmark and prints its figures: the native ones, then the Windows ones under
# Wine (in Xvfb without a display). Figures only; nothing here passes or fails a build.
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
for exe in build/native/bench_*; do
  [ -x "$exe" ] || continue
  echo "== $(basename "$exe")"
  "$exe"
done
for exe in build/windows/bench_*.exe; do
  [ -f "$exe" ] || continue
  echo "== $(basename "$exe")"
  tools/xrun tools/wine-run "$exe"
done
