#!/usr/bin/env bash
# Before an architecture's Wine tests: whether this machine runs it, then a fresh prefix and a
# 1024 x 768 virtual display. Where it cannot run, the reason is kept and its tests are skipped.
set -euo pipefail
: "${WINE_TEST_ROOT:?}" "${KELVARO_ARCH:?}"
rm -rf "$WINE_TEST_ROOT"
mkdir -p "$WINE_TEST_ROOT"

if ! why=$("$(dirname "$0")/../../tools/winearch" "$KELVARO_ARCH" probe); then
  echo "$why" >"$WINE_TEST_ROOT/skip"
  echo "skipped on this machine ($KELVARO_ARCH): $why"
  exit 77
fi

# A display for the programs: our own Xvfb, which picks a free number and says it once it
# accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WINE_TEST_ROOT/display.part" \
  >/dev/null 2>&1 &
echo $! >"$WINE_TEST_ROOT/xvfb.pid"
for _ in $(seq 100); do
  [ -s "$WINE_TEST_ROOT/display.part" ] && break
  sleep 0.1
done
[ -s "$WINE_TEST_ROOT/display.part" ] || { echo "FAIL: Xvfb did not start" >&2; exit 1; }
echo ":$(tr -d '[:space:]' <"$WINE_TEST_ROOT/display.part")" >"$WINE_TEST_ROOT/display"

source "$(dirname "$0")/lib.sh"
timeout 180 wineboot -i >/dev/null 2>&1
timeout 120 wineserver -w
echo "$KELVARO_ARCH: prefix ready at $WINEPREFIX ($WINEARCH), display $DISPLAY"
