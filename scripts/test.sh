#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
#   scripts/test.sh              all tests (unit and end-to-end) in build-test/
#   scripts/test.sh --sanitize   unit tests under AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh run test

jobs=$(nproc)
if [ "${1:-}" = "--sanitize" ]; then
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTVX_SANITIZE=ON -DTVX_BUILD_BENCH=OFF
  cmake --build build-asan -j"$jobs"
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
  export LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  ctest --test-dir build-asan -L unit --output-on-failure -j"$jobs"
else
  cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build-test -j"$jobs"
  ctest --test-dir build-test --output-on-failure -j"$jobs"
fi
