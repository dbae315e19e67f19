#!/usr/bin/env bash
# After an architecture's Wine tests: end its wineserver and its virtual display.
set -uo pipefail
: "${WINE_TEST_ROOT:?}" "${KELVARO_ARCH:?}"
[ ! -f "$WINE_TEST_ROOT/skip" ] || exit 0
export WINEPREFIX="$WINE_TEST_ROOT/prefix"
"$(dirname "$0")/../../tools/winearch" "$KELVARO_ARCH" wineserver -k 2>/dev/null
if [ -f "$WINE_TEST_ROOT/xvfb.pid" ]; then
  kill "$(cat "$WINE_TEST_ROOT/xvfb.pid")" 2>/dev/null
  rm -f "$WINE_TEST_ROOT/xvfb.pid" "$WINE_TEST_ROOT/display"
fi
exit 0
