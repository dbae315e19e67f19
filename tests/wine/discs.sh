#!/usr/bin/env bash
# The demo discs under Wine: what lies on them, the demo installer and the demo game.
source "$(dirname "$0")/lib.sh"

discs="$WINDOWS_BUILD_DIR/disc"
probe() { wine "$WINDOWS_BUILD_DIR/tests/wine/locator_probe.exe" "$@" | tr -d '\r'; }
reg_value() { # the InstallDir line as the registry file stores it ("..." for a string with its zero)
  wineserver -w
  grep -A4 '^\[Software\\\\Harrowlight\\\\Kelvaro\]' "$WINEPREFIX/user.reg" | grep '^"InstallDir"=' || true
}
# reg_line KEY NAME: "TYPE data" of a value as Wine's reg shows it; nothing when it is missing.
reg_line() {
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 \{4\}\(REG_[A-Z_]*\) \{4\}/\1 /p"
}
key_exists() { wine reg query "$1" >/dev/null 2>&1; }
# setup ARGS: E:\setup.exe with that command line; prints its exit code. cmd passes the line on
# as written: /D= must come last and unquoted, spaces and all, which no argument vector gives.
setup() {
  (cd "$work" && wine cmd /c "E:\\setup.exe $*" >/dev/null 2>&1; echo $?)
}
# uninstall FOLDER: the silent uninstaller of the game in FOLDER, to its real end. It copies
# itself to the temporary folder, starts the copy and ends at once; the copy does the work.
uninstall() {
  wine "$1\\uninstall.exe" /S >/dev/null 2>&1 || fail "the uninstaller in $1 did not start"
  timeout 60 wineserver -w || fail "the uninstaller in $1 did not end within 60 s"
}

work="$WINE_TEST_ROOT/discs"
user=$(whoami)
default_win="C:\\users\\$user\\AppData\\Local\\Programs\\Kelvaro"
default_dir="$(drive_c)/users/$user/AppData/Local/Programs/Kelvaro"
shortcut="$(drive_c)/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Kelvaro Wendraskel Demo.lnk"
registration='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Harrowlight Kelvaro Demo'
rm -rf "$work" && mkdir -p "$work"
cleanup() {
  unmap_drive e
  remove_install_record
  reg_delete "$registration"
  reg_delete 'HKCU\Software\Harrowlight\Other'
  wineserver -w
  rm -rf "$(drive_c)/Games" "$default_dir" "$shortcut"
}
trap cleanup EXIT

