#!/usr/bin/env bash
# A whole first run under Wine: disc 1 in E:, relocation, Read me, Install, Start, no disc, exits, uninstall.
source "$(dirname "$0")/../wine/lib.sh"
source "$(dirname "$0")/../wine/gui.sh"

disc1="$WINDOWS_BUILD_DIR/disc/disc1"
disc2="$WINDOWS_BUILD_DIR/disc/disc2"
helpers="$WINDOWS_BUILD_DIR/tests/e2e"
work="$WINE_TEST_ROOT/e2e"
# Every expected picture is computed from the disc's own artwork.
ART="$disc1/Res"
temp=$(temp_dir)
# C:\e2e holds the stand-in browser, its record of what it opened and the game's start notes.
e2e="$(drive_c)/e2e"
# The installer's wizard is answered as most users answer it: its own folder for the game.
user=$(whoami)
install_win="C:\\users\\$user\\AppData\\Local\\Programs\\Kelvaro\\"
installed="$(drive_c)/users/$user/AppData/Local/Programs/Kelvaro"
shortcut="$(drive_c)/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Kelvaro Wendraskel Demo.lnk"
registration='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Harrowlight Kelvaro Demo'
WIZARD_CAPTION='Kelvaro: Wendraskel Demo Setup'
progid=KelvaroE2E.ReadMe
SECONDS=0

for f in "$disc1/start.exe" "$disc2/program files/harrowlight/kelvaro/KWRFILEID" \
  "$helpers/open_recorder.exe" "$helpers/message_box.exe"; do
  [ -f "$f" ] || fail "missing $f: build the Windows tree first"
done

step() { echo "== $* (${SECONDS} s)"; }

# wait_for SECONDS WHAT COMMAND...: polls COMMAND until it succeeds, or fails the test with WHAT.
wait_for() {
  local end=$((SECONDS + $1)) what=$2
  shift 2
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || fail "$what"
    sleep 0.1
  done
}

recorded_folder() {
  wine reg query 'HKCU\Software\Harrowlight\Kelvaro' /v InstallDir 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *InstallDir \{1,\}REG_SZ \{1,\}//p'
}
key_exists() { wine reg query "$1" >/dev/null 2>&1; }
game_installed() { [ -f "$installed/kelvaro.exe" ] && [ "$(recorded_folder)" = "$install_win" ]; }

message_box() { wine "$helpers/message_box.exe" "$@" | tr -d '\r'; }
hex() { od -An -tx1 | tr -d ' \n'; }
# The helpers write a line's end last: a file holds a whole line once it holds a CR.
has_line() { grep -qs $'\r' "$1"; }

# answer_disk_box WHAT: the menu's missing-disc box is up, owned by the menu, with its French
# text and one OK button, and a real click on OK closes it.
answer_disk_box() {
  local box ok
  box=$(message_box 'Disk 1' --appear 10) || fail "$1: no box captioned 'Disk 1': $box"
  [ "$(info_value count "$box")" = 1 ] || fail "$1: want one 'Disk 1' box: $box"
  [ "$(info_value owner "$box")" = "$MENU_CLASS" ] || fail "$1: the box is not the menu's: $box"
  [ "$(info_value text "$box")" = "$(printf 'ins\xe9rer CD no. 1' | hex)" ] ||
    fail "$1: the box's text is not 'insérer CD no. 1' in Windows-1252: $box"
  [ "$(info_value buttons "$box")" = OK ] || fail "$1: want an OK button alone: $box"
  ok=$(info_value ok "$box")
  # Windows sees the box a moment before X has it on the screen, where the click must land.
  wait_for 5 "$1: the box is not on the X display" \
    xdotool search --onlyvisible --name '^Disk 1$' >/dev/null
  xdotool mousemove "${ok%,*}" "${ok#*,}" click 1
  message_box 'Disk 1' --gone 5 >/dev/null || fail "$1: OK did not close the box"
  echo "ok: $1: 'insérer CD no. 1' in a box 'Disk 1' of the menu; OK closed it"
}

