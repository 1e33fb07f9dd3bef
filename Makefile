# The two commands that matter are `make run` and `make test`; both install what they need
# first, and only that. `make` alone builds the release build into build/.

BUILD      ?= build
TEST_BUILD ?= build-asan
BENCH_ARGS ?=
FUZZ_SECONDS ?= 60
# The sources the formatter and the linter look at.
SOURCES = $(shell git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 2>/dev/null)
LINT_SOURCES = $(shell git ls-files 'src/*.cpp' 2>/dev/null)

.PHONY: all build deps run demo test check-format format lint tsan bench fuzz translations clean \
        package check-package

all: build

deps:
	@./scripts/install-deps run

build:
	@cmake --preset release >/dev/null
	@cmake --build --preset release

run: deps build
	@./scripts/run-program $(BUILD)/bin

demo: deps build
	@./scripts/demo $(BUILD)/bin

test:
	@./scripts/install-deps test
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan

# Fails when any source differs from .clang-format; `make format` rewrites them.
check-format:
	@./scripts/install-deps test
	@clang-format --dry-run --Werror $(SOURCES)
	@echo "check-format: $(words $(SOURCES)) files follow .clang-format"

format:
	@clang-format -i $(SOURCES)

# clang-tidy with the checks of .clang-tidy over every program source, on the release
# build's compile commands; fails on any finding.
lint:
	@./scripts/install-deps lint
	@cmake --preset release >/dev/null
	@./scripts/lint $(BUILD) $(LINT_SOURCES)

# The sound layer's tests under ThreadSanitizer: the SoundFont loads on a thread of its own
# and the audio callback shares the player with the caller.
tsan:
	@./scripts/install-deps tsan
	@cmake --preset tsan >/dev/null
	@cmake --build --preset tsan
	@ctest --preset tsan

bench:
	@./scripts/install-deps bench
	@cmake --preset release >/dev/null
	@cmake --build --preset release
	@./scripts/bench $(BUILD)/bin $(BENCH_ARGS)

# Each libFuzzer target for FUZZ_SECONDS (clang, in build-fuzz/); fails on any finding.
fuzz:
	@./scripts/install-deps fuzz
	@FUZZ_SECONDS=$(FUZZ_SECONDS) ./scripts/fuzz

# The Debian package of the release build: $(BUILD)/lyravane_VERSION_ARCH.deb.
package:
	@./scripts/install-deps package
	@cmake --preset release >/dev/null
	@cmake --build --preset release
	@cd $(BUILD) && cpack -G DEB

# Builds the package, then runs its programs unpacked and validates it (lintian, appstreamcli,
# desktop-file-validate); fails on any error. Not part of `make test`: it installs the
# packaging tools.
check-package: package
	@./scripts/check-package $(BUILD)

# Gathers new and changed window texts into translations/*.ts (then translate them).
translations:
	@./scripts/update-translations

clean:
	rm -rf $(BUILD) $(TEST_BUILD) build-tsan build-fuzz
