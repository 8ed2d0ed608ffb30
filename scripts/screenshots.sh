#!/usr/bin/env bash
# Takes the pictures of the help document and of the skin previews: the 64-bit program under
# Wine on a private 1024 x 768 display, with a demo Start menu, usage lists, recent documents
# and a running program.
#   scripts/screenshots.sh <folder>     writes <folder>/*.png (existing pictures are replaced)
# Pictures: menu, programs, information, popup, about, settings (only when the settings window
# opens), skin-<name> for each folder of Skins/.
set -euo pipefail
shots=${1:?usage: scripts/screenshots.sh <folder>}
mkdir -p "$shots"
shots=$(cd "$shots" && pwd)
source "$(dirname "$0")/../tests/e2e/lib.sh"

# A smaller screen than the tests use: the menu fills the screen's height, and a page of the
# help document shows it better at 768 pixels.
export E2E_SCREEN=1024x768x24

e2e_start screenshots win64
e2e_register_file_types  # programs and documents show their own icons, as on Windows
app_data=$(e2e_windows_variable APPDATA)
programs="$app_data\\Microsoft\\Windows\\Start Menu\\Programs"
recent="$app_data\\Microsoft\\Windows\\Recent"
data=$(e2e_unix_path "$app_data\\Kestrivalume")
program_win='C:\users\Public\Kestrivalume'
program_dir=$(e2e_unix_path "$program_win")
menu_title="Start - Kestrivalume"
sys='C:\windows\system32'

# The desktop: Xvfb's root window is black, which looks like a broken screen in a picture.
convert -size 1024x768 gradient:'#5B7FA6'-'#2F4A68' "$E2E_WORK/desktop.png"
display -window root "$E2E_WORK/desktop.png" || true  # sets it, then reports 1

# --- the program folder: the program beside its skins -------------------------------------
mkdir -p "$program_dir" "$data"
cp "$E2E_ROOT/out/win64/Kestrivalume.exe" "$program_dir/"
cp -r "$E2E_ROOT/Skins" "$program_dir/"

# --- Start menu, usage lists, recent documents ---------------------------------------------
folder() { mkdir -p "$(e2e_unix_path "$programs\\$1")"; }
link() { e2e_tool lnk "$programs\\$1.lnk" "$2" >/dev/null; }
folder Accessoires; folder 'Accessoires\Outils système'; folder Jeux; folder Internet
link 'Accessoires\Bloc-notes' "$sys\\notepad.exe"
link 'Accessoires\WordPad' 'C:\Program Files\Windows NT\Accessories\wordpad.exe'
link 'Accessoires\Configuration' "$sys\\winecfg.exe"
link 'Accessoires\Outils système\Éditeur du Registre' 'C:\windows\regedit.exe'
link 'Accessoires\Outils système\Invite de commandes' "$sys\\cmd.exe"
link 'Accessoires\Outils système\Gestionnaire des tâches' "$sys\\taskmgr.exe"
link 'Jeux\Démineur' "$sys\\winemine.exe"
link 'Internet\Navigateur' 'C:\Program Files\Internet Explorer\iexplore.exe'
link 'Ancien logiciel' 'C:\Programmes\Ancien\ancien.exe'
link 'Explorateur de fichiers' "$sys\\winefile.exe"

usage_line() {  # sort key, label, shortcut below the Start menu, target
  printf '%s\t%s\t%s\t%s\r\n' "$1" "$2" "$programs\\$3.lnk" "$4"
}
{
  usage_line 12 'Bloc-notes' 'Accessoires\Bloc-notes' "$sys\\notepad.exe"
  usage_line 7 'Configuration' 'Accessoires\Configuration' "$sys\\winecfg.exe"
  usage_line 4 'Démineur' 'Jeux\Démineur' "$sys\\winemine.exe"
} | iconv -f UTF-8 -t CP1252 >"$data/Kestrivalume.mostused"
{
  usage_line 1796630400 'Démineur' 'Jeux\Démineur' "$sys\\winemine.exe"
  usage_line 1796544000 'Bloc-notes' 'Accessoires\Bloc-notes' "$sys\\notepad.exe"
} | iconv -f UTF-8 -t CP1252 >"$data/Kestrivalume.lastused"

