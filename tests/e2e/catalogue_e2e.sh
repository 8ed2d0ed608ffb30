#!/usr/bin/env bash
# The Start-menu catalogue under Wine. A Start menu is built in the prefix with kvtool; the real
# refresh (background thread, console helper on a pipe, icon lookups) runs in catalogueprobe.exe
# and its published records are compared with the helper's own listing and with the shortcuts.
# Then the reading side against misbehaving helpers (stall, half a line, slow, a burst), what a
# helper holds of the program's open files, the thread's priority, the icon lookups, and finally
# Kestrivalume.exe itself counting a program started outside the menu (window scan).
#   catalogue_e2e.sh win32|win64
source "$(dirname "$0")/lib.sh"
case "${1:-}" in
  win32 | win64) e2e_start "catalogue_$1" "$1" ;;
  *) echo "usage: catalogue_e2e.sh win32|win64" >&2; exit 2 ;;
esac
probe() { e2e_run "$E2E_OUT/catalogueprobe.exe" "$@" | tr -d '\r'; }
utf8() { iconv -f CP1252 -t UTF-8; }
app_data=$(e2e_windows_variable APPDATA)
all_users=$(e2e_windows_variable ALLUSERSPROFILE)
programs="$app_data\\Microsoft\\Windows\\Start Menu\\Programs"
common_programs="$all_users\\Microsoft\\Windows\\Start Menu\\Programs"

# A data folder holding a console helper: the real one, or catalogueprobe playing one.
data_folder() {  # name, helper executable (Linux path) or ""
  local windows="C:\\kvdata\\$1"
  mkdir -p "$(e2e_unix_path "$windows")"
  [ -n "$2" ] && cp "$2" "$(e2e_unix_path "$windows")/KestrivalumeConsole.exe"
  echo "$windows"
}

# --- the Start menu ---
mkdir -p "$(e2e_unix_path "$programs")/Accessoires" "$(e2e_unix_path "$common_programs")/Accessoires"
# The window scan compares with the path of the running notepad, which lives in system32.
e2e_tool lnk "$programs\\Bloc-notes.lnk" 'C:\windows\system32\notepad.exe' >/dev/null
e2e_tool lnk "$programs\\Accessoires\\Éditeur de texte.lnk" 'C:\windows\system32\notepad.exe' 'C:\windows\win.ini' >/dev/null
e2e_tool lnk "$programs\\Accessoires\\Registre.lnk" 'C:\windows\regedit.exe' >/dev/null
e2e_tool lnk "$programs\\Accessoires\\Lisez-moi.lnk" 'C:\windows\win.ini' >/dev/null
e2e_tool lnk "$common_programs\\Accessoires\\Console.lnk" 'C:\windows\system32\cmd.exe' '/k echo ok' >/dev/null
e2e_tool url "$common_programs\\Site.url" 'http://example.invalid/' >/dev/null
printf 'not a shortcut' >"$(e2e_unix_path "$programs")/desktop.ini"
# Web pages open with this program: Internet shortcuts must point at it.
e2e_tool regset HKCR .htm @ sz kvtest.page >/dev/null
e2e_tool regset HKCR 'kvtest.page\Shell\Open\Command' @ sz '"C:\Navigateur\nav.exe" -url "%1"' >/dev/null

# --- the real refresh against the real helper ---
real=$(data_folder real "$E2E_OUT/KestrivalumeConsole.exe")
wine "$(e2e_unix_path "$real")/KestrivalumeConsole.exe" -startmenu | tr -d '\r' >"$E2E_WORK/listing.txt"
probe refresh "$real" 2 >"$E2E_WORK/refresh.txt"
e2e_expect_eq "two refreshes publish A, then B" "published 2 published 1" \
  "$(grep -a '^published' "$E2E_WORK/refresh.txt" | tr '\n' ' ' | sed 's/ $//')"
