# Convenience targets; the real build is CMake + Ninja.
PREFIX ?= /usr/local
JOBS ?= $(shell nproc)
# KAVRO_WERROR=ON (as CI sets it) turns the product's warnings into errors.
KAVRO_WERROR ?= OFF
CMAKE_FLAGS = -DKAVRO_WERROR=$(KAVRO_WERROR)
# Seconds each fuzz target runs in fuzz-smoke.
FUZZ_SECONDS ?= 60

.PHONY: all deps-build deps-test build build-asan test test-release test-asan demo install bench clean fuzz-smoke

all: build

# The Debian packages (tools/install-deps.sh holds the list): installed when
# missing if we are root, otherwise the apt-get line is printed and make stops.
deps-build:
	@sh tools/install-deps.sh build

deps-test:
	@sh tools/install-deps.sh test

# The tests are built when GoogleTest is present.
build: deps-build
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null
	cmake --build build -j $(JOBS)

build-asan: deps-test
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKAVRO_SANITIZE=ON -DKAVRO_TESTS=ON $(CMAKE_FLAGS) >/dev/null
	cmake --build build-asan -j $(JOBS)

test-release: deps-test
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVRO_TESTS=ON $(CMAKE_FLAGS) >/dev/null
	cmake --build build -j $(JOBS)
	cd build && ctest --output-on-failure -j $(JOBS)

test-asan: build-asan
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# Every test, in the release build and under the sanitizers.
test: test-release test-asan

# The demo needs the executable only, not the test binary nor GoogleTest.
demo: deps-build
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build build -j $(JOBS) --target kavro
	@sh examples/demo.sh build/kavro

install: build
	install -d $(DESTDIR)$(PREFIX)/bin
	install -m 755 build/kavro $(DESTDIR)$(PREFIX)/bin/kavro

bench:
	bash bench/run.sh

# The libFuzzer targets (clang), each run for FUZZ_SECONDS (default 60).
fuzz-smoke:
	cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" -DKAVRO_FUZZ=ON -DKAVRO_TESTS=OFF >/dev/null
	cmake --build build-fuzz -j $(JOBS) --target fuzz_targets
	FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_RUNS=$(FUZZ_RUNS) tests/fuzz/smoke.sh build-fuzz

clean:
	rm -rf build build-asan build-bench build-fuzz
