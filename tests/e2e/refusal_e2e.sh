#!/usr/bin/env bash
# The 32-bit build on 64-bit Windows shows only its refusal and writes nothing.
source "$(dirname "$0")/lib.sh"
e2e_start refusal_wow64 win32 win64
app_data=$(e2e_windows_variable APPDATA)
data=$(winepath -u "$app_data\\Kestrivalume")
e2e_launch program "$E2E_OUT/Kestrivalume.exe"
e2e_tool wait-window --class '#32770' --title Kestrivalume 20000 >/dev/null || e2e_fail "no refusal box"
# A dialog is made hidden and shown once its controls are filled in.
for _ in $(seq 100); do
  e2e_tool state --class '#32770' --title Kestrivalume 2>/dev/null | grep -q '^visible.1' && break
  sleep 0.1
done
text=$(e2e_tool msgbox-text --class '#32770' --title Kestrivalume | iconv -f CP1252 -t UTF-8 | sort)
e2e_expect_eq "refusal text and only an OK button" "button	OK
static	Veuillez utiliser la version appropriée du logiciel 64 bits pour ce système 64 bits." "$text"
e2e_screenshot box
e2e_expect "no other window" test -z "$(xdotool search --name '^Kestrivalume$' 2>/dev/null | while read -r w; do
  xdotool getwindowgeometry "$w" | grep -q 'Geometry: 16x16' && echo "$w"; done)"
e2e_tool msgbox-click --title Kestrivalume OK >/dev/null
wait "$E2E_LAST_PID" && status=0 || status=$?
e2e_expect_eq "exit code" 0 "$status"
e2e_expect "nothing written into the data folder" test ! -e "$data"
e2e_expect "InstallDir not written" test -z "$(e2e_tool regget HKCU 'Software\Varnholtiqa\Kestrivalume' InstallDir 2>/dev/null)"
e2e_finish
