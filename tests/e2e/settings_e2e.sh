#!/usr/bin/env bash
# Kestrivalume.prefs under Wine: a first start without a file writes all 32 keys with their
# defaults; a file edited by hand (UTF-8 signature, accented letters, odd spacing, capitals,
# duplicates, a group header, flags 2 and 256, out-of-range numbers, empty and CR-only lines) is
# read and written back, on quitting, exactly in the program's own form; the Run value appears
# and disappears with LoadOnWindowsStart; a selected skin and a background picture load.
source "$(dirname "$0")/lib.sh"
e2e_start "settings_$1" "$1"

# The program runs from a folder of its own, so that its skins folder is private to this test.
# A folder with a space: the Run value must quote the path.
program_dir="$WINEPREFIX/drive_c/Mes outils/Kestrivalume"
mkdir -p "$program_dir"
cp "$E2E_OUT/Kestrivalume.exe" "$program_dir/"
run_command='"C:\Mes outils\Kestrivalume\Kestrivalume.exe"'  # as the Run value holds it
app_data=$(e2e_windows_variable APPDATA)
data=$(winepath -u "$app_data\\Kestrivalume")
prefs="$data/Kestrivalume.prefs"
run_key='Software\Microsoft\Windows\CurrentVersion\Run'

# Starts the program, waits for its button window, closes it and waits for the end, during
# which it saves.
run_program() {
  local what=$1 status
  e2e_launch "$what" "$program_dir/Kestrivalume.exe"
  e2e_tool wait-window --class KestrivalumeWindow --title Kestrivalume 30000 >/dev/null ||
    e2e_fail "$what: no button window"
  # The loop's first idle pass: start-up is over.
  e2e_wait_done RefreshChecks 1 30 || e2e_fail "$what: the event loop did not start"
  e2e_tool post --class KestrivalumeWindow --title Kestrivalume close >/dev/null || e2e_fail "$what: close not posted"
  wait "$E2E_LAST_PID" && status=0 || status=$?
  e2e_expect_eq "$what: exit code" 0 "$status"
}

expect_same_bytes() {  # what, expected file, actual file
  if cmp -s "$2" "$3"; then
    e2e_log "ok: $1: byte for byte identical ($(stat -c %s "$3") bytes)"
  else
    e2e_fail "$1: the written file differs from the expected one"
    diff <(od -An -c "$2") <(od -An -c "$3") | head -20 >&2 || true
  fi
}

run_value() { e2e_tool regget HKCU "$run_key" Kestrivalume 2>/dev/null || echo "<absent>"; }

# Lines joined with CR LF, the form of every file the program writes.
crlf_lines() { printf '%s\r\n' "$@"; }

# The 32 keys in file order with their defaults; "KEY=VALUE" arguments replace single values.
expected_prefs() {
  local LC_ALL=C  # values hold 8-bit bytes
  local defaults=(
    "LoadOnWindowsStart = 1" "NoMouseClickNeeded = 1" "ShowLinkToolTips = 1" "WindowsTransparency = 1"
    "TransparencyMain = 200" "Transparency = 230" "SelectedSkin = " "BackgroundFile = "
    "ListingColor = 16577514" "TitleColor = 16777215" "TitleBackColor = 15037716" "SubTitleColor = 0"
    "SubTitleBackColor = 16108216" "FontColor = 0" "LinkColor = 2105376" "LinkHiColor = 8421504"
    "TooltipColor = 0" "TooltipBackColor = 16777185" "LineColorVertical = 16777215"
    "LineColorHorizontal = 16777215" "MostUsedMaximum = 10" "LastUsedMaximum = 10" "RecentDocsMaximum = 15"
    "ShowProgImmediate = 0" "ShowDocsImmediate = 1" "ShowFilterExe = 1" "ShowFilterHlp = 1"
    "ShowFilterDoc = 1" "ShowActiveTasks = 1" "ShowMostUsed = 1" "ShowLastUsed = 1"
    "DisplayColumnWidth = 190")
  local lines=() line change
  for line in "${defaults[@]}"; do
    for change in "$@"; do
      [ "${change%%=*}" = "${line%% = *}" ] && line="${line%% = *} = ${change#*=}"
    done
    lines+=("$line")
  done
  crlf_lines "${lines[@]}"
}

