# Shared by the Wine tests: one prefix per architecture and test run, drives mapped from folders,
# a virtual display. Needs WINE_TEST_ROOT (where the prefix and the display's files live),
# WINDOWS_BUILD_DIR (the build whose programs run) and KELVARO_ARCH (wow64, win32 or x64).
set -euo pipefail

: "${WINE_TEST_ROOT:?}" "${KELVARO_ARCH:?}"
WINE_TOOLS=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../tools" && pwd)
source "$WINE_TOOLS/../launcher/menu.facts"
# The set-up found this machine unable to run the architecture: the test is skipped, with why.
if [ -f "$WINE_TEST_ROOT/skip" ]; then
  echo "skipped on this machine ($KELVARO_ARCH): $(cat "$WINE_TEST_ROOT/skip")"
  exit 77
fi
# wine, wineserver, wineboot and winepath are the architecture's own (tools/winearch).
export PATH="$WINE_TOOLS/winebin:$PATH"
eval "$("$WINE_TOOLS/winearch" "$KELVARO_ARCH" env)"
export WINEPREFIX="$WINE_TEST_ROOT/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ -f "$WINE_TEST_ROOT/display" ]; then
  DISPLAY=$(cat "$WINE_TEST_ROOT/display")
  export DISPLAY
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
reg_add() { reg add "$@" >/dev/null; }
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
