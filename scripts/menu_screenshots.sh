#!/usr/bin/env bash
# Takes the README's pictures of the menu window under Wine: the default look, the look with a
# background picture, and a programs page of three columns. Writes docs/menu-*.png.
#   scripts/menu_screenshots.sh [win32|win64]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tests/e2e/lib.sh"
e2e_start menu_screenshots "${1:-win64}"
e2e_register_file_types  # programs and documents show their own icons, as on Windows
app_data=$(e2e_windows_variable APPDATA)
programs="$app_data\\Microsoft\\Windows\\Start Menu\\Programs"
data=$(e2e_unix_path "$app_data\\Kestrivalume")
mkdir -p "$data" "$root/docs"

# A Start menu with enough groups for three columns of programs.
sys='C:\windows\system32'
targets=("$sys\notepad.exe" "$sys\winemine.exe" "$sys\cmd.exe" "$sys\taskmgr.exe" "$sys\control.exe"
         "$sys\winefile.exe" 'C:\windows\regedit.exe' 'C:\Program Files\Windows NT\Accessories\wordpad.exe')
for group in Accessoires Bureautique Développement Graphisme Internet Jeux Multimédia Outils Sécurité Système; do
  mkdir -p "$(e2e_unix_path "$programs")/$group"
  for i in 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18; do
    t=${targets[$((i % ${#targets[@]}))]}
    e2e_tool lnk "$programs\\$group\\$group $i.lnk" "$t" >/dev/null
  done
done
convert -size 1920x1080 gradient:'#e8f0fb'-'#9db7e0' -swirl 40 "$(e2e_unix_path 'C:\windows')/fond.jpg"

shoot() {  # name, prefs lines
  printf '%s\r\n' "${@:2}" >"$data/Kestrivalume.prefs"
  e2e_launch program "$E2E_OUT/Kestrivalume.exe"
  e2e_wait_window Kestrivalume 30 >/dev/null
  sleep 4
  xdotool mousemove 8 8 click 1
  xdotool mousemove 1800 900
  e2e_wait_window "Start - Kestrivalume" 20 >/dev/null
  sleep 2
  import -window root -crop "${CROP}+0+0" "$root/docs/menu-$1.png"
  e2e_log "docs/menu-$1.png"
  e2e_tool post --class KestrivalumeWindow --title Kestrivalume close >/dev/null
  wait "$E2E_LAST_PID" || true
}
CROP=280x560 shoot default "ShowDocsImmediate = 1"
CROP=280x560 shoot background "BackgroundFile = C:\\windows\\fond.jpg"
CROP=1000x1015 shoot programs "ShowProgImmediate = 1" "ShowDocsImmediate = 0" "ShowActiveTasks = 0"
