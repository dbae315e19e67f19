# Shared by the Wine tests of the menu: start it, find its window, drive the real cursor, read the screen.
# Sourced after lib.sh. Every wait is bounded; nothing sleeps longer than a poll interval.

GUI_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# MENU_CLASS, MENU_CAPTION, the buttons, and CLIENT_X, CLIENT_Y: client (0, 0) on the screen.
source "$GUI_DIR/../../launcher/menu.facts"

# window_info ARGS...: the helper's key=value report on the menu window (see window_info.cpp).
window_info() {
  wine "$WINDOWS_BUILD_DIR/tests/wine/window_info.exe" "$MENU_CLASS" "$@" | tr -d '\r'
}

# info_value KEY REPORT: one value out of a window_info report.
info_value() { sed -n "s/^$1=//p" <<<"$2"; }

# The cursor well away from the window, so the menu sees no movement until a test makes one.
park_cursor() { xdotool mousemove 5 5; }

# move_to X Y / click_at X Y: the real cursor at client coordinates of the menu.
move_to() { xdotool mousemove $((CLIENT_X + $1)) $((CLIENT_Y + $2)); }
click_at() { move_to "$1" "$2" && xdotool click 1; }

# press_keys KEYS: keys typed into the menu. With no window manager on the display the
# keyboard follows the pointer, so the menu's X window is given the focus first.
press_keys() {
  local xid
  xid=$(xdotool search --name "^$MENU_CAPTION\$" | head -1)
  [ -n "$xid" ] || fail "no X window for the menu"
  xdotool windowfocus --sync "$xid" && xdotool key "$1"
}

# run_program FOLDER RCFILE PROGRAM [ARGUMENT...]: starts PROGRAM under Wine from FOLDER in the
# background; its exit code lands in RCFILE when it ends.
run_program() {
  local folder=$1 rc=$2 program=$3
  rm -f "$rc"
  (
    cd "$folder" || exit
    set +e
    wine "$program" "${@:4}" >/dev/null 2>&1
    echo $? >"$rc.part" && mv "$rc.part" "$rc"
  ) &
}

# wait_exit RCFILE SECONDS: prints the exit code of a program started by run_program.
wait_exit() {
  local rc=$1 tries=$(($2 * 10))
  while [ ! -f "$rc" ] && [ "$tries" -gt 0 ]; do
    sleep 0.1
    tries=$((tries - 1))
  done
  [ -f "$rc" ] || fail "the program did not end within $2 s"
  cat "$rc"
}

# watch_menu_exit FILE: holds the menu's process from outside, so that its exit code can be read
# even when the shell started it; returns once the watch has found the window.
watch_menu_exit() {
  local tries=100
  wine "$WINDOWS_BUILD_DIR/tests/wine/window_info.exe" "$MENU_CLASS" --exit 15 >"$1" 2>/dev/null &
  WATCHER=$!
  until grep -q '^cwd=' "$1" 2>/dev/null; do
    [ "$tries" -gt 0 ] && kill -0 "$WATCHER" 2>/dev/null || fail "cannot watch the menu: $(cat "$1")"
    sleep 0.1
    tries=$((tries - 1))
  done
}

# wait_watched_exit FILE: waits for the process that watch_menu_exit holds (up to its 15 s) and
# sets WATCHED_EXIT to its exit code. Not in a $(...): the watch is a child of this shell only.
wait_watched_exit() {
  wait "$WATCHER" || true
  WATCHED_EXIT=$(tr -d '\r' <"$1" | sed -n 's/^exit=//p')
}

# expect_screen WHAT [OVERLAY...]: waits until the client area equals the artwork in $ART with
# those overlays drawn ('-' for none); on a mismatch the pictures go to $work/WHAT-*.png.
expect_screen() {
  local what=$1 o shows=()
  shift
  for o in "$@"; do [ "$o" = - ] || shows+=(--show "$o"); done
  python3 "$GUI_DIR/screen.py" match --art "$ART" --origin "$CLIENT_X,$CLIENT_Y" \
    --timeout "${SCREEN_TIMEOUT:-10}" --save "$work/$what" "${shows[@]}" ||
    fail "$what: the menu does not show the expected picture (see above)"
}

# expect_menu_window REPORT: the window is the menu as it must be created.
expect_menu_window() {
  local info=$1 style
  [ "$(info_value count "$info")" = 1 ] || fail "want one menu window: $info"
  [ "$(info_value class "$info")" = "$MENU_CLASS" ] || fail "class: $info"
  [ "$(info_value caption "$info")" = "$MENU_CAPTION" ] || fail "caption: $info"
  [ "$(info_value window "$info")" = "$((CLIENT_X - 1)),$((CLIENT_Y - 1)),$MENU_WIDTH,$MENU_HEIGHT" ] ||
    fail "window rectangle: $info"
  [ "$(info_value client "$info")" = "$CLIENT_X,$CLIENT_Y,$((MENU_WIDTH - 2)),$((MENU_HEIGHT - 2))" ] ||
    fail "client area: $info"
  # A pop-up window with a thin border and a system menu, visible; the system adds
  # WS_CLIPSIBLINGS on its own.
  style=$(info_value style "$info")
  [ $((style & ~0x04000000)) -eq $((0x90880000)) ] || fail "style $style: $info"
  [ $(($(info_value exstyle "$info") & 0x00040000)) -ne 0 ] || fail "no WS_EX_APPWINDOW: $info"
}

# prefix_processes NAME: live processes of this prefix whose command line holds NAME.
prefix_processes() {
  local p
  for p in /proc/[0-9]*; do
    grep -qzx "WINEPREFIX=$WINEPREFIX" "$p/environ" 2>/dev/null || continue
    tr '\0' ' ' <"$p/cmdline" 2>/dev/null | grep -qiF "$1" && echo "${p#/proc/}"
  done
  return 0
}

# expect_relocated_menu SECONDS: waits for the one menu window, made as it must be and run by
# the copy in the temporary folder; MENU_INFO holds its report, MENU_MODULE the copy's path.
expect_relocated_menu() {
  local want
  MENU_INFO=$(window_info --appear "$1") || fail "no menu window after the relocation: $MENU_INFO"
  expect_menu_window "$MENU_INFO"
  MENU_MODULE=$(info_value module "$MENU_INFO")
  want="C:\\users\\$(whoami)\\Temp\\start.exe"
  [ "${MENU_MODULE,,}" = "${want,,}" ] || fail "the menu runs from $MENU_MODULE, want $want"
}

# The seven files of the Res folder beside start.exe, as a relocation copies them.
RES_FILES="back.bmp exit.bmp install.bmp readme.bmp readme.html start_a.bmp start_b.bmp"

# make_menu_disc FOLDER: disc 1 as the menu needs it: the identification file, start.exe of the
# build under test, and Res with the committed artwork and a small read-me.
make_menu_disc() {
  local name
  make_disc "$1" "${DISC_ID_PREFIX}1"
  mkdir -p "$1/Res"
  cp "$WINDOWS_BUILD_DIR/launcher/start.exe" "$1/"
  for name in back start_a start_b install readme exit; do
    cp "$GUI_DIR/../../launcher/art/$name.bmp" "$1/Res/"
  done
  printf '<html><body><p>Kelvaro</p></body></html>\r\n' >"$1/Res/readme.html"
}

# insert_first_run FOLDER: a first run's start: nothing of Wine left running, no install
# record, the cursor away from the menu, and FOLDER in drive E:, a CD-ROM drive.
insert_first_run() {
  wineserver -k 2>/dev/null || true
  remove_install_record
  park_cursor
  map_drive e "$1" cdrom
}
