#!/usr/bin/env bash
# Installs what is missing, builds the Release program and starts it as the desktop menu
# does: through vexorel-launcher, from an install staged in build/release/stage, so it works
# in ~/Vexorel, made on the first run with the starter bullet list. Arguments are files to
# open, as for the program; a relative one names a file of the folder this was called from.
set -euo pipefail
start_dir=$PWD
cd "$(dirname "$0")/.."
. scripts/lib.sh

ensure_packages $BUILD_PACKAGES
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DVEXOREL_TESTS=OFF
# Everything the install holds.
cmake --build build/release --target vexorel chronolite-sim -j "$(jobs)"
stage=$PWD/build/release/stage
cmake --install build/release --prefix "$stage" >/dev/null
cd "$start_dir"
exec "$stage/bin/vexorel-launcher" "$@"
