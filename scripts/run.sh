#!/usr/bin/env bash
# Installs what is missing, builds the Release program and starts it in the folder this
# script was called from, where the program looks for its bullet list (Bullets.vx!).
set -euo pipefail
start_dir=$PWD
cd "$(dirname "$0")/.."
. scripts/lib.sh

ensure_packages $BUILD_PACKAGES
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DVEXOREL_TESTS=OFF
cmake --build build/release --target vexorel -j "$(jobs)"
program=$PWD/build/release/src/app/vexorel
cd "$start_dir"
exec "$program"
