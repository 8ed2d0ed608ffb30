#!/usr/bin/env bash
# High-DPI screens under Wine (the DPI set in the prefix, a 1920 x 1080 screen). At each DPI the
# button window, the menu (as opened and with the programs shown) and the settings window with
# its preview are the 96-DPI layout scaled by the rule: each is compared with a run at 96 DPI on
# a screen of the same size in 96-DPI units (1280 x 720 for 144 DPI), scaled by
# tests/e2e/dpi_compare.py. Every text that fits at 96 DPI still fits (measured with its own font
# by tests/win/dpiprobe), and the settings window told that it moved to a 192-DPI monitor lays
# itself out again, exactly scaled, keeping the values shown.
#   dpi_e2e.sh win32|win64    (win64 at 144 and 192 DPI, win32 at 120: together every DPI)
source "$(dirname "$0")/lib.sh"
e2e_start "dpi_$1" "$1"
menu_title="Start - Kestrivalume"
settings_title="Paramètres - Kestrivalume"
preview_title="Aperçu - Kestrivalume"
if [ "$1" = win64 ]; then dpis="144 192"; else dpis="120"; fi
app_data=$(e2e_windows_variable APPDATA)
programs="$app_data\\Microsoft\\Windows\\Start Menu\\Programs"
data=$(e2e_unix_path "$app_data\\Kestrivalume")

# --- fixture: enough programs for several columns at 192 DPI ---
e2e_register_file_types  # each row shows notepad's own icon at the size drawn
for group in Accessoires Bureautique Graphisme Jeux Outils; do
  mkdir -p "$(e2e_unix_path "$programs")/$group"
  for n in 1 2 3 4 5 6 7 8; do
    e2e_tool lnk "$programs\\$group\\$group $n.lnk" 'C:\windows\system32\notepad.exe' >/dev/null
  done
done

# The screen's DPI for the programs started from now on.
set_dpi() {
  wineserver -k >/dev/null 2>&1 || true
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wineserver -w
}

# A display of its own for the next runs (the last one is ended; the cleanup ends them all).
screen_pid=
with_screen() {  # WIDTHxHEIGHT
  [ -n "$screen_pid" ] && kill "$screen_pid" 2>/dev/null
  local first_display=$E2E_XVFB_PID
  E2E_SCREEN="$1x24" e2e_start_display
  screen_pid=$E2E_XVFB_PID
  E2E_PIDS+=("$screen_pid")
  E2E_XVFB_PID=$first_display
}

# One run of the program: its windows dumped into $E2E_WORK/<name>.<window>.
run_program() {  # name
  local name=$1 menu
  rm -rf "$data"
  e2e_launch "program-$name" "$E2E_OUT/Kestrivalume.exe"
  local button
  button=$(e2e_wait_window Kestrivalume 30) || { e2e_fail "$name: no button window"; return; }
  e2e_geometry "$button" >"$E2E_WORK/$name.button"
  # The first catalogue: the menu is not built again under the dump when it comes.
  e2e_wait_done Refreshes 1 60 || e2e_fail "$name: no catalogue from the first refresh"
  # The pointer out of the way of the screenshots.
  e2e_open_menu 20 1910 1070 || { e2e_fail "$name: no menu"; return; }
  menu=$(e2e_wait_window "$menu_title" 5) || { e2e_fail "$name: no menu"; return; }
  e2e_geometry "$menu" >"$E2E_WORK/$name.menu-geometry"
  e2e_dump "$menu_title" >"$E2E_WORK/$name.menu"
  e2e_screenshot "$name-menu"
  before=$(e2e_builds)
  e2e_click_control "$menu_title" 10  # the programs shown
  xdotool mousemove 1910 1070
  e2e_wait_build "$menu_title" "$before" 20 >/dev/null || e2e_fail "$name: menu not shown again"
  e2e_dump "$menu_title" >"$E2E_WORK/$name.programs"
  e2e_screenshot "$name-programs"
  before=$(e2e_builds)
  e2e_click_control "$menu_title" 5  # "Paramètres"
  xdotool mousemove 1910 1070
  e2e_wait_build "$settings_title" "$before" 20 >/dev/null || e2e_fail "$name: no settings window"
  e2e_dump "$settings_title" >"$E2E_WORK/$name.settings"
  e2e_dump "$preview_title" >"$E2E_WORK/$name.preview"
  e2e_screenshot "$name-settings"
  wineserver -k >/dev/null 2>&1 || true
}

