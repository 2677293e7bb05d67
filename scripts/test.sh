#!/usr/bin/env bash
# Installs what is missing, builds once with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test from that build; checks the Release package and what it installs.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

ensure_packages $BUILD_PACKAGES $TEST_PACKAGES $FUZZ_PACKAGES $PRINT_PACKAGES $PACKAGE_PACKAGES \
    $PACKAGE_CHECK_PACKAGES

# The print tests send real jobs to a cups-pdf queue made default here.
./scripts/cups-queue.sh
export VEXOREL_CUPS_QUEUE=1

# Each folder includes only the floors below it.
./scripts/check-layers.sh

# The fuzz targets get a short, repeatable run first, so ctest's summary closes the output.
./scripts/fuzz.sh --repeatable

build=build/asan
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DVEXOREL_SANITIZE=ON -DVEXOREL_WERROR=ON \
    -DVEXOREL_TESTS=ON -DVEXOREL_BENCHMARKS=OFF
cmake --build "$build" -j "$(jobs)"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"

# The Release package and what it installs; the file type is looked up by a test of this build.
./scripts/check-package.sh "$build/tests/packaging/vexorel_mimetype_tests"

# A hung test fails on its own instead of holding CI until its deadline.
ctest --test-dir "$build" --output-on-failure --timeout 300 -j "$(jobs)"
