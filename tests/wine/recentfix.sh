#!/usr/bin/env bash
# recentfix on the real platform: its question answered through the real message box.
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
# The system code page is then Windows-1252, which cannot spell the Cyrillic folder names below.
export LC_ALL=C.UTF-8

work="$WINE_TEST_ROOT/recentfix"
rm -rf "$work" && mkdir -p "$work"
explorer='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer'
driver() { wine "$WINDOWS_BUILD_DIR/tests/wine/recentfix_driver.exe" "$@" | tr -d '\r'; }

# The program as it would be shipped: a copy of its own inside the prefix.
mkdir -p "$(drive_c)/recentfix"
cp "$WINDOWS_BUILD_DIR/recentfix/recentfix.exe" "$(drive_c)/recentfix/"

# Wine links the documents folder to the home folder; the tests give the shell a scratch one.
docs='C:\kelvaro-docs'
docs_unix="$(drive_c)/kelvaro-docs"
repaired="REG_SZ 23 $docs\\recent\\0" # 22 characters and the zero
for key in 'Shell Folders' 'User Shell Folders'; do
  wine reg export "$explorer\\$key" "$(winepath -w "$work/$key.reg")" /y >/dev/null
done
restore_keys() {
  for key in 'Shell Folders' 'User Shell Folders'; do
    wine reg import "$(winepath -w "$work/$key.reg")" >/dev/null 2>&1
  done
}
# Folders named outside the system code page, for the documents and the Recent folder.
docs_cyrillic='C:\kelvaro-Документы'
recent_cyrillic='C:\kelvaro-Недавние'
docs_cyrillic_unix="$(drive_c)/kelvaro-Документы"
recent_cyrillic_unix="$(drive_c)/kelvaro-Недавние"
finish() {
  restore_keys
  writable_folder "$docs_unix"
  rm -rf "$docs_unix" "$(drive_c)/recentfix" "$docs_cyrillic_unix" "$recent_cyrillic_unix"
  wineserver -k || true
}
trap finish EXIT

set_recent() { # set_recent PATH: the Recent folder both keys name
  for key in 'Shell Folders' 'User Shell Folders'; do
    wine reg add "$explorer\\$key" /v Recent /t REG_SZ /d "$1" /f >/dev/null
  done
}

# Each case starts from the prefix's own Recent folder and an empty documents folder.
fresh_case() {
  echo "--- $1"
  restore_keys
  for key in 'Shell Folders' 'User Shell Folders'; do
    wine reg add "$explorer\\$key" /v Personal /t REG_SZ /d "$docs" /f >/dev/null
  done
  writable_folder "$docs_unix"
  rm -rf "$docs_unix" "$recent_unix/hlwtest.tmp" && mkdir -p "$docs_unix"
}

set_personal() { # set_personal PATH: the documents folder both keys name
  for key in 'Shell Folders' 'User Shell Folders'; do
    wine reg add "$explorer\\$key" /v Personal /t REG_SZ /d "$1" /f >/dev/null
  done
}

values() { echo "$(driver value 'Shell Folders') | $(driver value 'User Shell Folders')"; }

# Runs the program, answers its question with $1 and keeps what the driver saw in $seen.
run_recentfix() {
  local pid rc=0
  wine "$(drive_c)/recentfix/recentfix.exe" &
  pid=$!
  seen=$(driver answer "$1")
  wait "$pid" || rc=$?
  [ "$rc" = 0 ] || fail "exit code $rc"
  [ "$(head -n1 <<<"$seen")" = "$question" ] || fail "question box: $(head -n1 <<<"$seen")"
  seen=$(tail -n +2 <<<"$seen")
}

expect_seen() {
  [ "$seen" = "$1" ] || fail "boxes after the question: '$seen', want '$1'"
}

question="question: Certains syst\\xe8mes peuvent pr\\xe9senter des arguments invalides dans le \
Registre Windows concernant le chemin d'acc\\xe8s au r\\xe9pertoire 'Mes documents'. Ceci peut \
entra\\xeener une erreur et l'arr\\xeat de l'installation.\\nEst-ce que ce programme doit ajuster \
les entr\\xe9es incorrectes du Registre ? [ yes no ]"
error_box='box: Erreur lors de la r\xe9paration du Registre [ ok ]'

