#!/usr/bin/env bash
# Installs what building and packaging need, builds the Debian package into dist/ (running the unit
# tests on the way) and checks it with lintian. Then: apt install ./dist/tallyvox-number_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh run package
bash scripts/build-deb.sh dist
lintian --fail-on error,warning dist/tallyvox-number_*.deb
echo "Built $(ls dist/tallyvox-number_*.deb); install it with: apt install ./dist/$(cd dist && ls tallyvox-number_*.deb)"