e2e_expect_eq "htm handler from the association" 'htm C:\Navigateur\nav.exe' "$(grep -a '^htm' "$E2E_WORK/refresh.txt")"
# The records the helper's lines must give: headers as they are, entries with the browser for
# Internet shortcuts and an icon whenever the target has an extension.
awk -F'\t' -v OFS='\t' '
  $1 == ">" { print 0, $3, $2, $4, "", "", "", 0; next }
  { target = ($3 == "iexplore.exe" && $4 == "htm") ? "C:\\Navigateur\\nav.exe" : $3
    print 1, $1, 0, $2, target, $4, $5, ($4 != "" ? 1 : 0) }' "$E2E_WORK/listing.txt" >"$E2E_WORK/expected.txt"
grep -a -v -e '^published' -e '^htm' "$E2E_WORK/refresh.txt" >"$E2E_WORK/records.txt" || true
e2e_expect "the helper listed the Start menu ($(wc -l <"$E2E_WORK/listing.txt") lines)" \
  test "$(wc -l <"$E2E_WORK/listing.txt")" -ge 8
e2e_expect "published records are the helper's lines (diff $E2E_WORK/expected.txt $E2E_WORK/records.txt)" \
  cmp -s "$E2E_WORK/expected.txt" "$E2E_WORK/records.txt"

record() {  # kind, name: the record's fields after the name
  awk -F'\t' -v k="$1" -v n="$2" -v OFS='\t' '$1 == k && $2 == n { $1 = ""; $2 = ""; sub(/^\t\t/, ""); print }' \
    "$E2E_WORK/records.txt" | utf8
}
notepad_target=$(e2e_tool readlnk "$programs\\Bloc-notes.lnk" | cut -f1)
e2e_expect_eq "Bloc-notes entry" "0	$programs\\	$notepad_target	exe		1" "$(record 1 Bloc-notes.lnk)"
e2e_expect_eq "Internet shortcut opens with the browser" "0	$common_programs\\	C:\\Navigateur\\nav.exe	htm		1" \
  "$(record 1 Site.url)"
e2e_expect_eq "shortcut with arguments, accented name" "0	$programs\\Accessoires\\	$notepad_target	exe	C:\\windows\\win.ini	1" \
  "$(record 1 "$(echo 'Éditeur de texte.lnk' | iconv -f UTF-8 -t CP1252)")"
e2e_expect_eq "document shortcut gets its type's icon" "ini" "$(record 1 Lisez-moi.lnk | cut -f4)"
e2e_expect_eq "document icon" "1" "$(record 1 Lisez-moi.lnk | cut -f6)"
e2e_expect_eq "merged group counts both folders" "4" "$(record 0 'Accessoires\' | cut -f1)"
e2e_expect_eq "entries of the merged group in name order" "Console.lnk Lisez-moi.lnk Registre.lnk Éditeur de texte.lnk" \
  "$(awk -F'\t' '$1 == 1 && $4 ~ /Accessoires/ {print $2}' "$E2E_WORK/records.txt" | utf8 | tr '\n' ' ' | sed 's/ $//')"
e2e_expect_eq "files that are no shortcuts are left out" "" "$(record 1 desktop.ini)"
found=$(probe find "$real" 'c:\windows\system32\notepad.exe')
e2e_expect_eq "FindByProgramPath finds the notepad shortcut" "Bloc-notes.lnk	$programs\\	$notepad_target" \
  "$found"

# --- the reading side against misbehaving helpers ---
export WINEDEBUG=-all
fake=$(data_folder fake "$E2E_OUT/catalogueprobe.exe")
started=$(date +%s%N)
records=$(CATALOGUEPROBE_HELPER=stall probe refresh "$fake" 1)
elapsed_ms=$(( ($(date +%s%N) - started) / 1000000 ))
e2e_expect_eq "a stalled helper: what came before the stall is published" \
  "published 2|0	Lent\\	1	C:\\Menu\\Lent\\				0|1	Prog1.lnk	0	C:\\Menu\\	C:\\windows\\notepad.exe	exe	-n 1	1" \
  "$(echo "$records" | grep -v '^htm' | paste -sd '|')"
e2e_expect "the stall was given up on after about 3 s (${elapsed_ms} ms in all)" \
  test "$elapsed_ms" -ge 3000 -a "$elapsed_ms" -lt 20000
helpers=$(wine "$E2E_OUT/servicesprobe.exe" processes | tr -d '\r' | awk -F'\t' 'tolower($2) == "kestrivalumeconsole.exe"' | wc -l)
e2e_expect_eq "the stalled helper was ended" 0 "$helpers"