recent_unix=$(winepath -u "$(driver folder recent)")
[ -d "$recent_unix" ] || fail "no Recent folder at $recent_unix"
fresh_case 'the shell sees the scratch documents folder'
[ "$(driver folder personal)" = "$docs" ] || fail "documents folder: $(driver folder personal)"

fresh_case 'No: nothing changes, even with an unusable Recent folder'
set_recent 'C:\kelvaro-missing'
before=$(values)
run_recentfix no
expect_seen ended
[ "$(values)" = "$before" ] || fail "values changed: $(values)"
[ ! -e "$docs_unix/recent" ] || fail "recent created"

fresh_case 'Yes with a usable Recent folder: nothing changes, no second box'
before=$(values)
run_recentfix yes
expect_seen ended
[ "$(values)" = "$before" ] || fail "values changed: $(values)"
[ ! -e "$docs_unix/recent" ] || fail "recent created"
[ ! -e "$recent_unix/hlwtest.tmp" ] || fail "test file left behind"

# Three ways Wine lets the Recent folder fail the test: the shell has no path for it, the path
# is a file (no current folder), or the test file's name is taken by a folder (no file).
for how in missing file test-file-taken; do
  fresh_case "Yes with an unusable Recent folder ($how): both values name $docs\\recent"
  case $how in
  missing) set_recent 'C:\kelvaro-missing' ;;
  file)
    touch "$(drive_c)/kelvaro-file"
    set_recent 'C:\kelvaro-file'
    ;;
  test-file-taken) mkdir "$recent_unix/hlwtest.tmp" ;;
  esac
  run_recentfix yes
  expect_seen ended
  [ "$(values)" = "$repaired | $repaired" ] || fail "values: $(values)"
  [ -d "$docs_unix/recent" ] || fail "no recent folder"
  rm -rf "$(drive_c)/kelvaro-file" "$recent_unix/hlwtest.tmp"
done

fresh_case 'Yes, unusable Recent folder, "recent" already a folder: both values written'
mkdir "$docs_unix/recent"
set_recent 'C:\kelvaro-missing'
run_recentfix yes
expect_seen ended
[ "$(values)" = "$repaired | $repaired" ] || fail "values: $(values)"

fresh_case 'Yes, unusable Recent folder, "recent" a file: the error box, nothing written'
touch "$docs_unix/recent"
set_recent 'C:\kelvaro-missing'
before=$(values)
run_recentfix yes
expect_seen "$error_box
ended"
[ "$(values)" = "$before" ] || fail "values changed: $(values)"
[ -f "$docs_unix/recent" ] || fail "the file recent is gone"

# What the tool cannot mend, or must not touch: the error box, no value written, no folder
# made, exit code 0. The Recent folder is unusable in the first two, so the repair runs; the
# last is a Recent folder that works but that the system code page cannot name, which is not
# repointed blindly.
for how in docs-read-only docs-outside-code-page recent-outside-code-page; do
  fresh_case "Yes, $how: the error box, nothing written"
  set_recent 'C:\kelvaro-missing'
  case $how in
  docs-read-only)
    if ! read_only_folder "$docs_unix"; then
      echo "case skipped: no read-only folder can be made on this machine ($READ_ONLY_HOW)"
      writable_folder "$docs_unix"
      continue
    fi
    echo "(read-only by: $READ_ONLY_HOW)"
    ;;
  docs-outside-code-page)
    mkdir -p "$docs_cyrillic_unix"
    set_personal "$docs_cyrillic"
    ;;
  recent-outside-code-page)
    mkdir -p "$recent_cyrillic_unix"
    set_recent "$recent_cyrillic"
    ;;
  esac
  before=$(values)
  run_recentfix yes
  expect_seen "$error_box
ended"
  [ "$(values)" = "$before" ] || fail "values changed: $(values)"
  for folder in "$docs_unix" "$docs_cyrillic_unix" "$recent_cyrillic_unix"; do
    [ ! -d "$folder" ] || [ -z "$(ls -A "$folder")" ] || fail "written into $folder: $(ls -A "$folder")"
  done
  writable_folder "$docs_unix"
  rm -rf "$docs_cyrillic_unix" "$recent_cyrillic_unix"
done
echo "all cases passed"
