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

# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
# The display outlives this script: the tests use it, cleanup.sh ends it.
start_display "$WINE_TEST_ROOT"
boot_prefix
echo "$KELVARO_ARCH: prefix ready at $WINEPREFIX ($WINEARCH), display $DISPLAY"
