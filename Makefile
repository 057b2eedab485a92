# Convenience targets over CMake. `make demo` and `make test` are the README's quick start.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: all demo test bench clean

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

clean:
	rm -rf $(BUILD)
