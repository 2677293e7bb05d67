#!/usr/bin/env bash
# Builds the fuzz targets (the measurement-file, bullet-file and series readers, and the
# terminal with its escape-sequence parsers) with clang and libFuzzer in one build, so the
# core compiles once for all of them, and runs each for the given number of seconds
# (default 20), growing a corpus kept in build/fuzz.
#
# With --repeatable, as the test command runs it: a fixed count of inputs from a fixed seed
# and the seed inputs only, so a run that passed here passes on every machine; finding new
# faults is the timed runs' job.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

ensure_packages $BUILD_PACKAGES $FUZZ_PACKAGES
out=build/fuzz
mkdir -p "$out"
if [ "${1:-}" = --repeatable ]; then
    limit=(-seed=1 -runs=20000)
    corpora=$(mktemp -d)
    trap 'rm -rf "$corpora"' EXIT
else
    limit=(-max_total_time="${1:-20}")
    corpora=$out
fi
targets="measurementfile bulletfile externalseries terminal"

# Every file instrumented; only the fuzz targets add the fuzzer's main().
CXX=clang++ cmake -S . -B "$out" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXOREL_FUZZ=ON \
    -DVEXOREL_TESTS=OFF -DVEXOREL_WERROR=ON \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$out" --target $(printf 'fuzz_%s ' $targets) -j "$(jobs)"

# One line of n copies of a character.
repeat() { head -c "$2" /dev/zero | tr '\0' "$1"; }

# The file readers start from a good record and from lines far longer than any real one,
# beyond the 64 KiB a line may have; the terminal from requests and huge counts.
seed() {
    local corpus=$1 target=$2
    case $target in
    terminal)
        printf '\001\003h1\r\nh2\r\n  1   3\033[2147483647C05\r\n\033[6n\033[c2 298\r\n' > "$corpus/seed"
        printf '\000\000\033[12;40H\033[0;7;31m\033[2J\033#8\033OA\033YAB\033[?1;2c\r\n' > "$corpus/seed_codes"
        ;;
    *)
        printf '1\r\n287\r\n22,5\r\n0,547\r\nJSB\r\n0,35\r\n' > "$corpus/seed"
        { printf '1\r\n'; repeat 9 4000; printf '\r\n22,5\r\n0,547\r\n'; repeat J 4000; printf '\r\n0,35\r\n'; } \
            > "$corpus/seed_long"
        { printf '1\r\n287\r\n'; repeat 7 70000; printf '\r\n0,547\r\nJSB\r\n0,35\r\n'; } > "$corpus/seed_giant"
        ;;
    esac
}

for target in $targets; do
    corpus="$corpora/corpus_$target"
    mkdir -p "$corpus"
    seed "$corpus" "$target"
    dict=()
    [ "$target" = terminal ] && dict=(-dict=tests/fuzz/terminal.dict)
    echo "fuzzing fuzz_$target (${limit[*]})"
    log="$out/fuzz_$target.log"
    if ! "$out/tests/fuzz/fuzz_$target" "${dict[@]}" "${limit[@]}" -max_len=131072 \
        -rss_limit_mb=2048 -artifact_prefix="$out/" -print_final_stats=1 "$corpus" > "$log" 2>&1; then
        tail -n 60 "$log"
        echo "fuzz_$target found a failure; the input is in $out/"
        exit 1
    fi
    grep -E "stat::number_of_executed_units" "$log"
done
