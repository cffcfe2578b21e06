# The whole set-up: `make run` and `make test`. Each target installs what is missing first.
SHELL := /bin/bash
JOBS ?= $(shell nproc)

ifeq ($(SANITIZE),1)
BUILD_DIR ?= build-sanitize
CMAKE_FLAGS := -DWIREVANE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
else
BUILD_DIR ?= build
CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=RelWithDebInfo
endif
FUZZ_DIR := build-fuzz
# The web page: the core built by Debian's emscripten (its JS optimizer needs Debian's node
# modules), bundled with the page into $(BUILD_DIR)/web.
WEB_BUILD_DIR := $(BUILD_DIR)/web-build
WEB_DIR := $(BUILD_DIR)/web
export NODE_PATH := /usr/share/nodejs
FUZZ_SECONDS ?= 20
PREFIX ?= /usr/local

.PHONY: deps configure build run test bench fuzz-smoke format clean install package package-check web web-serve

deps:
	@scripts/install-deps

$(BUILD_DIR)/build.ninja: CMakeLists.txt | deps
	cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS)

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@scripts/run-example $(BUILD_DIR)

# The page's tests run in the plain build only: the page is WebAssembly, which the sanitizers do
# not reach, so a second run would test the same bytes again.
test: build $(if $(filter 1,$(SANITIZE)),,web)
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

$(WEB_BUILD_DIR)/build.ninja: CMakeLists.txt | deps
	emcmake cmake -S . -B $(WEB_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release

web: deps $(WEB_BUILD_DIR)/build.ninja
	cmake --build $(WEB_BUILD_DIR) -j $(JOBS)
	node web/build.mjs $(WEB_BUILD_DIR)/web $(WEB_DIR)

web-serve: web
	node web/serve.mjs $(WEB_DIR) 8000

bench: build web
	@scripts/run-benchmarks $(BUILD_DIR)

# DESTDIR, when given, is passed on to the install through the environment.
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# A package of an earlier version would be left beside the new one.
package: build
	rm -f $(BUILD_DIR)/wirevane_*.deb
	cmake --build $(BUILD_DIR) --target package

package-check: package
	@scripts/check-package $(BUILD_DIR)

fuzz-smoke: deps
	cmake -S . -B $(FUZZ_DIR) -G Ninja -DWIREVANE_FUZZ=ON -DWIREVANE_BENCH=OFF \
	  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz-targets
	@scripts/fuzz-smoke $(FUZZ_DIR) $(FUZZ_SECONDS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-sanitize build-fuzz
