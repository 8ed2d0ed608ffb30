#!/usr/bin/env bash
# KestrivalumeConsole.exe under Wine, read through a pipe as the program reads it: a Start menu of
# shortcuts (.lnk with and without arguments), Internet shortcuts (.url), sub-folders and
# desktop.ini files in the common and the user's folders, listed byte for byte in all three modes;
# the program writing the helper into its data folder at every start; a group of 1,000 shortcuts
# that arrives completely without a long silence. Ends with the benchmark's figures.
source "$(dirname "$0")/lib.sh"
e2e_start "console_helper_$1" "$1"
helper="$E2E_OUT/KestrivalumeConsole.exe"
special_folder() { e2e_run "$E2E_OUT/servicesprobe.exe" folder "$1" | tr -d '\r'; }
common_sm=$(special_folder 22)
user_sm=$(special_folder 11)
common_p=$(special_folder 23)
user_p=$(special_folder 2)
e2e_log "Start menus: '$common_sm' and '$user_sm'"
unix() { winepath -u "$1" 2>/dev/null; }
# One output line: the fields joined by TAB, then CR LF.
line() { local IFS=$'\t'; printf '%s\r\n' "$*"; }
# Runs the helper with its output on a pipe; the output goes to the file named first.
run_helper() {  # output file, program, parameters; a failing exit code is reported, not fatal
  local out=$1; shift
  e2e_run_piped "$@" >"$out" 2>/dev/null || e2e_fail "exit code $? from $*"
}
expect_same_bytes() {  # what, expected file, actual file
  if cmp -s "$2" "$3"; then
    e2e_log "ok: $1 ($(wc -l <"$3") lines, $(stat -c %s "$3") bytes)"
  else
    e2e_fail "$1 differs"
    diff <(cat -A "$2") <(cat -A "$3") | head -20 >&2 || true
  fi
}

# --- a Start menu of our own (Wine's own entries removed) ---
for folder in "$common_sm" "$user_sm"; do
  find "$(unix "$folder")" -mindepth 1 -delete
done
mkdir -p "$(unix "$common_p")"/{Accessories,Empty,Tools} "$(unix "$user_p")"/{Accessories,Games/Cards,tools}
mkdir -p "$(unix 'C:\kv')" "$(unix 'C:\kvtree')/Sub"
for file in Tool.EXE setup.exe sol.exe guide.pdf readme; do echo x >"$(unix 'C:\kv')/$file"; done
for folder in "$common_sm" "$user_sm" "$common_p" "${common_p}Accessories\\" "$user_p"; do
  printf '[.ShellClassInfo]\r\n' >"$(unix "$folder")desktop.ini"
done
echo "not a shortcut" >"$(unix "${common_p}Empty\\")readme.txt"
cp "$(unix 'C:\kv')/setup.exe" "$(unix "$common_sm")tool.exe"        # a program file placed directly
printf 'not a shell link' >"$(unix "$user_sm")Broken.lnk"           # cannot be loaded
shortcut() { e2e_tool lnk "$@" >/dev/null || e2e_fail "kvtool lnk $1"; }
shortcut "${common_p}Notepad.lnk" 'C:\windows\notepad.exe'
shortcut "${common_p}Accessories\\Notepad.lnk" 'C:\windows\notepad.exe'
shortcut "${user_p}Accessories\\Notepad.lnk" 'C:\windows\notepad.exe'
shortcut "${user_p}Accessories\\calc.lnk" 'C:\kv\Tool.EXE' '/x "a b"'
shortcut "${user_p}_Setup.lnk" 'C:\kv\setup.exe'
shortcut "${user_p}Games\\Cards\\Solitaire.lnk" 'C:\kv\sol.exe' '-deal 3'
shortcut "${common_p}Tools\\Shell.lnk" 'C:\windows\system32\cmd.exe' '/k echo hi'
shortcut "${user_p}tools\\Guide.lnk" 'C:\kv\readme'
shortcut "${common_sm}Help.lnk" 'C:\kv\guide.pdf'
shortcut 'C:\kvtree\Sub\Deep.lnk' 'C:\kv\setup.exe' '/quiet'
e2e_tool url "${user_p}Web.url" 'http://www.example.com/' >/dev/null || e2e_fail "kvtool url"
# A name outside ASCII, listed in the ANSI code page (byte 0xC9).
cp "$(unix "${user_p}_Setup.lnk")" "$(unix "$user_p")Écran.lnk"
E=$'\xc9'

