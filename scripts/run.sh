#!/usr/bin/env bash
# Installs what building and running need (no test tools), builds the drill (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTVX_BUILD_TESTS=OFF -DTVX_BUILD_BENCH=OFF
cmake --build build -j"$(nproc)"
exec build/bin/Tallyvox-Number
