#!/usr/bin/env bash
# The user-interface runtime under Wine: every kind of control is created where it was asked,
# clicks, toggles and slider moves arrive as events with the right numbers, and the image
# loader of the Windows build reads BMP, PNG and JPEG files and refuses garbage. The probe
# window is made twice: with a child window per control, then drawing its texts, links,
# pictures and buttons itself (the system's controls still windows): the same events come, the
# dump reads the same, and the window shows exactly the same pixels.
source "$(dirname "$0")/lib.sh"
e2e_start "ui_runtime_$1" "$1"
title="UI Probe - Kestrivalume"
probe="$E2E_OUT/uiprobe.exe"

# --- images decoded by the Windows build of the loader ---
convert -size 37x23 gradient:red-blue "$E2E_WORK/a.png"
convert -size 40x30 xc:green "$E2E_WORK/b.jpg"
convert -size 17x9 xc:yellow BMP3:"$E2E_WORK/c.bmp"
head -c 5000 /dev/urandom >"$E2E_WORK/garbage.png"
printf '\x89PNG\r\n\x1a\n' >"$E2E_WORK/short.png"
decode() { wine "$probe" image "$(winepath -w "$E2E_WORK/$1")" | tr -d '\r'; }
e2e_expect_eq "PNG size" "image 37 23" "$(decode a.png)"
e2e_expect_eq "JPEG size" "image 40 30" "$(decode b.jpg)"
e2e_expect_eq "BMP size" "image 17 9" "$(decode c.bmp)"
e2e_expect_eq "garbage refused" "image none" "$(decode garbage.png || true)"
e2e_expect_eq "truncated PNG refused" "image none" "$(decode short.png || true)"