# wizard_buttons: the labels of the buttons on the installer wizard's page now, or nothing. The
# wizard's caption changes a little from page to page; it always begins the same.
wizard_buttons() {
  local caption
  caption=$(message_box --visible | sed -n "s/^#32770|\($WIZARD_CAPTION.*\)\$/\1/p" | head -1)
  [ -z "$caption" ] || info_value buttons "$(message_box "$caption" --appear 1 || true)"
}
# wizard_on LABEL: the wizard shows the page with a button of that label.
wizard_on() { [[ ",$(wizard_buttons)," == *",$1,"* ]]; }
# Gone for Windows and off the X display: a capture of the screen while a window is being
# taken off it can fail.
wizard_gone() {
  ! message_box --visible | grep -q "^#32770|$WIZARD_CAPTION" &&
    ! xdotool search --onlyvisible --name "^$WIZARD_CAPTION" >/dev/null
}
game_ended() { [ -z "$(prefix_processes kelvaro.exe)" ]; }
# wizard_key KEY: a real key pressed in the wizard, whose X window gets the focus first.
wizard_key() {
  local xid
  xid=$(xdotool search --onlyvisible --name "^$WIZARD_CAPTION" | head -1)
  [ -n "$xid" ] || fail "no X window for the installer's wizard"
  xdotool windowfocus --sync "$xid" && xdotool key "$1"
}

# install_with_wizard WHAT: Install has been clicked; its wizard is answered with Enter on each
# page, as a user keeps what it offers: the welcome, the folder (Install), and the finish page,
# whose ticked "Start the game" starts the game in its new folder.
install_with_wizard() {
  rm -f "$e2e/game.log"
  wait_for 30 "$1: no installer wizard within 30 s" wizard_on '&Next >'
  wizard_key Return
  wait_for 10 "$1: the wizard shows no folder page" wizard_on '&Install'
  wizard_key Return
  wait_for 30 "$1: the wizard shows no finish page within 30 s" wizard_on '&Finish'
  wizard_on '&Start the game' || fail "$1: the finish page offers no 'Start the game'"
  wizard_key Return
  wait_for 10 "$1: Finish did not close the wizard" wizard_gone
  wait_for 10 "$1: 'Start the game' started no game" has_line "$e2e/game.log"
  [ "$(tr -d '\r' <"$e2e/game.log")" = "started ${install_win%\\}" ] ||
    fail "$1: after the wizard the game noted: $(cat "$e2e/game.log")"
  wait_for 10 "$1: the game started by the wizard did not end" game_ended
  rm "$e2e/game.log"
  echo "ok: $1: the wizard installed in $install_win and its finish page started the game there"
}

# Nothing but the menu is on the screen: no installer, no browser, no error box of the shell.
expect_menu_alone() {
  local windows
  windows=$(message_box --visible)
  [ "$windows" = "$MENU_CLASS|$MENU_CAPTION" ] || fail "$1: windows on the screen: $windows"
}

# insert FOLDER: the disc in drive E: changes while the menu runs. Restarting the wineserver,
# as mapping a drive does, would end the menu; Wine follows the drive's link at every lookup
# and keeps the drive's type from the registry, so re-pointing the link is a disc change.
insert() { ln -sfn "$(realpath "$1")" "$WINEPREFIX/dosdevices/e:"; }

finish() {
  [ -z "${WATCHER:-}" ] || kill "$WATCHER" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  unmap_drive e
  remove_install_record
  reg_delete "$registration"
  reg_delete "HKLM\\Software\\Classes\\$progid"
  reg_delete 'HKLM\Software\Classes\.html'
  wineserver -w
  rm -rf "$e2e" "$installed" "$shortcut"
  park_cursor
}
trap finish EXIT

step "a first run: nothing installed, nothing left in the temporary folder, disc 1 in E:"
rm -rf "$work" "$e2e" "$temp/start.exe" "$temp/Res" "$installed" "$shortcut"
mkdir -p "$work/empty" "$e2e"
wineserver -k 2>/dev/null || true
remove_install_record
reg_delete "$registration"
park_cursor
cp "$helpers/open_recorder.exe" "$e2e/"
# The stand-in browser answers for .html. Wine reads file associations from the machine's
# classes only.
reg_add 'HKLM\Software\Classes\.html' /ve /d "$progid"
reg_add "HKLM\\Software\\Classes\\$progid\\shell\\open\\command" /ve \
  /d '"C:\e2e\open_recorder.exe" "%1"'
