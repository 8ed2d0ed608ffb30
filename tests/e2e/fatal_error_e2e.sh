#!/usr/bin/env bash
# The fatal error report under Wine: a program that fails on purpose shows the "ERROR" box with
# the report, the report is on the clipboard byte for byte (CR LF, TABs, signed decimals, the
# marked line), and both answers end the process with exit code 0 - "No" through the normal end
# path, "Yes" at once. Never does execution go on after the fault, and a stack overflow is
# reported like any other fault.
source "$(dirname "$0")/lib.sh"
e2e_start "fatal_error_$1" "$1"
probe="$E2E_OUT/crashprobe.exe"

# e2e_tool drops CRs; the clipboard is compared with its CRs, so kvtool is run directly.
clipboard_to() { e2e_run "$E2E_OUT/kvtool.exe" clipboard >"$1" 2>/dev/null; }

# The report as the clipboard must hold it; the address varies, so it reads ADDRESS here.
expected_report() {  # message, code, line
  printf 'A program error occurred!\r\n\r\n'
  printf 'Error message:\t%s\r\n' "$1"
  printf 'Error code:\t%s\r\n\r\n' "$2"
  printf 'Error address:\tADDRESS\r\n'
  printf 'Program name:\tKestrivalume\r\n'
  printf 'Program version:\tVersion 1.12.06.05\r\n'
  printf 'Program module:\tKestrivalume\r\n'
  printf 'Program line:\t%s\r\n\r\n' "$3"
}

# Compares a clipboard file with the expected report; any signed decimal address is accepted.
expect_report() {  # what, clipboard file, message, code, line
  local actual="$2.masked" expected="$2.expected"
  sed 's/^Error address:\t-\?[0-9]\{1,10\}\r$/Error address:\tADDRESS\r/' "$2" >"$actual"
  expected_report "$3" "$4" "$5" >"$expected"
  if cmp -s "$expected" "$actual"; then
    e2e_log "ok: $1"
  else
    e2e_fail "$1: clipboard differs (od -c below)"
    od -c "$2" >&2
  fi
}

# Sets `status` to the exit status of a launched process once it has ended, or to "running".
# Not in a subshell: only this shell can wait for its children.
wait_exit() {  # pid, seconds
  for _ in $(seq $(($2 * 10))); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  status=running
  kill -0 "$1" 2>/dev/null || { wait "$1" && status=0 || status=$?; }
}

# Waits until the box is shown: a dialog is made hidden and shown once its controls are filled
# in, and only shown controls are read.
box_shown() {  # title
  for _ in $(seq 100); do
    e2e_tool state --class '#32770' --title "$1" 2>/dev/null | grep -q '^visible.1' && return 0
    sleep 0.1
  done
  return 1
}

# One failure: checks the box and the clipboard, answers, checks how the process ended.
# Sets `report` (the clipboard file) for further checks.
run_case() {  # failure, answer (Yes|No), message, code
  local failure=$1 answer=$2 message=$3 code=$4 out="$E2E_WORK/$1.out" line box buttons pid
  report="$E2E_WORK/$failure.clipboard"
  e2e_launch "$failure" "$probe" "$failure"
  pid=$E2E_LAST_PID
  e2e_wait_line "$out" '^line [0-9]' 20 || e2e_fail "$failure: probe printed no line"
  line=$(sed -n 's/^line \([0-9]*\).*/\1/p' "$out" | tr -d '\r' | head -n 1)
  if ! e2e_tool wait-window ERROR 20000 >/dev/null || ! box_shown ERROR || ! box=$(e2e_tool msgbox-text ERROR); then
    e2e_fail "$failure: no ERROR box"
    e2e_screenshot "$failure-no-box"
    end_case "$pid"
    return
  fi
  e2e_expect "$failure: box names the error" grep -qF "Error message:\\t$message\\r\\n" <<<"$box"
  e2e_expect "$failure: box shows the code" grep -qF "Error code:\\t$code\\r\\n" <<<"$box"
  e2e_expect "$failure: box asks to continue" \
    grep -qF 'clipboard to\r\nVarnholtiqa support, support@varnholtiqa.example\r\n\r\nContinue program execution?    (not recommended)' <<<"$box"
  buttons=$(awk -F'\t' '$1 == "button" {gsub("&", "", $2); print $2}' <<<"$box" | paste -sd,)
  e2e_expect_eq "$failure: buttons" "Yes,No" "$buttons"
  e2e_screenshot "$failure-box"

  clipboard_to "$report" || e2e_fail "$failure: clipboard unreadable"
  expect_report "$failure: clipboard report" "$report" "$message" "$code" "$line"

  e2e_tool msgbox-click ERROR "$answer" >/dev/null || e2e_fail "$failure: cannot press $answer"
  wait_exit "$pid" 30
  e2e_expect_eq "$failure: exit code after $answer" 0 "$status"
  e2e_expect "$failure: execution did not go on" bash -c "! grep -q survived '$out'"
  if [ "$answer" = No ] && [ "$failure" = thread ]; then
    e2e_expect "$failure: nothing released from a thread that owns nothing" bash -c "! grep -q released '$out'"
  elif [ "$answer" = No ]; then
    e2e_expect "$failure: normal end path ran" grep -q '^released' "$out"
  else
    e2e_expect "$failure: nothing released" bash -c "! grep -q released '$out'"
  fi
  end_case "$pid"
}

# Leaves no probe and no box behind for the next case, whatever went wrong in this one.
end_case() {  # pid
  kill -0 "$1" 2>/dev/null && { kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; }
  e2e_tool wait-gone ERROR 10000 >/dev/null || e2e_fail "an ERROR box stays after its process"
}

run_case access No "Invalid memory access" -1073741819
# The user pastes the report after the program has gone: it must outlive the process.
clipboard_to "$E2E_WORK/after-exit.clipboard" || true
e2e_expect "report still on the clipboard after the exit" cmp -s "$report" "$E2E_WORK/after-exit.clipboard"

run_case divide Yes "Division by zero " -1073741676
run_case unknown No "Unknown error code" -536866252
# After a stack overflow the report and the end path need a stack of their own.
run_case stack No "Stack overflow" -1073741571
# A fault on another thread than the GUI thread (the catalogue refresh's): the report, then an end
# that destroys no window from the wrong thread.
run_case thread No "Invalid memory access" -1073741819
e2e_finish
