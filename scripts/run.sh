#!/usr/bin/env bash
# Installs what is missing, builds the Release program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

ensure_packages $BUILD_PACKAGES
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DVEXOREL_TESTS=OFF
cmake --build build/release --target vexorel -j "$(jobs)"
exec build/release/src/vexorel
