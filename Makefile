# Vistrane: cross-built with mingw-w64, tested and demonstrated under Wine.
# Every target installs what it needs first (scripts/install-deps.sh).
BUILD_DIR ?= build
export BUILD_DIR
JOBS ?= $(shell nproc)
CMAKE_FLAGS = -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchain-i686-mingw.cmake

.PHONY: all deps build test demo bench screenshots fuzz clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)
	@echo "Shipped files are in $(BUILD_DIR)/dist:" && ls $(BUILD_DIR)/dist

test: build
	scripts/run-tests.sh
	tests/fuzz/fuzz.sh check

demo: build
	scripts/demo.sh

bench: build
	scripts/bench.sh

screenshots: build
	scripts/screenshots.sh

# The parsers' fuzzers, natively: FUZZ_SECONDS each (default 180).
fuzz:
	tests/fuzz/fuzz.sh run

clean:
	rm -rf $(BUILD_DIR)
