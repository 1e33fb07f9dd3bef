# The two commands that matter are `make run` and `make test`; both install
# what they need first. `make` alone builds the release build into build/.

BUILD      ?= build
TEST_BUILD ?= build-asan
BENCH_ARGS ?=
FUZZ_SECONDS ?= 60

.PHONY: all build deps run demo test bench fuzz clean

all: build

deps:
	@./scripts/install-deps

build:
	@cmake --preset release >/dev/null
	@cmake --build --preset release

run: deps build
	@./scripts/run-program $(BUILD)/bin

demo: deps build
	@./scripts/demo $(BUILD)/bin

test: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan

bench: deps build
	@./scripts/bench $(BUILD)/bin $(BENCH_ARGS)

# Each libFuzzer target for FUZZ_SECONDS (clang, in build-fuzz/); fails on any finding.
fuzz: deps
	@FUZZ_SECONDS=$(FUZZ_SECONDS) ./scripts/fuzz

clean:
	rm -rf $(BUILD) $(TEST_BUILD) build-fuzz
