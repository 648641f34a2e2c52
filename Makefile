# One word for every job: make play, make test, make bench, make fuzz, make soak, make clean.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
BENCH_BUILD ?= build-bench
JOBS       ?= $(shell nproc)
CMAKE_GEN  := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")
PREFIX     ?= /usr/local

.PHONY: all deps build play test test-fast test-asan bench fuzz soak install clean

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

play: build
	@scripts/play $(BUILD)

# The whole suite, then again under AddressSanitizer and UndefinedBehaviorSanitizer: the first
# error of either ends its test, and a leak fails it too. The tests that start the packaged
# player under X (label no-asan) run in the plain build only.
test: test-fast test-asan

test-fast: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DTOVANTA_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 \
		UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		ctest --output-on-failure -j $(JOBS) -LE no-asan

bench: deps
	@cmake -S . -B $(BENCH_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DTOVANTA_BENCH=ON -DTOVANTA_TESTS=OFF >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS)
	@bench/run $(BENCH_BUILD)

# Every fuzz target for FUZZ_SECONDS each (fuzz/run; docs/robustness.md).
FUZZ_SECONDS ?= 180
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DTOVANTA_FUZZ=ON -DTOVANTA_TESTS=OFF -DTOVANTA_APP=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets
	@fuzz/run $(FUZZ_BUILD) $(FUZZ_SECONDS)

# A long random game with a new seed each time (printed, to replay a failure with SOAK_SEED).
SOAK_SEED ?= time
SOAK_ACTIONS ?= 300000
soak: build
	@TOVANTA_SOAK_SEED=$(SOAK_SEED) TOVANTA_SOAK_ACTIONS=$(SOAK_ACTIONS) $(BUILD)/tests/game_soak_test

install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD)