# --- first start: no file, every default -------------------------------------------------
e2e_expect "no preferences before the first start" test ! -e "$prefs"
run_program "first start"
expected_prefs >"$E2E_WORK/defaults.expected"
expect_same_bytes "first save writes all 32 defaults in order" "$E2E_WORK/defaults.expected" "$prefs"
e2e_expect_eq "Run value names the program, quoted" "$run_command" "$(run_value)"
e2e_expect "no temporary file left" test ! -e "$prefs.tmp"

# --- a file edited by hand ------------------------------------------------------------------
{
  printf '\xEF\xBB\xBF'
  printf '; Fichier modifi\xC3\xA9 \xC3\xA0 la main\r\n'
  printf '   loadonwindowsstart=2\r\n'
  printf 'NOMOUSECLICKNEEDED\t=\t0   \r\n'
  printf 'ShowLinkToolTips =\r\n'
  printf 'TransparencyMain = 99999999999\r\n'
  printf 'Transparency = 180 pour cent\r\n'
  printf "SelectedSkin =   Th\xC3\xA8me d'\xC3\xA9t\xC3\xA9 \xE2\x9C\x93  \r\n"
  printf 'BackgroundFile = C:\\Images\\absente.jpg\r\n'
  printf 'ListingColor = $FF8000\r'
  printf 'TitleColor = -1\n'
  printf 'LinkColor = 4294967296\r\n'
  printf 'LinkHiColor = 123\r\nlinkhicolor = 456\r\n'
  printf '\r\n\r\n\r\r\r'
  printf 'ShowFilterExe = 2\r\nShowFilterHlp = 256\r\nShowFilterDoc = 255\r\n'
  printf 'DisplayColumnWidth = 5\r\n'
  printf 'MostUsedMaximum\r\n'
  printf '[R\xC3\xA9glages]\r\n'
  printf 'RecentDocsMaximum = 99\r\nShowMostUsed = 0\r\n'
} >"$prefs"
run_program "hand-edited file"
expected_prefs "LoadOnWindowsStart=2" "NoMouseClickNeeded=0" "ShowLinkToolTips=0" "TransparencyMain=1215752191" \
  "Transparency=180" "SelectedSkin=$(printf "Th\xE8me d'\xE9t\xE9 ?")" 'BackgroundFile=C:\Images\absente.jpg' \
  "ListingColor=16744448" "TitleColor=-1" "LinkColor=0" "LinkHiColor=123" "ShowFilterExe=2" "ShowFilterHlp=0" \
  "ShowFilterDoc=-1" "DisplayColumnWidth=5" "MostUsedMaximum=0" >"$E2E_WORK/edited.expected"
expect_same_bytes "hand-edited file written back in canonical form" "$E2E_WORK/edited.expected" "$prefs"
e2e_expect_eq "Run value kept for LoadOnWindowsStart 2" "$run_command" "$(run_value)"

# --- a skin and a background picture; LoadOnWindowsStart 256 keeps 0 ----------------------
skin_dir="$program_dir/Skins/Bleu"
mkdir -p "$skin_dir"
crlf_lines "Courtesy = " "ListingColor = #1475E5" "TitleColor = #ffffff" >"$skin_dir/skininfo.txt"
convert -size 64x48 xc:'#102030' "$skin_dir/background.jpg"
convert -size 80x60 xc:'#305070' BMP3:"$WINEPREFIX/drive_c/fond.bmp"
crlf_lines "LoadOnWindowsStart = 256" "SelectedSkin = Bleu" 'BackgroundFile = C:\fond.bmp' >"$prefs"
run_program "skin and background"
expected_prefs "LoadOnWindowsStart=0" "SelectedSkin=Bleu" 'BackgroundFile=C:\fond.bmp' >"$E2E_WORK/skin.expected"
expect_same_bytes "skin and background settings written back" "$E2E_WORK/skin.expected" "$prefs"
e2e_expect_eq "Run value removed for LoadOnWindowsStart 256" "<absent>" "$(run_value)"

# --- turned on again: the value comes back ----------------------------------------------------
crlf_lines "LoadOnWindowsStart = 1" >"$prefs"
run_program "autostart on again"
e2e_expect_eq "Run value written again" "$run_command" "$(run_value)"
e2e_finish
