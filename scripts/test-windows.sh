#!/usr/bin/env bash
# Cross-builds the Windows layer with mingw-w64 and runs its tests under Wine, in build-win/.
# Fails when Wine cannot start: these tests are never skipped.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

build=${TVX_WIN_BUILD_DIR:-build-win}
case $build in /*) ;; *) build=$PWD/$build ;; esac
jobs=$(nproc)
# Wine's server outlives the tests by a few seconds; nothing of it is left running afterwards.
stop_wine() {
  local prefix
  # wineprefix: the unit tests' (cmake/wine-run.sh); wineprefix-gui: the windows' end-to-end tests.
  for prefix in "$build/wineprefix" "$build/wineprefix-gui"; do
    WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
  done
}
trap stop_wine EXIT
start=$(date +%s)
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$jobs"
ctest --test-dir "$build" --output-on-failure --no-tests=error -j"$jobs"
echo "test-windows: cross build and Wine tests took $(($(date +%s) - start)) s"
