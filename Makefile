# Convenience targets; the real build is CMake + Ninja.
PREFIX ?= /usr/local
JOBS ?= $(shell nproc)
# KAVRO_WERROR=ON (as CI sets it) turns the product's warnings into errors.
KAVRO_WERROR ?= OFF
CMAKE_FLAGS = -DKAVRO_WERROR=$(KAVRO_WERROR)

.PHONY: all build build-asan test test-release test-asan demo install bench clean

all: build

build:
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null
	cmake --build build -j $(JOBS)

build-asan:
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKAVRO_SANITIZE=ON $(CMAKE_FLAGS) >/dev/null
	cmake --build build-asan -j $(JOBS)

test-release: build
	cd build && ctest --output-on-failure -j $(JOBS)

test-asan: build-asan
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# Every test, in the release build and under the sanitizers.
test: test-release test-asan

# The demo needs the executable only, not the test binary.
demo:
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build build -j $(JOBS) --target kavro
	@sh examples/demo.sh build/kavro

install: build
	install -d $(DESTDIR)$(PREFIX)/bin
	install -m 755 build/kavro $(DESTDIR)$(PREFIX)/bin/kavro

bench:
	bash bench/run.sh

clean:
	rm -rf build build-asan build-bench
