#!/usr/bin/env bash
# scripts/windows-character-screenshot.sh OUT.png: the Windows parrot and its balloon under Wine
# (Xvfb + openbox, the Japanese font replacements), from a build of scripts/test-windows.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:?usage: $0 OUT.png}")
build=${TVX_WIN_BUILD_DIR:-build-win}
case $build in /*) ;; *) build=$PWD/$build ;; esac
cmake --build "$build" --target tvx_win32_character_demo tvx_character_file
prefix=$build/wineprefix-shot
display=:$((70 + RANDOM % 20))
Xvfb "$display" -screen 0 800x480x24 -nolisten tcp &
xvfb=$!
cleanup() {
  WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
  kill "$openbox" "$xvfb" 2>/dev/null || true
}
openbox=""
trap cleanup EXIT
sleep 1
DISPLAY=$display openbox &
openbox=$!
reg=$build/font-replacements.reg
python3 - "$reg" <<'PY'
import sys
faces = {"ＭＳ ゴシック": "IPAGothic", "MS Gothic": "IPAGothic", "MS UI Gothic": "IPAGothic",
         "ＭＳ Ｐゴシック": "IPAPGothic", "MS PGothic": "IPAPGothic"}
text = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"
text += "".join(f'"{k}"="{v}"\r\n' for k, v in faces.items())
open(sys.argv[1], "w", encoding="utf-16").write(text)
PY
export TVX_WINE_DISPLAY=$display
cmake/wine-run.sh "$prefix" regedit /S "$(winepath -w "$reg" 2>/dev/null || echo "Z:${reg//\//\\}")"
cmake/wine-run.sh "$prefix" "$build/tests/tvx_win32_character_demo.exe" "$build/bin/PEEDY.acs" 8 &
demo=$!
sleep 5
DISPLAY=$display import -window root "$out"
wait "$demo"
echo "screenshot: $out"
