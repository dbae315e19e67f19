#!/usr/bin/env bash
# start.exe from disc 1 on hostile machines, judged from outside: whose menu, first exit code, temporary folder.
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/wine/gui.sh
source "$(dirname "$0")/gui.sh"
# The system code page is then Windows-1252, which cannot spell the Cyrillic folder name below.
export LC_ALL=C.UTF-8

work="$WINE_TEST_ROOT/hostile"
disc="$work/disc1"
ART="$disc/Res"
hostile="$(drive_c)/kelvaro-hostile" # the rows' own temporary folders live below it
# A run killed half-way may have left an immutable folder behind, which rm cannot remove.
chattr -R -i "$hostile" 2>/dev/null || true
rm -rf "$work" "$hostile"
make_menu_disc "$disc"
cp -r "$ART" "$work/art" # the pristine artwork, for the rows that spoil the disc's

temp=$(temp_dir)
user_temp="C:\\users\\$(whoami)\\Temp"
marker="$work/release"

wine reg export 'HKCU\Environment' "$(winepath -w "$work/environment.reg")" /y >/dev/null
finish() {
  touch "$marker"
  wineserver -k 2>/dev/null || true
  chattr -R -i "$hostile" 2>/dev/null || true
  wine reg import "$(winepath -w "$work/environment.reg")" >/dev/null 2>&1 || true
  rm -rf "$hostile" "$temp/start.exe" "$temp/Res"
  wineserver -k 2>/dev/null || true
  unmap_drive e
  park_cursor
}
trap finish EXIT
insert_first_run "$disc"

# set_temp PATH: the user's TEMP and TMP for every process started from now on, which take
# their environment from the registry; a fresh wineserver, so that nothing the row before left
# running (the menu, its copy, the desktop) carries the old ones on.
set_temp() {
  wineserver -k 2>/dev/null || true
  reg_add 'HKCU\Environment' /v TEMP /t REG_SZ /d "$1"
  reg_add 'HKCU\Environment' /v TMP /t REG_SZ /d "$1"
}

# colours X Y W H: the colours in a rectangle of the menu's client area, one rrggbb a line.
colours() {
  import -silent -window root -crop "${3}x${4}+$((CLIENT_X + $1))+$((CLIENT_Y + $2))" +repage \
    -depth 8 -format %c histogram:info:- | sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | sort -u
}

# expect_colours WHAT X Y W H WANT...: waits until the rectangle shows every colour WANT and,
# when the first is "only", nothing else. Labels are drawn smoothed: their own colour and black
# are there, with shades between.
expect_colours() {
  local what=$1 x=$2 y=$3 w=$4 h=$5 only=0 seen c ok tries=50
  shift 5
  [ "$1" != only ] || { only=1 && shift; }
  while :; do
    seen=$(colours "$x" "$y" "$w" "$h" | tr '[:lower:]' '[:upper:]')
    ok=1
    for c in "$@"; do grep -qx "$c" <<<"$seen" || ok=0; done
    [ "$only" = 0 ] || [ "$(wc -l <<<"$seen")" = "$#" ] || ok=0
    [ "$ok" = 0 ] || return 0
    [ "$tries" -gt 0 ] || fail "$what: colours $(tr '\n' ' ' <<<"$seen")want $*"
    tries=$((tries - 1))
    sleep 0.2
  done
}

# menu_from_disc: the first process shows the menu itself, from the disc, and Alt+F4 ends it
# with exit code 0.
menu_from_disc() {
  local info
  info=$(window_info --appear 10) || fail "no menu window: $info"
  expect_menu_window "$info"
  [ "$(info_value module "$info")" = 'E:\start.exe' ] ||
    fail "the menu runs from $(info_value module "$info"), want E:\\start.exe"
  [ ! -f "$work/rc" ] || fail "the first process ended ($(cat "$work/rc")) and yet a menu shows"
  press_keys alt+F4
  [ "$(wait_exit "$work/rc" 10)" = 0 ] || fail "the first process: exit code $(cat "$work/rc")"
}

# relocated [MISSING]: the first process ends with 0 by itself, the temporary folder holds the
# disc's program and artwork (but MISSING) as copied, and the copy shows the menu.
relocated() {
  local name want="" held=""
  [ "$(wait_exit "$work/rc" 20)" = 0 ] || fail "the first process: exit code $(cat "$work/rc")"
  cmp -s "$disc/start.exe" "$temp/start.exe" || fail "the temporary start.exe is not the disc's"
  for name in $RES_FILES; do
    [ "$name" = "${1:-}" ] && continue
    want+="$name "
    cmp -s "$ART/$name" "$temp/Res/$name" || fail "the temporary Res\\$name is not the disc's"
  done
  for name in "$temp"/Res/*; do held+="${name##*/} "; done
  [ "$held" = "$want" ] || fail "the temporary Res folder holds: $held"
  expect_relocated_menu 10
}

# Holds the temporary start.exe open (hold_file.exe; "read" shares reading, as the image of a
# running program is shared) until the row ends; an earlier copy of the program is there,
# told apart from the disc's by bytes added at its end.
hold_temp_copy() {
  { cat "$disc/start.exe" && printf 'earlier copy'; } >"$temp/start.exe"
  cp "$temp/start.exe" "$work/earlier.exe"
  rm -f "$marker" "$work/hold"
  wine "$WINDOWS_BUILD_DIR/tests/wine/hold_file.exe" "$user_temp\\start.exe" \
    "$(winepath -w "$marker")" 60 "$@" >"$work/hold" 2>&1 &
  # The first Wine process after a server restart may take a while on a busy machine.
  local tries=300
  until grep -q '^held' "$work/hold" 2>/dev/null; do
    [ "$tries" -gt 0 ] || fail "hold_file did not take the file: $(cat "$work/hold")"
    tries=$((tries - 1))
    sleep 0.1
  done
}

