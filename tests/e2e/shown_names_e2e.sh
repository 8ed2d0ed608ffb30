#!/usr/bin/env bash
# The names Windows shows for Start-menu folders and shortcuts, from their desktop.ini files,
# under Wine. The user's "Accessories" (UTF-16 LE desktop.ini, indirect strings of the test
# module names.dll) and its "System Tools" (ANSI desktop.ini, plain names) merge with the common
# "Accessories"; the menu's group titles and rows show the French names, in their order;
# shortcuts without a usable name (none given, a missing module, a missing string, an empty
# value) keep their file names. A click on a renamed row starts its program and the usage list
# records the shown name; the kept catalogue stays the helper's own listing, and named at the
# next start with the helper refused it shows the same; the module's code never ran in the
# program.
#   shown_names_e2e.sh win32|win64
source "$(dirname "$0")/lib.sh"
case "${1:-}" in
  win32 | win64) e2e_start "shown_names_$1" "$1" ;;
  *) echo "usage: shown_names_e2e.sh win32|win64" >&2; exit 2 ;;
esac
menu_title="Start - Kestrivalume"
app_data=$(e2e_windows_variable APPDATA)
all_users=$(e2e_windows_variable ALLUSERSPROFILE)
programs="$app_data\\Microsoft\\Windows\\Start Menu\\Programs"
common="$all_users\\Microsoft\\Windows\\Start Menu\\Programs"
data=$(e2e_unix_path "$app_data\\Kestrivalume")
kv=$(e2e_unix_path 'C:\kvnames')
marker=$(e2e_unix_path 'C:\kvnames-ran.txt')
module='@%SystemDrive%\kvnames\names.dll'
utf8() { iconv -f CP1252 -t UTF-8; }
lnk() { e2e_tool lnk "$@" >/dev/null || e2e_fail "cannot make the shortcut $1"; }
unix() { e2e_unix_path "$1"; }

# --- the module: its accented strings came through the resource compiler whole ---
e2e_expect_eq "the module's French strings" \
  "101 Accessoires Windows|102 Outils système Windows|103 Invite de commandes|104 Panneau de configuration|105 Éditeur du Registre" \
  "$(python3 "$E2E_ROOT/tests/e2e/pe_info.py" "$E2E_OUT/names.dll" | sed -n 's/^string //p' | head -n 5 | paste -sd '|')"

# --- fixture ---
mkdir -p "$kv" "$data" "$(unix "$programs")/Accessories/System Tools" "$(unix "$programs")/Accessories/Paint Tools" \
  "$(unix "$programs")/Games" "$(unix "$common")/Accessories" "$(unix "$common")/Games"
cp "$E2E_OUT/names.dll" "$E2E_OUT/tracer.exe" "$kv/"
lnk "$programs\\Accessories\\Command Prompt.lnk" 'C:\kvnames\tracer.exe' '--trace C:\kvnames\launch.log' 'C:\kvnames'
lnk "$programs\\Accessories\\Notepad.lnk" 'C:\windows\system32\notepad.exe'
lnk "$programs\\Accessories\\Registry.lnk" 'C:\windows\regedit.exe'
lnk "$programs\\Accessories\\Calculator.lnk" 'C:\windows\system32\winemine.exe'
lnk "$programs\\Accessories\\Wordpad.lnk" 'C:\windows\system32\notepad.exe'
lnk "$programs\\Accessories\\System Tools\\Character Map.lnk" 'C:\windows\system32\winemine.exe'
lnk "$programs\\Accessories\\System Tools\\Control Panel.lnk" 'C:\windows\system32\control.exe'
lnk "$programs\\Accessories\\System Tools\\Disk Cleanup.lnk" 'C:\windows\system32\cmd.exe'
lnk "$programs\\Accessories\\Paint Tools\\Brushes.lnk" 'C:\windows\system32\notepad.exe'
lnk "$programs\\Games\\Solitaire.lnk" 'C:\windows\system32\winemine.exe'
lnk "$common\\Accessories\\Paint.lnk" 'C:\windows\system32\winemine.exe'
lnk "$common\\Games\\Mines.lnk" 'C:\windows\system32\winemine.exe'
# Keys in another letter case than the files; a module that is not there, a string the module
# does not hold.
e2e_write_text utf-16le "$(unix "$programs")/Accessories/desktop.ini" <<INI
[.ShellClassInfo]
LocalizedResourceName=$module,-101
[LocalizedFileNames]
COMMAND PROMPT.LNK=$module,-103
Notepad.lnk=@%SystemDrive%\\kvnames\\absent.dll,-107
Registry.lnk=$module,-105
Calculator.lnk=$module,-999
INI
# A dot in a shown name is no extension; an empty value is no name.
e2e_write_text cp1252 "$(unix "$programs")/Accessories/System Tools/desktop.ini" <<INI
[.ShellClassInfo]
LocalizedResourceName=Outils système Windows
[LocalizedFileNames]
Character Map.lnk=Table des caractères (charmap.exe)
Control Panel.lnk=$module,-104
Disk Cleanup.lnk=
INI
# The common folder's own name gives way to the user's; its shortcut's name still counts.
e2e_write_text cp1252 "$(unix "$common")/Accessories/desktop.ini" <<INI
[.ShellClassInfo]
LocalizedResourceName=Accessoires partagés
[LocalizedFileNames]
Paint.lnk=dessin
INI
# Named in the common folder only.
e2e_write_text cp1252 "$(unix "$common")/Games/desktop.ini" <<INI
[.ShellClassInfo]
LocalizedResourceName=Activités
INI
printf 'ShowProgImmediate = 1\r\n' >"$data/Kestrivalume.prefs"

