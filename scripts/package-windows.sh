#!/usr/bin/env bash
# Builds the Windows setup folders in dist/windows/: the launcher TallyvoxNumberInstall.exe and the
# drill's package Tallyvox-Number.msi side by side, and a zip of each.
#   dist/windows/        64-bit (x64): most Windows machines
#   dist/windows/x86/    32-bit (i686)
# The icon and the Windows character file are drawn by host tools built in build-host/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh run windows

version=$(sed -n 's/^project(TallyvoxNumber VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
host=${TVX_HOST_BUILD_DIR:-build-host}
case $host in /*) ;; *) host=$PWD/$host ;; esac
cmake -S . -B "$host" -DCMAKE_BUILD_TYPE=Release -DTVX_BUILD_TESTS=OFF -DTVX_BUILD_BENCH=OFF -DTVX_DESKTOP_FILES=ON
cmake --build "$host" -j"$(nproc)" --target tvx_render_icon tvx_pack_character

out=$PWD/dist/windows
rm -rf "$out"
for arch in x64 x86; do
  case $arch in
    x64) toolchain=cmake/mingw-w64-x86_64.cmake build=build-win-release dest=$out ;;
    x86) toolchain=cmake/mingw-w64-i686.cmake build=build-win32-release dest=$out/x86 ;;
  esac
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=$toolchain -DCMAKE_BUILD_TYPE=Release -DTVX_BUILD_TESTS=OFF \
    -DTVX_HOST_TOOLS_DIR="$host/bin"
  cmake --build "$build" -j"$(nproc)" --target TallyvoxNumberInstall tvx_msi
  mkdir -p "$dest"
  cp "$build/bin/TallyvoxNumberInstall.exe" "$build/bin/Tallyvox-Number.msi" "$dest/"
  (cd "$dest" && zip -q -X "Tallyvox-Number-$version-windows-$arch.zip" TallyvoxNumberInstall.exe Tallyvox-Number.msi)
done
ls -l "$out" "$out/x86"
