# Thin wrapper around CMake: `make`, `make test`, `make run`, `make test-asan`, `make install`.
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test run test-asan bench fuzz install package clean

all: build

deps:
	@scripts/install-deps.sh

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)

configure: $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: deps
	@$(MAKE) --no-print-directory build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

run: deps
	@$(MAKE) --no-print-directory build
	@scripts/install-user-entry.sh $(abspath $(BUILD_DIR))/orlim
	$(BUILD_DIR)/orlim

test-asan: deps
	cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORLIM_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_DIR) -j $(JOBS)
	QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS)

BENCH_RUNS ?= 30
bench: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DORLIM_BUILD_BENCH=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)
	$(BUILD_DIR)/bench/orlim_bench --benchmark_repetitions=20 --benchmark_report_aggregates_only=true
	$(BUILD_DIR)/bench/orlim_process_bench --runs $(BENCH_RUNS)

FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = LocalState:local-state LinkMessage:link-message LinkArguments:link-arguments
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORLIM_FUZZ=ON
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

PACKAGE_DIR ?= build-package
package: deps
	cmake -S . -B $(PACKAGE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DORLIM_BUILD_TESTS=OFF \
		-DORLIM_BUILD_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(PACKAGE_DIR) -j $(JOBS)
	cd $(PACKAGE_DIR) && cpack
	@ls $(PACKAGE_DIR)/orlim_*.deb

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR)
