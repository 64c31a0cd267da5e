#!/usr/bin/env bash
# Sets up, builds and runs every test: the C++ tests (plain, then under
# AddressSanitizer + UndefinedBehaviorSanitizer with LeakSanitizer), a short
# run of each fuzz target, and the Python tests against the installed package.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc)

scripts/setup.sh

echo "== C++ tests"
cmake -S . -B build/tests -G Ninja -DVORN_BUILD_TESTS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/tests -j "$jobs"
build/tests/vorn_tests --gtest_brief=1

echo "== C++ tests under ASan + UBSan"
cmake -S . -B build/asan -G Ninja -DVORN_BUILD_TESTS=ON -DVORN_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 build/asan/vorn_tests --gtest_brief=1

echo "== Fuzz targets, a short run each"
scripts/fuzz.sh 60

echo "== Python tests"
scripts/build_python.sh
cd /tmp && python3 -m pytest -q -p no:cacheprovider "$root/tests/python"
