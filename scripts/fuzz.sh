#!/usr/bin/env bash
# Builds the fuzz targets (the measurement-file, bullet-file and series readers, the import
# readers one by one and behind their format test, the FIT reader, the session and load test
# files, and the terminal with its escape-sequence parsers) with clang and libFuzzer in one build, so the
# core compiles once for all of them, and runs each for the given number of seconds (default
# 20), growing a corpus kept in build/fuzz.
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
targets="measurementfile bulletfile externalseries labradar garmin magnetospeed plainlist importfile fit sessionfile loadtestfile terminal"

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
    fit)
        fit_seeds "$corpus"
        ;;
    sessionfile)
        session_seeds "$corpus"
        ;;
    loadtestfile)
        loadtest_seeds "$corpus"
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
        # Lines of nothing but byte-order marks, which once cost time by the square of their
        # length.
        { printf 'V (m/s)\r\n'; for _ in 1 2 3 4; do printf '\357\273\277%.0s' $(seq 21000); printf '\r\n'; done; printf '28\357\273\2775\r\n'; } \
            > "$corpus/seed_${format}_marks"
        ;;
    esac
}

# Xero FIT files as tests/support/fitwriter.cpp writes them: a session of three shots with
# device info (14-byte header with its CRC), and one with a 12-byte header, big-endian
# definitions, developer fields and a compressed timestamp.
fit_seeds() {
    local corpus=$1
    {
        printf '\016\040\225\122\244\000\000\000\056\106\111\124\144\000\100\000\000\000\000\005\000\001\000\001'
        printf '\002\204\002\002\204\003\004\214\004\004\206\000\066\001\000\060\021\024\152\012\316\300\115\312'
        printf '\100\101\000\000\027\000\003\375\004\206\005\002\204\033\010\007\001\300\115\312\100\316\004\130'
        printf '\105\122\117\061\103\000\000\102\000\000\203\001\007\375\004\206\000\004\206\001\004\206\002\004'
        printf '\206\003\002\204\004\001\000\005\004\206\002\300\115\312\100\050\013\004\000\117\056\004\000\274'
        printf '\034\004\000\003\000\000\010\007\000\000\103\000\000\204\001\003\375\004\206\000\004\206\001\002'
        printf '\204\003\324\115\312\100\050\013\004\000\001\000\003\333\115\312\100\257\014\004\000\002\000\003'
        printf '\342\115\312\100\066\016\004\000\003\000\251\166'
    } > "$corpus/seed_session"
    {
        printf '\014\040\225\122\112\000\000\000\056\106\111\124\140\000\001\000\000\002\000\001\000\001\002\204'
        printf '\001\000\002\000\000\066\000\001\335\335\141\000\001\001\204\003\375\004\206\000\004\206\001\002'
        printf '\204\001\000\003\000\001\073\232\312\036\000\004\014\257\000\001\335\335\335\102\000\000\204\001'
        printf '\002\000\004\206\001\002\204\302\260\014\004\000\002\000\276\241'
    } > "$corpus/seed_big_endian"
}

# A session with every detail, an unknown member and odd texts (docs/session-format.md); an
# empty one; one whose note is far longer than any text may be.
session_seeds() {
    local corpus=$1
    printf '{\n  "format": "vexorel-session",\n  "version": 1,\n  "string": {\n    "title": "308 Win",\n    "dateTime": "2024-05-11T09:40:00+02:00",\n    "charge": {"value": "44.5", "unit": "gr"},\n    "length": {"value": "2.800", "unit": "in"},\n    "notes": "calm\\nwindy",\n    "weather": {"wind": [3, 4.5, null]}\n  },\n  "shotFields": ["N","V","E","m","Bullet","dV","time","excluded","flags","note","recorded","recordedUnit"],\n  "shots": [\n    ["1","855","3965","10,886","SMK","0,29","2024-05-11T09:41:02+02:00",false,"cold bore","","2804.0","ft/s"],\n    ["2","850,5","","","\\u0000\\r","-0,29","",true,"flyer","gust","",""],\n    ["","","","","","","",false,"","","",""]\n  ],\n  "loadBook": {"id": 7}\n}\n' > "$corpus/seed"
    printf '{"format":"vexorel-session","version":1,"shots":[]}' > "$corpus/seed_empty"
    { printf '{"format":"vexorel-session","version":1,"shots":[["1","287","","","","","",false,"","'; repeat n 70000; printf '","",""]]}'; } > "$corpus/seed_giant"
}

# A test of two strings with every member, comparisons and unknown members; an empty one; one
# whose value is far longer than any text may be.
loadtest_seeds() {
    local corpus=$1
    local shot='["1","855","3965","10,886","SMK","0,29","2024-05-11T09:41:02+02:00",false,"cold bore","","2804.0","ft/s"]'
    printf '{\n  "format": "vexorel-loadtest",\n  "version": 1,\n  "title": "N140",\n  "variable": {"kind": "length", "name": "Jump", "unit": "mm"},\n  "strings": [\n    {"value": "0.5", "string": {"title": "a", "length": {"value": "0.5", "unit": "mm"}, "w": [1]}, "shots": [%s, ["2","850","","","","","",true,"flyer","","",""]], "x": null},\n    {"value": "", "shots": []}\n  ],\n  "comparisons": [[0,1]],\n  "loadBook": {"id": 7}\n}\n' "$shot" > "$corpus/seed"
    printf '{"format":"vexorel-loadtest","version":1,"strings":[]}' > "$corpus/seed_empty"
    { printf '{"format":"vexorel-loadtest","version":1,"strings":[{"value":"'; repeat 1 70000; printf '","shots":[]}]}'; } > "$corpus/seed_giant"
}

for target in $targets; do
    corpus="$corpora/corpus_$target"
    mkdir -p "$corpus"
    seed "$corpus" "$target"
    dict=()
    case $target in
    terminal) dict=(-dict=tests/fuzz/terminal.dict) ;;
    fit) dict=(-dict=tests/fuzz/fit.dict) ;;
    sessionfile) dict=(-dict=tests/fuzz/session.dict) ;;
    loadtestfile) dict=(-dict=tests/fuzz/loadtest.dict) ;;
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
