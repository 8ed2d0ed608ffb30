#!/usr/bin/env bash
# Launching from the menu under Wine, with tracer.exe standing in for the programs: every run of
# it appends its working folder and command line to a trace file.
#   Session 1: a shortcut whose program was deleted shows the information window and the menu
#   stays; a program started outside the menu is counted under its Start-menu name by the window
#   scan, one already running at start-up never is; a running program's row restores its
#   minimised window and brings it to the front; a shortcut entry starts its program through the
#   shell (its own arguments and working folder applied); an Internet shortcut opens through the
#   shell; each launch closes the menu; at exit the usage files hold exactly the recorded uses.
#   Session 2: the same shortcut launched again counts 2; the Explorer, Control Panel and printers
#   buttons start their programs with the exact command lines and working folders; a variable
#   the user sets in HKCU\Environment, announced as setx does (WM_SETTINGCHANGE "Environment"),
#   reaches the programs launched afterwards, one deleted there is gone from them, and one the
#   program was started with stays.
#   launch_e2e.sh win32|win64
source "$(dirname "$0")/lib.sh"
case "${1:-}" in
  win32 | win64) e2e_start "launch_$1" "$1" ;;
  *) echo "usage: launch_e2e.sh win32|win64" >&2; exit 2 ;;
esac
menu_title="Start - Kestrivalume"
info_title="Information - Kestrivalume"
app_data=$(e2e_windows_variable APPDATA)
programs="$app_data\\Microsoft\\Windows\\Start Menu\\Programs"
data=$(e2e_unix_path "$app_data\\Kestrivalume")
kv=$(e2e_unix_path 'C:\kvtest')
utf8() { iconv -f CP1252 -t UTF-8; }
lines() { [ -f "$1" ] && tr -d '\r' <"$1" | utf8 || true; }
# Waits up to 10 s until a trace file holds this many lines.
wait_lines() {  # file, count
  for _ in $(seq 100); do
    [ "$(lines "$1" | wc -l)" -ge "$2" ] && return 0
    sleep 0.1
  done
  return 1
}

# --- fixture: one copy of the tracer per role, so that each has its own program path ---
mkdir -p "$(e2e_unix_path "$programs")" "$data" "$kv"/{work,web,fenetre,ancien,disparu,prog,figee,env}
for folder in . web fenetre ancien disparu env; do cp "$E2E_OUT/tracer.exe" "$kv/$folder/tracer.exe"; done
e2e_tool lnk "$programs\\Traceur.lnk" 'C:\kvtest\tracer.exe' '--trace C:\kvtest\launch.log' 'C:\kvtest\work' >/dev/null
e2e_tool lnk "$programs\\Fenêtre Traceur.lnk" 'C:\kvtest\fenetre\tracer.exe' >/dev/null
e2e_tool lnk "$programs\\Déjà lancé.lnk" 'C:\kvtest\ancien\tracer.exe' >/dev/null
e2e_tool lnk "$programs\\Disparu.lnk" 'C:\kvtest\disparu\tracer.exe' >/dev/null
e2e_tool lnk "$programs\\Environnement.lnk" 'C:\kvtest\env\tracer.exe' \
  '--trace C:\kvtest\env.log --env KV_ENV_TEST --env KV_FROM_START' 'C:\kvtest\work' >/dev/null
rm "$kv/disparu/tracer.exe"
# The Internet shortcut's address uses a protocol of our own whose handler is the tracer.
e2e_tool url "$programs\\Page.url" 'kvtrace:page-42' >/dev/null
e2e_tool regset HKCR kvtrace 'URL Protocol' sz '' >/dev/null
e2e_tool regset HKCR 'kvtrace\shell\open\command' @ sz '"C:\kvtest\web\tracer.exe" "%1"' >/dev/null
printf 'ShowProgImmediate = 1\r\n' >"$data/Kestrivalume.prefs"

