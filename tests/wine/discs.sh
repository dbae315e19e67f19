#!/usr/bin/env bash
# The demo discs under Wine: what lies on them, the demo installer and the demo game.
source "$(dirname "$0")/lib.sh"

discs="$WINDOWS_BUILD_DIR/disc"
probe() { wine "$WINDOWS_BUILD_DIR/tests/wine/locator_probe.exe" "$@" | tr -d '\r'; }
reg_value() { # the InstallDir line as the registry file stores it ("..." for a string with its zero)
  wineserver -w
  grep -A4 '^\[Software\\\\Harrowlight\\\\Kelvaro\]' "$WINEPREFIX/user.reg" | grep '^"InstallDir"='
}
setup() { # setup [VAR=VALUE...]: the installer from E:, unattended; prints its exit code
  (cd "$work" && env KELVARO_SETUP_UNATTENDED=1 "$@" wine 'E:\setup.exe' >/dev/null 2>&1)
  echo $?
}

work="$WINE_TEST_ROOT/discs"
rm -rf "$work" && mkdir -p "$work"
trap 'unmap_drive e; remove_install_record; rm -rf "$(drive_c)/Games"' EXIT

# Each disc folder holds exactly its files, and the identification bytes with no line end.
disc1_files='Res/back.bmp
Res/exit.bmp
Res/install.bmp
Res/readme.bmp
Res/readme.html
Res/start_a.bmp
Res/start_b.bmp
autorun.inf
program files/harrowlight/kelvaro/KWRFILEID
program files/harrowlight/kelvaro/kelvaro.dat
program files/harrowlight/kelvaro/kelvaro.exe
recentfix.exe
setup.exe
start.exe'
disc2_files='program files/harrowlight/kelvaro/KWRFILEID
readme.txt'
for n in 1 2; do
  want=disc${n}_files
  got=$(cd "$discs/disc$n" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
  [ "$got" = "${!want}" ] || fail "disc $n holds:"$'\n'"$got"
  cmp -s <(printf 'Kelvaro: Wendraskel, DISK%d' "$n") \
    "$discs/disc$n/program files/harrowlight/kelvaro/KWRFILEID" ||
    fail "disc $n: identification file is not exactly 'Kelvaro: Wendraskel, DISK$n'"
done
echo "ok: both disc folders hold their files and identification texts"

# In a CD-ROM drive the launcher's own search knows each disc, and the read-me answers to the
# lower-case name that the menu opens.
map_drive e "$discs/disc2" cdrom
[ "$(probe find 1)" = 'not found' ] || fail "disc 2 taken for disc 1"
map_drive e "$discs/disc1" cdrom
[ "$(probe find 1)" = 'found E:\program files\harrowlight\kelvaro\' ] || fail "disc 1 not found"
wine cmd /c 'if exist E:\res\readme.html (echo yes)' | tr -d '\r' | grep -qx yes ||
  fail "E:\\res\\readme.html does not open from the disc"
echo "ok: disc 1 and disc 2 are told apart in drive E:, and res\\readme.html resolves"

# The installer: where it puts the game, and the record it leaves (a string with its zero and
# the folder's final backslash, so the menu's probe finds the game).
remove_install_record
status=$(setup KELVARO_INSTALL_DIR='C:\Games\Demo Test')
[ "$status" = 0 ] || fail "setup into 'C:\\Games\\Demo Test' exited $status"
for f in kelvaro.exe kelvaro.dat; do
  cmp -s "$discs/disc1/program files/harrowlight/kelvaro/$f" "$(drive_c)/Games/Demo Test/$f" ||
    fail "$f not installed as it is on the disc"
done
[ "$(reg_value)" = '"InstallDir"="C:\\Games\\Demo Test\\"' ] || fail "record: $(reg_value)"
[ "$(probe probe)" = installed ] || fail "the menu's probe does not see the installed game"
echo "ok: setup installs into a folder named without its final backslash and records it"

# A pressed disc's files are read-only, and a copy keeps that mark; the installed game must
# not, or it could neither be installed again nor write beside itself.
cp -r "$discs/disc1" "$work/disc1-ro"
find "$work/disc1-ro" -type f -exec chmod a-w {} +
map_drive e "$work/disc1-ro" cdrom
for round in first second; do
  status=$(setup KELVARO_INSTALL_DIR='C:\Games\Pressed\')
  [ "$status" = 0 ] || fail "$round setup from a read-only disc exited $status"
  for f in kelvaro.exe kelvaro.dat; do
    [ "$(stat -c %A "$(drive_c)/Games/Pressed/$f" | cut -c3)" = w ] ||
      fail "$f installed read-only in the $round setup"
  done
done
map_drive e "$discs/disc1" cdrom
echo "ok: setup copies a read-only disc's files as writable files, and installs again"

remove_install_record
status=$(setup)
[ "$status" = 0 ] || fail "setup into its default folder exited $status"
[ "$(reg_value)" = '"InstallDir"="C:\\Games\\Kelvaro\\"' ] || fail "record: $(reg_value)"
[ -f "$(drive_c)/Games/Kelvaro/kelvaro.exe" ] || fail "no game in C:\\Games\\Kelvaro"
echo "ok: setup's default folder is C:\\Games\\Kelvaro\\"

# Failures leave no record behind: a folder that is not a full path, and a disc without the
# game's files (setup.exe alone in a folder of the hard disk).
remove_install_record
status=$(setup KELVARO_INSTALL_DIR='Games\Kelvaro')
[ "$status" = 2 ] || fail "setup with a relative folder exited $status"
[ -z "$(reg_value)" ] || fail "a relative folder was recorded"
mkdir -p "$(drive_c)/bare"
cp "$discs/disc1/setup.exe" "$(drive_c)/bare/"
status=$( (cd "$work" && KELVARO_SETUP_UNATTENDED=1 KELVARO_INSTALL_DIR='C:\Games\Bare' \
  wine 'C:\bare\setup.exe' >/dev/null 2>&1) && echo 0 || echo $?)
[ "$status" = 2 ] || fail "setup without the game's files exited $status"
[ -z "$(reg_value)" ] || fail "a failed installation was recorded"
echo "ok: failed installations exit 2 and record nothing"

# The game notes its start and its working folder: in KELVARO_GAME_LOG, else in the temporary
# folder's kelvaro-game.log.
rm -f "$(drive_c)/game.log" "$(temp_dir)/kelvaro-game.log"
(cd "$(drive_c)/Games/Demo Test" && KELVARO_GAME_EXIT=1 KELVARO_GAME_LOG='C:\game.log' \
  wine kelvaro.exe)
[ "$(tr -d '\r' <"$(drive_c)/game.log")" = 'started C:\Games\Demo Test' ] ||
  fail "game log: $(cat "$(drive_c)/game.log" 2>/dev/null)"
(cd "$(drive_c)/Games/Kelvaro" && KELVARO_GAME_EXIT=1 wine kelvaro.exe)
(cd "$(drive_c)/Games/Kelvaro" && KELVARO_GAME_EXIT=1 wine kelvaro.exe)
[ "$(tr -d '\r' <"$(temp_dir)/kelvaro-game.log")" = 'started C:\Games\Kelvaro
started C:\Games\Kelvaro' ] || fail "temporary game log: $(cat "$(temp_dir)/kelvaro-game.log")"
echo "ok: the game notes each start with its working folder"
