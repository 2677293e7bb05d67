#!/usr/bin/env bash
# Builds the Release program and simulator and packs them, with everything else the install
# rules name, into build/package/vexorel_<version>_<arch>.deb. Extra arguments go to the
# CMake configuration; VEXOREL_PACKAGE_BUILD names another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

build=${VEXOREL_PACKAGE_BUILD:-build/package}
ensure_packages $BUILD_PACKAGES $PACKAGE_PACKAGES
# cpack installs before it packs; without this the install would first build every target.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVEXOREL_TESTS=OFF -DVEXOREL_BENCHMARKS=OFF \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON "$@"
cmake --build "$build" --target vexorel chronolite-sim -j "$(jobs)"
rm -f "$build"/vexorel_*.deb
(cd "$build" && cpack -G DEB)
deb=$(echo "$build"/vexorel_*.deb)
echo "Install: sudo apt install ./$deb"
echo "Remove:  sudo apt remove vexorel"
