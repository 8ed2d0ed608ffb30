#!/usr/bin/env bash
# The program on a desktop that changes under it, under Wine:
#   - the session ends (wineboot) after a launch from the menu, on a first start: the usage
#     files hold the launch; again with the settings window open: its changed value is saved;
#   - the screen's resolution changes (ChangeDisplaySettingsEx, which Wine carries out on the X
#     screen): the open menu closes, the button window stays in the corner, the next menu has
#     the geometry a program started on that screen gives it; and back again;
#   - the taskbar is made anew ("TaskbarCreated"): the button window is topmost again;
#   - the program quits while its console helper writes without end: the exit ends the helper,
#     completes within a few seconds and saves;
#   - the program killed while that helper runs: the helper ends with it (the program's job).
#   desktop_life_e2e.sh win32|win64   (win32: the display change needs the 32-bit RandR library)
source "$(dirname "$0")/lib.sh"
case "${1:-}" in
  win32 | win64) e2e_start "desktop_life_$1" "$1" ;;
  *) echo "usage: desktop_life_e2e.sh win32|win64" >&2; exit 2 ;;
esac
menu_title="Start - Kestrivalume"
settings_title="Paramètres - Kestrivalume"
app_data=$(e2e_windows_variable APPDATA)
programs="$app_data\\Microsoft\\Windows\\Start Menu\\Programs"
data=$(e2e_unix_path "$app_data\\Kestrivalume")
kv=$(e2e_unix_path 'C:\kvtest')
prefs="$data/Kestrivalume.prefs"
lines() { [ -f "$1" ] && tr -d '\r' <"$1" | iconv -f CP1252 -t UTF-8 || true; }
pref() { lines "$prefs" | sed -n "s/^$1 = //p"; }

# --- fixture: the tracer as a program, and 60 more shortcuts so that the programs fill columns ---
mkdir -p "$(e2e_unix_path "$programs")/Outils" "$data" "$kv"
cp "$E2E_OUT/tracer.exe" "$kv/tracer.exe"
e2e_tool lnk "$programs\\Traceur.lnk" 'C:\kvtest\tracer.exe' '--trace C:\kvtest\launch.log' >/dev/null
python3 - "$(e2e_unix_path "$programs")" <<'EOF'
import os, shutil, sys
top = sys.argv[1]
for number in range(1, 61):
    shutil.copyfile(os.path.join(top, "Traceur.lnk"), os.path.join(top, "Outils", "Outil %02d.lnk" % number))
EOF
printf 'ShowProgImmediate = 1\r\n' >"$prefs"

# Started, and its first catalogue there: no menu opened below is built again when it comes.
start_program() {
  e2e_launch program "$E2E_OUT/Kestrivalume.exe"
  program=$E2E_LAST_PID
  e2e_wait_shown Kestrivalume 30 || e2e_fail "no button window"
  e2e_wait_done Refreshes 1 60 || e2e_fail "no catalogue from the first refresh"
}
open_menu() { e2e_open_menu 8 700 600 || e2e_fail "the menu did not open"; }
open_menu_with_programs() {
  open_menu
  [ -n "$(entry Traceur)" ] || e2e_fail "the Start-menu programs never appeared"
}
# Dark pixels inside the box of a check box, as the screen shows it: its check mark.
check_mark_pixels() {  # dump of the window, control number
  local ox oy l t r b
  IFS=, read -r ox oy <<<"$(awk -F'\t' '$1 == "origin" {print $2}' <<<"$1")"
  IFS=, read -r l t r b <<<"$(awk -F'\t' -v id="$2" '$1 == id {print $3}' <<<"$1")"
  import -window root -crop "9x9+$((ox + l + 2))+$((oy + (t + b) / 2 - 4))" -depth 8 txt:- 2>/dev/null |
    sed -n 's/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' | awk '$1 + $2 + $3 < 300 {n++} END {print n + 0}'
}
entry() { e2e_dump "$menu_title" | awk -F'\t' -v text="$1" '$2 == "KestrivalumeLink" && $7 == text {print $1; exit}'; }
menu_geometry() { e2e_geometry "$(e2e_wait_window "$menu_title" 5)"; }
# Ends the session as logging off does, and waits for the program to be gone.
end_session() {
  timeout 120 wineboot --end-session --shutdown --force >/dev/null 2>&1 || true
  wait "$program" 2>/dev/null || true
  wineserver -w
}

