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
# The loop's first idle pass: start-up is over and the button window built.
e2e_wait_done RefreshChecks 1 30 || e2e_fail "the event loop did not start"
e2e_expect_eq "button window geometry" "0 0 16 16" "$(e2e_geometry "$xid")"
# The emblem reaches the screen with the window's painting, which nothing numbers.
for _ in $(seq 50); do
  IFS=, read -r r g b < <(e2e_pixel 8 8)
  [ "${b:-0}" -gt "${r:-0}" ] && [ "${b:-0}" -gt 100 ] && break
  sleep 0.1
done
e2e_screenshot button
e2e_expect "emblem pixel is blue ($r,$g,$b)" test "$b" -gt "$r" -a "$b" -gt 100
e2e_expect "data folder created" test -d "$data"
e2e_expect_eq "marker size" 4 "$(stat -c %s "$marker" 2>/dev/null)"
first_pid=$(e2e_tool pid --class KestrivalumeWindow --title Kestrivalume)
e2e_expect_eq "marker holds the running instance's id" "$((first_pid))" "$(marker_pid)"
e2e_expect_eq "mutex held" "true" "$(wine "$probe" mutexexists Kestrivalume | tr -d '\r')"

# --- a second start replaces the first (exit code 1, as Windows reports it) ---
# The watcher must hold its handle to the first instance before the second start ends it: Wine's
# relay trace of its OpenProcess call says when it does. A start that Wine failed is retried.
start_exit_watcher() {  # Windows process id
  local trace="$E2E_WORK/watcher.trace"
  e2e_tool regset HKCU 'Software\Wine\Debug' RelayInclude sz kernel32.OpenProcess >/dev/null
  for _ in 1 2 3; do
    WINEDEBUG=+relay wine "$E2E_OUT/kvtool.exe" wait-exit "$1" 30000 >"$E2E_WORK/first_exit.txt" 2>"$trace" &
    watcher=$!
    for _ in $(seq 300); do
      grep -q 'Ret  KERNEL32.OpenProcess()' "$trace" && return 0
      kill -0 "$watcher" 2>/dev/null || break
      sleep 0.1
    done
    grep -q 'ShellExecuteEx failed' "$trace" "$E2E_WORK/first_exit.txt" || return 1
    wait "$watcher" || true
  done
  return 1
}
start_exit_watcher "$first_pid" || e2e_fail "the exit watcher did not start"
e2e_launch second "$E2E_OUT/Kestrivalume.exe"
wait "$watcher" || true
wait "$first" || true
e2e_expect_eq "first instance ended with exit code 1" 1 "$(cat "$E2E_WORK/first_exit.txt")"
e2e_wait_done RefreshChecks 1 30 || e2e_fail "the second instance's event loop did not start"
second_pid=$(e2e_tool pid --class KestrivalumeWindow --title Kestrivalume)
e2e_expect "second instance runs" test -n "$second_pid"
e2e_expect_eq "marker holds the new id" "$((second_pid))" "$(marker_pid)"

# --- Alt+F4 closes the menu, never the program ---
# Alt+F4 goes to the active window; on the button window it would have quit the program. A menu
# built after it proves it was handled: the close command it posts comes before the next click.
button_active() { e2e_tool state --class KestrivalumeWindow --title Kestrivalume | grep -qx 'foreground	1'; }
menu_closed_by_alt_f4() { xdotool key alt+F4 && e2e_tool wait-gone "Start - Kestrivalume" 5000 >/dev/null; }
alt_f4_leaves_the_program() {  # what
  xdotool key alt+F4
  e2e_expect "$1: Alt+F4 leaves the program running" e2e_open_menu 20 700 700
  e2e_expect "$1: Alt+F4 closes the menu" menu_closed_by_alt_f4
}
xdotool mousemove 8 8 click 3
e2e_tool wait-window --class '#32768' 10000 >/dev/null || e2e_fail "no popup menu"
xdotool key Escape
e2e_tool wait-gone --class '#32768' 5000 >/dev/null || e2e_fail "the popup menu stayed"
e2e_log "after the popup menu: button window active: $(button_active && echo yes || echo no)"
e2e_expect "after the popup menu the button window is the active one" button_active
alt_f4_leaves_the_program "after the popup menu"
e2e_open_menu 20 700 700 || e2e_fail "no menu"
e2e_click_control "Start - Kestrivalume" 17  # its close button
e2e_tool wait-gone "Start - Kestrivalume" 5000 >/dev/null || e2e_fail "the close button left the menu open"
e2e_log "after the menu's close button: button window active: $(button_active && echo yes || echo no)"
alt_f4_leaves_the_program "after the menu's close button"
e2e_expect "the program runs after every Alt+F4" kill -0 "$E2E_LAST_PID"

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
e2e_wait_done RefreshChecks 1 30 || e2e_fail "the third start's event loop did not start"
e2e_expect "notepad survives" e2e_tool alive "$notepad_pid"
e2e_tool post --class KestrivalumeWindow --title Kestrivalume close >/dev/null
wait "$E2E_LAST_PID" || true
e2e_finish
