#!/usr/bin/env bash
# Kestrivalume.exe under Wine: start-up creates the data folder, the start marker and the mutex
# and shows the button window; closing that window ends the program through the exit sequence
# ("InstallDir" written); a second start replaces the first; a marker naming another program
# leaves that program running. The console helper runs and exits with 0.
source "$(dirname "$0")/lib.sh"
e2e_start "program_$1" "$1"
probe="$E2E_OUT/servicesprobe.exe"
program_win=$(winepath -w "$E2E_OUT/Kestrivalume.exe")
app_data=$(e2e_windows_variable APPDATA)
data=$(winepath -u "$app_data\\Kestrivalume")
marker="$data/Kestrivalume.startpid"
marker_pid() { od -An -tu4 -N4 "$marker" | tr -d ' '; }

wine "$E2E_OUT/KestrivalumeConsole.exe" >/dev/null 2>&1 && status=0 || status=$?
e2e_expect_eq "console helper exit code" 0 "$status"

# --- first start ---
e2e_expect "no data folder before the first start" test ! -e "$data"
e2e_launch first "$E2E_OUT/Kestrivalume.exe"
first=$E2E_LAST_PID
xid=$(e2e_wait_window Kestrivalume 30) || e2e_fail "no button window"
sleep 1
e2e_expect_eq "button window geometry" "0 0 16 16" "$(e2e_geometry "$xid")"
e2e_screenshot button
IFS=, read -r r g b < <(e2e_pixel 8 8)
e2e_expect "emblem pixel is blue ($r,$g,$b)" test "$b" -gt "$r" -a "$b" -gt 100
e2e_expect "data folder created" test -d "$data"
e2e_expect_eq "marker size" 4 "$(stat -c %s "$marker" 2>/dev/null)"
first_pid=$(e2e_tool pid --class KestrivalumeWindow --title Kestrivalume)
e2e_expect_eq "marker holds the running instance's id" "$((first_pid))" "$(marker_pid)"
e2e_expect_eq "mutex held" "true" "$(wine "$probe" mutexexists Kestrivalume | tr -d '\r')"

# --- a second start replaces the first (exit code 1, as Windows reports it) ---
e2e_tool wait-exit "$first_pid" 30000 >"$E2E_WORK/first_exit.txt" &
watcher=$!
sleep 1
e2e_launch second "$E2E_OUT/Kestrivalume.exe"
wait "$watcher" || true
wait "$first" || true
e2e_expect_eq "first instance ended with exit code 1" 1 "$(cat "$E2E_WORK/first_exit.txt")"
sleep 2
second_pid=$(e2e_tool pid --class KestrivalumeWindow --title Kestrivalume)
e2e_expect "second instance runs" test -n "$second_pid"
e2e_expect_eq "marker holds the new id" "$((second_pid))" "$(marker_pid)"

# --- closing the button window quits through the exit sequence ---
e2e_tool post --class KestrivalumeWindow --title Kestrivalume close >/dev/null
wait "$E2E_LAST_PID" && status=0 || status=$?
e2e_expect_eq "exit code after close" 0 "$status"
e2e_expect_eq "InstallDir" "${program_win%Kestrivalume.exe}" \
  "$(e2e_tool regget HKCU 'Software\Varnholtiqa\Kestrivalume' InstallDir)"

# --- a marker naming another program (a recycled id) leaves it running ---
wine notepad >/dev/null 2>&1 &
E2E_PIDS+=($!)
e2e_tool wait-window --class Notepad 15000 >/dev/null || e2e_fail "notepad did not start"
notepad_pid=$(e2e_tool pid --class Notepad)
printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((notepad_pid & 255)) $((notepad_pid >> 8 & 255)) \
  $((notepad_pid >> 16 & 255)) $((notepad_pid >> 24 & 255)))" >"$marker"
e2e_expect_eq "marker names notepad" "$((notepad_pid))" "$(marker_pid)"
e2e_launch third "$E2E_OUT/Kestrivalume.exe"
e2e_wait_window Kestrivalume 30 >/dev/null || e2e_fail "no button window on the third start"
sleep 1
e2e_expect "notepad survives" e2e_tool alive "$notepad_pid"
e2e_tool post --class KestrivalumeWindow --title Kestrivalume close >/dev/null
wait "$E2E_LAST_PID" || true
e2e_finish