map_drive e "$disc1" cdrom

step "1. E:\\start.exe started from the disc, as AutoPlay does"
# What the game is told comes with the first process; the menu and what it starts through the
# shell, the installer and the game, inherit it.
KELVARO_GAME_LOG='C:\e2e\game.log' KELVARO_GAME_EXIT=1 \
  run_program "$work" "$work/first.rc" start /wait /d 'E:\' 'E:\start.exe'
[ "$(wait_exit "$work/first.rc" 30)" = 0 ] ||
  fail "the program on the disc: exit code $(cat "$work/first.rc")"
cmp -s "$disc1/start.exe" "$temp/start.exe" || fail "the temporary start.exe is not the disc's"
[ "$(cd "$temp/Res" 2>/dev/null && ls | tr '\n' ' ')" = "$RES_FILES " ] ||
  fail "the temporary Res folder holds: $(ls "$temp/Res" 2>&1 | tr '\n' ' ')"
for name in $RES_FILES; do
  cmp -s "$disc1/Res/$name" "$temp/Res/$name" || fail "the temporary Res\\$name is not the disc's"
done
echo "ok: the program on the disc exited 0; the temporary folder holds start.exe and Res\\"
expect_relocated_menu 15
echo "ok: one menu, 450 x 408 at 287,180, run by $MENU_MODULE"

step "2. not installed: Start greyed with the cursor on it or not; the others light one at a time"
expect_screen opened start_b
# Each row changes the picture from the row before, so a match is never the old picture: the
# row on Start puts Install's light out, which proves the menu saw the cursor on Start.
while read -r x y shows; do
  move_to "$x" "$y"
  expect_screen "hover-$x-$y" $shows
done <<'EOF'
20 390   start_b install
20 370   start_b
250 393  start_b readme
390 393  start_b exit
EOF
echo "ok: Start keeps the not-installed picture under the cursor; each other button lights alone"

step "3. Read me opens E:\\res\\readme.html through the shell's .html handler"
click_at 250 393
wait_for 10 "no program opened the read-me within 10 s" has_line "$e2e/opened.log"
opened=$(tr -d '\r' <"$e2e/opened.log")
[ "$opened" = '"C:\e2e\open_recorder.exe" "E:\res\readme.html"' ] ||
  fail "the .html handler was started as: $opened"
echo "ok: the handler was started as $opened"

step "4. Install runs E:\\setup.exe, whose wizard installs the game; Start turns live and lights"
# The cursor stays on Install, and keys answer the wizard: with no mouse movement only the
# menu's timer can bring the installation in.
click_at 20 390
install_with_wizard "Install"
game_installed || fail "no install record and game in $install_win after the wizard"
cmp -s "$disc1/program files/harrowlight/kelvaro/kelvaro.exe" "$installed/kelvaro.exe" ||
  fail "the installed kelvaro.exe is not the disc's"
SCREEN_TIMEOUT=2 expect_screen installed install
move_to 20 370
expect_screen start-lit start_a
echo "ok: the installer recorded $install_win; Start turned plain, then lit under the cursor"

step "5. Start runs the game in its installation folder"
xdotool click 1
wait_for 10 "the game noted no start within 10 s" has_line "$e2e/game.log"
started=$(tr -d '\r' <"$e2e/game.log")
[ "${started%\\}" = "started ${install_win%\\}" ] || fail "the game noted: $started"
echo "ok: the game noted: $started"