# Each disc folder holds exactly its files, and the identification bytes with no line end.
declare -A disc_files
disc_files[1]='Res/back.bmp
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
disc_files[2]='program files/harrowlight/kelvaro/KWRFILEID
readme.txt'
for n in 1 2; do
  got=$(cd "$discs/disc$n" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
  [ "$got" = "${disc_files[$n]}" ] || fail "disc $n holds:"$'\n'"$got"
  cmp -s <(printf '%s%d' "$DISC_ID_PREFIX" "$n") \
    "$discs/disc$n/program files/harrowlight/kelvaro/KWRFILEID" ||
    fail "disc $n: identification file is not exactly '$DISC_ID_PREFIX$n'"
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

# The installer's wizard speaks the system's language: French on a French system, English on
# any other.
while IFS='|' read -r locale caption buttons; do
  (cd "$work" && LC_ALL=$locale LANG=$locale wine 'E:\setup.exe' >/dev/null 2>&1 &)
  page=$(wine "$WINDOWS_BUILD_DIR/tests/e2e/message_box.exe" "$caption" --appear 20 | tr -d '\r') ||
    fail "$locale: no wizard captioned '$caption': $page"
  [ "$(sed -n 's/^buttons=//p' <<<"$page")" = "$buttons" ] || fail "$locale: the first page: $page"
  wineserver -k
done <<'TABLE'
fr_FR.UTF-8|Installation de Kelvaro: Wendraskel Demo|&Suivant >,Annuler
en_US.UTF-8|Kelvaro: Wendraskel Demo Setup|&Next >,Cancel
de_DE.UTF-8|Kelvaro: Wendraskel Demo Setup|&Next >,Cancel
TABLE
echo "ok: the wizard opens in French on a French system, else in English"

# expect_installed UNIX_FOLDER WINDOWS_FOLDER: the game's files there as they are on the disc,
# the record naming the folder (a string with its zero, the folder's final backslash), and the
# menu's own probe seeing the game.
expect_installed() {
  local f
  for f in kelvaro.exe kelvaro.dat; do
    cmp -s "$discs/disc1/program files/harrowlight/kelvaro/$f" "$1/$f" ||
      fail "$f not installed in $2 as it is on the disc"
  done
  [ "$(reg_value)" = "\"InstallDir\"=\"${2//\\/\\\\}\\\\\"" ] || fail "record: $(reg_value)"
  [ "$(probe probe)" = installed ] || fail "the menu's probe does not see the game in $2"
}

# The installer, silent, into its default folder, the user's own programs folder: the game,
# the record the menu reads (a string with its zero and the folder's final backslash), the
# uninstaller, the Start-menu shortcut. Then its uninstaller, silent, takes all of it away,
# the publisher's key too when nothing else is left in it.
remove_install_record
status=$(setup /S)
[ "$status" = 0 ] || fail "setup /S exited $status"
expect_installed "$default_dir" "$default_win"
[ -f "$default_dir/uninstall.exe" ] || fail "no uninstaller in $default_win"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
uninstall "$default_win"
[ ! -e "$default_dir" ] || fail "left in $default_win: $(ls -A "$default_dir")"
[ ! -e "$shortcut" ] || fail "the shortcut is left"
for key in "$registration" 'HKCU\Software\Harrowlight'; do
  ! key_exists "$key" || fail "$key is left"
done
[ "$(probe probe)" = 'not installed' ] || fail "the probe still sees a game"
echo "ok: setup /S installs in $default_win and records it; uninstall /S removes all it added"

# /D= names the folder, here one with a space, for the installation and its record; the
# uninstaller is registered with the values that the system's list of programs shows.
status=$(setup '/S /D=C:\Games\Demo Test')
[ "$status" = 0 ] || fail "setup into 'C:\\Games\\Demo Test' exited $status"
installed="$(drive_c)/Games/Demo Test"
expect_installed "$installed" 'C:\Games\Demo Test'
while IFS='|' read -r name want; do
  got=$(reg_line "$registration" "$name")
  [ "$got" = "$want" ] || fail "registration: $name is '$got', want '$want'"
done <<'TABLE'
DisplayName|REG_SZ Kelvaro: Wendraskel Demo
Publisher|REG_SZ Harrowlight
DisplayVersion|REG_SZ 1.0
DisplayIcon|REG_SZ C:\Games\Demo Test\kelvaro.exe,0
UninstallString|REG_SZ "C:\Games\Demo Test\uninstall.exe"
QuietUninstallString|REG_SZ "C:\Games\Demo Test\uninstall.exe" /S
TABLE
# The size the list shows is the folder's, in kilobytes.
size=$(reg_line "$registration" EstimatedSize)
kb=$(($(cat "$installed"/* | wc -c) / 1024))
if [[ "$size" != 'REG_DWORD 0x'* ]] || [ $((${size#REG_DWORD })) -lt $((kb - 2)) ] ||
  [ $((${size#REG_DWORD })) -gt $((kb + 1)) ]; then
  fail "EstimatedSize is '$size', want about $kb"
fi
# The shortcut starts the game in its folder, where it finds its data.
strings -a -el "$shortcut" | grep -qxF 'C:\Games\Demo Test' ||
  fail "the shortcut does not start in C:\\Games\\Demo Test: $(strings -a -el "$shortcut")"
echo "ok: setup /S /D= installs in C:\\Games\\Demo Test, records it and registers its uninstaller"

# Installing again, without /D=, goes where the record says, over the game already there.
status=$(setup /S)
[ "$status" = 0 ] || fail "setup /S over the installed game exited $status"
[ "$(reg_value)" = '"InstallDir"="C:\\Games\\Demo Test\\"' ] || fail "record: $(reg_value)"
[ ! -e "$default_dir" ] || fail "installing again went to $default_win"
echo "ok: installing again goes to the recorded folder"

# The game notes its start and its working folder: in KELVARO_GAME_LOG, else in the temporary
# folder's kelvaro-game.log.
rm -f "$(drive_c)/game.log" "$(temp_dir)/kelvaro-game.log"
(cd "$installed" && KELVARO_GAME_EXIT=1 KELVARO_GAME_LOG='C:\game.log' wine kelvaro.exe)
[ "$(tr -d '\r' <"$(drive_c)/game.log")" = 'started C:\Games\Demo Test' ] ||
  fail "game log: $(cat "$(drive_c)/game.log" 2>/dev/null)"
(cd "$installed" && KELVARO_GAME_EXIT=1 wine kelvaro.exe)
(cd "$installed" && KELVARO_GAME_EXIT=1 wine kelvaro.exe)
[ "$(tr -d '\r' <"$(temp_dir)/kelvaro-game.log")" = 'started C:\Games\Demo Test
started C:\Games\Demo Test' ] || fail "temporary game log: $(cat "$(temp_dir)/kelvaro-game.log")"
echo "ok: the game notes each start with its working folder"

# The uninstaller takes only what the installer added: a file beside the folder, the player's
# own file in it (which keeps the folder), another key of the publisher's, and a record that
# names another installation of the game stay.
echo keep >"$(drive_c)/Games/keep.txt"
mkdir -p "$installed/saves" && echo slot >"$installed/saves/slot1.sav"
reg_add 'HKCU\Software\Harrowlight\Other' /v Setting /t REG_SZ /d kept
install_record 'C:\Games\Elsewhere\'
uninstall 'C:\Games\Demo Test'
[ "$(cd "$installed" && find . -mindepth 1 | LC_ALL=C sort | tr '\n' ' ')" = './saves ./saves/slot1.sav ' ] ||
  fail "C:\\Games\\Demo Test holds: $(cd "$installed" && find . -mindepth 1 | tr '\n' ' ')"
[ -f "$(drive_c)/Games/keep.txt" ] || fail "the file beside the folder was removed"
[ ! -e "$shortcut" ] || fail "the shortcut is left"
! key_exists "$registration" || fail "the registration is left"
[ "$(reg_line 'HKCU\Software\Harrowlight\Other' Setting)" = 'REG_SZ kept' ] ||
  fail "the publisher's other key was touched"
[ "$(reg_value)" = '"InstallDir"="C:\\Games\\Elsewhere\\"' ] || fail "record: $(reg_value)"
echo "ok: uninstall /S leaves the player's files, other keys and another installation's record"

# Failures record nothing and exit 2: a folder whose name, with the record's backslash and
# "kelvaro.exe", would not fit the menu's 260-byte buffer (247 characters still do), and a
# folder that cannot take the game's files.
remove_install_record
reg_delete 'HKCU\Software\Harrowlight\Other'
mkdir -p "$(drive_c)/Games/Taken/kelvaro.exe"
fits="C:\\Games\\$(printf 'f%.0s' $(seq 238))"
status=$(setup "/S /D=$fits")
[ "$status" = 0 ] || fail "setup into a folder of 247 characters exited $status"
[ "$(probe probe)" = installed ] || fail "the probe does not see a game in 247 characters"
uninstall "$fits"
while read -r folder why; do
  status=$(setup "/S /D=$folder")
  [ "$status" = 2 ] || fail "setup into $why exited $status"
  [ -z "$(reg_value)" ] || fail "setup into $why recorded $(reg_value)"
done <<TABLE
C:\\Games\\$(printf 'l%.0s' $(seq 239)) a folder of 248 characters
C:\\Games\\Taken a folder where a folder takes kelvaro.exe's name
TABLE
echo "ok: a folder of 247 characters installs; one too long or unwritable exits 2 unrecorded"
