#!/usr/bin/env bash
# Started from disc 1 in a CD-ROM drive, start.exe copies itself to the temporary folder and the copy shows the menu.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/gui.sh"

work="$WINE_TEST_ROOT/relocation"
disc="$work/disc1"
ART="$disc/Res"
rm -rf "$work"
make_menu_disc "$disc"

# What an earlier relocation left behind is overwritten, not kept.
temp=$(temp_dir)
rm -rf "$temp/start.exe" "$temp/Res" && mkdir -p "$temp/Res"
for name in start.exe Res/back.bmp Res/readme.html; do echo stale >"$temp/$name"; done

finish() {
  wineserver -k 2>/dev/null || true
  unmap_drive e
  park_cursor
}
trap finish EXIT
insert_first_run "$disc"

echo "== the program on the disc: copies, starts the copy, ends without a window"
# Started in the disc's root, as the disc's autorun starts it: the module path begins with E:.
run_program "$disc" "$work/rc" 'E:\start.exe'
[ "$(wait_exit "$work/rc" 20)" = 0 ] || fail "the program on the disc: exit code $(cat "$work/rc")"
echo "ok: the program on the disc ended with exit code 0"

cmp "$disc/start.exe" "$temp/start.exe" || fail "the temporary start.exe is not the disc's"
[ "$(cd "$temp/Res" && ls | tr '\n' ' ')" = "$RES_FILES " ] ||
  fail "the temporary Res folder holds: $(ls "$temp/Res" | tr '\n' ' ')"
for name in $RES_FILES; do
  cmp "$ART/$name" "$temp/Res/$name" || fail "the temporary Res\\$name is not the disc's"
done
echo "ok: the temporary folder holds start.exe and Res\\ with the seven files of the disc"

echo "== the copy: the menu, from the temporary folder"
expect_relocated_menu 10
echo "ok: the only menu window belongs to $MENU_MODULE, current folder $(info_value cwd "$MENU_INFO")"
expect_screen relocated start_b

watch_menu_exit "$work/copy"
press_keys alt+F4
wait_watched_exit "$work/copy"
[ "$WATCHED_EXIT" = 0 ] || fail "the copy: exit code '$WATCHED_EXIT'"
[ -z "$(prefix_processes start.exe)" ] || fail "start.exe still runs: $(prefix_processes start.exe)"
echo "ok: Alt+F4 ends the copy with exit code 0 and no start.exe is left"
