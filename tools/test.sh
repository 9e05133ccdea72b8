#!/usr/bin/env bash
# Every test: native (plain with GCC, ASan+UBSan with clang, TSan with GCC), a short fuzz run,
# then the Windows tests under Wine.
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
jobs=$(nproc)
status=0
step() {
  echo "== $*"
  local started=$SECONDS
  "$@" || { echo "FAILED: $*"; status=1; }
  echo "== $(( SECONDS - started )) s: $1 ${2:-}"
}
build_and_test() {
  local preset=$1
  shift
  cmake --preset "$preset" "$@" >/dev/null && cmake --build --preset "$preset" -j "$jobs" &&
    ctest --preset "$preset" -j "$jobs"
}
# The benchmarks are built by `make bench`, not here: no test runs them, and they cost the
# plain build a minute.
step build_and_test native -DBREVANE_BUILD_BENCH=OFF
step build_and_test native-asan
step build_and_test native-tsan
# A short run of every fuzz target over its seeds and what it finds in a few seconds; the
# ASan+UBSan build above built the targets.
if [ "${BREVANE_SKIP_FUZZ:-0}" != 1 ]; then
  step env FUZZ_SECONDS="${FUZZ_SECONDS:-5}" FUZZ_JOBS="$jobs" FUZZ_BUILD=build/native-asan \
    tools/fuzz.sh
fi
if [ "${BREVANE_SKIP_WINDOWS:-0}" != 1 ]; then
  step cmake --preset windows
  step cmake --build --preset windows -j "$jobs"
  step tools/xrun ctest --preset windows
  # The release package, unpacked into a fresh folder and started from there.
  step tools/dist.sh
  step tools/dist-test.sh
fi
if [ "$status" -ne 0 ]; then echo "Some tests FAILED"; else echo "All tests passed"; fi
exit $status