# Starts a tracer outside the menu, showing a window with this title.
start_tracer_window() {  # folder, title
  wine "C:\\kvtest\\$1\\tracer.exe" --trace 'C:\kvtest\windows.log' --window "$2" >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  e2e_tool wait-window --class TracerWindow --title "$2" 15000 >/dev/null || e2e_fail "tracer window '$2' did not open"
}
start_program() {  # Windows path of Kestrivalume.exe
  e2e_launch "program$session" "$1"
  program=$E2E_LAST_PID
  e2e_tool wait-window --class KestrivalumeWindow --title Kestrivalume 30000 >/dev/null || e2e_fail "no button window"
}
quit_program() {
  e2e_tool post --class KestrivalumeWindow --title Kestrivalume close >/dev/null
  wait "$program" && status=0 || status=$?
  e2e_expect_eq "session $session: exit code" 0 "$status"
}
# Opens the menu with a click on the button window and waits for its new build.
open_menu() {
  e2e_open_menu 20 700 700 || e2e_fail "the menu did not open"
}
# The program's thread answers a message: the handler it was in when asked is over.
program_answers() { e2e_tool send --class KestrivalumeWindow --title Kestrivalume message 0 0 0 >/dev/null; }
close_menu() {
  e2e_click_control "$menu_title" 17  # the close button
  e2e_tool wait-gone "$menu_title" 5000 >/dev/null || e2e_fail "the close button left the menu open"
}
# The first open of a session: once the first catalogue refresh has ended, the menu built
# next lists the Start-menu programs.
open_menu_with_programs() {
  e2e_wait_done Refreshes 1 60 || e2e_fail "no first catalogue"
  open_menu
  [ -n "$(entry Traceur "Lancer les programmes")" ] || e2e_fail "the Start-menu programs never appeared"
}
# Id of the menu's link showing exactly this text (within the section after a header, if given).
entry() {  # text, [section header]
  e2e_dump "$menu_title" | awk -F'\t' -v text="$1" -v header="${2:-}" '
    $2 == "Static" { inside = (header == "" || $7 == " " header) }
    $2 == "KestrivalumeLink" && $7 == text && (header == "" || inside) { print $1; exit }'
}
section() {  # header: the texts of its rows
  e2e_dump "$menu_title" | awk -F'\t' -v header=" $1" '
    $2 == "Static" { inside = ($7 == header); next }
    inside && $2 == "KestrivalumeLink" { print $7 }'
}
launch() {  # entry text
  local id
  id=$(entry "$1" "Lancer les programmes")
  [ -n "$id" ] || { e2e_fail "no entry '$1'"; return 0; }
  e2e_click_control "$menu_title" "$id"
}
expect_menu_closed() {  # what
  e2e_expect "$1 closes the menu" e2e_tool wait-gone "$menu_title" 5000
}
usage_rows() {  # file: label, count or time, launch path, target; sorted by label
  lines "$data/$1" | awk -F'\t' -v OFS='\t' '{print $2, $1, $3, $4}' | sort
}

# ================================ session 1 ================================
session=1
start_tracer_window ancien "Tracer ancien"  # running before the program starts: never counted
start_program "$E2E_OUT/Kestrivalume.exe"

# --- a shortcut whose program was deleted: the information window, the menu stays ---
open_menu_with_programs
launch Disparu
e2e_expect "information window shown" e2e_tool wait-window "$info_title" 3000
info=$(e2e_dump "$info_title")
e2e_expect_eq "its text" "Cet objet n'est plus disponible." \
  "$(awk -F'\t' '$1 ~ /^[0-9]+$/ && $7 != "" {print $7; exit}' <<<"$info")"
pointer=$(xdotool getmouselocation --shell | awk -F= '/^X=/{x=$2} /^Y=/{y=$2} END{print x "," y}')
e2e_expect_eq "its bottom-left corner at the click" "$pointer" \
  "$(awk -F'\t' '$1 == "rect" {split($2, r, ","); print r[1] "," r[4]}' <<<"$info")"
e2e_expect "it goes after about 2 s" e2e_tool wait-gone "$info_title" 4000
program_answers || e2e_fail "no answer after the strip"  # the handler that closed it is over
e2e_expect "menu still open" e2e_tool wait-window "$menu_title" 1
close_menu

# --- the window scan counts a program started outside the menu ---
start_tracer_window fenetre Tracer
seen=$(date +%s)
# A scan may be under way now, begun before the window came: the one after it sees the window.
scans=$(e2e_done Scans)
e2e_wait_done Scans $((scans + 2)) 30 || e2e_fail "no window scan since the tracer's window came"
open_menu
e2e_expect_eq "counted by the scan within $(($(date +%s) - seen)) s, under its Start-menu name" \
  "Fenêtre Traceur" "$(section "Les plus utilisés")"
close_menu

# --- a running program's row restores its minimised window and brings it to the front ---
e2e_tool post --class TracerWindow --title Tracer message 0x112 0xF020 0 >/dev/null  # SC_MINIMIZE
for _ in $(seq 30); do
  e2e_tool state --class TracerWindow --title Tracer | grep -q '^iconic	1' && break
  sleep 0.1
