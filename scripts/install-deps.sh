#!/usr/bin/env bash
# Installs the system packages Tallyvox-Number needs, in five sets:
#   run      building and running the drill
#   test     what the tests add
#   package  what building the Debian package adds
#   windows  the Windows programs and packages: mingw-w64, Wine, wixl / msitools, the GUI test tools
#   fuzz     clang and libFuzzer, for scripts/fuzz.sh only
#   scripts/install-deps.sh [run] [test] [package] [windows] [fuzz]
#   (no set named: run, test and package)
# Idempotent: does nothing when all of them are present.
set -euo pipefail

RUN_PACKAGES=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev libqt6svg6 qt6-qpa-plugins libgl-dev
  qt6-translations-l10n libxcb1-dev libfontconfig-dev
  libespeak-ng-dev espeak-ng-data flite1-dev libpulse-dev
  # The character file's format, shared by the Linux and the Windows builds (header-only).
  nlohmann-json3-dev
  open-jtalk open-jtalk-mecab-naist-jdic hts-voice-nitech-jp-atr503-m001
  fonts-ipafont-gothic
)
PACKAGE_PACKAGES=(
  debhelper dpkg-dev lintian desktop-file-utils appstream
  # The package build runs the unit tests.
  libgtest-dev libgmock-dev dbus-daemon
)
TEST_PACKAGES=(
  git python3
  libgtest-dev libgmock-dev libbenchmark-dev clang-format clang-tidy
  xvfb xdotool x11-utils imagemagick pulseaudio pulseaudio-utils dbus-daemon openbox
  # The Windows layer is cross-built and its tests run under Wine.
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 googletest
  # One test builds the package, checks it and starts the drill from it.
  "${PACKAGE_PACKAGES[@]}"
)
WINDOWS_PACKAGES=(
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 googletest
  # The MSI is built with wixl and checked with msiinfo; the setup folder is zipped.
  wixl msitools zip
  # The Win32 programs' end-to-end tests under Wine: X server, window manager, clicks, screenshots.
  xvfb openbox xdotool x11-utils imagemagick fonts-ipafont-gothic python3
)

[ $# -gt 0 ] || set -- run test package
PACKAGES=()
for set_name in "$@"; do
  case "$set_name" in
    run) PACKAGES+=("${RUN_PACKAGES[@]}") ;;
    test) PACKAGES+=("${TEST_PACKAGES[@]}") ;;
    package) PACKAGES+=("${PACKAGE_PACKAGES[@]}") ;;
    windows) PACKAGES+=("${WINDOWS_PACKAGES[@]}") ;;
    # Only for scripts/fuzz.sh (never needed by CI): libFuzzer comes with clang's runtime.
    fuzz) PACKAGES+=(clang-14 libclang-rt-14-dev) ;;
    *)
      echo "install-deps: unknown set '$set_name' (run, test, package, windows, fuzz)" >&2
      exit 2
      ;;
  esac
done
# The Japanese voice lives in Debian's contrib section.
CONTRIB_PACKAGE=hts-voice-nitech-jp-atr503-m001
CONTRIB_FILE=/etc/apt/sources.list.d/tallyvox-contrib.sources

missing() {
  local p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
  done
}

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo

todo=$(missing | sort -u | tr "\n" " ")
[ -z "$todo" ] && exit 0

candidate() { apt-cache policy "$1" 2>/dev/null | awk '/Candidate:/ {print $2}'; }

# Writes a deb822 entry that repeats the machine's own Debian sources with the component contrib.
enable_contrib() {
  local tmp
  tmp=$(mktemp)
  # deb822 stanzas that carry "main".
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && [ "$f" != "$CONTRIB_FILE" ] || continue
    awk 'BEGIN{RS=""; ORS="\n\n"}
         /(^|\n)Components:([^\n]*[ \t])?main([ \t\n]|$)/ && /(^|\n)Types:([^\n]*[ \t])?deb([ \t\n]|$)/ {
           out=""
           n=split($0, lines, "\n")
           for (i=1; i<=n; i++) {
             if (lines[i] ~ /^#/) continue
             if (lines[i] ~ /^Components:/) lines[i]="Components: contrib"
             if (lines[i] ~ /^Types:/) lines[i]="Types: deb"
             out = out lines[i] "\n"
           }
           printf "%s\n", out
         }' "$f" >>"$tmp"
  done
  # One-line entries.
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    awk '$1=="deb" && / main( |$)/ {
           uri=""; suite=""; opts=""
           i=2
           if ($2 ~ /^\[/) { while ($i !~ /\]$/) { opts=opts $i " "; i++ } opts=opts $i; i++ }
           uri=$i; suite=$(i+1)
           printf "Types: deb\nURIs: %s\nSuites: %s\nComponents: contrib\n", uri, suite
           if (opts ~ /signed-by=/) { s=opts; sub(/.*signed-by=/, "", s); sub(/[] ].*/, "", s); printf "Signed-By: %s\n", s }
           printf "\n"
         }' "$f" >>"$tmp"
  done
  if [ ! -s "$tmp" ]; then
    echo "install-deps: found no Debian apt source with the main component to copy for contrib" >&2
    rm -f "$tmp"
    exit 1
  fi
  $SUDO install -m 0644 "$tmp" "$CONTRIB_FILE"
  rm -f "$tmp"
}

export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
case " $todo " in
  *" $CONTRIB_PACKAGE "*)
    c=$(candidate "$CONTRIB_PACKAGE")
    if [ -z "$c" ] || [ "$c" = "(none)" ]; then
      enable_contrib
      $SUDO apt-get update -qq
    fi
    ;;
esac
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $todo
