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
  for prefix in "$build/wineprefix" "$build/wineprefix-x"; do
    WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
  done
}
trap stop_wine EXIT
start=$(date +%s)
# Host tools first, built natively: the packer draws the Windows character's PNG frames from the SVG.
host=${TVX_HOST_BUILD_DIR:-build-host}
case $host in /*) ;; *) host=$PWD/$host ;; esac
cmake -S . -B "$host" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTVX_BUILD_TESTS=OFF -DTVX_BUILD_BENCH=OFF \
  -DTVX_DESKTOP_FILES=OFF
cmake --build "$host" --target tvx_pack_character -j"$jobs"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTVX_HOST_TOOLS_DIR="$host/bin"
cmake --build "$build" -j"$jobs"
ctest --test-dir "$build" --output-on-failure --no-tests=error -j"$jobs"
echo "test-windows: cross build and Wine tests took $(($(date +%s) - start)) s"
