#!/usr/bin/env bash
# The shipped programs start under Wine: Kestrivalume.exe shows its 16 x 16 button window in the
# screen corner with the program's icon and ends cleanly when that window is closed; the
# console helper runs and exits with 0.
source "$(dirname "$0")/lib.sh"
e2e_start "program_$1" "$1"

wine "$E2E_OUT/KestrivalumeConsole.exe" >/dev/null 2>&1 && status=0 || status=$?
e2e_expect_eq "console helper exit code" 0 "$status"

e2e_launch program "$E2E_OUT/Kestrivalume.exe"
xid=$(e2e_wait_window Kestrivalume 30) || e2e_fail "no button window"
sleep 1
e2e_expect_eq "button window geometry" "0 0 16 16" "$(e2e_geometry "$xid")"
e2e_screenshot button
# The emblem is blue: the centre pixel's blue channel dominates.
IFS=, read -r r g b < <(e2e_pixel 8 8)
e2e_expect "emblem pixel is blue ($r,$g,$b)" test "$b" -gt "$r" -a "$b" -gt 100
e2e_tool post Kestrivalume close >/dev/null
wait "$E2E_LAST_PID" && status=0 || status=$?
e2e_expect_eq "exit code after close" 0 "$status"
e2e_finish