mkdir -p "$(e2e_unix_path "$recent")" "$(e2e_unix_path 'C:\users\Public\Documents')"
documents=(Lettre.txt 'Liste des courses.txt' 'Notes de réunion.txt')
index=0 mru=
for name in "${documents[@]}"; do
  printf 'Texte\r\n' >"$(e2e_unix_path "C:\\users\\Public\\Documents\\$name")"
  e2e_tool lnk "$recent\\$name.lnk" "C:\\users\\Public\\Documents\\$name" >/dev/null
  e2e_tool regset HKCU 'Software\Microsoft\Windows\CurrentVersion\Explorer\RecentDocs' "$index" recentdoc \
    "$name" "$name.lnk" >/dev/null
  mru="$mru${mru:+,}$index"
  index=$((index + 1))
done
e2e_tool regset HKCU 'Software\Microsoft\Windows\CurrentVersion\Explorer\RecentDocs' MRUListEx mruex "$mru" >/dev/null

# Out of the way of the menu, which covers the left of the screen.
e2e_start_notepad 'C:\users\Public\Documents\Lettre.txt' 420 150 560 380 || echo "screenshots: notepad did not start" >&2

# --- helpers -------------------------------------------------------------------------------
start_program() {  # preferences lines...
  printf '%s\r\n' "$@" | iconv -f UTF-8 -t CP1252 >"$data/Kestrivalume.prefs"
  e2e_launch program "$program_dir/Kestrivalume.exe"
  e2e_wait_window Kestrivalume 30 >/dev/null || { echo "screenshots: no button window" >&2; exit 1; }
  # The first catalogue: a menu opened before it would be built again when it comes.
  e2e_wait_done Refreshes 1 60 || { echo "screenshots: no catalogue from the first refresh" >&2; exit 1; }
}

quit_program() {
  e2e_tool post --class KestrivalumeWindow --title Kestrivalume close >/dev/null || true
  wait "$E2E_LAST_PID" 2>/dev/null || true
}

# Each picture is taken once the window's build is shown and its thread answers: icons and
# pictures are made during the build.
open_menu() {
  e2e_open_menu 20 700 740 || { echo "screenshots: no menu" >&2; import -window root "$E2E_WORK/no-menu.png"; exit 1; }
}

# The menu window's controls as "id<TAB>left,top,right,bottom<TAB>text" (client coordinates).
menu_controls() {
  local out
  for _ in 1 2 3 4 5; do
    out=$(e2e_tool dump "$menu_title" 2>/dev/null) && { iconv -f CP1252 -t UTF-8 <<<"$out" | awk -F'\t' '$1 ~ /^-?[0-9]+$/ {print $1 "\t" $3 "\t" $7}'; return; }
    sleep 1
  done
}

# Waits until the menu (rebuilt after a click) shows a control with this text.
wait_menu_text() {
  for _ in $(seq 30); do
    menu_controls | awk -F'\t' -v text="$1" '$3 == text {found = 1} END {exit !found}' && return 0
    sleep 0.5
  done
  echo "screenshots: the menu shows no '$1'" >&2
  return 1
}

click_menu_text() {  # the text of a link of the menu
  local rect
  rect=$(menu_controls | awk -F'\t' -v text="$1" '$3 == text {print $2; exit}')
  [ -n "$rect" ] || { echo "screenshots: '$1' not in the menu" >&2; return 1; }
  IFS=, read -r l t r b <<<"$rect"
  xdotool mousemove $((16 + l + 20)) $(((t + b) / 2)) click 1
}

# Until a dialog or popup menu of the program is shown (its items made) and its thread answers.
wait_shown_answering() {  # kvtool window selector
  for _ in $(seq 50); do
    e2e_tool state "$@" 2>/dev/null | grep -q '^visible.1' && break
    sleep 0.1
  done
  e2e_tool send "$@" message 0 0 0 >/dev/null || true
}

# Saves the screen part x, y, width, height as <name>.png.
shoot() {
  import -window root -crop "$3x$4+$1+$2" +repage "$shots/$5.png"
  echo "screenshots: $shots/$5.png"
}

