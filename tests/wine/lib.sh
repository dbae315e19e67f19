# Shared by the Wine tests: one prefix per test run, drives mapped from folders, a virtual display.
# Needs WINE_TEST_ROOT (where the prefix and the display's files live) and WINDOWS_BUILD_DIR.
set -euo pipefail

: "${WINE_TEST_ROOT:?}"
export WINEPREFIX="$WINE_TEST_ROOT/prefix"
export WINEARCH=win32
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

# Maps FOLDER as drive LETTER of TYPE (cdrom or hd); the wineserver restarts to see it.
map_drive() {
  local letter=$1 folder=$2 type=$3
  ln -sfn "$(realpath "$folder")" "$WINEPREFIX/dosdevices/${letter}:"
  wine reg add 'HKLM\Software\Wine\Drives' /v "${letter}:" /t REG_SZ /d "$type" /f >/dev/null
  wineserver -w
  wineserver -k || true
}

unmap_drive() {
  local letter=$1
  rm -f "$WINEPREFIX/dosdevices/${letter}:"
  wine reg delete 'HKLM\Software\Wine\Drives' /v "${letter}:" /f >/dev/null 2>&1 || true
  wineserver -w
  wineserver -k || true
}

# The prefix's C: drive as a Unix folder.
drive_c() { echo "$WINEPREFIX/drive_c"; }

# The user's temporary folder, as a Unix path.
temp_dir() { echo "$WINEPREFIX/drive_c/users/$(whoami)/Temp"; }

install_record() { # install_record 'C:\Games\Kelvaro\'  (stored as REG_SZ)
  wine reg add 'HKCU\Software\Harrowlight\Kelvaro' /v InstallDir /t REG_SZ /d "$1" /f >/dev/null
}

remove_install_record() {
  wine reg delete 'HKCU\Software\Harrowlight\Kelvaro' /f >/dev/null 2>&1 || true
}

# Makes a folder laid out as game disc N (its identification file only).
make_disc() { # make_disc FOLDER TEXT
  mkdir -p "$1/program files/harrowlight/kelvaro"
  printf '%s' "$2" >"$1/program files/harrowlight/kelvaro/KWRFILEID"
}