{
  line ">" 5 "" "$user_sm"
  line "_Setup.lnk" "$user_p" 'C:\kv\setup.exe' exe ""
  line "Help.lnk" "$common_sm" 'C:\kv\guide.pdf' pdf ""
  line "Notepad.lnk" "$common_p" 'C:\windows\notepad.exe' exe ""
  line "Web.url" "$user_p" iexplore.exe htm ""
  line "${E}cran.lnk" "$user_p" 'C:\kv\setup.exe' exe ""
  line ">" 3 'Accessories\' "${user_p}Accessories\\"
  line "calc.lnk" "${user_p}Accessories\\" 'C:\kv\Tool.EXE' exe '/x "a b"'
  line "Notepad.lnk" "${common_p}Accessories\\" 'C:\windows\notepad.exe' exe ""
  line "Notepad.lnk" "${user_p}Accessories\\" 'C:\windows\notepad.exe' exe ""
} >"$E2E_WORK/start_head.txt"
{
  line ">" 0 'Empty\' "${common_p}Empty\\"
  line ">" 0 'Games\' "${user_p}Games\\"
  line ">" 1 'Games\Cards\' "${user_p}Games\\Cards\\"
  line "Solitaire.lnk" "${user_p}Games\\Cards\\" 'C:\kv\sol.exe' exe "-deal 3"
  line ">" 1 'Tools\' "${common_p}Tools\\"
  line "Shell.lnk" "${common_p}Tools\\" 'C:\windows\system32\cmd.exe' exe "/k echo hi"
  line ">" 1 'tools\' "${user_p}tools\\"
  line "Guide.lnk" "${user_p}tools\\" 'C:\kv\readme' "" ""
} >"$E2E_WORK/start_tail.txt"
cat "$E2E_WORK/start_head.txt" "$E2E_WORK/start_tail.txt" >"$E2E_WORK/start_expected.txt"

# --- the three modes ---
run_helper "$E2E_WORK/start.txt" "$helper" -startmenu
expect_same_bytes "-startmenu listing" "$E2E_WORK/start_expected.txt" "$E2E_WORK/start.txt"

{
  line ">" 0 "" "${user_p}Games\\"
  line ">" 1 'Cards\' "${user_p}Games\\Cards\\"
  line "Solitaire.lnk" "${user_p}Games\\Cards\\" 'C:\kv\sol.exe' exe "-deal 3"
} >"$E2E_WORK/folder_expected.txt"
run_helper "$E2E_WORK/folder.txt" "$helper" "${user_p}Games"
expect_same_bytes "folder tree (no trailing backslash given)" "$E2E_WORK/folder_expected.txt" "$E2E_WORK/folder.txt"
{
  line ">" 0 "" 'C:\kvtree\'
  line ">" 1 'Sub\' 'C:\kvtree\Sub\'
  line "Deep.lnk" 'C:\kvtree\Sub\' 'C:\kv\setup.exe' exe "/quiet"
} >"$E2E_WORK/tree_expected.txt"
run_helper "$E2E_WORK/tree.txt" "$helper" 'C:\kvtree\'
expect_same_bytes "folder tree (trailing backslash given)" "$E2E_WORK/tree_expected.txt" "$E2E_WORK/tree.txt"

line "calc.lnk" "${user_p}Accessories\\" 'C:\kv\Tool.EXE' exe '/x "a b"' >"$E2E_WORK/file_expected.txt"
run_helper "$E2E_WORK/file.txt" "$helper" "${user_p}Accessories\\calc.lnk"
expect_same_bytes "single shortcut with arguments" "$E2E_WORK/file_expected.txt" "$E2E_WORK/file.txt"
line "Guide.lnk" "${user_p}tools\\" 'C:\kv\readme' "" "" >"$E2E_WORK/file2_expected.txt"
run_helper "$E2E_WORK/file2.txt" "$helper" "${user_p}tools\\Guide.lnk"
expect_same_bytes "single shortcut to a target without extension" "$E2E_WORK/file2_expected.txt" "$E2E_WORK/file2.txt"

for parameter in -StartMenu "${user_sm}Broken.lnk" "${common_sm}desktop.ini" 'C:\kv\nothing.lnk'; do
  # The status is kept rather than ending the script (set -e), so that a failure is reported.
  e2e_run_piped "$helper" "$parameter" 2>/dev/null >"$E2E_WORK/none.txt" && status=0 || status=$?
  e2e_expect_eq "no output and exit code 0 for '$parameter'" "0 0" "$(stat -c %s "$E2E_WORK/none.txt") $status"
done
e2e_run_piped "$helper" 2>/dev/null >"$E2E_WORK/none.txt" && status=0 || status=$?
e2e_expect_eq "no output and exit code 0 without a parameter" "0 0" "$(stat -c %s "$E2E_WORK/none.txt") $status"

