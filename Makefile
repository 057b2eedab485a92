# Convenience targets over CMake. `make demo` and `make test` are the README's quick start.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: all demo test bench benchmarks clean

all:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build $(BUILD) --parallel $(JOBS)

# Summarises the example log; the stand-in post-analysis in examples/ is found on PATH.
demo: all
	cd examples && PATH="$(CURDIR)/examples:$$PATH" ../$(BUILD)/statsstats statslog.csv

test:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DSTATSSTATS_TESTS=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD) --parallel $(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure --parallel $(JOBS)

bench:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DSTATSSTATS_BENCH=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD) --parallel $(JOBS)
	$(BUILD)/bench/statsstats_bench

# The whole run against the baseline reader, pandas and Miller, on 100,000 and 400,000 lines.
benchmarks:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DSTATSSTATS_BENCH=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD) --parallel $(JOBS)
	python3 bench/compare.py --build $(BUILD)

clean:
	rm -rf $(BUILD)
