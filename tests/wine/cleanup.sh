#!/usr/bin/env bash
# After the Wine tests: end the wineserver and the virtual display.
set -uo pipefail
: "${WINE_TEST_ROOT:?}"
export WINEPREFIX="$WINE_TEST_ROOT/prefix"
wineserver -k 2>/dev/null
if [ -f "$WINE_TEST_ROOT/xvfb.pid" ]; then
  kill "$(cat "$WINE_TEST_ROOT/xvfb.pid")" 2>/dev/null
  rm -f "$WINE_TEST_ROOT/xvfb.pid" "$WINE_TEST_ROOT/display"
fi
exit 0
