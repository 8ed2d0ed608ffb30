#!/usr/bin/env bash
# Shows the built program under Wine in a demo prefix: a Start menu of programs with their own
# icons (Kestrivalume among them), documents of several types and an Internet shortcut, recent
# documents, usage lists and a running notepad.
#   scripts/demo.sh             KV_DEMO_ARCH=win32 picks the 32-bit build (default win64)
# On a desktop ($DISPLAY set) the program stays until you quit it. Without one it runs on a
# display of its own and shows itself in three screenshots - the menu, the menu with the Start
# menu's programs, the settings window - prints their paths, then quits the program; it fails
# when a step fails or the program does not end by itself with exit code 0.
# KV_DEMO_OUT=<folder> puts the prefix and the screenshots there instead of out/demo and
# out/screenshots.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${KV_DEMO_ARCH:-win64}
case "$arch" in win32 | win64) ;; *) echo "demo: KV_DEMO_ARCH must be win32 or win64, not '$arch'" >&2; exit 2 ;; esac
out="$root/out/$arch"
demo_dir=${KV_DEMO_OUT:-$root/out/demo}
shots=${KV_DEMO_OUT:-$root/out/screenshots}
# What the prefix is made with; raise it when that changes, so that an older prefix is made again.
demo_version=3
menu_title="Start - Kestrivalume"
settings_title="Paramètres - Kestrivalume"

mkdir -p "$demo_dir" "$shots"
demo_dir=$(cd "$demo_dir" && pwd)
shots=$(cd "$shots" && pwd)
if [ ! -f "$out/Kestrivalume.exe" ] || [ ! -f "$out/kvtool.exe" ]; then
  echo "demo: build $arch first (scripts/build.sh)" >&2
  exit 1
fi

# One demo at a time in a prefix: a second one would end the first one's programs.
exec 9>"$demo_dir/.lock-$arch"
flock -n 9 || { echo "demo: another demo is running in $demo_dir/prefix-$arch" >&2; exit 1; }

source "$root/tests/e2e/lib.sh"
# Nothing started here keeps the lock once this script has ended.
wine() { command wine "$@" 9>&-; }
wineserver() { command wineserver "$@" 9>&-; }
winepath() { command winepath "$@" 9>&-; }
E2E_NAME=demo
E2E_OUT=$out
E2E_WORK=$(mktemp -d "$demo_dir/work.XXXX")
export WINEPREFIX="$demo_dir/prefix-$arch" WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