# --- the probe window and its controls ---
probe_window() {  # "" or drawn
local mode=${1:-windows}
e2e_launch "probe-$mode" "$probe" ${1:-}
out="$E2E_WORK/probe-$mode.out"
e2e_wait_line "$out" '^ready 1' 30 || e2e_fail "probe did not start: $(cat "$out")"
xid=$(e2e_wait_window "$title" 20) || e2e_fail "no window titled '$title'"
e2e_wait_build "$title" 0 20 >/dev/null || e2e_fail "the probe window was not built"
dump=$(e2e_tool dump "$title")
echo "$dump" >"$E2E_WORK/dump-$mode.txt"
control() { echo "$dump" | awk -F'\t' -v id="$1" '$1 == id'; }
field() { control "$1" | cut -f "$2"; }
e2e_expect_eq "client size" "600,220" "$(echo "$dump" | sed -n 's/^client\t//p')"
e2e_expect_eq "title text" "Static| Titre de section" "$(field 10 2)|$(field 10 7)"
e2e_expect_eq "link" "KestrivalumeLink|10,70,210,88|Plus de documents ..." "$(field 11 2)|$(field 11 3)|$(field 11 7)"
e2e_expect_eq "button" "Button|Appliquer" "$(field 12 2)|$(field 12 7)"
e2e_expect_eq "check box text" "Afficher les programmes utilisés" "$(field 13 7 | iconv -f CP1252 -t UTF-8)"
e2e_expect_eq "slider class" "msctls_trackbar32" "$(field 14 2)"
e2e_expect_eq "drop-down class" "ComboBox" "$(field 15 2)"
e2e_expect_eq "icon button size" "KestrivalumeIconButton|10,40,26,56" "$(field 100 2)|$(field 100 3)"
e2e_expect_eq "22 icon buttons" "22" "$(echo "$dump" | awk -F'\t' '$2 == "KestrivalumeIconButton"' | wc -l)"
if [ "$mode" = windows ]; then
  e2e_expect_eq "hue image size" "80,170,290,180" "$(field 18 3)"
else
  e2e_expect_eq "a picture without a tooltip is no child for a reader" "" "$(field 18 3)"
fi

# --- clicks arrive as events ---
read -r wx wy _ _ < <(e2e_geometry "$xid")
origin=$(echo "$dump" | sed -n 's/^origin\t//p')
ox=${origin%,*}; oy=${origin#*,}
# The window as shown, before anything is clicked or hovered (the pointer away from it).
xdotool mousemove 1900 1060
e2e_wait_build "$title" 0 20 >/dev/null
import -window root -crop "600x220+$ox+$oy" +repage "$E2E_WORK/window-$mode.png" 2>/dev/null
# Each click is followed by a wait for the event line it causes.
click() { xdotool mousemove $((ox + $1)) $((oy + $2)) click 1; }
click 60 112
e2e_expect "button click reported" e2e_wait_line "$out" '^event control 1 12$' 5
click 125 110
e2e_expect "check box toggled off" e2e_wait_line "$out" '^event control 1 13 checked=0$' 5
click 18 48
e2e_expect "icon button 0 clicked" e2e_wait_line "$out" '^event control 1 100$' 5
click 40 78
e2e_expect "link clicked" e2e_wait_line "$out" '^event control 1 11$' 5
click 300 20
e2e_expect "left click on the window surface" e2e_wait_line "$out" '^event left 1 0$' 5
xdotool mousemove $((ox + 30)) $((oy + 142)) keydown --delay 0 Right keyup Right 2>/dev/null || true
click 30 142
e2e_expect "slider move reported" e2e_wait_line "$out" '^event control 1 14 value=' 5
# The link (10,70 to 210,88) in its hover colour for the screenshot: a hover has no build, so the
# screen is watched until the link looks different.
link_now() { import -window root -crop "200x18+$((ox + 10))+$((oy + 70))" -depth 8 rgb:- 2>/dev/null | md5sum; }
unhovered=$(link_now)
xdotool mousemove $((ox + 60)) $((oy + 76))
for _ in $(seq 50); do
  [ "$(link_now)" != "$unhovered" ] && break
  sleep 0.1
done
e2e_screenshot "probe-$mode"
# --- presses outside the window, in another program's window, are reported; its own are not ---
wine notepad >/dev/null 2>&1 &
E2E_PIDS+=($!)
e2e_tool wait-window --class Notepad 15000 >/dev/null || e2e_fail "notepad did not start"
read -r nx ny nw nh < <(e2e_geometry "$(xdotool search --class notepad | tail -n 1)")
# Wine may drop a click on a window mapped a moment before: an unanswered one is repeated.
presses=0
for _ in 1 2 3; do
  xdotool mousemove $((nx + nw / 2)) $((ny + nh / 2)) click 1
  presses=$((presses + 1))
  e2e_wait_line "$out" '^event pressoutside 1 0$' 5 && break
done
e2e_expect "a press in another program's window reported" e2e_wait_line "$out" '^event pressoutside 1 0$' 1
# Each reported press is one of those made outside (a dropped one is not reported at all).
e2e_expect "no press inside the window reported as outside" test "$(grep -c '^event pressoutside' "$out")" -le "$presses"
e2e_tool post --class Notepad close >/dev/null || true
e2e_tool wait-gone --class Notepad 10000 >/dev/null || e2e_fail "notepad did not close"
e2e_tool post "$title" close >/dev/null
e2e_expect "close reported" e2e_wait_line "$out" '^event close 1 0$' 5
wait "$E2E_LAST_PID" && status=0 || status=$?
e2e_expect_eq "probe exit code" 0 "$status"
}

probe_window
probe_window drawn
# Number, class, box and text of each control; a button's text is its tooltip for a reader,
# and the plain rectangle (17) and the picture without a tooltip (18) say nothing to one.
controls_read() {
  awk -F'\t' '$1 ~ /^-?[0-9]+$/ && $1 != 17 && $1 != 18 {print $1, $2, $3, ($2 == "KestrivalumeIconButton" ? "" : $7)}' "$1" | sort
}
e2e_expect_eq "the dumps read the same" "$(controls_read "$E2E_WORK/dump-windows.txt")" \
  "$(controls_read "$E2E_WORK/dump-drawn.txt")"
e2e_expect_eq "the drawn window shows the same pixels" 0 \
  "$(compare -metric AE "$E2E_WORK/window-windows.png" "$E2E_WORK/window-drawn.png" "$E2E_WORK/window-difference.png" 2>&1 || true)"
e2e_finish
