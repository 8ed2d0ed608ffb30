#!/usr/bin/env bash
# The usage lists under Wine. Hand-written list files (mixed line ends, missing and extra fields,
# empty and CR-only lines, CP1252 letters, unsorted keys) pass through Kestrivalume.exe (read at
# start, written at exit) and come back byte for byte in the program's own form, in file order.
# usageprobe then records uses by label and by target against the real clock, empties a list,
# and clears Windows' recent documents through the functions the program calls.
source "$(dirname "$0")/lib.sh"
e2e_start "usage_lists_$1" "$1"
probe="$E2E_OUT/usageprobe.exe"
app_data=$(e2e_windows_variable APPDATA)
data_win="$app_data\\Kestrivalume\\"
data=$(winepath -u "$app_data\\Kestrivalume")
most="$data/Kestrivalume.mostused"
last="$data/Kestrivalume.lastused"
mkdir -p "$data"

# Byte-exact comparison; on a mismatch both sides are shown as od dumps.
expect_bytes() {  # what, expected file, actual file
  if cmp -s "$2" "$3"; then e2e_log "ok: $1"; return; fi
  e2e_fail "$1"; echo "expected:"; od -c "$2"; echo "actual:"; od -c "$3" 2>/dev/null || echo "(missing)"
}

write_input_files() {
  # CR LF, LF, lone CR (then an extra field), an empty CR LF line, a CR-only line, a last line
  # without a number and without an end.
  printf '3\tBloc-notes\tC:\\Menu\\Bloc-notes.lnk\tC:\\windows\\notepad.exe\r\n7\tCalculatrice\tC:\\Menu\\Calculatrice.lnk\n2\t\xC9diteur de caf\xE9\tC:\\Menu\\\xC9diteur.lnk\tC:\\Programmes\\\xC9diteur\\\xE9dit.exe\textra\r\r\n\rx\tSans nombre' >"$most"
  # Leading blank, "$" hexadecimal, a negative key, LF then lone CR, nothing after the key, and
  # two programs that are used again below (one with its target in capitals).
  printf ' 1500000000\tAncien\tC:\\a.lnk\tC:\\a.exe\n$5A000000\tR\xE9cent\tC:\\r.lnk\r-5\tN\xE9gatif\n\r42\r\n1400000000\tCalculatrice\tC:\\Menu\\Calculatrice.lnk\n1300000000\tBloc-notes\tC:\\Menu\\Bloc-notes.lnk\tC:\\WINDOWS\\Notepad.exe\r\n' >"$last"
}

printf '3\tBloc-notes\tC:\\Menu\\Bloc-notes.lnk\tC:\\windows\\notepad.exe\r\n7\tCalculatrice\tC:\\Menu\\Calculatrice.lnk\t\r\n2\t\xC9diteur de caf\xE9\tC:\\Menu\\\xC9diteur.lnk\tC:\\Programmes\\\xC9diteur\\\xE9dit.exe\r\n0\t\t\t\r\n0\t\t\t\r\n0\tSans nombre\t\t\r\n' >"$E2E_WORK/most.expected"
printf '1500000000\tAncien\tC:\\a.lnk\tC:\\a.exe\r\n1509949440\tR\xE9cent\tC:\\r.lnk\t\r\n-5\tN\xE9gatif\t\t\r\n0\t\t\t\r\n42\t\t\t\r\n1400000000\tCalculatrice\tC:\\Menu\\Calculatrice.lnk\t\r\n1300000000\tBloc-notes\tC:\\Menu\\Bloc-notes.lnk\tC:\\WINDOWS\\Notepad.exe\r\n' >"$E2E_WORK/last.expected"

# --- the program reads both lists at start and writes them at exit ---
write_input_files
e2e_launch program "$E2E_OUT/Kestrivalume.exe"
e2e_wait_window Kestrivalume 30 >/dev/null || e2e_fail "no button window"
# The loop's first idle pass: start-up, which reads the lists, is over.
e2e_wait_done RefreshChecks 1 30 || e2e_fail "the event loop did not start"
e2e_tool post --class KestrivalumeWindow --title Kestrivalume close >/dev/null
wait "$E2E_LAST_PID" && status=0 || status=$?
e2e_expect_eq "exit code after close" 0 "$status"
expect_bytes "program rewrote Kestrivalume.mostused in its own form" "$E2E_WORK/most.expected" "$most"
expect_bytes "program rewrote Kestrivalume.lastused in its own form" "$E2E_WORK/last.expected" "$last"
e2e_expect "no temporary files left" test -z "$(find "$data" -name '*.tmp')"

# --- recording: by label (count 7 -> 8), by target in another letter case (3 -> 4), a new one ---
before=$(wine "$probe" "$data_win" seconds | tr -d '\r')
wine "$probe" "$data_win" load label Calculatrice 'C:\Autre.lnk' '' \
  target 'Autre nom' 'C:\Bureau\Autre nom.lnk' 'c:\windows\notepad.exe' 'c:\windows\notepad.exe' \
  label Nouveau 'C:\Menu\Nouveau.lnk' 'C:\nouveau.exe' save >/dev/null
after=$(wine "$probe" "$data_win" seconds | tr -d '\r')
printf '8\tCalculatrice\tC:\\Menu\\Calculatrice.lnk\t\r\n4\tBloc-notes\tC:\\Menu\\Bloc-notes.lnk\tC:\\windows\\notepad.exe\r\n2\t\xC9diteur de caf\xE9\tC:\\Menu\\\xC9diteur.lnk\tC:\\Programmes\\\xC9diteur\\\xE9dit.exe\r\n1\tNouveau\tC:\\Menu\\Nouveau.lnk\tC:\\nouveau.exe\r\n0\t\t\t\r\n0\t\t\t\r\n0\tSans nombre\t\t\r\n' >"$E2E_WORK/most.recorded"
expect_bytes "mostused after three uses" "$E2E_WORK/most.recorded" "$most"
# lastused: the three used programs lead with times of the clock the program uses. Entries of the
# same second keep their order, so only the set of the three is fixed.
tr -d '\r' <"$last" >"$E2E_WORK/last.txt"
e2e_expect_eq "lastused line count" 8 "$(wc -l <"$E2E_WORK/last.txt")"
e2e_expect_eq "lastused: the three just used lead" "Bloc-notes Calculatrice Nouveau" \
  "$(head -n 3 "$E2E_WORK/last.txt" | cut -f2 | sort | tr '\n' ' ' | sed 's/ $//')"
e2e_expect "lastused: their times lie between $before and $after" \
  awk -F'\t' -v lo="$before" -v hi="$after" 'NR <= 3 && ($1 < lo || $1 > hi) {bad = 1} END {exit bad}' "$E2E_WORK/last.txt"

# --- emptying one list: an empty file, the other list untouched ---
cp "$last" "$E2E_WORK/last.before"
wine "$probe" "$data_win" load clear-most save >/dev/null
e2e_expect_eq "emptied mostused gives an empty file" 0 "$(stat -c %s "$most")"
expect_bytes "lastused untouched by emptying mostused" "$E2E_WORK/last.before" "$last"

# --- Windows' recent documents ---
recent_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\RecentDocs'
recent_listed() { wine reg query "$recent_key" /s 2>/dev/null | grep -q REG_; }
printf 'x' >"$data/document.txt"
wine "$probe" "$data_win" add-recent "${data_win}document.txt" >/dev/null
e2e_expect "a recent document is listed" recent_listed
wine "$probe" "$data_win" clear-recent >/dev/null
e2e_expect "recent documents cleared" eval '! recent_listed'
e2e_finish
