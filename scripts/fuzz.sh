#!/usr/bin/env bash
# Builds the fuzz targets (the measurement-file, bullet-file and series readers, the import
# readers one by one and behind their format test, and the terminal with its escape-sequence
# parsers) with clang and libFuzzer in one build, so the core compiles once for all of them,
# and runs each for the given number of seconds (default 20), growing a corpus kept in
# build/fuzz.
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
targets="measurementfile bulletfile externalseries labradar garmin magnetospeed plainlist importfile terminal"

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
    labradar | garmin | magnetospeed | plainlist)
        import_seeds "$corpus" "$target"
        ;;
    importfile)
        for format in labradar garmin magnetospeed plainlist; do import_seeds "$corpus" $format; done
        ;;
    *)
        printf '1\r\n287\r\n22,5\r\n0,547\r\nJSB\r\n0,35\r\n' > "$corpus/seed"
        { printf '1\r\n'; repeat 9 4000; printf '\r\n22,5\r\n0,547\r\n'; repeat J 4000; printf '\r\n0,35\r\n'; } \
            > "$corpus/seed_long"
        { printf '1\r\n287\r\n'; repeat 7 70000; printf '\r\n0,547\r\nJSB\r\n0,35\r\n'; } > "$corpus/seed_giant"
        ;;
    esac
}

# A good file of each import format, and one whose shot line is far too long.
import_seeds() {
    local corpus=$1 format=$2
    case $format in
    labradar)
        printf 'sep=;\r\nDevice ID;LBR-0012345;;\0\0  \r\n\0Series No;0007;;\r\n\r\nUnits velocity;fps;;\r\nUnits weight;grain;;\r\nStats - Average;2801.50;fps;\r\n\r\nShot ID;V0;V10.00;Ke0;Proj. Weight;Date;Time\r\n0001;2804.00;2760.11;2926.55;168.00;2024-05-11;09:41:02;\r\n0002;2780.40;2737.02;2877.32;168.00;2024-05-11;09:41:40;\r\n' > "$corpus/seed_$format"
        printf 'sep=;\r\nTime (s);Vel (fps);Dist (yd);SNR\r\n0.0012;2804.1;1.1;38.2\r\n0.0023;-;2.2;37.9\r\n' > "$corpus/seed_${format}_track"
        { printf 'sep=,\r\nUnits velocity,m/s,,\r\nShot ID,V0\r\n0001,'; repeat 8 70000; printf ',\r\n'; } > "$corpus/seed_${format}_giant"
        ;;
    garmin)
        printf '\357\273\277"308 Win 168 SMK"\n#,SPEED (FPS),AVG (FPS),KE (FT-LB),PF,TIME,CLEAN BORE,COLD BORE,SHOT NOTES\n1, 2804.0, 2.5, 2932.6, 471.1, 9:41:02 AM, , , "" \n2, 2780.4, -21.1, 2883.4, 467.1, 9:41:40 AM, , , "" \n-,,,,,,\nAVERAGE SPEED,2792.2,,,,,,,\nGewicht des Projektils (GRAN),"158,0"\n\357\273\277' > "$corpus/seed_$format"
        { printf 'T\r\n#,Tempo (MPS)\r\n1,"'; repeat 4 70000; printf ',8"\r\n'; } > "$corpus/seed_${format}_giant"
        ;;
    magnetospeed)
        printf 'Series,12, Shots:, 2\r\nMin, 801, Max, 812  \r\nAvg, 806 ,S-D, 5.6  \r\nES ,  11\r\n\r\nSeries,Shot,Speed   \r\n12, 1,  801, m/s    \r\n12, 2,  812, m/s    \r\n----,----,----,---- \r\nSeries,13, Shots:, 1\r\nSeries,Shot,Speed\r\n13, 1, 2650, ft/s\r\n----,----,----,----\r\n' > "$corpus/seed_$format"
        { printf 'Series,1, Shots:, 1\r\nSeries,Shot,Speed\r\n1, 1, '; repeat 9 70000; printf ', m/s\r\n'; } > "$corpus/seed_${format}_giant"
        ;;
    plainlist)
        printf 'N;V (ft/s);Note\r\n1;2804,5;cold\r\n2;2780.4;\r\n;;\r\n' > "$corpus/seed_$format"
        printf '285.5\n290\n 287,25 \n\n' > "$corpus/seed_${format}_bare"
        { printf 'V\r\n'; repeat 3 70000; printf '\r\n'; } > "$corpus/seed_${format}_giant"
        ;;
    esac
}

for target in $targets; do
    corpus="$corpora/corpus_$target"
    mkdir -p "$corpus"
    seed "$corpus" "$target"
    dict=()
    case $target in
    terminal) dict=(-dict=tests/fuzz/terminal.dict) ;;
    labradar | garmin | magnetospeed | plainlist | importfile) dict=(-dict=tests/fuzz/imports.dict) ;;
    esac
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
