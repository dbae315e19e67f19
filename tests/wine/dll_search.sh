#!/usr/bin/env bash
# start.exe takes the system's libraries from the system folder only, even with a look-alike
# planted beside it, as anyone could drop one into the temporary folder its copy runs from.
source "$(dirname "$0")/lib.sh"

# uxtheme is not imported by start.exe: user32 loads it by name when the first window is made.
# Wine takes its builtin for a name it knows whatever file the search finds (it only borrows
# that file's path), so the look-alike runs only when native comes first for that name.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;uxtheme=n,b"

work="$(drive_c)/dll_search"
marker="$(temp_dir)/planted-dll-loaded.txt"
rm -rf "$work" && mkdir -p "$work"
cp "$WINDOWS_BUILD_DIR/launcher/start.exe" "$WINDOWS_BUILD_DIR/tests/wine/uxtheme.dll" \
  "$WINDOWS_BUILD_DIR/tests/wine/dll_search_control.exe" "$work/"
cd "$work" || fail "no folder $work"
start_pid=
trap '[ -n "$start_pid" ] && kill "$start_pid" 2>/dev/null; rm -f "$marker"' EXIT

# The control: the look-alike is taken when nothing restricts the search, so the check below
# could fail; with the restriction the system's own file comes instead.
cases=(
  "|yes"
  "--window|yes"
  "--restrict|no"
  "--restrict --window|no"
)
for c in "${cases[@]}"; do
  args=${c%|*} want=${c#*|}
  rm -f "$marker"
  # shellcheck disable=SC2086 # the flags are words
  out=$(timeout 60 wine dll_search_control.exe uxtheme.dll $args | tr -d '\r')
  if [ "$want" = yes ]; then
    grep -qF 'C:\dll_search\dll_search_control.exe' "$marker" 2>/dev/null ||
      fail "control ${args:-(plain)}: the planted library was not loaded ($out)"
  else
    [ ! -e "$marker" ] || fail "control $args: the planted library was loaded"
    [ "$out" = "loaded=C:\\windows\\$KELVARO_SYSTEM_DIR\\uxtheme.dll" ] ||
      fail "control $args: got '$out'"
  fi
  echo "ok: control ${args:-(plain)} -> planted loaded: $want"
done

# The menu itself: it must make its window (which loads uxtheme) without the look-alike.
rm -f "$marker"
log="$work/loaddll.log"
WINEDEBUG=+loaddll wine start.exe 2>"$log" &
start_pid=$!
line=
for _ in $(seq 200); do
  # Its main thread is the one that loaded start.exe; user32 loads uxtheme on that thread.
  tid=$(grep -m1 -F 'dll_search\\start.exe" at' "$log" | cut -d: -f1 || true)
  if [ -n "$tid" ]; then
    line=$(grep -m1 "^$tid:trace:loaddll:.*uxtheme" "$log" || true)
    [ -n "$line" ] && break
  fi
  sleep 0.1
done
# Exit, at client (390, 393) of the window centred on the 1024 x 768 display.
xdotool mousemove 678 574 click 1 2>/dev/null || true
for _ in $(seq 100); do
  kill -0 "$start_pid" 2>/dev/null || break
  sleep 0.1
done
kill "$start_pid" 2>/dev/null || true
wait "$start_pid" 2>/dev/null || true
start_pid=

[ -n "$line" ] || fail "start.exe never loaded uxtheme: the on-demand load was not exercised"
echo "start.exe: $line"
[ ! -e "$marker" ] || fail "start.exe loaded the planted library: $(tr -d '\r' <"$marker")"
case "$line" in
*"$KELVARO_SYSTEM_DIR"'\\uxtheme.dll'*builtin*) ;;
*) fail "start.exe got uxtheme from elsewhere than the system folder" ;;
esac
echo "ok: start.exe took uxtheme from the system folder; the planted one stayed unloaded"
