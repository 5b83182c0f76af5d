# Vistrane: cross-built with mingw-w64, tested and demonstrated under Wine.
# Every target installs what it needs first (scripts/install-deps.sh).
BUILD_DIR ?= build
export BUILD_DIR
JOBS ?= $(shell nproc)
CMAKE_FLAGS = -DCMAKE_TOOLCHAIN_FILE="$(CURDIR)/cmake/toolchain-i686-mingw.cmake"
# Signing with the publisher's certificate (README, "Signed builds"); left
# empty, the build is unsigned.
VISTRANE_SIGN_CERT ?=
VISTRANE_SIGN_PASSWORD_FILE ?=
VISTRANE_TIMESTAMP_URL ?=
SIGN_FLAGS = -DVISTRANE_SIGN_CERT="$(VISTRANE_SIGN_CERT)" \
	-DVISTRANE_SIGN_PASSWORD_FILE="$(VISTRANE_SIGN_PASSWORD_FILE)" \
	-DVISTRANE_TIMESTAMP_URL="$(VISTRANE_TIMESTAMP_URL)"

.PHONY: all deps build test demo bench screenshots fuzz clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B "$(BUILD_DIR)" $(CMAKE_FLAGS) $(SIGN_FLAGS)
	cmake --build "$(BUILD_DIR)" -j $(JOBS)
	@echo "Shipped files in $(BUILD_DIR)/dist, with their SHA-256:" && cd "$(BUILD_DIR)/dist" && sha256sum *

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
	rm -rf "$(BUILD_DIR)"
