# The two commands of the README, and the helpers around them.
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run test test-windows windows-release bench screenshots format clean fuzz fuzz-smoke test-asan

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-viewer $(BUILD)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-windows: deps
	@scripts/test-windows build-windows

# dist/Mirvel-<version>-win64.zip, checked by starting both programs from it under Wine.
windows-release: deps
	@scripts/windows-release build-windows

bench: build
	@for b in $(BUILD)/bin/bench_*; do echo "== $$b"; "$$b" || exit 1; done

# libFuzzer targets (clang, ASan+UBSan) in build-fuzz/bin; `make fuzz-smoke` runs each over its
# seed corpus for a bounded number of inputs: any crash or sanitizer report fails it.
FUZZ_BUILD ?= build-fuzz
FUZZ_TARGETS = fuzz_wordfile fuzz_settings fuzz_intparse fuzz_import fuzz_workbook

fuzz: deps
	@CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DMIRVEL_FUZZ=ON -DMIRVEL_BUILD_GUI=OFF \
		-DMIRVEL_BUILD_TESTS=OFF -DMIRVEL_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(FUZZ_TARGETS)

fuzz-smoke: fuzz
	@tests/fuzz/run-fuzzers $(FUZZ_BUILD)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer, GUI tests offscreen;
# line tables only (-g1) are enough for the reports' stack traces and keep the build short.
# Leaks inside Qt and its font libraries would be suppressed by name, never the programs' own.
ASAN_BUILD ?= build-asan
SANITIZE = -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMIRVEL_BUILD_BENCH=OFF \
		-DCMAKE_CXX_FLAGS="-O1 $(SANITIZE)" -DCMAKE_CXX_FLAGS_DEBUG="-g1" \
		-DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE)" >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/reliability/lsan.supp:print_suppressions=0 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS)

screenshots: build
	@scripts/screenshots $(BUILD)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD)
