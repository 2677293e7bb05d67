#!/usr/bin/env bash
# Builds the file-reader fuzz targets with clang and libFuzzer from the runtime and table floors
# and runs each for the given number of seconds (default 20).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

ensure_packages $FUZZ_PACKAGES
seconds=${1:-20}
out=build/fuzz
mkdir -p "$out"

# The readers and everything below them: the runtime and table floors.
core="src/runtime/*.cpp src/table/*.cpp"
flags="-std=c++20 -g -O1 -Wall -Wextra -Werror -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -Isrc -pthread"

for target in measurementfile bulletfile; do
    # shellcheck disable=SC2086
    clang++ $flags $core "tests/fuzz/fuzz_$target.cpp" -o "$out/fuzz_$target"
    corpus="$out/corpus_$target"
    mkdir -p "$corpus"
    printf '1\r\n287\r\n22,5\r\n0,547\r\nJSB\r\n0,35\r\n' > "$corpus/seed"
    echo "fuzzing the $target reader for ${seconds}s"
    log="$out/fuzz_$target.log"
    if ! "$out/fuzz_$target" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
        -artifact_prefix="$out/" -print_final_stats=1 "$corpus" > "$log" 2>&1; then
        tail -n 60 "$log"
        echo "fuzz_$target found a failure; the input is in $out/"
        exit 1
    fi
    grep -E "stat::number_of_executed_units" "$log"
done