# --- the program writes the helper into its data folder at every start ---
data=$(unix "$(e2e_windows_variable APPDATA)\\Kestrivalume")
start_program() {
  e2e_launch "program$1" "$E2E_OUT/Kestrivalume.exe"
  e2e_wait_window Kestrivalume 30 >/dev/null || e2e_fail "no button window ($1)"
  # The helper is written after the button window is made; the counts appear at the main loop's
  # first idle pass, once the start is done.
  e2e_wait_done RefreshChecks 1 30 || e2e_fail "the start did not finish ($1)"
}
stop_program() {
  e2e_tool post --class KestrivalumeWindow --title Kestrivalume close >/dev/null
  wait "$E2E_LAST_PID" || true
}
start_program 1
e2e_expect "data folder holds the helper, byte for byte" cmp -s "$helper" "$data/KestrivalumeConsole.exe"
stop_program
printf 'an older helper' >"$data/KestrivalumeConsole.exe"
start_program 2
e2e_expect "the helper is written again at the next start" cmp -s "$helper" "$data/KestrivalumeConsole.exe"
stop_program
run_helper "$E2E_WORK/from_data.txt" "$data/KestrivalumeConsole.exe" -startmenu
expect_same_bytes "-startmenu listing by the written helper" "$E2E_WORK/start_expected.txt" "$E2E_WORK/from_data.txt"
e2e_log "sizes: helper $(stat -c %s "$helper") bytes, program $(stat -c %s "$E2E_OUT/Kestrivalume.exe") bytes"
# Its crash report names the helper (the report itself is proven with the program's crash probe).
e2e_expect "the helper's report names it" grep -qa "Kestrivalume Console" "$helper"

# --- 1,000 shortcuts in one folder: every line arrives, no silence near the reader's 3 s limit ---
big=$(unix "${common_p}")Big
mkdir -p "$big"
shortcut 'C:\kv\big.lnk' 'C:\windows\notepad.exe'
tee "$big/Tool "{1000..1999}".lnk" <"$(unix 'C:\kv')/big.lnk" >/dev/null  # one process for 1,000 copies
{
  cat "$E2E_WORK/start_head.txt"
  line ">" 1000 'Big\' "${common_p}Big\\"
  for i in $(seq 1000 1999); do line "Tool $i.lnk" "${common_p}Big\\" 'C:\windows\notepad.exe' exe ""; done
  cat "$E2E_WORK/start_tail.txt"
} >"$E2E_WORK/big_expected.txt"
started=$EPOCHREALTIME
wine "$helper" -startmenu 2>/dev/null | while IFS= read -r text; do printf '%s %s\n' "$EPOCHREALTIME" "$text"; done \
  >"$E2E_WORK/big_times.txt"
ended=$EPOCHREALTIME
sed 's/^[^ ]* //' "$E2E_WORK/big_times.txt" >"$E2E_WORK/big.txt"
expect_same_bytes "1,000-shortcut listing complete" "$E2E_WORK/big_expected.txt" "$E2E_WORK/big.txt"
e2e_expect_eq "entry lines of the large group" 1000 "$(grep -c '^Tool 1[0-9][0-9][0-9]\.lnk' "$E2E_WORK/big.txt")"
# The pause budget itself is proven with a fake clock; here only the reader's contract is
# checked (a figure beside it): no silence between two lines reaches its 3-s stall limit, past
# which the program would drop the rest. The wait for the first line, mostly Wine starting a
# process, is reported apart.
first=$(awk -v start="$started" 'NR == 1 { printf "%.3f", $1 - start }' "$E2E_WORK/big_times.txt")
longest=$(awk 'NR > 1 { gap = $1 - last; if (gap > max) { max = gap; at = NR } } { last = $1 }
               END { printf "%.3f %d", max, at }' "$E2E_WORK/big_times.txt")
whole=$(awk -v a="$started" -v b="$ended" 'BEGIN { printf "%.2f", b - a }')
e2e_log "first line after ${first} s; longest wait between lines ${longest% *} s (before line ${longest#* }); whole run $whole s"
e2e_expect "no wait between lines reaching the reader's 3-s limit" awk -v gap="${longest% *}" 'BEGIN { exit !(gap < 3) }'

# --- benchmark: the same work without the pause (figures only) ---
wine "$E2E_OUT/consolebench.exe" -startmenu 5 2>/dev/null | tr -d '\r' |
  while IFS= read -r text; do e2e_log "bench: $text"; done
e2e_finish