# The whole menu window with the button beside it.
shoot_menu() {
  local id x y w h
  id=$(e2e_wait_window "$menu_title" 5)
  read -r x y w h <<<"$(e2e_geometry "$id")"
  shoot 0 0 $((x + w + 4)) $((y + h + 4)) "$1"
}

shoot_window() {  # kvtool window selector... then the picture name last
  local name=${*: -1} rect
  rect=$(e2e_tool dump "${@:1:$#-1}" | awk -F'\t' '$1 == "rect" {print $2}')
  IFS=, read -r l t r b <<<"$rect"
  shoot "$l" "$t" $((r - l)) $((b - t)) "$name"
}

# --- the standard look ---------------------------------------------------------------------
start_program "ShowDocsImmediate = 1"
open_menu
wait_menu_text "Lancer les programmes ..."
shoot_menu menu
before=$(e2e_builds)
click_menu_text "Lancer les programmes ..."
e2e_wait_build "$menu_title" "$before" 20 >/dev/null || { echo "screenshots: the menu was not built again" >&2; exit 1; }
wait_menu_text " Accessoires"  # a group title: a blank, then the folder
shoot_menu programs
before=$(e2e_builds)
click_menu_text "Ancien logiciel"
if e2e_wait_build "Information - Kestrivalume" "$before" 3 >/dev/null 2>&1; then
  read -r px py <<<"$(xdotool getmouselocation --shell | awk -F= '/^X=/{x=$2} /^Y=/{y=$2} END{print x, y}')"
  shoot $((px - 160)) $((py - 40)) 480 80 information
fi
# The strip goes by itself after a moment; the menu answers clicks again then.
e2e_tool wait-gone "Information - Kestrivalume" 10000 >/dev/null || echo "screenshots: the information strip stayed" >&2

xdotool mousemove 29 13 click 1   # the menu's close button
e2e_tool wait-gone "$menu_title" 5000 >/dev/null || echo "screenshots: the menu stayed open" >&2
xdotool mousemove 8 8 click 3
popup=$(e2e_tool wait-window --class '#32768' 5000 | head -n 1) || { echo "screenshots: no popup menu" >&2; exit 1; }
wait_shown_answering --hwnd "$popup"
shoot 0 0 240 120 popup
# "A propos ..." is the third item: the About box.
IFS=, read -r l t r b <<<"$(e2e_tool dump --hwnd "$popup" | awk -F'\t' '$1 == "rect" {print $2}')"
xdotool mousemove $((l + 40)) $((t + 43)) click 1
if e2e_tool wait-window --class '#32770' --title Kestrivalume 5000 >/dev/null; then
  wait_shown_answering --class '#32770' --title Kestrivalume
  shoot_window --class '#32770' --title Kestrivalume about
  e2e_tool msgbox-click --class '#32770' --title Kestrivalume OK >/dev/null || true
  e2e_tool wait-gone --class '#32770' --title Kestrivalume 3000 >/dev/null || true
fi

open_menu
rect=$(menu_controls | awk -F'\t' '$1 == "5" {print $2}')
if [ -n "$rect" ]; then
  IFS=, read -r l t r b <<<"$rect"
  before=$(e2e_builds)
  xdotool mousemove $((16 + l + 8)) $((t + 8)) click 1
  if e2e_wait_build "Paramètres - Kestrivalume" "$before" 20 >/dev/null 2>&1; then
    shoot_window "Paramètres - Kestrivalume" settings
  else
    rm -f "$shots/settings.png"
    echo "screenshots: no settings window; no picture of it"
  fi
fi
quit_program

# --- each skin -----------------------------------------------------------------------------
for dir in "$E2E_ROOT"/Skins/*/; do
  name=$(basename "$dir")
  start_program "SelectedSkin = $name" "ShowDocsImmediate = 1" "ShowProgImmediate = 1"
  open_menu
  wait_menu_text " Accessoires"  # a group title: a blank, then the folder
  shoot_menu "skin-$name"
  quit_program
done
e2e_finish