xvfb_pid=
cleanup() {
  if [ -d "$WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$E2E_WORK"
}
trap cleanup EXIT

fail() { echo "demo: $*" >&2; exit 1; }

# A free display between :90 and :140. Two demos may start a server on the same number at once:
# Xvfb's lock file lets one of them have it and the other server ends, so a number is ours only
# when our server still runs, answers and is the process the lock file names.
start_display() {
  local n lock
  for n in $(seq 90 140); do
    lock="/tmp/.X$n-lock"
    [ -e "$lock" ] && continue
    Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 9>&- &
    xvfb_pid=$!
    for _ in $(seq 50); do
      kill -0 "$xvfb_pid" 2>/dev/null || break
      if [ "$(tr -dc 0-9 2>/dev/null <"$lock")" = "$xvfb_pid" ] && DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
        export DISPLAY=":$n"
        return 0
      fi
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
  done
  fail "no free display between :90 and :140"
}

if [ -z "${DISPLAY:-}" ]; then
  start_display
  interactive=
else
  interactive=1
fi

fresh=
if [ "$(cat "$WINEPREFIX/.demo-ready" 2>/dev/null)" != "$demo_version" ]; then
  echo "demo: preparing $WINEPREFIX"
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  e2e_copy_prefix "$("$root/scripts/wine_template.sh" "$arch")" "$WINEPREFIX"
  fresh=1
fi

app_data=$(e2e_windows_variable APPDATA)
[ -n "$app_data" ] || fail "Wine does not answer in $WINEPREFIX"
programs="$app_data\\Microsoft\\Windows\\Start Menu\\Programs"
common_programs='C:\ProgramData\Microsoft\Windows\Start Menu\Programs'
recent="$app_data\\Microsoft\\Windows\\Recent"
data=$(e2e_unix_path "$app_data\\Kestrivalume")
install="${app_data%\\Roaming}\\Local\\Programs\\Kestrivalume"  # where the installer puts it
documents='C:\users\Public\Documents'  # the user's own Documents is the Linux home folder
pictures='C:\users\Public\Pictures'
sys='C:\windows\system32'

tool() { e2e_tool "$@" >/dev/null || fail "kvtool $1 failed: $*"; }
folder() { mkdir -p "$(e2e_unix_path "$1")"; }
link() { tool lnk "$1.lnk" "$2"; }
# A text of scripts/demo/ as Windows writes it: 8-bit, CR LF.
windows_text() { iconv -f UTF-8 -t CP1252 "$root/scripts/demo/$1" | sed 's/$/\r/' >"$(e2e_unix_path "$2")"; }

prepare_prefix() {
  e2e_register_file_types || fail "the file types could not be registered"

  # Documents, and the recent-documents list naming them (Windows' Recent folder and RecentDocs).
  folder "$documents"; folder "$pictures"; folder "$recent"
  windows_text notes.txt "$documents\\Notes de réunion.txt"
  cp "$root/scripts/demo/bienvenue.html" "$(e2e_unix_path "$documents\\Bienvenue.html")"
  convert -size 320x200 gradient:'#f6d365'-'#fda085' -fill '#2f4a68' -draw 'circle 160,100 160,40' \
    "$(e2e_unix_path "$pictures\\Vacances.png")" || fail "cannot draw the picture"
  local key='Software\Microsoft\Windows\CurrentVersion\Explorer\RecentDocs' index=0 order='' path name
  for path in "$documents\\Notes de réunion.txt" "$pictures\\Vacances.png" "$documents\\Bienvenue.html"; do
    name=${path##*\\}
    link "$recent\\$name" "$path"
    tool regset HKCU "$key" "$index" recentdoc "$name" "$name.lnk"
    order="$order${order:+,}$index"
    index=$((index + 1))
  done
  tool regset HKCU "$key" MRUListEx mruex "$order"

  # The Start menu: the user's and the common tree, merged by the menu.
  folder "$programs\\Kestrivalume"; folder "$programs\\Accessoires"; folder "$programs\\Jeux"
  folder "$programs\\Documents"; folder "$common_programs\\Outils système"
  link "$programs\\Kestrivalume\\Kestrivalume" "$install\\Kestrivalume.exe"
  tool url "$programs\\Kestrivalume\\Site de Kestrivalume.url" 'https://kestrivalume.varnholtiqa.example/'
  link "$programs\\Accessoires\\Bloc-notes" "$sys\\notepad.exe"
  link "$programs\\Accessoires\\WordPad" 'C:\Program Files\Windows NT\Accessories\wordpad.exe'
  link "$programs\\Accessoires\\Explorateur de fichiers" "$sys\\winefile.exe"
  link "$programs\\Jeux\\Démineur" "$sys\\winemine.exe"
  link "$programs\\Documents\\Notes de réunion" "$documents\\Notes de réunion.txt"
  link "$programs\\Documents\\Bienvenue" "$documents\\Bienvenue.html"
  link "$programs\\Documents\\Vacances" "$pictures\\Vacances.png"
  link "$programs\\Navigateur Internet" 'C:\Program Files\Internet Explorer\iexplore.exe'
  link "$common_programs\\Outils système\\Éditeur du Registre" 'C:\windows\regedit.exe'
  link "$common_programs\\Outils système\\Invite de commandes" "$sys\\cmd.exe"
  link "$common_programs\\Outils système\\Gestionnaire des tâches" "$sys\\taskmgr.exe"
  link "$common_programs\\Outils système\\Configuration de Wine" "$sys\\winecfg.exe"

  # Usage lists as if the programs had been used: count (or time) TAB name TAB shortcut TAB target.
  mkdir -p "$data"
  {
    printf '12\tBloc-notes\t%s\t%s\r\n' "$programs\\Accessoires\\Bloc-notes.lnk" "$sys\\notepad.exe"
    printf '7\tDémineur\t%s\t%s\r\n' "$programs\\Jeux\\Démineur.lnk" "$sys\\winemine.exe"
    printf '3\tWordPad\t%s\t%s\r\n' "$programs\\Accessoires\\WordPad.lnk" 'C:\Program Files\Windows NT\Accessories\wordpad.exe'
  } | iconv -f UTF-8 -t CP1252 >"$data/Kestrivalume.mostused"
  {
    printf '1796630400\tDémineur\t%s\t%s\r\n' "$programs\\Jeux\\Démineur.lnk" "$sys\\winemine.exe"
    printf '1796544000\tÉditeur du Registre\t%s\t%s\r\n' "$common_programs\\Outils système\\Éditeur du Registre.lnk" 'C:\windows\regedit.exe'
  } | iconv -f UTF-8 -t CP1252 >"$data/Kestrivalume.lastused"
}

if [ -n "$fresh" ]; then
  prepare_prefix
  wineserver -w
  echo "$demo_version" >"$WINEPREFIX/.demo-ready"
fi

# The program of this build, installed as the installer does: beside its skins.
install_dir=$(e2e_unix_path "$install")
mkdir -p "$install_dir"
cp "$out/Kestrivalume.exe" "$install_dir/"
rm -rf "$install_dir/Skins"
cp -r "$root/Skins" "$install_dir/"

if [ -n "$interactive" ]; then
  echo "demo: starting $arch/Kestrivalume.exe on $DISPLAY"
  wine "$install\\Kestrivalume.exe" &
  program=$!
  for _ in $(seq 100); do xdotool search --name '^Kestrivalume$' >/dev/null 2>&1 && break; sleep 0.2; done
  e2e_wait_build Kestrivalume 0 20 >/dev/null || true  # the button shown and its thread answering
  shot="$shots/demo-$arch.png"
  import -window root "$shot" && echo "demo: screenshot $shot"
  echo "demo: running; quit the program to end"
  wait "$program" || true
  exit 0
fi

# --- without a desktop: three screenshots, then a clean exit ---
# The desktop: Xvfb's bare root is black, which looks like a broken screen in a picture.
convert -size 1920x1080 gradient:'#5B7FA6'-'#2F4A68' "$E2E_WORK/desktop.png"
display -window root "$E2E_WORK/desktop.png" 9>&- || true  # sets it, then reports 1

# A running program for "Programmes en cours", out of the way of the menu and the settings window.
e2e_start_notepad "$documents\\Notes de réunion.txt" 1340 110 540 380 || fail "notepad did not start"

# The menu opens without the programs, whatever was chosen in a demo on a desktop, so that the
# second picture is the one that shows them.
prefs="$data/Kestrivalume.prefs"
if [ -f "$prefs" ]; then sed -i 's/^ShowProgImmediate = .*\r$/ShowProgImmediate = 0\r/' "$prefs"; fi

echo "demo: starting $arch/Kestrivalume.exe on $DISPLAY"
wine "$install\\Kestrivalume.exe" >"$E2E_WORK/program.out" 2>&1 &
program=$!
e2e_wait_shown Kestrivalume 30 || fail "no button window"

# The menu's controls "id<TAB>left,top,right,bottom<TAB>text", empty while it is being rebuilt.
menu_controls() {
  command wine "$out/kvtool.exe" dump "$menu_title" 2>/dev/null 9>&- | iconv -f CP1252 -t UTF-8 |
    awk -F'\t' '$1 ~ /^-?[0-9]+$/ {print $1 "\t" $3 "\t" $7}' || true
}
# Waits until the menu is shown with a control of this text.
wait_menu_text() {
  for _ in $(seq 40); do
    if xdotool search --onlyvisible --name "^$menu_title\$" >/dev/null 2>&1 &&
       menu_controls | awk -F'\t' -v text="$1" '$3 == text {found = 1} END {exit !found}'; then
      return 0
    fi
    sleep 0.5
  done
  return 1
}
shoot() {  # number-name
  local file="$shots/demo-$arch-$1.png"
  import -window root "$file" || fail "no screenshot $file"
  echo "demo: screenshot $file"
}

# 1. The menu, opened by a click on the button once the first listing of the Start menu is
# there; it ends with the link to its programs. Each picture is taken once the window's build is
# shown and its thread answers (icons and pictures are made during the build).
e2e_wait_done Refreshes 1 60 || fail "no catalogue from the first refresh"
e2e_open_menu 5 900 300 || fail "the menu did not open"
wait_menu_text "Lancer les programmes ..." || fail "the menu shows no link to the programs"
shoot 1-menu

# 2. Its "Lancer les programmes ..." link: the menu again with the Start menu's programs.
before=$(e2e_builds)
e2e_click_control_in "$(e2e_dump "$menu_title")" 12 "$menu_title"
xdotool mousemove 900 300
e2e_wait_build "$menu_title" "$before" 20 >/dev/null || fail "the menu was not built again"
wait_menu_text " Accessoires" || fail "the menu does not show the programs"
shoot 2-programs

# 3. The settings button of its tool column: the settings window, the menu closed.
before=$(e2e_builds)
e2e_click_control_in "$(e2e_dump "$menu_title")" 5 "$menu_title"
e2e_wait_build "$settings_title" "$before" 20 >/dev/null || fail "the settings window did not open"
e2e_tool wait-gone "$menu_title" 5000 >/dev/null || fail "the menu stayed open beside the settings window"
shoot 3-settings

# The end: the button window is asked to close, as Windows asks at log-off; the program applies
# the open settings window and ends by itself.
e2e_tool post --class KestrivalumeWindow --title Kestrivalume close >/dev/null || fail "cannot ask the program to close"
for _ in $(seq 200); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program" 2>/dev/null && fail "the program did not end within 20 s of being asked to close"
wait "$program" && status=0 || status=$?
[ "$status" = 0 ] || fail "the program ended with exit code $status"
echo "demo: the program ended with exit code 0"
