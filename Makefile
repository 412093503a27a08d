# The project's front door. `make test` and `make demo` set up everything
# they need on a Debian machine, starting with the build dependencies.

SHELL := /bin/bash
JOBS ?= 2
# CI builds treat warnings as errors.
NORMAL_PRESET := $(if $(CI),ci,release)
ASAN_PRESET := $(if $(CI),ci-asan,asan)

PACKAGES := cmake ninja-build g++ pkg-config libxml2-dev libminizip-dev zlib1g-dev libgtest-dev
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps build test test-normal test-asan clean

deps:
	@missing=$$(for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build: deps
	cmake --preset $(NORMAL_PRESET) >/dev/null
	cmake --build --preset $(NORMAL_PRESET) -j $(JOBS)

test: test-normal test-asan

test-normal: deps
	cmake --preset $(NORMAL_PRESET) >/dev/null
	cmake --build --preset $(NORMAL_PRESET) -j $(JOBS)
	ctest --preset $(NORMAL_PRESET) -j $(JOBS)

test-asan: deps
	cmake --preset $(ASAN_PRESET) >/dev/null
	cmake --build --preset $(ASAN_PRESET) -j $(JOBS)
	ctest --preset $(ASAN_PRESET) -j $(JOBS)

clean:
	rm -rf build

# --- Fuzzing: `make fuzz` builds the libFuzzer targets (preset `fuzz`, clang
# with ASan and UBSan) and runs each for FUZZ_SECONDS over its corpus; it
# fails when a target finds something.
FUZZ_SECONDS ?= 600
FUZZ_PACKAGES := clang-14 libclang-rt-14-dev

.PHONY: fuzz fuzz-deps

fuzz-deps: deps
	@missing=$$(for p in $(FUZZ_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

fuzz: fuzz-deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz --target fuzzers -j $(JOBS)
	fuzz/run-fuzzers.sh build/fuzz $(FUZZ_SECONDS)

# The tool on the example package, against a demo installation in the build
# folder (examples/run-demo.sh).
.PHONY: demo
demo: deps
	cmake --preset $(NORMAL_PRESET) >/dev/null
	cmake --build --preset $(NORMAL_PRESET) -j $(JOBS) --target LumoraMonitorFileSetting example_package
	examples/run-demo.sh build/$(NORMAL_PRESET)

# --- Benchmarks: `make bench` builds the benchmark programs and the tool
# (with the pause off and as shipped) and prints the figures of
# bench/RESULTS.md. Not part of `make test`.
BENCH_PACKAGES := unzip

.PHONY: bench bench-deps

bench-deps: deps
	@missing=$$(for p in $(BENCH_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

bench: bench-deps
	JOBS=$(JOBS) bench/run-benchmarks.sh
