#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them; the start-up figures need an X server,
# so they run under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

ensure_packages $BUILD_PACKAGES $BENCH_PACKAGES
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DVEXOREL_TESTS=OFF -DVEXOREL_BENCHMARKS=ON \
    -DVEXOREL_WERROR=ON
cmake --build build/release -j "$(jobs)"
# The windows start with the default view and leave the user's own preferences alone.
XDG_CONFIG_HOME=$(mktemp -d)
export XDG_CONFIG_HOME
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
# Only the benchmark executables: their build folders hold *_autogen folders of the same prefix.
for b in $(find build/release/bench -type f -executable -name 'bench_*' | sort); do "$b"; done
# Median start-up time over several runs and the idle resident memory, beside a bare Qt window.
xvfb-run -a -s "-screen 0 1280x1024x24" build/release/bench/startup_probe \
    build/release/src/app/vexorel build/release/bench/bare_window 15
# The same for a bare window with one menu and one label: what text alone costs over the
# empty window.
xvfb-run -a -s "-screen 0 1280x1024x24" build/release/bench/startup_probe \
    build/release/bench/text_window build/release/bench/bare_window 15
