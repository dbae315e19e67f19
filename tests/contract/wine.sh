#!/usr/bin/env bash
# The contract checks on the real platform: the world they expect, then the program.
source "$(dirname "$0")/../wine/lib.sh"
work="$WINE_TEST_ROOT/contract"
rm -rf "$work" && mkdir -p "$work/cd/contract"
printf '%s\r\n' "${DISC_ID_PREFIX}1" >"$work/cd/contract/id.txt"
map_drive e "$work/cd" cdrom
trap 'unmap_drive e' EXIT
wine "$WINDOWS_BUILD_DIR/tests/contract/contract_tests.exe"