records=$(CATALOGUEPROBE_HELPER=halfline probe refresh "$fake" 1)
e2e_expect_eq "a line cut off by a stall is dropped" "published 2|0		0	C:\\Menu\\				0" \
  "$(echo "$records" | grep -v '^htm' | paste -sd '|')"
records=$(CATALOGUEPROBE_HELPER=slow probe refresh "$fake" 1)
e2e_expect_eq "a slow helper is read to its end" "4 4" \
  "$(echo "$records" | awk -F'\t' '$1 == 0 {c = $3} $1 == 1 {n++} END {print c, n}')"
records=$(CATALOGUEPROBE_HELPER=burst probe refresh "$fake" 1)
e2e_expect_eq "a burst of 2000 lines arrives whole" "2000 2000 Prog2000.lnk" \
  "$(echo "$records" | awk -F'\t' '$1 == 0 {c = $3} $1 == 1 {n++; last = $2} END {print c, n, last}')"

# --- what a helper holds of the program's handles ---
# Two files open for writing while a helper runs: one opened as the program opens its files,
# one with an inheritable handle. The helper inherits neither, runs in the program's job, and
# the save's replace of its file succeeds.
held=$(probe inherit "$(data_folder inherit "")")
e2e_expect_eq "the program's files are opened not inheritable" "parent own-inheritable 0" \
  "$(echo "$held" | grep '^parent')"
e2e_expect_eq "the helper holds neither file and runs in the job" "own free|control free|job 1" \
  "$(echo "$held" | grep -E '^(own|control|job) ' | paste -sd '|')"
e2e_expect_eq "the save's replace succeeds" "replaced 1" "$(echo "$held" | grep '^replaced')"

# --- the thread and the icons ---
e2e_expect_eq "refresh thread below normal priority, with COM" "priority -1 com 1" "$(probe thread)"
e2e_expect_eq "icon lookups" \
  "file-notepad 1|file-quoted 1|file-absent 0|type-txt 1|type-unknown 1|generic 1|same-key 1" \
  "$(probe icons | paste -sd '|')"

# --- Kestrivalume.exe: a program started outside the menu is found in the catalogue ---
# Kestrivalume writes its own console helper into its data folder at start.
data=$(e2e_unix_path "$app_data\\Kestrivalume")
e2e_launch program "$E2E_OUT/Kestrivalume.exe"
program=$E2E_LAST_PID
e2e_wait_window Kestrivalume 30 >/dev/null || e2e_fail "no button window"
# Notepad is started once the catalogue is there (a scan that sees it earlier finds no shortcut
# and knows it from then on) and the first scan, which compares with the start-up snapshot, is done.
e2e_wait_done Refreshes 1 60 || e2e_fail "no catalogue from the first refresh"
e2e_wait_done Scans 1 30 || e2e_fail "no first window scan"
# A notepad of the prefix's own architecture, whose path the shortcut names.
"$(e2e_prefix_wine)" notepad >/dev/null 2>&1 &
E2E_PIDS+=($!)
e2e_tool wait-window --class Notepad 15000 >/dev/null || e2e_fail "notepad did not start"
# A scan counts visible windows only.
for _ in $(seq 100); do e2e_tool state --class Notepad 2>/dev/null | grep -q '^visible.1' && break; sleep 0.1; done
# Two more scans: one may be running as the count is read.
scans=$(e2e_done Scans)
e2e_wait_done Scans $((scans + 2)) 30 || e2e_fail "no window scan after notepad started"
e2e_tool post --class KestrivalumeWindow --title Kestrivalume close >/dev/null
wait "$program" && status=0 || status=$?
e2e_expect_eq "Kestrivalume exit code" 0 "$status"
# The use is saved at exit: time TAB label TAB shortcut TAB target.
e2e_expect_eq "the window scan recorded notepad as a use of Bloc-notes" \
  "Bloc-notes	$programs\\Bloc-notes.lnk	$notepad_target" "$(cut -f2- "$data/Kestrivalume.lastused" 2>/dev/null | tr -d '\r')"
e2e_finish
