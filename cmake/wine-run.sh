#!/bin/sh
# wine-run.sh PREFIX PROGRAM [ARGS...]: runs a cross-built Windows program under Wine in PREFIX.
# The prefix is made and booted once, by whichever test comes first; the others wait for it.
# When Wine cannot start, this fails loudly: a Windows test never passes by being skipped.
set -eu
prefix=$1
shift
export WINEPREFIX="$prefix" WINEDEBUG=-all
# No Mono or Gecko downloads, no desktop integration, and never a window on someone's display:
# a test that needs windows names its own X server (Xvfb) in TVX_WINE_DISPLAY.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY
if [ -n "${TVX_WINE_DISPLAY:-}" ]; then export DISPLAY="$TVX_WINE_DISPLAY"; fi

wine=$(command -v wine64 || command -v /usr/lib/wine/wine64 || true)
if [ -z "$wine" ]; then
  echo "wine-run.sh: wine64 is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi

wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)

mkdir -p "$(dirname "$prefix")"
(
  flock 9
  if [ ! -f "$prefix/.booted" ]; then
    rm -rf "$prefix"
    status=0
    "$wine" wineboot --init >"$prefix.boot.log" 2>&1 || status=$?
    # The registry reaches the disk only when the server ends; wait for it before checking.
    "$wineserver" -w || true
    if [ "$status" -ne 0 ] || [ ! -f "$prefix/system.reg" ]; then
      echo "wine-run.sh: Wine could not boot the prefix $prefix (status $status); its log:" >&2
      cat "$prefix.boot.log" >&2
      exit 1
    fi
    touch "$prefix/.booted"
  fi
) 9>"$prefix.lock"

exec "$wine" "$@"
