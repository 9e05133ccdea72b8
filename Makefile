# Brevane: two commands do everything on a fresh Debian 12 machine.
#   make run   set up, build, start the program under Wine (Xvfb and a screenshot without a display)
#   make test  set up, build, run every native and Windows (Wine) test
JOBS ?= $(shell nproc)
ARGS ?= -query:select Caption, ThreadCount from Win32_Process
FUZZ_SECONDS ?= 60

.PHONY: all setup native windows run test test-native test-sanitizers test-windows bench fuzz dist clean

all: native windows

setup:
	@tools/setup.sh

native:
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)

windows:
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS)

run: setup windows
	@tools/run.sh "$(ARGS)"

test: setup
	@tools/test.sh

test-native: native
	ctest --preset native -j $(JOBS)

test-sanitizers:
	cmake --preset native-asan >/dev/null && cmake --build --preset native-asan -j $(JOBS) && ctest --preset native-asan -j $(JOBS)
	cmake --preset native-tsan >/dev/null && cmake --build --preset native-tsan -j $(JOBS) && ctest --preset native-tsan -j $(JOBS)

test-windows: windows
	tools/xrun ctest --preset windows

bench: windows
	cmake --preset native -DBREVANE_BUILD_BENCH=ON >/dev/null
	cmake --build --preset native -j $(JOBS)
	@tools/bench.sh

fuzz:
	@FUZZ_SECONDS=$(FUZZ_SECONDS) tools/fuzz.sh

dist: setup
	@tools/dist.sh

clean:
	rm -rf build dist
