#!/usr/bin/env bash
# Before the Wine tests: a fresh prefix and a 1024 x 768 virtual display.
set -euo pipefail
: "${WINE_TEST_ROOT:?}"
rm -rf "$WINE_TEST_ROOT"
mkdir -p "$WINE_TEST_ROOT"

# A display for the programs: the one we are given, else our own Xvfb.
for n in $(seq 90 130); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { display=":$n"; break; }
done
setsid Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
echo $! >"$WINE_TEST_ROOT/xvfb.pid"
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X${display#:}" ] && break
  sleep 0.1
done
echo "$display" >"$WINE_TEST_ROOT/display"

source "$(dirname "$0")/lib.sh"
wineboot -i >/dev/null 2>&1
wineserver -w
echo "prefix ready at $WINEPREFIX, display $DISPLAY"
