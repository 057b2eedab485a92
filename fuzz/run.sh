#!/bin/sh
# Builds the fuzz target with clang (AddressSanitizer, UndefinedBehaviorSanitizer) and runs it
# for SECONDS (default 60), seeded with the example log and the test fixtures. Any input that
# makes it fail is left in build-fuzz/ as crash-*; copy it to tests/fixtures/fuzz/ so that the
# regression test replays it forever.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTATSSTATS_FUZZ=ON \
    -DSTATSSTATS_WERROR=ON >/dev/null
cmake --build build-fuzz --target fuzz_statslog --parallel "$(nproc)"
mkdir -p build-fuzz/corpus build-fuzz/seeds
head -c 16384 examples/statslog.csv > build-fuzz/seeds/example_head.csv
cp tests/fixtures/summary_log.csv tests/fixtures/fuzz/* build-fuzz/seeds/ 2>/dev/null || true
cd build-fuzz
./fuzz_statslog -max_total_time="$seconds" -max_len=16384 -rss_limit_mb=2048 -timeout=10 \
    -dict=../fuzz/statslog.dict -print_final_stats=1 corpus seeds
