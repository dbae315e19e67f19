# Shared by the Wine tests and scripts/run: one prefix per architecture, drives mapped from
# folders, a virtual display. Needs KELVARO_ARCH (wow64, win32 or x64) and a home for the prefix:
# a Wine test has WINE_TEST_ROOT (its run's prefix, display and reason to skip live there) and
# WINDOWS_BUILD_DIR (the build whose programs run); a script with a prefix of its own, as
# scripts/run, sets WINE_OWN_PREFIX to it instead.
# shellcheck shell=bash
set -eEuo pipefail
# A command that fails where nothing tests it ends the script; say which, since many of the
# calls here keep their output quiet.
trap 'echo "FAIL: ${BASH_SOURCE[0]##*/}:$LINENO: \"$BASH_COMMAND\" exited $?" >&2' ERR

: "${KELVARO_ARCH:?}"
WINE_TOOLS=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../tools" && pwd)
# shellcheck source=launcher/menu.facts
source "$WINE_TOOLS/../launcher/menu.facts"
if [ -n "${WINE_OWN_PREFIX:-}" ]; then
  export WINEPREFIX=$WINE_OWN_PREFIX
else
  : "${WINE_TEST_ROOT:?}"
  # The set-up found this machine unable to run the architecture: the test is skipped, with why.
  if [ -f "$WINE_TEST_ROOT/skip" ]; then
    echo "skipped on this machine ($KELVARO_ARCH): $(cat "$WINE_TEST_ROOT/skip")"
    exit 77
  fi
  export WINEPREFIX="$WINE_TEST_ROOT/prefix"
  if [ -f "$WINE_TEST_ROOT/display" ]; then
    DISPLAY=$(cat "$WINE_TEST_ROOT/display")
    export DISPLAY
  fi
fi
# wine, wineserver, wineboot and winepath are the architecture's own (tools/winearch).
export PATH="$WINE_TOOLS/winebin:$PATH"
eval "$("$WINE_TOOLS/winearch" "$KELVARO_ARCH" env)"
export WINEDEBUG=-all
# No Mono or Gecko installers: they would stop an unattended first boot to ask. No menu builder:
# the installer's Start-menu shortcut would have Wine write a launcher into the Unix desktop's
# menus, outside the prefix.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# A test starts with no Wine process of the test before it, and with that wineserver gone:
# a process that meets a server on its way out can fail to start at all.
if [ -z "${WINE_OWN_PREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
  wineserver -k 2>/dev/null || true
fi

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# reg VERB KEY ARG...: Wine's reg in every view of the registry that the programs may read. In a
# 64-bit prefix HKLM\Software has a 32-bit view of its own (Wow6432Node), and Wine's drive map is
# read from the 64-bit one; HKCU\Software is one key in both.
reg() {
  local view
  for view in ${REG_VIEWS:-native}; do
    if [ "$view" = native ]; then
      wine reg "$@" /f
    else
      wine reg "$@" /f "/reg:$view"
    fi
  done
}
# A write is tried three times, as the first Wine process after a server restart can fail to
# start on a busy machine; what reg said comes out if all fail.
reg_add() {
  local out try
  for try in 1 2 3; do
    out=$(reg add "$@" 2>&1) && return 0
    echo "reg add $1: try $try failed: $out" >&2
    sleep 1
  done
  echo "reg add $*: $out" >&2
  return 1
}
# reg_delete KEY [ARG...]: the key or value gone from every view; nothing there is no fault.
reg_delete() { reg delete "$@" >/dev/null 2>&1 || true; }

# Maps FOLDER as drive LETTER of TYPE (cdrom or hd); the wineserver restarts to see it.
map_drive() {
  local letter=$1 folder=$2 type=$3
  ln -sfn "$(realpath "$folder")" "$WINEPREFIX/dosdevices/${letter}:"
  reg_add 'HKLM\Software\Wine\Drives' /v "${letter}:" /t REG_SZ /d "$type"
  wineserver -w
  wineserver -k || true
}

unmap_drive() {
  local letter=$1
  rm -f "$WINEPREFIX/dosdevices/${letter}:"
  reg_delete 'HKLM\Software\Wine\Drives' /v "${letter}:"
  wineserver -w
  wineserver -k || true
}

# The prefix's C: drive as a Unix folder.
drive_c() { echo "$WINEPREFIX/drive_c"; }

# The user's temporary folder, as a Unix path.
temp_dir() { echo "$WINEPREFIX/drive_c/users/$(whoami)/Temp"; }

install_record() { # install_record 'C:\Games\Kelvaro\'  (stored as REG_SZ)
  reg_add 'HKCU\Software\Harrowlight\Kelvaro' /v InstallDir /t REG_SZ /d "$1"
}

remove_install_record() {
  reg_delete 'HKCU\Software\Harrowlight\Kelvaro'
}

# Makes a folder laid out as game disc N (its identification file only).
make_disc() { # make_disc FOLDER TEXT
  mkdir -p "$1/program files/harrowlight/kelvaro"
  printf '%s' "$2" >"$1/program files/harrowlight/kelvaro/KWRFILEID"
}

# start_display DIR: our own Xvfb at 1024 x 768, exported as DISPLAY. Xvfb picks a free number
# itself and writes it once it accepts clients; the number is kept in DIR/display and the
# server's process in DIR/xvfb.pid and XVFB_PID, for whoever ends it. Not in a $(...): the
# server must be a child of this shell, and DISPLAY set in it.
start_display() {
  local dir=$1
  rm -f "$dir/display" "$dir/display.part"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display.part" \
    >/dev/null 2>&1 &
  XVFB_PID=$!
  echo "$XVFB_PID" >"$dir/xvfb.pid"
  for _ in $(seq 100); do
    if [ -s "$dir/display.part" ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then break; fi
    sleep 0.1
  done
  [ -s "$dir/display.part" ] || fail "Xvfb did not start"
  DISPLAY=":$(tr -d '[:space:]' <"$dir/display.part")"
  export DISPLAY
  echo "$DISPLAY" >"$dir/display"
}

# boot_prefix: makes $WINEPREFIX ready, a new one in 10 to 30 s.
boot_prefix() {
  timeout 180 wineboot -i >/dev/null 2>&1
  timeout 120 wineserver -w
}

# read_only_folder DIR: DIR, made if need be, refuses new files, and READ_ONLY_HOW says how.
# Root writes through permissions, so it gets the immutable flag instead, which binds root too.
# Where neither holds (a file system without the flag), it returns 1 and READ_ONLY_HOW says
# why, so that the caller skips that case rather than test nothing. writable_folder DIR undoes
# either.
# shellcheck disable=SC2034 # READ_ONLY_HOW is the caller's to tell
read_only_folder() {
  mkdir -p "$1"
  chmod 555 "$1"
  READ_ONLY_HOW="no write permission"
  if touch "$1/.probe" 2>/dev/null; then
    rm -f "$1/.probe"
    READ_ONLY_HOW="root writes through permissions and chattr +i is refused here"
    chattr +i "$1" 2>/dev/null || return 1
    READ_ONLY_HOW="root writes even into an immutable folder here"
    if touch "$1/.probe" 2>/dev/null; then
      rm -f "$1/.probe"
      chattr -i "$1"
      return 1
    fi
    READ_ONLY_HOW="immutable flag, as root writes through permissions"
  fi
}

writable_folder() {
  [ -d "$1" ] || return 0
  chattr -i "$1" 2>/dev/null || true
  chmod u+w "$1"
}