start_program() {
  e2e_launch program "$E2E_OUT/Kestrivalume.exe"
  program=$E2E_LAST_PID
  e2e_tool wait-window --class KestrivalumeWindow --title Kestrivalume 30000 >/dev/null || e2e_fail_now "no button window"
  e2e_wait_done Refreshes 1 60 || e2e_fail "no first catalogue"
  e2e_open_menu 20 1000 700 || e2e_fail_now "the menu did not open"
}
quit_program() {
  e2e_tool post --class KestrivalumeWindow --title Kestrivalume close >/dev/null
  wait "$program" && status=0 || status=$?
  e2e_expect_eq "exit code" 0 "$status"
}
programs_page() {  # dump: the texts of the titles and rows from the programs' header on
  awk -F'\t' '$1 ~ /^[0-9]+$/ && ($2 == "KestrivalumeLink" || $2 == "Static") {print $7}' <<<"$1" |
    sed -n '/^ Lancer les programmes$/,$p'
}
# Entries by shown name, A-Z folded and other bytes as they are (É after W); the merged group
# and the sibling groups by shown name (Activités before Administrative Tools, Outils before Paint).
expected_page=" Lancer les programmes
 Accessoires Windows
Calculator
dessin
Invite de commandes
Notepad
Wordpad
Éditeur du Registre
 ·Outils système Windows
Disk Cleanup
Panneau de configuration
Table des caractères (charmap.exe)
 ·Paint Tools
Brushes
 Activités
Mines
Solitaire
 Administrative Tools
 StartUp"

# --- the programs page ---
start_program
listing=$(e2e_dump "$menu_title")
e2e_screenshot programs
e2e_expect_eq "the programs page shows the French names in their order" "$expected_page" "$(programs_page "$listing")"

# --- a click on a renamed row: its shortcut opens ---
row=$(awk -F'\t' '$2 == "KestrivalumeLink" && $7 == "Invite de commandes" {print $1; exit}' <<<"$listing")
if [ -n "$row" ]; then
  e2e_click_control_in "$listing" "$row" "$menu_title"
  e2e_expect "the renamed row started its program" e2e_wait_line "$kv/launch.log" tracer.exe 15
  e2e_expect "the launch closes the menu" e2e_tool wait-gone "$menu_title" 5000
  e2e_expect_eq "the program ran as its shortcut says" 'C:\kvnames	"C:\kvnames\tracer.exe" --trace C:\kvnames\launch.log' \
    "$(tr -d '\r' <"$kv/launch.log")"
else
  e2e_fail "no row 'Invite de commandes' to click"
fi

# --- exit: the shown name recorded, the kept catalogue untouched by it ---
quit_program
e2e_expect_eq "the most-used list records the shown name and the shortcut's own path" \
  "1	Invite de commandes	$programs\\Accessories\\Command Prompt.lnk	C:\\kvnames\\tracer.exe" \
  "$(tr -d '\r' <"$data/Kestrivalume.mostused" 2>/dev/null | utf8)"
wine "$data/KestrivalumeConsole.exe" -startmenu | tr -d '\r' >"$E2E_WORK/helper.txt"
e2e_expect "the kept catalogue is the helper's listing (diff $E2E_WORK/helper.txt $data/Kestrivalume.catalogue)" \
  cmp -s "$E2E_WORK/helper.txt" <(tr -d '\r' <"$data/Kestrivalume.catalogue")
e2e_expect "the helper lists file names, no shown names" \
  bash -c "grep -q '^Command Prompt.lnk' '$E2E_WORK/helper.txt' && ! grep -q 'Invite' '$E2E_WORK/helper.txt'"

# --- the next start with the helper refused (a file that is no program, a folder in the way of
# its rewrite): only the kept catalogue is published, named as the listing was ---
printf 'no program\r\n' >"$data/KestrivalumeConsole.exe"
mkdir -p "$data/KestrivalumeConsole.exe.tmp"
start_program
e2e_expect_eq "the kept catalogue shows the same names at the next start" "$expected_page" \
  "$(programs_page "$(e2e_dump "$menu_title")")"
quit_program

# --- the module's code never ran in the program; the marker does tell a run ---
e2e_expect "the module was read as data only (no $marker)" test ! -e "$marker"
"$(e2e_prefix_wine)" rundll32 'C:\kvnames\names.dll,Absent' >/dev/null 2>&1 || true
e2e_expect "the marker tells a run of the module's code" test -s "$marker"
e2e_finish
