#!/usr/bin/env bash
# Cross-builds the Windows programs with mingw-w64 and runs their tests under Wine, in build-win/:
# the Windows layer's unit tests, the launcher and the drill end to end (own Xvfb, openbox and Wine
# prefix), the MSI's tables and the setup folder installed for real. The 32-bit build is compiled and
# packaged too; Debian's wine32 (i386) cannot be installed beside this machine's wine64, so its programs
# are not run (under a 64-bit-only Wine they would exit 0 having run nothing).
# Fails when Wine cannot start: these tests are never skipped.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh run windows

build=${TVX_WIN_BUILD_DIR:-build-win}
case $build in /*) ;; *) build=$PWD/$build ;; esac
# The host tools come from scripts/test.sh's build when it has them (as in CI), else from build-host/.
host=${TVX_HOST_BUILD_DIR:-}
if [ -z "$host" ]; then
  host=build-host
  [ -x build-test/bin/tvx_render_icon ] && [ -x build-test/bin/tvx_pack_character ] && host=build-test
fi
case $host in /*) ;; *) host=$PWD/$host ;; esac
jobs=$(nproc)
# Wine's servers outlive the tests by a few seconds; nothing of them is left running afterwards.
stop_wine() {
  local prefix
  for prefix in "$build/wineprefix" "$build/wineprefix-x" "$build/wineprefix-gui" "$build/wineprefix-gui-b"; do
    [ -d "$prefix" ] && WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
  done
}
trap stop_wine EXIT
start=$(date +%s)
# Host tools, built natively: the icon drawn at each size, the Windows character's PNG frames from the SVG.
if [ ! -x "$host/bin/tvx_render_icon" ] || [ ! -x "$host/bin/tvx_pack_character" ]; then
  cmake -S . -B "$host" -DCMAKE_BUILD_TYPE=Release -DTVX_BUILD_TESTS=OFF -DTVX_BUILD_BENCH=OFF -DTVX_DESKTOP_FILES=ON
  cmake --build "$host" -j"$jobs" --target tvx_render_icon tvx_pack_character
fi
# -O2 without debug info: -g doubles the cross build; -O3 trips a false -Wrestrict in GCC 12.
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DTVX_HOST_TOOLS_DIR="$host/bin"
cmake --build "$build" -j"$jobs"
ctest --test-dir "$build" --output-on-failure --no-tests=error -j"$jobs"

# 32-bit: built and packaged.
cmake -S . -B "$build-32" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  -DTVX_BUILD_TESTS=OFF -DTVX_HOST_TOOLS_DIR="$host/bin"
cmake --build "$build-32" -j"$jobs" --target TallyvoxNumberInstall Tallyvox-Number tvx_msi
python3 tests/win32/package/msi_tables.py --msi "$build-32/bin/Tallyvox-Number.msi" \
  --drill "$build-32/bin/Tallyvox-Number.exe" --character "$build-32/bin/PEEDY.acs" --version "$(sed -n \
  's/^project(TallyvoxNumber VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)" --arch x86
echo "test-windows: cross builds and Wine tests took $(($(date +%s) - start)) s"
