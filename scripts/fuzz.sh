#!/usr/bin/env bash
# Builds the character file fuzzer with clang (libFuzzer, ASan, UBSan) and runs it for a bounded time.
# Not part of CI.   scripts/fuzz.sh [SECONDS] [extra libFuzzer flags...]   (default 600 s)
# Seeds: fuzz/corpus (hostile and valid files). Inputs found on the way: build-fuzz/corpus.
# Findings (crash-*, leak-*, timeout-*, oom-*): build-fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
bash scripts/install-deps.sh run fuzz

build=build-fuzz
nice -n 10 cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTVX_FUZZ=ON -DTVX_BUILD_TESTS=OFF -DTVX_BUILD_BENCH=OFF >/dev/null
nice -n 10 cmake --build "$build" -t fuzz_character_loader -j2
mkdir -p "$build/corpus" "$build/findings"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
exec nice -n 10 "$build/bin/fuzz_character_loader" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 \
  -max_len=65536 -dict=fuzz/character.dict -artifact_prefix="$build/findings/" -print_final_stats=1 "$@" \
  "$build/corpus" fuzz/corpus
