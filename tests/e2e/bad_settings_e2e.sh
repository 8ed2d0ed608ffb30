#!/usr/bin/env bash
# Hostile settings, usage files, registry and pictures under Wine; three program runs.
#   Run 1, damaged data: a 10 MB preferences file of random bytes gives the defaults; usage files
#   of 100,000 lines show their first ten entries and come back byte for byte; Windows' recent
#   documents index full of traps (order value long, odd, unterminated, naming missing, huge and
#   repeated items; empty, tiny, odd, 1 MB, non-Latin-1 items) lists only the real documents,
#   once each, in both modes.
#   Run 2, a data folder that cannot be written: the program runs, a launch and a settings Apply
#   keep the use in memory, the files stay whole; writable again, the exit save writes it all.
#   A truncated JPEG as background picture shows what could be decoded.
#   Run 3, a PNG of 20,000 x 20,000 pixels in 48 kB as background: no picture, no memory spent.
#   bad_settings_e2e.sh win64
source "$(dirname "$0")/lib.sh"
case "${1:-}" in
  win32 | win64) e2e_start "bad_settings_$1" "$1" ;;
  *) echo "usage: bad_settings_e2e.sh win32|win64" >&2; exit 2 ;;
esac
menu_title="Start - Kestrivalume"
settings_title="Paramètres - Kestrivalume"
app_data=$(e2e_windows_variable APPDATA)
data=$(e2e_unix_path "$app_data\\Kestrivalume")
prefs="$data/Kestrivalume.prefs"
most="$data/Kestrivalume.mostused"
last="$data/Kestrivalume.lastused"
make_input() { python3 "$(dirname "$0")/fixtures/bad_settings/make_inputs.py" "$@"; }
mkdir -p "$data"

# --- helpers: one program run ------------------------------------------------------------------
start_program() {  # what
  local started=$SECONDS
  e2e_launch "$1" "$E2E_OUT/Kestrivalume.exe"
  program=$E2E_LAST_PID
  if ! e2e_tool wait-window --class KestrivalumeWindow --title Kestrivalume 30000 >/dev/null; then
    e2e_fail "$1: no button window within 30 s (process $(kill -0 "$program" 2>/dev/null && echo running || echo ended))"
    e2e_tool windows >&2 || true
  fi
  e2e_log "$1: button window after $((SECONDS - started)) s"
  # From the loop's first idle pass on, the end of start-up: the program must answer at once.
  e2e_wait_done RefreshChecks 1 30 || e2e_fail "$1: the event loop did not start"
  e2e_watch_answers "$1"
}

# Waits up to 30 s for the build of the menu window that follows build `before` (the menu is
# built hidden and shown once filled); `menu` is then its X window.
wait_menu_built() {  # before
  local why
  why=$(e2e_wait_build "$menu_title" "$1" 30 2>&1 >/dev/null) || { e2e_log "$why"; return 1; }
  menu=$(xdotool search --onlyvisible --name "^$menu_title\$" 2>/dev/null | head -n 1 || true)
  [ -n "$menu" ]
}

# Clicks the button window; the menu's build waits for the first catalogue.
open_menu() {  # what
  local started=$SECONDS before
  before=$(e2e_builds)
  xdotool mousemove 8 8 click 1
  xdotool mousemove 700 700
  wait_menu_built "$before" || { e2e_fail "$1: no menu window"; return 0; }
  e2e_log "$1: menu after $((SECONDS - started)) s"
}

rows() { e2e_dump "$menu_title" | awk -F'\t' '$1 ~ /^[0-9]+$/ && ($2 == "KestrivalumeLink" || $2 == "Static") {print $7}'; }

# The rows of one section, up to the next title (titles start with a space) or collapsed section.
section() {  # title
  rows | awk -v title=" $1" '$0 == title {inside = 1; next} /^ |^Lancer les programmes \.\.\.$/ {inside = 0} inside'
}

click_row() {  # text
  local id
  id=$(e2e_dump "$menu_title" | awk -F'\t' -v text="$1" '$7 == text {print $1; exit}')
  if [ -z "$id" ]; then e2e_fail "no row '$1'"; return 0; fi
  e2e_click_control "$menu_title" "$id"
}

quit_program() {  # what
  local status
  e2e_expect_answers "$1" 200
  e2e_tool post --class KestrivalumeWindow --title Kestrivalume close >/dev/null || e2e_fail "$1: close not posted"
  wait "$program" && status=0 || status=$?
  e2e_expect_eq "$1: ran to the end and quit with exit code 0" 0 "$status"
}

