#!/usr/bin/env bash
# The release packages under Wine. Makes them first (scripts/release.sh --no-build).
#   release_e2e.sh win32|win64   the zip holds exactly the program, the help document, the
#       skins and LISEZMOI.txt; the installer installs silently for the current user; the
#       program starts from there with a skin drawn from its files; the uninstaller ends the
#       running program and removes the files, the shortcut, the autostart value and the keys,
#       but keeps the user's data and a skin the user added
#   release_e2e.sh wow64         the 32-bit installer on 64-bit Windows refuses in the
#       program's own words and installs nothing
# In win64 mode also the package managers' manifests (tests/release/check_manifests.py): their
# fields, and hashes that are those of the files in out/dist; and that the check finds faults.
source "$(dirname "$0")/lib.sh"
mode=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
"$root/scripts/release.sh" --no-build >"$root/out/release_e2e.log" 2>&1 ||
  { cat "$root/out/release_e2e.log" >&2; echo "release_e2e: scripts/release.sh failed" >&2; exit 1; }
version=$(sed -n 's/.*kVersionText\[\] = "Version \([0-9.]*\)";.*/\1/p' "$root/shell/button_window.h")
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrivalume'
run_key='Software\Microsoft\Windows\CurrentVersion\Run'
utf8() { iconv -f CP1252 -t UTF-8; }

