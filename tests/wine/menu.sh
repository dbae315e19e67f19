#!/usr/bin/env bash
# The menu off the disc under Wine: its window, its pixels against the artwork, the real cursor, its exits.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/gui.sh"

work="$WINE_TEST_ROOT/menu"
app="$work/app"
ART="$app/Res"
rm -rf "$work" && mkdir -p "$ART" "$work/bare"
cp "$WINDOWS_BUILD_DIR/launcher/start.exe" "$app/"
cp "$WINDOWS_BUILD_DIR/launcher/start.exe" "$work/bare/"
for name in back start_a start_b install readme exit; do
  cp "$GUI_DIR/../../launcher/art/$name.bmp" "$ART/"
done
game="$(drive_c)/MenuGame"
mkdir -p "$game" && touch "$game/kelvaro.exe"

finish_case() {
  wineserver -k 2>/dev/null || true
  remove_install_record
  park_cursor
}
trap finish_case EXIT

# hover TABLE: moves the cursor to each "x y" and waits for exactly the overlays listed after it.
# Each row changes the picture from the row before, so a match cannot be the old picture.
hover() {
  local x y shows
  while read -r x y shows; do
    [ -n "$x" ] || continue
    move_to "$x" "$y"
    expect_screen "cursor-$x-$y" $shows
  done <<<"$1"
}

echo "== not installed: the window, its picture, one button lit at a time, Exit"
finish_case
run_program "$app" "$work/rc" start.exe
info=$(window_info --appear 10) || fail "no menu window: $info"
expect_menu_window "$info"
expect_screen opened start_b
# The corners of each button and the pixel just beyond them: the cursor's screen position
# becomes client coordinates through the one-pixel border.
hover '
20 390   start_b install
20 370   start_b
15 385   start_b install
14 385   start_b
216 402  start_b install
216 403  start_b
229 385  start_b readme
229 384  start_b
325 402  start_b readme
326 402  start_b
344 385  start_b exit
343 385  start_b
438 402  start_b exit
439 402  start_b
'
click_at 390 393
[ "$(wait_exit "$work/rc" 10)" = 0 ] || fail "Exit: exit code $(cat "$work/rc")"
echo "ok: Exit ends the menu with exit code 0"

echo "== installed: Start turns live at the first tick, lights under the cursor, Alt+F4"
finish_case
install_record 'C:\MenuGame\'
run_program "$app" "$work/rc" start.exe
window_info --appear 10 >/dev/null || fail "no menu window"
# The cursor rests outside, so only the timer can bring the install state in.
expect_screen installed -
hover '
15 361   start_a
14 361   -
148 378  start_a
148 379  -
20 370   start_a
20 390   install
'
# No mouse messages come once the cursor is outside: the next tick puts the light out.
park_cursor
expect_screen left -
remove_install_record
expect_screen uninstalled start_b
press_keys alt+F4
[ "$(wait_exit "$work/rc" 10)" = 0 ] || fail "Alt+F4: exit code $(cat "$work/rc")"
echo "ok: Alt+F4 ends the menu with exit code 0"

echo "== no artwork beside the program: the window still opens in place, and Exit works"
finish_case
run_program "$work/bare" "$work/rc" start.exe
info=$(window_info --appear 10) || fail "no menu window: $info"
expect_menu_window "$info"
click_at 390 393
[ "$(wait_exit "$work/rc" 10)" = 0 ] || fail "Exit without artwork: exit code $(cat "$work/rc")"
echo "ok: without artwork the menu opens and Exit ends it with exit code 0"