done
e2e_expect_eq "tracer minimised" "iconic	1" "$(e2e_tool state --class TracerWindow --title Tracer | grep iconic)"
open_menu
running=$(section "Programmes en cours")
e2e_expect "both tracers among the running programs ($(paste -sd '|' <<<"$running"))" \
  test "$(grep -c -x -e Tracer -e 'Tracer ancien' <<<"$running")" = 2
id=$(entry Tracer "Programmes en cours")
if [ -n "$id" ]; then e2e_click_control "$menu_title" "$id"; else e2e_fail "no row for the tracer's window"; fi
expect_menu_closed "switching to a window"
state=""
for _ in $(seq 30); do
  state=$(e2e_tool state --class TracerWindow --title Tracer | grep -v '^topmost' | paste -sd ' ')
  [ "$state" = "visible	1 iconic	0 foreground	1" ] && break
  sleep 0.1
done
e2e_expect_eq "the window is restored and in front" "visible	1 iconic	0 foreground	1" "$state"
e2e_screenshot switched

# --- a minimised program that no longer answers: choosing it freezes nothing here ---
cp "$E2E_OUT/tracer.exe" "$kv/figee/tracer.exe"
wine 'C:\kvtest\figee\tracer.exe' --trace 'C:\kvtest\figee.log' --window "Figee" --hang >/dev/null 2>&1 &
hung_tracer=$!
E2E_PIDS+=($hung_tracer)
e2e_tool wait-window --class TracerWindow --title "Figee" 15000 >/dev/null || e2e_fail "the hanging tracer's window did not open"
for _ in $(seq 50); do
  e2e_tool state --class TracerWindow --title "Figee" | grep -q '^iconic	1' && break
  sleep 0.1
done
e2e_expect_eq "hanging tracer minimised" "iconic	1" "$(e2e_tool state --class TracerWindow --title "Figee" | grep iconic)"
open_menu
id=$(entry "Figee" "Programmes en cours")
if [ -n "$id" ]; then
  listing=$(e2e_dump "$menu_title")
  E2E_SLOW_ANSWER_MS=500 e2e_watch_answers hung
  e2e_click_control_in "$listing" "$id" "$menu_title"
  expect_menu_closed "choosing a program that does not answer"
  e2e_expect "the program answers after choosing a hung one" program_answers
  e2e_expect_answers "choosing a program that does not answer" 2000
else
  e2e_fail "no row for the hanging tracer's window"
fi
kill -KILL "$hung_tracer" 2>/dev/null || true
e2e_tool wait-gone --class TracerWindow --title "Figee" 10000 >/dev/null || e2e_fail "the hanging tracer's window stayed"

# --- a shortcut: started through the shell with its own arguments and working folder ---
open_menu
launch Traceur
e2e_expect "the tracer ran" wait_lines "$kv/launch.log" 1
expect_menu_closed "launching a shortcut"
e2e_expect_eq "in the shortcut's working folder, with its arguments" \
  'C:\kvtest\work	"C:\kvtest\tracer.exe" --trace C:\kvtest\launch.log' "$(lines "$kv/launch.log")"

# --- an Internet shortcut: the shell, in the shortcut's folder, hands its address to the handler ---
open_menu
launch Page
e2e_expect "the handler ran" wait_lines "$kv/web/tracer.log" 1
expect_menu_closed "opening an Internet shortcut"
e2e_expect_eq "the handler got the address" "$programs	\"C:\\kvtest\\web\\tracer.exe\" \"kvtrace:page-42\"" \
  "$(lines "$kv/web/tracer.log")"

# --- exit saves: exactly the launches and the scan's find; no window switch, gone or old program ---
quit_program
e2e_expect_eq "most used after session 1" \
  "Fenêtre Traceur	1	$programs\\Fenêtre Traceur.lnk	C:\\kvtest\\fenetre\\tracer.exe
Page	1	$programs\\Page.url	
Traceur	1	$programs\\Traceur.lnk	C:\\kvtest\\tracer.exe" "$(usage_rows Kestrivalume.mostused)"
e2e_expect_eq "last used after session 1" "Fenêtre Traceur|Page|Traceur" \
  "$(usage_rows Kestrivalume.lastused | cut -f1 | paste -sd '|')"
first_time=$(usage_rows Kestrivalume.lastused | awk -F'\t' '$1 == "Traceur" {print $2}')
for title in Tracer "Tracer ancien"; do
  e2e_tool post --class TracerWindow --title "$title" close >/dev/null || true
done
e2e_tool wait-gone --class TracerWindow 5000 >/dev/null || e2e_fail "tracer windows still open"