step "6. disc 1 out of the drive while the menu runs"
# The game goes away first, so that a run of the installer would show.
rm "$installed/kelvaro.exe"
expect_screen game-gone start_b
insert "$work/empty"
click_at 20 390
answer_disk_box "Install with the drive empty"
expect_screen after-empty start_b
expect_menu_alone "after Install with the drive empty"
# Another disc with an installer of its own at its root, which notes it if it is ever started:
# a menu that ran "setup.exe" from whatever disc is in the drive would start it. Whether it or
# the read-me's handler ran is read only after the next Install, so a late start shows too.
cp -r "$disc2" "$work/other"
cp "$helpers/open_recorder.exe" "$work/other/setup.exe"
insert "$work/other"
click_at 20 390
answer_disk_box "Install with another disc in the drive"
click_at 250 393
answer_disk_box "Read me with another disc in the drive"
expect_screen after-other start_b
expect_menu_alone "after Install and Read me with another disc"
insert "$disc1"
click_at 20 390
install_with_wizard "Install with disc 1 back"
cmp -s "$disc1/program files/harrowlight/kelvaro/kelvaro.exe" "$installed/kelvaro.exe" ||
  fail "Install with disc 1 back did not install the game again"
expect_screen reinstalled install
echo "ok: disc 1 back, the same menu's next Install ran the installer again"
[ ! -e "$work/other/opened.log" ] || fail "the other disc's setup.exe was started"
[ "$(tr -d '\r' <"$e2e/opened.log")" = "$opened" ] ||
  fail "a click without disc 1 opened the read-me"
echo "ok: without disc 1 in the drive no click started anything"

step "7. Exit ends the menu with code 0; a second run finds the game installed"
watch_menu_exit "$work/watch-exit"
click_at 390 393
wait_watched_exit "$work/watch-exit"
[ "$WATCHED_EXIT" = 0 ] || fail "Exit: the menu's exit code is '$WATCHED_EXIT'"
info=$(window_info) && fail "a menu window is left after Exit: $info"
echo "ok: Exit ended the menu with exit code 0"
park_cursor
run_program "$work" "$work/second.rc" start /wait /d 'E:\' 'E:\start.exe'
[ "$(wait_exit "$work/second.rc" 30)" = 0 ] ||
  fail "the second run from the disc: exit code $(cat "$work/second.rc")"
window_info --appear 15 >/dev/null || fail "no menu window in the second run"
# Installed now: the first tick takes the not-installed picture off Start.
expect_screen second-run -
echo "ok: the second run's menu shows Start live"

step "8. the silent uninstaller while the menu runs: Start greys again and starts nothing"
[ -f "$shortcut" ] || fail "the installer made no Start-menu shortcut"
key_exists "$registration" || fail "the installer registered no uninstaller"
# The uninstaller copies itself to the temporary folder, starts the copy and ends at once:
# its real end is that copy's.
wine "${install_win}uninstall.exe" /S >/dev/null 2>&1 || fail "the uninstaller did not start"
uninstaller_done() { [ -z "$(prefix_processes 'Au_.exe')" ]; }
wait_for 30 "the uninstaller's copy did not end within 30 s" uninstaller_done
SCREEN_TIMEOUT=2 expect_screen uninstalled start_b
[ ! -e "$installed" ] || fail "left in $install_win: $(ls -A "$installed")"
[ ! -e "$shortcut" ] || fail "the uninstaller left the shortcut"
! key_exists "$registration" || fail "the uninstaller left its registration"
! key_exists 'HKCU\Software\Harrowlight' || fail "the uninstaller left HKCU\Software\Harrowlight"
move_to 20 370
expect_screen uninstalled-hover start_b
xdotool click 1
expect_menu_alone "after Start with the game uninstalled"
watch_menu_exit "$work/watch-alt-f4"
press_keys alt+F4
wait_watched_exit "$work/watch-alt-f4"
[ "$WATCHED_EXIT" = 0 ] || fail "Alt+F4: the menu's exit code is '$WATCHED_EXIT'"
# A game started by the click would have noted its start while the menu was ending.
[ ! -e "$e2e/game.log" ] || fail "Start with the game uninstalled started: $(cat "$e2e/game.log")"
echo "ok: uninstalled, Start showed its not-installed picture within 2 s and started nothing"
echo "ok: Alt+F4 ended the second run's menu with exit code 0"
echo "ok: the first run passed in ${SECONDS} s"
