#!/usr/bin/env bash
# The disc search and the install probe on the real platform, with folders mapped as drives.
source "$(dirname "$0")/lib.sh"
probe() { wine "$WINDOWS_BUILD_DIR/tests/wine/locator_probe.exe" "$@" | tr -d '\r'; }
expect() { # expect WANT ARGS...
  local want=$1 got
  shift
  got=$(probe "$@")
  [ "$got" = "$want" ] || fail "locator_probe $*: got '$got', want '$want'"
  echo "ok: $* -> $got"
}

work="$WINE_TEST_ROOT/locator"
rm -rf "$work" && mkdir -p "$work"
trap 'unmap_drive e; remove_install_record' EXIT

make_disc "$work/disc1" "${DISC_ID_PREFIX}1"
map_drive e "$work/disc1" cdrom
expect 'found E:\program files\harrowlight\kelvaro\' find 1
expect 'not found' find 2

make_disc "$work/disc2" "${DISC_ID_PREFIX}2"
map_drive e "$work/disc2" cdrom
expect 'not found' find 1
expect 'found E:\program files\harrowlight\kelvaro\' find 2

# The same disc folder on a hard disk is not the disc.
map_drive e "$work/disc1" hd
expect 'not found' find 1

# The install record and the executable it names.
game="$(drive_c)/Games/Kelvaro"
mkdir -p "$game"
remove_install_record
expect 'not installed' probe
install_record 'C:\Games\Kelvaro\'
expect 'not installed' probe
touch "$game/kelvaro.exe"
expect 'installed' probe
install_record 'C:\Games\Kelvaro'
expect 'not installed' probe
remove_install_record
expect 'not installed' probe