# What every package holds, from the skins in the repository.
expected_files() {
  local skin
  { printf '%s\n' Kestrivalume.exe Kestrivalume.pdf LISEZMOI.txt
    for skin in "$root"/Skins/*/; do
      printf "Skins/$(basename "$skin")/%s\n" background.jpg preview.jpg skininfo.txt
    done; } | LC_ALL=C sort
}

# The installer of the 32-bit build on 64-bit Windows ------------------------------------------
if [ "$mode" = wow64 ]; then
  e2e_start release_wow64 win32 win64
  setup="$root/out/dist/Kestrivalume-$version-win32-setup.exe"
  local_app_data=$(e2e_windows_variable LOCALAPPDATA)
  e2e_launch setup "$setup"
  e2e_tool wait-window --class '#32770' 20000 >/dev/null || e2e_fail "no refusal box"
  # A message box is shown once its texts and buttons are made; then its thread answers.
  for _ in $(seq 100); do e2e_tool state --class '#32770' 2>/dev/null | grep -q '^visible.1' && break; sleep 0.1; done
  e2e_tool send --class '#32770' message 0 0 0 >/dev/null || e2e_fail "the refusal box does not answer"
  e2e_screenshot refusal
  e2e_expect_eq "refusal in the program's words, OK only" "button	OK
static	Veuillez utiliser la version appropriée du logiciel 64 bits pour ce système 64 bits." \
    "$(e2e_tool msgbox-text --class '#32770' | utf8 | LC_ALL=C sort)"
  e2e_tool msgbox-click --class '#32770' OK >/dev/null
  wait "$E2E_LAST_PID" && status=0 || status=$?
  e2e_expect "the installer ends with an error code" test "$status" != 0
  e2e_run "$setup" /S >/dev/null 2>&1 && status=0 || status=$?
  e2e_expect "silent: ends with an error code" test "$status" != 0
  e2e_expect "nothing installed" test ! -e "$(e2e_unix_path "$local_app_data\\Programs\\Kestrivalume")"
  e2e_expect "no uninstall entry" test -z "$(e2e_tool regget HKCU "$uninstall_key" DisplayName 2>/dev/null)"
  e2e_finish
  exit 0
fi

# One architecture: zip, install, run, uninstall -----------------------------------------------
arch=$mode
zip_file="$root/out/dist/Kestrivalume-$version-$arch.zip"
setup="$root/out/dist/Kestrivalume-$version-$arch-setup.exe"
e2e_start "release_$arch" "$arch"
e2e_expect_eq "zip holds exactly the release files" "$(expected_files)" "$(unzip -Z1 "$zip_file" | LC_ALL=C sort)"
e2e_expect_eq "zip holds the $arch program" "$(unzip -p "$zip_file" Kestrivalume.exe | md5sum)" \
  "$(md5sum <"$root/out/$arch/Kestrivalume.exe")"
e2e_expect "LISEZMOI.txt in Windows-1252 with CR LF" \
  bash -c "unzip -p '$zip_file' LISEZMOI.txt | iconv -f CP1252 -t UTF-8 | grep -q $'^Kestrivalume $version .* bits)\r\$'"

# --- the manifests for the package managers (once, they cover both architectures) ---
if [ "$arch" = win64 ]; then
  for check in check_manifests check_manifests_test; do
    if python3 "$root/tests/release/$check.py" "$root/out/dist" "$version" >"$E2E_WORK/$check.log" 2>&1; then
      e2e_log "ok: $check"
    else
      cat "$E2E_WORK/$check.log" >&2
      e2e_fail "$check: the manifests in out/dist/manifests (see above)"
    fi
  done
fi

local_app_data=$(e2e_windows_variable LOCALAPPDATA)
app_data=$(e2e_windows_variable APPDATA)
install_win="$local_app_data\\Programs\\Kestrivalume"
install=$(e2e_unix_path "$install_win")
shortcut="$app_data\\Microsoft\\Windows\\Start Menu\\Programs\\Kestrivalume.lnk"
data=$(e2e_unix_path "$app_data\\Kestrivalume")

# --- silent installation ---
e2e_run "$setup" /S >/dev/null 2>&1 && status=0 || status=$?
e2e_expect_eq "installer exit code" 0 "$status"
e2e_expect_eq "installed files" "$(expected_files; echo desinstaller.exe)" \
  "$(cd "$install" 2>/dev/null && find . -type f | sed 's|^\./||' | LC_ALL=C sort)"
e2e_expect_eq "the installed program is the $arch build" "$(md5sum <"$root/out/$arch/Kestrivalume.exe")" \
  "$(md5sum <"$install/Kestrivalume.exe")"
e2e_expect_eq "Start-menu shortcut" "$install_win\\Kestrivalume.exe" \
  "$(e2e_tool readlnk "$shortcut" 2>/dev/null | cut -f1 | utf8)"
e2e_expect_eq "uninstaller registered" "\"$install_win\\desinstaller.exe\"" \
  "$(e2e_tool regget HKCU "$uninstall_key" UninstallString 2>/dev/null | utf8)"
e2e_expect_eq "version registered" "$version" "$(e2e_tool regget HKCU "$uninstall_key" DisplayVersion 2>/dev/null)"

# --- the installed program draws the menu with a skin from its Skins folder ---
skin=$([ "$arch" = win64 ] && echo Ivoire || echo Lagune)
skin_colour() {  # key: "r,g,b" of the skin's colour
  local hex
  hex=$(tr -d '\r' <"$install/Skins/$skin/skininfo.txt" | sed -n "s/^$1 = #//p")
  printf '%d,%d,%d' "0x${hex:0:2}" "0x${hex:2:2}" "0x${hex:4:2}"
}
near() {  # "r,g,b" "r,g,b" tolerance: every channel within it
  local a b
  IFS=, read -r -a a <<<"$1"; IFS=, read -r -a b <<<"$2"
  for i in 0 1 2; do
    [ "${a[$i]:-999}" -ge $((b[i] - $3)) ] && [ "${a[$i]:-999}" -le $((b[i] + $3)) ] || return 1
  done
}
mkdir -p "$data"
printf 'SelectedSkin = %s\r\n' "$skin" >"$data/Kestrivalume.prefs"
e2e_launch program "$install_win\\Kestrivalume.exe"
e2e_wait_window Kestrivalume 30 >/dev/null || e2e_fail "the installed program shows no button window"
# The first catalogue: a menu opened before it would be built again under the pixels read below.
e2e_wait_done Refreshes 1 60 || e2e_fail "no catalogue from the first refresh"
e2e_open_menu 20 700 700 || e2e_fail "no menu"
e2e_screenshot "menu-$skin"
# The first section title ("Programmes en cours") right of its text; an empty spot lower down
# shows the background picture, stretched to the screen and anchored at the window (x 16).
title=$(e2e_pixel 222 15)
e2e_expect_eq "section title in the skin's TitleBackColor" "$(skin_colour TitleBackColor)" "$title"
background=$(e2e_pixel 150 900)
picture=$(convert "$install/Skins/$skin/background.jpg" -resize 1920x1080! -crop 1x1+134+900 -depth 8 txt:- |
  sed -n '2s/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p')
e2e_expect "menu background from the skin's picture ($background, picture $picture)" near "$background" "$picture" 12
e2e_expect "menu background not black" test "$background" != "0,0,0"
xdotool mousemove 29 13 click 1  # the menu's close button
e2e_tool wait-gone "Start - Kestrivalume" 5000 >/dev/null || e2e_fail "the menu did not close"

# --- the autostart value the program's save wrote: its path quoted, then the program again ---
e2e_tool post --class KestrivalumeWindow --title Kestrivalume close >/dev/null || e2e_fail "close not posted"
wait "$E2E_LAST_PID" || e2e_fail "the program did not end with exit code 0"  # after its save
e2e_expect_eq "autostart value: the installed program, quoted" "\"$install_win\\Kestrivalume.exe\"" \
  "$(e2e_tool regget HKCU "$run_key" Kestrivalume 2>/dev/null | utf8)"
e2e_launch program "$install_win\\Kestrivalume.exe"
e2e_wait_window Kestrivalume 30 >/dev/null || e2e_fail "the program did not start again"

# --- uninstall while the program runs; a skin of the user's own stays ---
mkdir -p "$install/Skins/Perso"
printf 'Courtesy = moi\r\nListingColor = #102030\r\n' >"$install/Skins/Perso/skininfo.txt"
wine "$install_win\\desinstaller.exe" /S >/dev/null 2>&1 || e2e_fail "uninstaller did not start"
# The uninstaller goes on from a copy of itself; done when its key is gone.
for _ in $(seq 120); do
  e2e_tool regget HKCU "$uninstall_key" DisplayName >/dev/null 2>&1 || break
  sleep 0.5
done
e2e_expect "program ended" e2e_tool wait-gone --class KestrivalumeWindow 5000
e2e_expect_eq "only the user's skin is left" "Skins/Perso/skininfo.txt" \
  "$(cd "$install" 2>/dev/null && find . -type f | sed 's|^\./||')"
e2e_expect "shortcut removed" test ! -e "$(e2e_unix_path "$shortcut")"
e2e_expect_eq "autostart value removed" "" "$(e2e_tool regget HKCU "$run_key" Kestrivalume 2>/dev/null)"
e2e_expect_eq "InstallDir removed" "" "$(e2e_tool regget HKCU 'Software\Varnholtiqa\Kestrivalume' InstallDir 2>/dev/null)"
e2e_expect_eq "uninstall entry removed" "" "$(e2e_tool regget HKCU "$uninstall_key" DisplayName 2>/dev/null)"
# The program saved all its settings at its end (and its autostart value with them, which the
# uninstaller then removed): it was ended, not killed.
e2e_expect_eq "the user's data kept, saved by the program at its end" "SelectedSkin = $skin|DisplayColumnWidth = 190" \
  "$(tr -d '\r' <"$data/Kestrivalume.prefs" 2>/dev/null | grep -E '^(SelectedSkin|DisplayColumnWidth) ' | paste -sd'|')"
e2e_finish
