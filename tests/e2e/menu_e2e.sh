#!/usr/bin/env bash
# The menu window under Wine: opened by a click on the button window with its exact geometry;
# its controls for a known fixture (Start menu, usage files, recent documents, a running
# window); the toggles rebuild it and reach the preferences file; losing the focus closes it;
# the corner opens it once; launching an entry starts it and records it; a shortcut whose
# program is gone shows the "no longer available" strip while the menu stays open.
#   menu_e2e.sh win32|win64
source "$(dirname "$0")/lib.sh"
e2e_start "menu_$1" "$1"
menu_title="Start - Kestrivalume"
app_data=$(e2e_windows_variable APPDATA)
programs="$app_data\\Microsoft\\Windows\\Start Menu\\Programs"
recent="$app_data\\Microsoft\\Windows\\Recent"
data=$(e2e_unix_path "$app_data\\Kestrivalume")
utf8() { iconv -f CP1252 -t UTF-8; }

# --- fixture ---
mkdir -p "$(e2e_unix_path "$programs")/Accessoires/Outils" "$(e2e_unix_path "$recent")" "$data"
e2e_tool lnk "$programs\\Bloc-notes.lnk" 'C:\windows\system32\notepad.exe' >/dev/null
e2e_tool lnk "$programs\\Accessoires\\Registre.lnk" 'C:\windows\regedit.exe' >/dev/null
e2e_tool lnk "$programs\\Accessoires\\Outils\\Démineur.lnk" 'C:\windows\system32\winemine.exe' >/dev/null
e2e_tool lnk "$programs\\Accessoires\\Ancien.lnk" 'C:\Programmes\Ancien\ancien.exe' >/dev/null
echo 'notes' >"$(e2e_unix_path 'C:\windows')/notes.txt"
e2e_tool lnk "$recent\\notes.txt.lnk" 'C:\windows\notes.txt' >/dev/null
e2e_tool regset HKCU 'Software\Microsoft\Windows\CurrentVersion\Explorer\RecentDocs' MRUListEx mruex 0 >/dev/null
e2e_tool regset HKCU 'Software\Microsoft\Windows\CurrentVersion\Explorer\RecentDocs' 0 recentdoc notes.txt notes.txt.lnk >/dev/null
printf '7\tRegistre\t%s\tC:\\windows\\regedit.exe\r\n' "$programs\\Accessoires\\Registre.lnk" | iconv -f UTF-8 -t CP1252 >"$data/Kestrivalume.mostused"
printf '1350378300\tRegistre\t%s\tC:\\windows\\regedit.exe\r\n' "$programs\\Accessoires\\Registre.lnk" | iconv -f UTF-8 -t CP1252 >"$data/Kestrivalume.lastused"
wine notepad >/dev/null 2>&1 &
E2E_PIDS+=($!)
e2e_tool wait-window --class Notepad 15000 >/dev/null || e2e_fail "notepad did not start"
notepad_title=$(e2e_tool windows | awk -F'\t' '$3 == "Notepad" {print $5; exit}')

# --- open by a click ---
e2e_launch program "$E2E_OUT/Kestrivalume.exe"
e2e_wait_window Kestrivalume 30 >/dev/null || e2e_fail "no button window"
e2e_wait_done Refreshes 1 60 || e2e_fail "no first catalogue"
e2e_open_menu 20 700 700 || e2e_fail "no menu window"
menu=$(e2e_wait_window "$menu_title" 20) || e2e_fail "no menu window"
e2e_expect_eq "menu geometry (programs collapsed, one column)" "16 0 242 1015" "$(e2e_geometry "$menu")"
e2e_screenshot default
# The menu's controls, once it is built.
dump() { e2e_dump "$menu_title"; }
texts() { dump | awk -F'\t' '$1 ~ /^[0-9]+$/ && ($2 == "KestrivalumeLink" || $2 == "Static") {print $7}'; }
e2e_expect_eq "rows of the default menu" " Programmes en cours
$notepad_title
 Les plus utilisés
Registre
 Les derniers utilisés
Registre
 Documents récents
notes.txt
Plus de documents ...
Lancer les programmes ..." "$(texts)"