# Each row: a name, then a set-up and the checks, as one function.
row_ansi_temp() {
  mkdir -p "$hostile/Темп"
  set_temp 'C:\kelvaro-hostile\Темп'
  start_from_disc
  menu_from_disc
  [ -z "$(ls -A "$hostile/Темп")" ] || fail "written into the folder: $(ls -A "$hostile/Темп")"
}

row_missing_temp() {
  set_temp 'C:\kelvaro-hostile\absent'
  start_from_disc
  menu_from_disc
  [ ! -e "$hostile/absent" ] || fail "the missing temporary folder was made"
}

row_read_only_temp() {
  if ! read_only_folder "$hostile/read-only"; then
    echo "row skipped: no read-only folder can be made on this machine ($READ_ONLY_HOW)"
    writable_folder "$hostile/read-only"
    return 0
  fi
  echo "(read-only by: $READ_ONLY_HOW)"
  set_temp 'C:\kelvaro-hostile\read-only'
  start_from_disc
  menu_from_disc
  [ -z "$(ls -A "$hostile/read-only")" ] || fail "written into the folder"
}

# 260 characters, and the system adds a backslash: no room left for a file name.
row_temp_path_too_long() {
  set_temp "C:\\kelvaro-hostile\\$(printf 'd%.0s' {1..120})\\$(printf 'e%.0s' {1..120})"
  start_from_disc
  menu_from_disc
}

# The file at the copy target cannot be replaced: it is not started, since it is not the
# program just copied; this process shows the menu instead.
row_copy_target_locked() {
  set_temp "$user_temp"
  hold_temp_copy
  start_from_disc
  menu_from_disc
  cmp -s "$work/earlier.exe" "$temp/start.exe" || fail "the held start.exe was replaced"
}

row_copy_target_in_use() {
  set_temp "$user_temp"
  hold_temp_copy read
  start_from_disc
  menu_from_disc
  cmp -s "$work/earlier.exe" "$temp/start.exe" || fail "the held start.exe was replaced"
}

row_plain() {
  set_temp "$user_temp"
  start_from_disc
  relocated
  expect_screen plain start_b
}

# The menu draws what cannot be loaded as a black box with its label: Exit's, lit, in amber.
row_exit_art_missing() {
  set_temp "$user_temp"
  rm "$ART/exit.bmp"
  start_from_disc
  relocated exit.bmp
  expect_screen no-exit start_b
  move_to 390 393
  expect_colours "Exit lit without its picture" 344 385 95 18 000000 FFD860
}

# Wine takes a cut picture for a whole one, black where its bytes are missing: the menu is
# black behind the buttons and still lights them under the cursor.
row_back_art_cut() {
  set_temp "$user_temp"
  head -c 100 "$work/art/back.bmp" >"$ART/back.bmp"
  start_from_disc
  relocated
  expect_colours "the background of a cut picture" 0 0 448 360 only 000000
  local before tries=50
  before=$(colours 15 385 202 18)
  move_to 100 393
  while [ "$(colours 15 385 202 18)" = "$before" ]; do
    [ "$tries" -gt 0 ] || fail "Install does not light under the cursor"
    tries=$((tries - 1))
    sleep 0.2
  done
}

# A back.bmp that is no picture at all: the stand-in, black behind all and the buttons as
# plain labels, the Start picture still over its button.
row_back_art_not_a_picture() {
  set_temp "$user_temp"
  printf 'not a picture %.0s' {1..8} >"$ART/back.bmp"
  start_from_disc
  relocated
  expect_colours "the background without its picture" 0 0 448 360 only 000000
  expect_colours "the Install label" 15 385 202 18 000000 C8C8C8
  expect_colours "the Exit label" 344 385 95 18 000000 C8C8C8
}

start_from_disc() { run_program "$disc" "$work/rc" 'E:\start.exe'; }

rows='
ansi_temp            the temporary folder is named outside the system code page
missing_temp         the temporary folder does not exist
read_only_temp       the temporary folder refuses new files
temp_path_too_long   the temporary folder path is longer than MAX_PATH
copy_target_locked   start.exe in the temporary folder is held open without sharing
copy_target_in_use   start.exe in the temporary folder is held open as a running program
plain                a plain temporary folder
exit_art_missing     Res\exit.bmp is missing on the disc
back_art_cut         Res\back.bmp on the disc is cut to 100 bytes
back_art_not_a_picture  Res\back.bmp on the disc holds no picture
'
# Read first: the programs the rows start would otherwise share the table as their input.
mapfile -t table <<<"$rows"
for line in "${table[@]}"; do
  read -r row what <<<"$line"
  [ -n "$row" ] || continue
  echo "== $what"
  rm -rf "$temp/start.exe" "$temp/Res" "$ART" && cp -r "$work/art" "$ART"
  park_cursor
  "row_$row"
  touch "$marker"
  echo "ok: $row (${SECONDS} s in)"
done
echo "all rows passed"
