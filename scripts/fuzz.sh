#!/usr/bin/env bash
# Builds the file-reader fuzz targets with clang and libFuzzer from the table floor's library
# and runs each for the given number of seconds (default 20).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

ensure_packages $BUILD_PACKAGES $FUZZ_PACKAGES
seconds=${1:-20}
out=build/fuzz
mkdir -p "$out"

# The fuzz targets link the table floor's own library, every file instrumented.
CXX=clang++ cmake -S . -B "$out" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXOREL_FUZZ=ON \
    -DVEXOREL_TESTS=OFF -DVEXOREL_WERROR=ON \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$out" --target fuzz_measurementfile fuzz_bulletfile -j "$(jobs)"

for target in measurementfile bulletfile; do
    corpus="$out/corpus_$target"
    mkdir -p "$corpus"
    printf '1\r\n287\r\n22,5\r\n0,547\r\nJSB\r\n0,35\r\n' > "$corpus/seed"
    echo "fuzzing the $target reader for ${seconds}s"
    log="$out/fuzz_$target.log"
    if ! "$out/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
        -artifact_prefix="$out/" -print_final_stats=1 "$corpus" > "$log" 2>&1; then
        tail -n 60 "$log"
        echo "fuzz_$target found a failure; the input is in $out/"
        exit 1
    fi
    grep -E "stat::number_of_executed_units" "$log"
done