# Clicks a control of the menu by number (its centre) and waits for the window the click builds.
click_control() {  # id, title of the window built
  e2e_click_control_wait_build "$menu_title" "$1" "$2" || e2e_fail "clicking control $1 built no '$2'"
}
# The program's thread answers a message: the handler or idle pass it was in when asked is over.
program_answers() { e2e_tool send --class KestrivalumeWindow --title Kestrivalume message 0 0 0 >/dev/null; }

# --- toggle "programs shown immediately" (control 10): rebuilt with the programs ---
click_control 10 "$menu_title"
e2e_expect_eq "programs listed after the toggle" " Lancer les programmes
Bloc-notes
 Accessoires
Ancien
Registre
 ·Outils
Démineur
 Administrative Tools
 StartUp" "$(texts | sed -n '/^ Lancer les programmes/,$p')"
e2e_screenshot programs

# --- a shortcut whose program is gone: the strip, the menu stays ---
# The strip lasts about 2 s: its lookup and its dump are started before the click, each waiting
# for the strip's build, so that no start of a tool falls into those 2 s.
ancien=$(dump | awk -F'\t' '$7 == "Ancien" {print $1}')
before=$(e2e_builds)
strip_title="Information - Kestrivalume"
(e2e_tool wait-build "$strip_title" "$before" 20000 >/dev/null && e2e_tool find "$strip_title") >"$E2E_WORK/strip.find" 2>/dev/null &
finding=$!
(e2e_tool wait-build "$strip_title" "$before" 20000 >/dev/null && e2e_tool dump "$strip_title") >"$E2E_WORK/strip.dump" 2>/dev/null &
dumping=$!
e2e_click_control "$menu_title" "$ancien"
wait "$finding" || true
wait "$dumping" || true
strip=$(cat "$E2E_WORK/strip.find")
e2e_expect "information window shown" test -n "$strip"
e2e_expect_eq "its text" "Cet objet n'est plus disponible." "$(awk -F'\t' '$1 == "15" {print $7}' "$E2E_WORK/strip.dump")"
# The strip goes by itself after about 2 s; the menu must outlive the handler that closed it.
e2e_tool wait-gone "Information - Kestrivalume" 10000 >/dev/null || e2e_fail "the information strip stayed"
program_answers || e2e_fail "no answer after the strip"
e2e_expect "menu still open" e2e_tool wait-window "$menu_title" 1

# --- launching Démineur: started, menu closed, recorded ---
mine=$(dump | awk -F'\t' '$7 == "Démineur" {print $1}')
e2e_click_control "$menu_title" "$mine"
e2e_expect "winemine started" e2e_tool wait-window --class WineMine 15000
e2e_expect "menu closed after the launch" e2e_tool wait-gone "$menu_title" 3000

# --- focus loss and the corner ---
before=$(e2e_builds)
xdotool mousemove 2 2
e2e_expect "resting in the corner opens the menu" e2e_tool wait-window "$menu_title" 5000
e2e_wait_build "$menu_title" "$before" 20 >/dev/null || e2e_fail "the menu from the corner was not built"
xdotool mousemove 1000 600 click 1
e2e_expect "clicking elsewhere closes it" e2e_tool wait-gone "$menu_title" 3000
xdotool mousemove 900 600
# The idle pass that closed the menu went on to see the pointer out of the corner; once the
# thread answers, that pass is over and the corner is armed again.
program_answers || e2e_fail "no answer after the menu closed"
xdotool mousemove 1 1
e2e_expect "the corner opens it again after leaving" e2e_tool wait-window "$menu_title" 5000

# --- quit: the toggle and the launch reach the files ---
e2e_tool post --class KestrivalumeWindow --title Kestrivalume close >/dev/null
wait "$E2E_LAST_PID" || true
e2e_expect_eq "toggle saved" "ShowProgImmediate = 1" "$(tr -d '\r' <"$data/Kestrivalume.prefs" | grep '^ShowProgImmediate')"
e2e_expect_eq "launch counted" "1	Démineur" "$(utf8 <"$data/Kestrivalume.mostused" | tr -d '\r' | grep Démineur | cut -f1,2)"
e2e_finish