# ================= the end of the session after a launch, on a first start =================
start_program
open_menu_with_programs
e2e_click_control "$menu_title" "$(entry Traceur)"
for _ in $(seq 100); do [ -s "$kv/launch.log" ] && break; sleep 0.1; done
e2e_expect "the tracer ran" test -s "$kv/launch.log"
e2e_expect "no usage file before the session ends" test ! -e "$data/Kestrivalume.mostused"
ended_at=$(e2e_now_ms)
end_session
e2e_log "session ended in $(($(e2e_now_ms) - ended_at)) ms"
e2e_expect_eq "the session's end saved the launch (most used)" \
  "1	Traceur	$programs\\Traceur.lnk	C:\\kvtest\\tracer.exe" "$(lines "$data/Kestrivalume.mostused")"
e2e_expect_eq "the session's end saved the launch (last used)" "Traceur" \
  "$(lines "$data/Kestrivalume.lastused" | cut -f2)"
e2e_expect_eq "the session's end recorded the program's folder" "$(winepath -w "$E2E_OUT" | tr -d '\r')\\" \
  "$(e2e_tool regget HKCU 'Software\Varnholtiqa\Kestrivalume' InstallDir)"

# ================= the end of the session with the settings window open =================
start_program
click_before=$(pref NoMouseClickNeeded)
open_menu
# The settings button.
e2e_click_control_wait_build "$menu_title" 5 "$settings_title" || e2e_fail "settings window not opened"
settings=$(e2e_dump "$settings_title")
e2e_click_control_in "$settings" 26 "$settings_title"  # "Afficher le menu automatiquement sans cliquer sur l'icône"
# The click builds nothing and counts nothing: it is done once the box shows the other state.
for _ in $(seq 100); do
  marks=$(check_mark_pixels "$settings" 26)
  if [ "$click_before" = 1 ]; then [ "$marks" = 0 ] && break; else [ "$marks" -gt 0 ] && break; fi
  sleep 0.1
done
end_session
e2e_expect_eq "the open settings window's change was saved at the session's end" \
  "$((1 - click_before))" "$(pref NoMouseClickNeeded)"
sed -i 's/^NoMouseClickNeeded = .*/NoMouseClickNeeded = 0\r/' "$prefs"  # no corner openings below

# ================= the screen's resolution changes =================
# Xvfb offers only the size it started with; Wine changes the X screen to a mode it offers.
python3 "$(dirname "$0")/offer_screen_mode.py" 1280 720 >"$E2E_WORK/mode.out" &
E2E_PIDS+=($!)
e2e_wait_line "$E2E_WORK/mode.out" '^offered' 10 || e2e_fail "no 1280 x 720 mode offered"
start_program
open_menu_with_programs
wide=$(menu_geometry)
e2e_tool display-mode 1280 720 >/dev/null || e2e_fail "the display mode was not changed"
e2e_expect "the open menu closes" e2e_tool wait-gone "$menu_title" 5000
e2e_expect_eq "the X screen follows" "1280 720" "$(xdotool getdisplaygeometry)"
e2e_expect_eq "the button window stays in the corner" "0 0 16 16" "$(e2e_geometry "$(e2e_wait_window Kestrivalume 5)")"
open_menu
small=$(menu_geometry)
e2e_screenshot small-screen
e2e_tool post --title Kestrivalume close >/dev/null
wait "$program" 2>/dev/null || true
# A program started on the small screen lays its menu out the same way.
start_program
open_menu
e2e_expect_eq "after the change, the menu of a program started on 1280 x 720" "$(menu_geometry)" "$small"
e2e_expect "the menu is 655 pixels high there" grep -q ' 655$' <<<"$small"
e2e_tool display-mode 1920 1080 >/dev/null || e2e_fail "the display mode was not changed back"
e2e_expect "the open menu closes again" e2e_tool wait-gone "$menu_title" 5000
open_menu
e2e_expect_eq "back on 1920 x 1080, the menu of the first start" "$wide" "$(menu_geometry)"
e2e_log "menu at 1920 x 1080: $wide; at 1280 x 720: $small"
e2e_click_control "$menu_title" 17

