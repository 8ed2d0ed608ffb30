#!/usr/bin/env bash
# An update under Wine, with two installers of one architecture: the release's (made by
# scripts/release.sh --no-build) and a later version built from the same files, whose
# Kestrivalume.exe carries a marker at its end so that the new files can be told from the old.
#   A first silent installation starts nothing. The installed program runs, counts a program of
#   the Start menu, gets a skin the user added and chooses it in its settings window. The silent
#   update closes it (it saves), installs the new files, keeps the data and the user's skin, and
#   starts the program again from the new files, which shows the same lists and skin. An update
#   through the installer's pages starts it once and offers no second start. A program that
#   does not end stops the update with an error code, nothing changed. An update while the
#   program is not running starts nothing.
#   update_e2e.sh win32|win64   (takes /tmp/kv_release.lock itself around scripts/release.sh)
source "$(dirname "$0")/lib.sh"
case "${1:-}" in
  win32 | win64) arch=$1 ;;
  *) echo "usage: update_e2e.sh win32|win64" >&2; exit 2 ;;
esac
e2e_start "update_$arch" "$arch"
root=$E2E_ROOT
menu_title="Start - Kestrivalume"
settings_title="Paramètres - Kestrivalume"
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrivalume'
utf8() { iconv -f CP1252 -t UTF-8; }

# --- the two installers, copied out of out/dist at once (other runs remake it) ---
version=$(sed -n 's/.*kVersionText\[\] = "Version \([0-9.]*\)";.*/\1/p' "$root/shell/button_window.h")
new_version=$(awk -F. -v OFS=. '{$NF = sprintf("%02d", $NF + 1); print}' <<<"$version")
new_quad=$(awk -F. '{printf "%d.%d.%d.%d", $1, $2, $3, $4}' <<<"$new_version")
package="$E2E_WORK/package"
# The lock is the one developers take around scripts/release.sh; do not run this test under it.
flock -w 240 /tmp/kv_release.lock bash -c '
  set -e
  "$1/scripts/release.sh" --no-build >"$2/release.log" 2>&1
  cp "$1/out/dist/Kestrivalume-$3-$4-setup.exe" "$2/setup-old.exe"
  cp -r "$1/out/dist/build/$4" "$2/package"
  cp "$1/out/dist/build/kestrivalume.ico" "$2/package/"' _ "$root" "$E2E_WORK" "$version" "$arch" ||
  { cat "$E2E_WORK/release.log" >&2; e2e_fail "scripts/release.sh --no-build"; e2e_finish; }
marker="Kestrivalume update test $new_version"
printf '\r\n%s\r\n' "$marker" >>"$package/stage/Kestrivalume.exe"
sed -i "s|$root/out/dist/build/$arch/stage|$package/stage|g" "$package/files.nsh"
grep -q "out/dist" "$package/files.nsh" && e2e_fail "files.nsh still names out/dist"
makensis -V2 -INPUTCHARSET UTF8 -DARCH="$arch" -DVERSION="$new_version" -DVERSION_QUAD="$new_quad" \
  -DGENERATED="$package" -DICON="$package/kestrivalume.ico" -DOUTFILE="$E2E_WORK/setup-new.exe" \
  "$root/installer/kestrivalume.nsi" >"$E2E_WORK/makensis.log" 2>&1 ||
  { cat "$E2E_WORK/makensis.log" >&2; e2e_fail "makensis of version $new_version"; e2e_finish; }
new_exe_md5=$(md5sum <"$package/stage/Kestrivalume.exe")

local_app_data=$(e2e_windows_variable LOCALAPPDATA)
app_data=$(e2e_windows_variable APPDATA)
install_win="$local_app_data\\Programs\\Kestrivalume"
install=$(realpath -m "$(e2e_unix_path "$install_win")")
data=$(e2e_unix_path "$app_data\\Kestrivalume")
programs="$app_data\\Microsoft\\Windows\\Start Menu\\Programs"

