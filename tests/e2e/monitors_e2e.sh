#!/usr/bin/env bash
# Two monitors under Wine: Xvfb with a second screen, taller than the first, and Xinerama (Wine
# reads the monitors from it when told not to use RandR). The virtual desktop is then taller
# than the primary monitor; the menu keeps to the primary monitor, as on a single screen.
#   monitors_e2e.sh win32|win64
source "$(dirname "$0")/lib.sh"
export E2E_MORE_SCREENS="-screen 1 1280x1440x24 +xinerama"
e2e_start "monitors_$1" "$1"
menu_title="Start - Kestrivalume"

e2e_tool regset HKCU 'Software\Wine\X11 Driver' UseXRandR sz N >/dev/null
wineserver -k >/dev/null 2>&1 || true
wineserver -w
e2e_launch program "$E2E_OUT/Kestrivalume.exe"
program=$E2E_LAST_PID
e2e_tool wait-window --class KestrivalumeWindow --title Kestrivalume 30000 >/dev/null || e2e_fail "no button window"
e2e_expect_eq "two monitors, the primary one 1920 x 1080, the desktop 1920 x 1440" \
  "monitors 2 primary 0,0,1920,1080 desktop 1920,1440" "$(e2e_tool monitors | tr -d '\r')"
e2e_wait_done Refreshes 1 60 || e2e_fail "no first catalogue"
e2e_open_menu 20 700 700 || e2e_fail "no menu"
menu=$(e2e_wait_window "$menu_title" 20) || e2e_fail "no menu window"
read -r x y width height <<<"$(e2e_geometry "$menu")"
e2e_log "menu at $x,$y, $width x $height"
e2e_expect "the menu ends on the primary monitor (bottom $((y + height)))" test $((y + height)) -le 1080
e2e_expect "the menu runs down the primary monitor (height $height)" test "$height" -ge 1000
e2e_screenshot menu
e2e_tool post --class KestrivalumeWindow --title Kestrivalume close >/dev/null
wait "$program" && status=0 || status=$?
e2e_expect_eq "exit code" 0 "$status"
e2e_finish