# ================= the taskbar made anew =================
e2e_tool zorder --title Kestrivalume notopmost >/dev/null || e2e_fail "cannot move the button window"
e2e_expect_eq "out of the topmost band" "topmost	0" "$(e2e_tool state --title Kestrivalume | grep topmost)"
e2e_tool post --title Kestrivalume registered TaskbarCreated 0 0 >/dev/null
for _ in $(seq 50); do e2e_tool state --title Kestrivalume | grep -q '^topmost	1' && break; sleep 0.1; done
e2e_expect_eq "topmost again after TaskbarCreated" "topmost	1" "$(e2e_tool state --title Kestrivalume | grep topmost)"
# The time a plain quit takes here: the floor of the quit below.
e2e_tool post --title Kestrivalume close >/dev/null
quit_at=$(e2e_now_ms)
wait "$program" 2>/dev/null || true
plain_quit=$(($(e2e_now_ms) - quit_at))
wineserver -w

# ================= quitting while the console helper writes without end =================
# The program writes its own helper at start; a folder in the way of its temporary file keeps
# catalogueprobe in its place, playing a helper that never ends and never stalls.
rm -f "$data/Kestrivalume.catalogue"
cp "$E2E_OUT/catalogueprobe.exe" "$data/KestrivalumeConsole.exe"
mkdir -p "$data/KestrivalumeConsole.exe.tmp"
CATALOGUEPROBE_HELPER=endless e2e_launch program "$E2E_OUT/Kestrivalume.exe"
program=$E2E_LAST_PID
e2e_wait_shown Kestrivalume 30 || e2e_fail "no button window"
helper_running() { pgrep -f 'KestrivalumeConsole\.exe' | while read -r pid; do
  tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$pid"; done; }
for _ in $(seq 100); do [ -n "$(helper_running)" ] && break; sleep 0.1; done
e2e_expect "the endless helper runs" test -n "$(helper_running)"
open_menu
# Shows the programs no more: a setting the exit must save. The menu is built again with it.
e2e_click_control_wait_build "$menu_title" 10 || e2e_fail "the menu was not built again"
e2e_tool post --title Kestrivalume close >/dev/null
quit_at=$(e2e_now_ms)  # the close is posted once kvtool returns (its own start is not counted)
status=0
wait "$program" || status=$?
took=$(($(e2e_now_ms) - quit_at))
e2e_log "exit with the endless helper took $took ms (a plain quit $plain_quit ms)"
# Waiting for the refresh, as before, would add its 15 s.
e2e_expect "the exit takes less than 10 s more than a plain quit" test "$took" -lt $((plain_quit + 10000))
e2e_expect_eq "exit code" 0 "$status"
e2e_expect_eq "the exit saved the toggled setting" 0 "$(pref ShowProgImmediate)"
e2e_expect "the helper was ended" test -z "$(helper_running)"
wineserver -w

# ================= killed while the console helper writes without end =================
# No exit of the program's own ends the helper here: only the job the program holds it in.
CATALOGUEPROBE_HELPER=endless e2e_launch program "$E2E_OUT/Kestrivalume.exe"
program=$E2E_LAST_PID
e2e_wait_shown Kestrivalume 30 || e2e_fail "no button window"
for _ in $(seq 100); do [ -n "$(helper_running)" ] && break; sleep 0.1; done
helper=$(helper_running || true)
e2e_expect "the endless helper runs again" test -n "$helper"
program_unix=$(pgrep -f 'Kestrivalume\.exe' | while read -r pid; do
  tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$pid"; done |
  grep -vxF "$helper" | head -n 1 || true)
e2e_expect "the program's own process found" test -n "$program_unix"
kill -KILL "$program_unix" 2>/dev/null || true
wait "$program" 2>/dev/null || true
for _ in $(seq 100); do [ -z "$(helper_running)" ] && break; sleep 0.1; done
e2e_expect "the helper ended with the killed program" test -z "$(helper_running)"
# Were it still running, it would outlive the test: end it for the next one.
for pid in $(helper_running); do kill -KILL "$pid" 2>/dev/null || true; done
e2e_finish