# Linux ids of the processes that have the installed Kestrivalume.exe mapped: the program
# running from the installed files (Wine maps the image from its file).
running_installed() {
  grep -lF " $install/Kestrivalume.exe" /proc/[0-9]*/maps 2>/dev/null | cut -d/ -f3 | sort -n || true
}
# "major:minor inode" of the installed executable as a process maps it, and on disk.
mapped_file() {
  local device inode
  read -r device inode < <(awk -v f="$install/Kestrivalume.exe" '$6 == f {print $4, $5; exit}' "/proc/$1/maps" 2>/dev/null)
  [ -n "$inode" ] && printf '%d:%d %s\n' "0x${device%:*}" "0x${device#*:}" "$inode"
}
file_on_disk() { stat -c '%Hd:%Ld %i' "$install/Kestrivalume.exe"; }
# Waits up to 10 s until a process has ended (gone, or a zombie not yet waited for).
ended() {
  for _ in $(seq 100); do
    case "$(ps -o stat= -p "$1" 2>/dev/null)" in "" | Z*) return 0 ;; esac
    sleep 0.1
  done
  return 1
}
pref() { tr -d '\r' <"$data/Kestrivalume.prefs" 2>/dev/null | sed -n "s/^$1 = //p" | utf8; }
list_labels() { tr -d '\r' <"$data/$1" 2>/dev/null | cut -f2 | utf8 | LC_ALL=C sort | paste -sd'|'; }
# Every file the user owns: the data folder (the console helper and start marker aside, which the
# program rewrites at each start) and the added skin, with their contents.
user_files() {
  (cd "$data" && find . -type f ! -name KestrivalumeConsole.exe ! -name Kestrivalume.startpid | LC_ALL=C sort)
  (cd "$install/Skins/Perso" && md5sum ./* | LC_ALL=C sort -k2)
}
button_window() { e2e_tool wait-window --class KestrivalumeWindow --title Kestrivalume "$1" >/dev/null 2>&1; }
install_silently() {  # installer -> its exit code
  local status
  e2e_run "$1" /S >/dev/null 2>&1 && status=0 || status=$?
  echo "$status"
}
open_menu() { e2e_open_menu 8 700 700 || e2e_fail "the menu did not open"; }
close_menu() {
  e2e_click_control "$menu_title" 17
  e2e_tool wait-gone "$menu_title" 5000 >/dev/null || e2e_fail "the menu stayed open"
}
section() {  # header: the texts of its rows in the open menu
  e2e_dump "$menu_title" | awk -F'\t' -v header=" $1" '
    $2 == "Static" { inside = ($7 == header); next }
    inside && $2 == "KestrivalumeLink" { print $7 }' | LC_ALL=C sort | paste -sd'|'
}
# The section "Les plus utilisés" (its labels sorted) once it lists something: the first listing of a start may come
# a moment after the first open.
most_used_in_menu() {
  local rows=
  for _ in 1 2 3 4 5; do
    open_menu
    rows=$(section "Les plus utilisés")
    [ -n "$rows" ] && break
    close_menu
    sleep 2
  done
  echo "$rows"
}
title_colour() { e2e_pixel 222 15; }  # the first section title, right of its text

# ============================ a first installation ============================
e2e_expect_eq "first installation: exit code" 0 "$(install_silently "$E2E_WORK/setup-old.exe")"
e2e_expect_eq "first installation: version $version" "$version" \
  "$(e2e_tool regget HKCU "$uninstall_key" DisplayVersion 2>/dev/null)"
# The installer has ended: a program it started would run by now (Wine returns from the start
# once the new process has mapped its executable).
e2e_expect_eq "a first installation starts nothing" "" "$(running_installed)"

# --- the user's things: a Start-menu program, a skin of their own ---
mkdir -p "$(e2e_unix_path "$programs")" "$(e2e_unix_path 'C:\kvtest')"
cp "$E2E_OUT/tracer.exe" "$(e2e_unix_path 'C:\kvtest\tracer.exe')"
e2e_tool lnk "$programs\\Traceur.lnk" 'C:\kvtest\tracer.exe' >/dev/null
shipped_skin=$(cd "$install/Skins" && ls | head -n 1)
cp -r "$install/Skins/$shipped_skin" "$install/Skins/Perso"
sed -i 's/^TitleBackColor = .*/TitleBackColor = #2A7F3C\r/' "$install/Skins/Perso/skininfo.txt"
perso_colour="42,127,60"

# --- the installed program in use ---
e2e_launch program "$install_win\\Kestrivalume.exe"
old_launch=$E2E_LAST_PID
button_window 30000 || e2e_fail "the installed program shows no button window"
old_program=$(running_installed)
e2e_expect "one program, from the installed files ($old_program)" test "$(wc -w <<<"$old_program")" = 1
# The catalogue first: a scan that sees the tracer before it finds no shortcut of it.
e2e_wait_done Refreshes 1 60 || e2e_fail "no catalogue from the first refresh"
# A program started outside the menu, counted by the window scan (every 7 s) under its name.
wine 'C:\kvtest\tracer.exe' --window Tracer >/dev/null 2>&1 &
E2E_PIDS+=($!)
e2e_tool wait-window --class TracerWindow --title Tracer 15000 >/dev/null || e2e_fail "the tracer window did not open"
e2e_wait_shown Tracer 15 || e2e_fail "the tracer window is not shown"  # a scan counts shown windows
scans=$(e2e_done Scans)
# Meanwhile the settings window: the user's skin chosen, applied.
open_menu
e2e_click_control_wait_build "$menu_title" 5 "$settings_title" || e2e_fail "the settings window did not open"
e2e_click_control "$settings_title" 55
xdotool key Escape Home
skin_shown() { e2e_dump "$settings_title" | awk -F'\t' '$1 == 55 {print $7}'; }
shown=$(skin_shown)
for _ in $(seq 12); do
  [ "$shown" = Perso ] && break
  xdotool key Down
  # The list shows the next entry once the key is handled (the last one stays).
  for _ in $(seq 50); do
    next=$(skin_shown)
    [ "$next" != "$shown" ] && break
    sleep 0.1
  done
  shown=$next
done
e2e_click_control "$settings_title" 86  # Appliquer
e2e_tool wait-gone "$settings_title" 5000 >/dev/null || e2e_fail "Appliquer left the settings window open"
e2e_expect_eq "before: the user's skin applied" Perso "$(pref SelectedSkin)"
# Two scans after the tracer was shown: one may have been running as the count was read.
e2e_wait_done Scans $((scans + 2)) 30 || e2e_fail "no window scan after the tracer started"
most_used=$(most_used_in_menu)
e2e_expect "before: the tracer counted among the most used ($most_used)" grep -qx Traceur <<<"$(tr '|' '\n' <<<"$most_used")"
e2e_expect_eq "before: the menu drawn with the user's skin" "$perso_colour" "$(title_colour)"
e2e_screenshot before
close_menu
files_before=$(user_files)

# ============================ the silent update ============================
e2e_log "update from $version to $new_version while the program runs (process $old_program)"
e2e_expect_eq "update: exit code" 0 "$(install_silently "$E2E_WORK/setup-new.exe")"
e2e_expect_eq "update: version $new_version registered" "$new_version" \
  "$(e2e_tool regget HKCU "$uninstall_key" DisplayVersion 2>/dev/null)"
e2e_expect_eq "update: the new Kestrivalume.exe installed (marker at its end)" "$new_exe_md5" \
  "$(md5sum <"$install/Kestrivalume.exe")"
# It was closed, not killed: it ended normally and saved its lists at its end.
if ended "$old_launch"; then wait "$old_launch" && status=0 || status=$?; else status=running; fi
e2e_expect_eq "the program before the update ended normally" 0 "$status"
e2e_expect_eq "after: the most used list as the menu showed it, saved at the program's end" "$most_used" \
  "$(list_labels Kestrivalume.mostused)"
e2e_expect_eq "after: the last used list with the same programs" "$most_used" "$(list_labels Kestrivalume.lastused)"
e2e_expect_eq "after: the user's skin still chosen" Perso "$(pref SelectedSkin)"
e2e_expect "after: the catalogue kept" test -s "$data/Kestrivalume.catalogue"
e2e_expect_eq "after: every file of the user's, as it was" "$files_before" "$(user_files)"

# --- running again, from the new files ---
if button_window 30000; then
  # Its first catalogue: a menu opened before it would be built again under the checks.
  e2e_wait_done Refreshes 1 60 || e2e_fail "the restarted program brought no catalogue"
  new_program=$(running_installed)
  e2e_expect "one program again, a new process ($old_program, then $new_program)" \
    test "$(wc -w <<<"$new_program")" = 1 -a "$new_program" != "$old_program"
  new_program=$(head -n 1 <<<"$new_program")
  e2e_expect_eq "it maps the executable now installed" "$(file_on_disk)" "$(mapped_file "$new_program")"
  e2e_expect "that executable is the new one" bash -c "tail -c 64 '$install/Kestrivalume.exe' | grep -qF '$marker'"
  e2e_expect_eq "started as the installed path" "$install_win\\Kestrivalume.exe" \
    "$(tr '\0' '\n' <"/proc/$new_program/cmdline" 2>/dev/null | head -n 1 | tr -d '"' | utf8)"
  e2e_expect_eq "after: the restarted program shows the same most used" "$most_used" "$(most_used_in_menu)"
  e2e_expect_eq "after: and draws with the user's skin" "$perso_colour" "$(title_colour)"
  e2e_screenshot after
  close_menu
else
  e2e_fail "the program did not start again"
fi

# ============================ an update through the pages ============================
# The finish page offers no start when the update started the program already: a second start
# would end the first, unsaved, to take its place.
before_pages=$(running_installed)
e2e_launch pages "$E2E_WORK/setup-new.exe"
installer=$(e2e_tool wait-window --class '#32770' --title "Installation de Kestrivalume $new_version" 20000 | head -n 1)
[ -n "$installer" ] || e2e_fail "the installer shows no window"
page_buttons() { e2e_tool msgbox-text --hwnd "$installer" 2>/dev/null | utf8 | awk -F'\t' '$1 == "button" {print $2}' | tr -d '&'; }
on_page() {  # button text: waits until the page shows it
  for _ in $(seq 100); do
    page_buttons | grep -qxF "$1" && return 0
    sleep 0.2
  done
  e2e_fail "no button '$1' in the installer; it shows: $(page_buttons | paste -sd'|')"
  return 1
}
press() { on_page "$1" && e2e_tool msgbox-click --hwnd "$installer" "$1" >/dev/null; }
press "Suivant >"
press "Installer"
on_page "Fermer"
e2e_expect_eq "through the pages: the finish page offers no start" "" \
  "$(page_buttons | grep -F 'Lancer Kestrivalume' || true)"
press "Fermer"
wait "$E2E_LAST_PID" && status=0 || status=$?
e2e_expect_eq "through the pages: exit code" 0 "$status"
button_window 30000 || e2e_fail "the program did not start again after the update through the pages"
e2e_wait_done RefreshChecks 1 30 || e2e_fail "the program started by the pages did not finish its start"
program=$(running_installed)
e2e_expect "through the pages: one program, a new process ($before_pages, then $program)" \
  test "$(wc -w <<<"$program")" = 1 -a "$program" != "$before_pages"

# ============================ a program that does not end ============================
# Stopped, it neither answers nor ends: the update gives up with an error code and changes nothing.
[ -n "$program" ] || { e2e_fail "no program to stop"; e2e_finish; }
program=$(head -n 1 <<<"$program")
kill -STOP "$program"
e2e_log "an update while the program is stopped (about 30 s)"
status=$(install_silently "$E2E_WORK/setup-old.exe")
e2e_expect "an error code ($status)" test "$status" != 0
e2e_expect_eq "the version is still $new_version" "$new_version" \
  "$(e2e_tool regget HKCU "$uninstall_key" DisplayVersion 2>/dev/null)"
e2e_expect_eq "the executable is still the new one" "$new_exe_md5" "$(md5sum <"$install/Kestrivalume.exe")"
kill -CONT "$program"
e2e_expect_eq "the program still runs, alone" "$program" "$(running_installed)"

# ============================ an update while the program is not running ============================
e2e_tool post --class KestrivalumeWindow --title Kestrivalume close >/dev/null || e2e_fail "cannot close the program"
e2e_tool wait-gone --class KestrivalumeWindow --title Kestrivalume 20000 >/dev/null || e2e_fail "the program did not end"
for _ in $(seq 50); do [ -z "$(running_installed)" ] && break; sleep 0.2; done
e2e_expect_eq "not running: exit code" 0 "$(install_silently "$E2E_WORK/setup-new.exe")"
# The installer has ended: a program it started would run by now.
e2e_expect_eq "not running: the update starts nothing" "" "$(running_installed)"
e2e_finish
