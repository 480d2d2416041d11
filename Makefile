# SPDX-License-Identifier: GPL-3.0-or-later
# Thin wrapper around CMake: `make`, `make test`, `make run`, `make test-asan`, `make install`.
# The project's own builds use Ninja, and its tests and CI treat warnings as
# errors; the build a user runs to use Orlim does not, so a newer compiler or
# Qt never stops it. A plain `cmake -S . -B build && cmake --build build` works
# as well, with any generator.
BUILD_DIR ?= build
# `make run` builds in a folder of its own, without warnings as errors, so
# that `make run` and `make test` in either order each build once.
RUN_DIR ?= build-run
ASAN_DIR ?= build-asan
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=
OWN_FLAGS = -DORLIM_WERROR=ON $(CCACHE_FLAGS)
JOBS ?= $(shell nproc)
# Builds go through ccache where it is installed (the tests' dependencies
# include it), so CI and repeated builds compile only what changed; paths are
# taken relative to the sources, so another clone hits the same cache.
ifneq ($(shell command -v ccache),)
CCACHE_FLAGS = -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
endif

.PHONY: all deps test-deps configure build test run test-asan bench fuzz install package clean

all: deps
	@$(MAKE) --no-print-directory build

# What building and running need; the tests, benchmarks and CI add more.
deps:
	@scripts/install-deps.sh

test-deps:
	@scripts/install-deps.sh test

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)

configure: $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: test-deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(OWN_FLAGS) $(CMAKE_FLAGS)
	@$(MAKE) --no-print-directory build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

run: deps
	cmake -S . -B $(RUN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DORLIM_WERROR=OFF \
		-DORLIM_BUILD_TESTS=OFF $(CCACHE_FLAGS) $(CMAKE_FLAGS)
	cmake --build $(RUN_DIR) -j $(JOBS)
	@scripts/install-user-entry.sh $(abspath $(RUN_DIR))/orlim
	$(RUN_DIR)/orlim

test-asan: test-deps
	cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORLIM_SANITIZE=ON $(OWN_FLAGS) $(CMAKE_FLAGS)
	cmake --build $(ASAN_DIR) -j $(JOBS)
	QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS)

BENCH_RUNS ?= 30
BENCH_REPETITIONS ?= 20
bench: test-deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DORLIM_BUILD_BENCH=ON $(OWN_FLAGS) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)
	$(BUILD_DIR)/bench/orlim_bench --benchmark_repetitions=$(BENCH_REPETITIONS) --benchmark_report_aggregates_only=true
	$(BUILD_DIR)/bench/orlim_process_bench --runs $(BENCH_RUNS)

FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = LocalState:local-state LinkMessage:link-message LinkArguments:link-arguments \
	ProfilesIni:profiles-ini WrappedLink:wrapped-link
fuzz: test-deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORLIM_FUZZ=ON $(OWN_FLAGS)
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	@for pair in $(FUZZ_TARGETS); do \
		target=$${pair%%:*}; corpus=$${pair##*:}; log=$(FUZZ_DIR)/fuzz$$target.log; \
		mkdir -p $(FUZZ_DIR)/corpus/$$corpus; \
		echo "== fuzz$$target for $(FUZZ_SECONDS) s"; \
		UBSAN_OPTIONS=halt_on_error=1 $(FUZZ_DIR)/tests/fuzz/fuzz$$target -max_total_time=$(FUZZ_SECONDS) \
			-max_len=65536 -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 \
			-artifact_prefix=$(FUZZ_DIR)/ $(FUZZ_DIR)/corpus/$$corpus tests/fuzz/corpus/$$corpus > $$log 2>&1; \
		status=$$?; \
		grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss_mb)' $$log; \
		if [ $$status -ne 0 ]; then tail -40 $$log; exit 1; fi; \
	done

install: build
	cmake --install $(BUILD_DIR)

# The package is built as a distribution builds: CMake's default generator,
# and whatever CFLAGS/CXXFLAGS the environment gives.
PACKAGE_DIR ?= build-package
package: deps
	cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=Release -DORLIM_BUILD_TESTS=OFF \
		-DORLIM_BUILD_BENCH=OFF -DORLIM_DEBIAN_DOCS=ON $(OWN_FLAGS) $(CMAKE_FLAGS)
	cmake --build $(PACKAGE_DIR) -j $(JOBS)
	cd $(PACKAGE_DIR) && cpack
	@ls $(PACKAGE_DIR)/orlim_*.deb

clean:
	rm -rf $(BUILD_DIR) $(RUN_DIR) $(ASAN_DIR)