# ================================ session 2 ================================
# The program runs from a folder that also holds tracers named Explorer.exe and control.exe: a
# program start looks in the starting program's folder first, so the fixed commands run them.
session=2
export KV_FROM_START=depart  # in the program's environment from its start, never in Windows' composition
cp "$E2E_OUT/Kestrivalume.exe" "$kv/prog/"
cp "$E2E_OUT/tracer.exe" "$kv/prog/Explorer.exe"
cp "$E2E_OUT/tracer.exe" "$kv/prog/control.exe"
start_program "$kv/prog/Kestrivalume.exe"

open_menu_with_programs
launch Traceur
e2e_expect "the tracer ran again" wait_lines "$kv/launch.log" 2
expect_menu_closed "launching a shortcut again"
e2e_expect_eq "two runs traced" 2 "$(lines "$kv/launch.log" | grep -c tracer)"

# --- a variable set, then deleted, in HKCU\Environment and announced as setx does ---
env_runs=0
seen=""
launch_env_tracer() {  # what: launches the environment tracer; $seen: the values it saw, TAB-separated
  open_menu
  launch Environnement
  env_runs=$((env_runs + 1))
  wait_lines "$kv/env.log" "$env_runs" || e2e_fail "$1: the environment tracer did not run"
  expect_menu_closed "$1"
  seen=$(lines "$kv/env.log" | sed -n "${env_runs}p" | cut -f3-)
}
# The program handles the broadcast's event before the click that opens the menu after it.
announce() { e2e_tool broadcast-environment >/dev/null || e2e_fail "no broadcast"; }
launch_env_tracer "a launch before"
e2e_expect_eq "before: no such variable, the start's one" "<unset>	depart" "$seen"
e2e_tool regset HKCU Environment KV_ENV_TEST sz 'valeur neuve' >/dev/null
announce
launch_env_tracer "a launch after setting"
e2e_expect_eq "a variable the user set reaches a program launched after the announcement" "valeur neuve	depart" "$seen"
e2e_tool regdel HKCU Environment KV_ENV_TEST >/dev/null
announce
launch_env_tracer "a launch after deleting"
e2e_expect_eq "one the user deleted is gone; the start's one stays" "<unset>	depart" "$seen"

# --- Explorer (18), Control Panel (19), printers (21): exact command lines and folders ---
our_folder=$(winepath -w "$PWD" 2>/dev/null | tr -d '\r')
runs=0
for control in 18 19 21; do
  open_menu
  e2e_click_control "$menu_title" "$control"
  expect_menu_closed "button $control"
  runs=$((runs + 1))
  wait_lines "$kv/prog/tracer.log" "$runs" || e2e_fail "button $control started nothing"
done
e2e_expect_eq "Explorer, Control Panel, printers" \
  "${our_folder%\\}	\"Explorer.exe\" /e,::{20D04FE0-3AEA-1069-A2D8-08002B30309D}
C:\\windows	\"control.exe\"
C:\\windows	\"control.exe\" printers" "$(lines "$kv/prog/tracer.log")"

quit_program
e2e_expect_eq "the second launch counts 2" "Traceur	2" \
  "$(usage_rows Kestrivalume.mostused | awk -F'\t' -v OFS='\t' '$1 == "Traceur" {print $1, $2}')"
e2e_expect_eq "one row each" "4 4" \
  "$(usage_rows Kestrivalume.mostused | wc -l) $(usage_rows Kestrivalume.lastused | wc -l)"
second_time=$(usage_rows Kestrivalume.lastused | awk -F'\t' '$1 == "Traceur" {print $2}')
e2e_expect "last-used time of the second launch ($first_time, then $second_time)" \
  test "${second_time:-0}" -gt "${first_time:-0}"

# ================================ session 3 ================================
# A console helper that cannot be started, as application control or an antivirus refuses a
# program in the user's data folder (played by a file that is no program, a folder in the way of
# its rewrite): the programs come from the catalogue kept on disk by the last session, and a
# shortcut among them is opened through the shell, not reported as gone.
session=3
printf 'no program\r\n' >"$data/KestrivalumeConsole.exe"
mkdir -p "$data/KestrivalumeConsole.exe.tmp"
start_program "$E2E_OUT/Kestrivalume.exe"
e2e_wait_done Refreshes 1 60 || e2e_fail "no refresh with the helper refused"
open_menu
launch Traceur
e2e_expect "the shortcut opened through the shell: the tracer ran" wait_lines "$kv/launch.log" 3
expect_menu_closed "opening a shortcut without the helper"
quit_program
e2e_finish
