#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy's checks, every warning an error) over the toolkit-free core.
#   scripts/tidy.sh [BUILD_DIR]   a configured build's compile_commands.json (default build-test)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-test}
[ -f "$build/compile_commands.json" ] || cmake -S . -B "$build" >/dev/null
# Every translation unit of the build under src/core/ (run-clang-tidy takes a pattern).
run-clang-tidy -quiet -p "$build" -j"$(nproc)" '/src/core/.*\.cpp$' </dev/null
