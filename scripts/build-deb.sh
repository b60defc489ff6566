#!/usr/bin/env bash
# Builds the binary package tallyvox-number_*.deb from this source tree into OUT_DIR.
#   scripts/build-deb.sh [--no-check] OUT_DIR
# The build runs in a copy (OUT_DIR/build), as dpkg-buildpackage writes beside the source folder.
# --no-check skips the unit tests (for callers that have just run them).
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
check=yes
if [ "${1:-}" = "--no-check" ]; then
  check=no
  shift
fi
[ $# -eq 1 ] || { echo "usage: scripts/build-deb.sh [--no-check] OUT_DIR" >&2; exit 2; }
mkdir -p "$1"
out="$(cd "$1" && pwd)"
version=$(dpkg-parsechangelog -l "$src/debian/changelog" -S Version)
# A fixed folder name lets a compiler cache recognise the sources from one build to the next.
work="$out/build/tallyvox-number-$version"
rm -rf "$out/build"
mkdir -p "$work"
tar -C "$src" --exclude='./build*' --exclude=./dist --exclude=./.git --exclude='./obj-*' \
  --exclude=./debian/.debhelper --exclude=./debian/tallyvox-number -cf - . | tar -C "$work" -xf -

opts="${DEB_BUILD_OPTIONS:-}"
[ "$check" = yes ] || opts="$opts nocheck"
profiles=()
[ "$check" = yes ] || profiles=(-Pnocheck)
(cd "$work" && DEB_BUILD_OPTIONS="$opts" dpkg-buildpackage -b -us -uc -jauto "${profiles[@]}")

rm -f "$out"/tallyvox-number_*.deb
mv "$out"/build/tallyvox-number_"$version"_*.deb "$out"/
rm -rf "$out/build"
ls "$out"/tallyvox-number_"$version"_*.deb