compare() {  # what, 96-DPI dump, dump, dpi [--geometry]
  local differences
  if differences=$(python3 "$E2E_ROOT/tests/e2e/dpi_compare.py" "$2" "$3" "$4" ${5:-}); then
    e2e_log "ok: $1 is the 96-DPI layout scaled"
  else
    e2e_fail "$1 differs from the 96-DPI layout scaled:"
    echo "$differences" | head -20 >&2
  fi
}

scaled() { python3 -c "import sys; sys.path.insert(0, '$E2E_ROOT/tests/e2e'); import dpi_compare; print(dpi_compare.scaled($1, $2))"; }

# Text fit, measured in the probe's process: the texts that fit, by window, class and text (the
# menu's automatic control numbers shift where a column starts sooner).
fitting() { awk -F'\t' '$1 == "text" && $7 == "fits" {print $2 "\t" $4 "\t" $8}' "$1" | sort; }

set_dpi 96
e2e_run "$E2E_OUT/dpiprobe.exe" fit | tr -d '\r' | iconv -f CP1252 -t UTF-8 >"$E2E_WORK/fit-96" \
  || e2e_fail "dpiprobe fit at 96 DPI failed"
awk -F'\t' '$1 == "text" && $7 == "clipped" {print "[clipped by the 96-DPI layout itself] " $2, $3, $8}' "$E2E_WORK/fit-96"

for dpi in $dpis; do
  width=$((1920 * 96 / dpi)) height=$((1080 * 96 / dpi))
  set_dpi 96
  with_screen "${width}x${height}"
  run_program "96-on-$width"
  set_dpi "$dpi"
  with_screen 1920x1080
  run_program "$dpi"
  side=$(scaled 16 "$dpi")
  e2e_expect_eq "button window at $dpi DPI" "0 0 $side $side" "$(cat "$E2E_WORK/$dpi.button")"
  read -r x y w h <"$E2E_WORK/$dpi.menu-geometry"
  e2e_expect_eq "menu beside the button at $dpi DPI" "$side 0" "$x $y"
  [ $((x + w)) -le 1920 ] && [ $((y + h)) -le 1080 ] && e2e_log "ok: the menu fits the screen at $dpi DPI" \
    || e2e_fail "the menu ($x $y $w $h) leaves the screen at $dpi DPI"
  for window in menu programs settings preview; do
    compare "$window at $dpi DPI" "$E2E_WORK/96-on-$width.$window" "$E2E_WORK/$dpi.$window" "$dpi"
  done
  e2e_run "$E2E_OUT/dpiprobe.exe" fit | tr -d '\r' | iconv -f CP1252 -t UTF-8 >"$E2E_WORK/fit-$dpi" \
    || e2e_fail "dpiprobe fit at $dpi DPI failed"
  lost=$(comm -23 <(fitting "$E2E_WORK/fit-96") <(fitting "$E2E_WORK/fit-$dpi"))
  e2e_expect_eq "texts that fit at 96 DPI and not at $dpi DPI" "" "$lost"
done

# --- a move to a monitor of 192 DPI: laid out again, exactly scaled, values kept ---
set_dpi 96
with_screen 1920x1080
e2e_launch move "$E2E_OUT/dpiprobe.exe" move 192
e2e_wait_line "$E2E_WORK/move.out" '^ready' 30 || e2e_fail "dpiprobe move never got ready"
e2e_expect "values shown are kept across the move" grep -q '^kept' "$E2E_WORK/move.out"
e2e_dump "$settings_title" >"$E2E_WORK/moved.settings"
e2e_dump "$preview_title" >"$E2E_WORK/moved.preview"
e2e_screenshot moved-settings
# The probe changed values on purpose: only the places are compared here.
compare "settings window after the move" "$E2E_WORK/96-on-$width.settings" "$E2E_WORK/moved.settings" 192 --geometry
compare "preview after the move" "$E2E_WORK/96-on-$width.preview" "$E2E_WORK/moved.preview" 192 --geometry
preview_origin=$(awk -F'\t' '$1 == "origin" {print $2}' "$E2E_WORK/moved.preview")
settings_origin=$(awk -F'\t' '$1 == "origin" {print $2}' "$E2E_WORK/moved.settings")
IFS=, read -r sx sy <<<"$settings_origin"
e2e_expect_eq "preview 1 pixel inside the hole at 192 DPI" "$((sx + $(scaled 369 192))),$((sy + $(scaled 35 192)))" \
  "$preview_origin"
e2e_finish
