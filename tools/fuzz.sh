#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz": clang, ASan+UBSan) and runs each for
# FUZZ_SECONDS seconds on a scratch copy of its seed corpus, so the repository's corpus does
# not grow. Fails when any target finds a crash, a hang or a failed check; the input that
# did it is kept in <build folder>/findings/<target>/.
#   FUZZ_SECONDS   seconds per target (default 60)
#   FUZZ_TARGETS   names to run, e.g. "history value_text" (default: every fuzz/*_fuzz.cpp)
#   FUZZ_JOBS      build jobs, and targets run at once (default 2)
#   FUZZ_BUILD     a build folder that already holds the targets (the preset "native-asan"
#                  builds them beside the tests); nothing is built then
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
seconds="${FUZZ_SECONDS:-60}"
jobs="${FUZZ_JOBS:-2}"
build="${FUZZ_BUILD:-build/fuzz}"

if [ -z "${FUZZ_BUILD:-}" ]; then
  if ! command -v clang++ >/dev/null; then
    echo "clang++ is missing: run tools/setup.sh" >&2
    exit 1
  fi
  cmake --preset fuzz >/dev/null || exit 1
  cmake --build --preset fuzz -j "$jobs" >/dev/null || {
    echo "The fuzz targets did not build" >&2
    cmake --build --preset fuzz -j 1 2>&1 | grep -E 'error' | head -20 >&2
    exit 1
  }
fi

if [ -n "${FUZZ_TARGETS:-}" ]; then
  read -r -a targets <<<"$FUZZ_TARGETS"
else
  targets=()
  for src in fuzz/*_fuzz.cpp; do
    name=$(basename "$src" .cpp)
    targets+=("${name%_fuzz}")
  done
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/brevane-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
case "$build" in
  /*) findings="$build/findings" ;;
  *) findings="$here/$build/findings" ;;
esac

# Runs one target; its report goes to $scratch/<name>.out, its verdict to the exit status.
run_target() {
  local name=$1 exe="$build/${1}_fuzz" corpus="$scratch/$1" log="$scratch/$1.log"
  local out="$scratch/$1.out"
  echo "== fuzz $name (${seconds}s)" >"$out"
  if [ ! -x "$exe" ]; then
    echo "FAILED: no fuzz target $exe" >>"$out"
    return 1
  fi
  mkdir -p "$corpus" "$findings/$name"
  [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name/." "$corpus/"
  local options=()
  [ -f "fuzz/$name.dict" ] && options+=("-dict=fuzz/$name.dict")
  # -timeout: a single input running longer than this counts as a hang.
  if ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
    -print_final_stats=1 -artifact_prefix="$findings/$name/" "${options[@]}" "$corpus" \
    >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$log" | tail -1 >>"$out"
  else
    echo "FAILED: fuzz $name; the input is in $findings/$name/" >>"$out"
    grep -E 'ERROR|check failed|runtime error|SUMMARY|timeout|Test unit written' "$log" |
      head -20 >>"$out"
    return 1
  fi
}

# FUZZ_JOBS targets at a time; each prints its report when it ends.
status=0
pids=()
names=()
finish_oldest() {
  wait "${pids[0]}" || status=1
  cat "$scratch/${names[0]}.out"
  pids=("${pids[@]:1}")
  names=("${names[@]:1}")
}
for name in "${targets[@]}"; do
  [ "${#pids[@]}" -ge "$jobs" ] && finish_oldest
  run_target "$name" &
  pids+=($!)
  names+=("$name")
done
while [ "${#pids[@]}" -gt 0 ]; do finish_oldest; done
exit $status