# Peak memory of the program's process: the Unix process of this prefix running Kestrivalume.exe.
peak_memory_mb() {
  local dir
  for dir in /proc/[0-9]*; do
    { tr '\0' '\n' <"$dir/cmdline"; } 2>/dev/null | grep -q 'Kestrivalume\.exe$' || continue
    { tr '\0' '\n' <"$dir/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    awk '/^VmHWM:/ {print int($2 / 1024)}' "$dir/status"
    return 0
  done
  echo "?"
}

# Byte-exact comparison; on a mismatch the first differences are shown.
expect_bytes() {  # what, expected file, actual file
  if cmp -s "$2" "$3"; then e2e_log "ok: $1 ($(stat -c %s "$3") bytes)"; return; fi
  e2e_fail "$1"
  cmp "$2" "$3" >&2 || true
}

near() {  # colour "r,g,b", expected "r,g,b", tolerance
  local a b c x y z
  IFS=, read -r a b c <<<"$1"
  IFS=, read -r x y z <<<"$2"
  [ -n "$a" ] && [ $(((a - x) ** 2 + (b - y) ** 2 + (c - z) ** 2)) -le $(($3 * $3)) ]
}

# Polls a screen pixel for up to 5 s (a new window may still be painting); prints the last colour.
pixel_near() {  # x, y, expected "r,g,b", tolerance
  local colour
  for _ in $(seq 50); do
    colour=$(e2e_pixel "$1" "$2")
    near "$colour" "$3" "$4" && { echo "$colour"; return 0; }
    sleep 0.1
  done
  echo "$colour"
  return 1
}

no_temporary_files() { test -z "$(find "$data" -name '*.tmp')"; }

# ================================================================================================
# Run 1: damaged data
# ================================================================================================
make_input random "$prefs" $((10 * 1024 * 1024)) 1729
make_input usage "$most" 100000 Programme 'C:\windows\notepad.exe' 100000 1
make_input usage "$last" 100000 Récent 'C:\windows\regedit.exe' 1700000000 7
cp "$most" "$E2E_WORK/most.before"
cp "$last" "$E2E_WORK/last.before"
make_input recentdocs "$E2E_WORK/recentdocs.reg"
wine reg import "$(winepath -w "$E2E_WORK/recentdocs.reg")" >/dev/null 2>&1 || e2e_fail "RecentDocs not imported"
e2e_expect_eq "the 1 MB item is in the registry" 1048591 \
  "$(e2e_tool regget HKCU 'Software\Microsoft\Windows\CurrentVersion\Explorer\RecentDocs' 6 | tr -d '\n' | wc -c | awk '{print $1 / 2}')"

start_program "damaged data"
open_menu "damaged data"
e2e_expect_eq "random preferences: default geometry (column width 190, one column)" "16 0 242 1015" \
  "$(e2e_geometry "$menu")"
expected_ten() { for n in $(seq 1 10); do printf '%s %06d\n' "$1" "$n"; done; }
e2e_expect_eq "most used: the first 10 of 100,000" "$(expected_ten Programme)" "$(section 'Les plus utilisés')"
e2e_expect_eq "last used: the first 10 of 100,000" "$(expected_ten Récent)" "$(section 'Les derniers utilisés')"
e2e_expect_eq "recent documents: the real ones in Windows' order, each once" "lettre.txt
notes.odt
fin.txt
Résumé ?mega.txt
?????.txt
rapport.pdf
Plus de documents ..." "$(section 'Documents récents')"
e2e_screenshot damaged
before=$(e2e_builds)
click_row "Plus de documents ..."
wait_menu_built "$before" || e2e_fail "menu not rebuilt with all documents"
e2e_expect_eq "all documents: the same, sorted by name" "?????.txt
fin.txt
lettre.txt
notes.odt
rapport.pdf
Résumé ?mega.txt" "$(section 'Documents récents')"
e2e_log "damaged data: peak memory $(peak_memory_mb) MB"
quit_program "damaged data"
e2e_expect_eq "random preferences replaced by the 32 defaults" \
  "32 keys, BackgroundFile = , MostUsedMaximum = 10, DisplayColumnWidth = 190" \
  "$(tr -d '\r' <"$prefs" | awk -F' = ' 'NF == 2 {n++} /^(DisplayColumnWidth|MostUsedMaximum|BackgroundFile) / {s = s ", " $0} END {print n " keys" s}')"
expect_bytes "100,000-line most-used file written back unchanged" "$E2E_WORK/most.before" "$most"
expect_bytes "100,000-line last-used file written back unchanged" "$E2E_WORK/last.before" "$last"
e2e_expect "no temporary file left" no_temporary_files

# ================================================================================================
# Run 2: a data folder that cannot be written; a truncated JPEG as background
# ================================================================================================
# Root ignores permission bits, so the folder and its files are also made immutable.
lock_data() {
  chmod a-w "$data" "$data"/*
  if [ "$(id -u)" = 0 ]; then chattr +i "$data"/* "$data" 2>/dev/null || true; fi
  if touch "$data/.writable" 2>/dev/null; then
    rm -f "$data/.writable"
    e2e_fail "the data folder cannot be made unwritable on this machine (root without chattr)"
  fi
}
unlock_data() {
  if [ "$(id -u)" = 0 ]; then chattr -i "$data" "$data"/* 2>/dev/null || true; fi
  chmod u+w "$data" "$data"/*
}
trap 'unlock_data; e2e_cleanup' EXIT

pictures=$(e2e_unix_path 'C:\fonds')
mkdir -p "$pictures"
convert -size 1920x1080 gradient:'#ff0000-#0000ff' -quality 90 "$E2E_WORK/full.jpg"
head -c $(($(stat -c %s "$E2E_WORK/full.jpg") * 2 / 5)) "$E2E_WORK/full.jpg" >"$pictures/tronque.jpg"
sed 's/^BackgroundFile = .*/BackgroundFile = C:\\fonds\\tronque.jpg\r/' "$prefs" >"$E2E_WORK/prefs.locked"
cp "$E2E_WORK/prefs.locked" "$prefs"
printf '5\tAutre\tC:\\windows\\notepad.exe\tC:\\windows\\notepad.exe\r\n5\tD\xe9mineur\tC:\\windows\\system32\\winemine.exe\tC:\\windows\\system32\\winemine.exe\r\n' >"$most"
printf '1600000000\tAutre\tC:\\windows\\notepad.exe\tC:\\windows\\notepad.exe\r\n1500000000\tD\xe9mineur\tC:\\windows\\system32\\winemine.exe\tC:\\windows\\system32\\winemine.exe\r\n' >"$last"
for file in "$prefs" "$most" "$last"; do cp "$file" "$E2E_WORK/$(basename "$file").locked"; done
lock_data

start_program "locked folder"
open_menu "locked folder"
e2e_expect_eq "most used before the launch" "Autre
Démineur" "$(section 'Les plus utilisés')"
if top=$(pixel_near 250 30 255,0,0 40); then
  e2e_log "ok: truncated JPEG: its decoded top is shown ($top)"
else
  e2e_fail "truncated JPEG: the top of the menu is $top, not the picture's red"
fi
e2e_log "truncated JPEG: bottom of the menu $(e2e_pixel 150 1000)"
click_row "Démineur"
e2e_expect "winemine started" e2e_tool wait-window --class WineMine 15000
e2e_expect "menu closed after the launch" e2e_tool wait-gone "$menu_title" 5000
open_menu "locked folder, after the launch"
e2e_expect_eq "launch counted in memory: most used" "Démineur
Autre" "$(section 'Les plus utilisés')"
# Apply saves (and cannot) and loads the settings again: what is in memory must survive it.
e2e_click_control "$menu_title" 5
e2e_wait_window "$settings_title" 20 >/dev/null || e2e_fail "settings window not opened"
e2e_tool post --title "$settings_title" close >/dev/null || e2e_fail "settings window: close not posted"
e2e_tool wait-gone "$settings_title" 10000 >/dev/null || e2e_fail "settings window not closed"
open_menu "locked folder, after Apply"
e2e_expect_eq "the launch survives a failed save and reload: most used" "Démineur
Autre" "$(section 'Les plus utilisés')"
e2e_expect_eq "the launch survives a failed save and reload: last used" "Démineur
Autre" "$(section 'Les derniers utilisés')"
for file in "$prefs" "$most" "$last"; do
  expect_bytes "locked $(basename "$file") untouched" "$E2E_WORK/$(basename "$file").locked" "$file"
done
e2e_expect "no temporary file left while locked" no_temporary_files
unlock_data
quit_program "locked folder"
expect_bytes "preferences written again once writable" "$E2E_WORK/prefs.locked" "$prefs"
e2e_expect_eq "most used written with the launch" "6	Démineur	C:\\windows\\system32\\winemine.exe
5	Autre	C:\\windows\\notepad.exe" "$(tr -d '\r' <"$most" | iconv -f CP1252 -t UTF-8 | cut -f1-3)"
e2e_expect_eq "last used written with the launch first" "Démineur
Autre" "$(tr -d '\r' <"$last" | iconv -f CP1252 -t UTF-8 | cut -f2)"
e2e_expect "launch time is recent" test "$(cut -f1 <"$last" | head -n 1)" -gt 1600000000
e2e_expect "no temporary file left" no_temporary_files

# ================================================================================================
# Run 3: a 20,000 x 20,000 PNG as background picture
# ================================================================================================
make_input bomb-png "$pictures/geant.png" 20000
sed 's/^BackgroundFile = .*/BackgroundFile = C:\\fonds\\geant.png\r/' "$E2E_WORK/prefs.locked" >"$prefs"
start_program "huge PNG"
open_menu "huge PNG"
e2e_expect_eq "huge PNG: no picture, the ListingColor background" "234,243,252 234,243,252" \
  "$(pixel_near 250 30 234,243,252 0) $(pixel_near 150 1000 234,243,252 0)"
memory=$(peak_memory_mb)
e2e_log "huge PNG: peak memory $memory MB"
e2e_expect "huge PNG: peak memory $memory MB stays below 400 MB" test "$memory" -lt 400
quit_program "huge PNG"
e2e_finish
