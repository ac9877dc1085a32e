# The two commands of the README, and the helpers around them.
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run test test-windows bench screenshots format clean

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

bench: build
	@for b in $(BUILD)/bin/bench_*; do echo "== $$b"; "$$b" || exit 1; done

screenshots: build
	@scripts/screenshots $(BUILD)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD)
