#!/usr/bin/env bash
# What the names of desktop.ini files cost the Start-menu programs, under Wine with 2,000
# shortcuts in 150 folders: the same measures without desktop.ini files and with one in every
# folder (14 names: the folder's own and 13 shortcuts', half of them indirect strings of the
# test module names.dll, half plain; ANSI and UTF-16 files in turn). Figures side by side,
# median (min .. max) of the rounds; nothing is asserted. About 90 s a round, 3 rounds by default.
#   scripts/shown_names_bench.sh [win32|win64] [rounds]
# For each:
#   - first start (no data kept): the button window to the first menu listing programs
#     (perfprobe programs, a click every 200 ms, and the longest click meanwhile) and to the end
#     of the first refresh (the catalogue published: the program's count of ended refreshes,
#     told at each pass of its loop, 200 ms apart at most);
#   - second start: the same from the kept catalogue, then to the end of its refresh (a listing
#     with the helper's pauses, one before each directory entry: a desktop.ini file is one more);
#     then click to painted menu with the programs expanded (perfprobe click 9);
#   - the naming alone, untimed by clicks: catalogueprobe names the kept catalogue as a refresh
#     does (a first pass reading the module, then the best of 10 with its strings known);
#   - what the programs page shows, so that names that failed to resolve cannot pass unseen.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-win64}
rounds=${2:-3}
shortcuts=2000
groups=150
log() { echo "[shown_names_bench $(date +%T)] $*" >&2; }
source "$root/tests/e2e/lib.sh"
source "$root/scripts/perf_lib.sh"
e2e_start shown_names_bench "$arch" >&2
KV_E2E_KEEP=1  # the work folder (perfprobe's output) stays for a look

app_data=$(e2e_windows_variable APPDATA)
data_win="$app_data\\Kestrivalume"
data=$(e2e_unix_path "$data_win")
programs=$(e2e_unix_path "$app_data\\Microsoft\\Windows\\Start Menu\\Programs")
program=$(winepath -w "$E2E_OUT/Kestrivalume.exe")
mkdir -p "$(e2e_unix_path 'C:\kvnames')"
cp "$E2E_OUT/names.dll" "$(e2e_unix_path 'C:\kvnames')/"

# The desktop.ini of "Groupe <g>", whose shortcuts are "Programme <g + 150 k>.lnk" (13 or 14 of
# them): the folder's plain name, then 13 shortcuts', odd ones from the module's 12 strings.
desktop_ini() {  # g
  local k i
  echo '[.ShellClassInfo]'
  echo "LocalizedResourceName=Groupe $1 nommé"
  echo '[LocalizedFileNames]'
  for ((k = 0; k < 13; ++k)); do
    i=$(($1 + groups * k))
    if ((k % 2 == 0)); then
      echo "Programme $i.lnk=@%SystemDrive%\\kvnames\\names.dll,-$((101 + i % 12))"
    else
      echo "Programme $i.lnk=Programme $i renommé"
    fi
  done
}

set_desktop_inis() {  # with|without
  local g encodings=(cp1252 utf-16le)
  for ((g = 0; g < groups; ++g)); do
    if [ "$1" = with ]; then
      desktop_ini "$g" | e2e_write_text "${encodings[g % 2]}" "$programs/Groupe $g/desktop.ini"
    else
      rm -f "$programs/Groupe $g/desktop.ini"
    fi
  done
}

quit_program() {
  e2e_tool post Kestrivalume close >/dev/null || true
  e2e_tool wait-gone Kestrivalume 20000 >/dev/null || true
  wineserver -w
}

# One start: "<programs> <refreshed> <longest click>", the first two in ms after the button
# window ("none" when it never came), the last from click to painted menu.
start_figures() {
  local out="$E2E_WORK/programs-$RANDOM.out"
  # Into a file: the program perfprobe starts keeps its output open, a pipe would never end.
  wine "$E2E_OUT/perfprobe.exe" programs "$program" 120000 1 >"$out" 2>&1 &
  E2E_PIDS+=($!)
  e2e_wait_line "$out" '^refreshed' 180 || log "perfprobe programs did not finish: $(tr -d '\r' <"$out" | paste -sd ' ')"
  tr -d '\r' <"$out" | awk '$1 == "programs" {p = $2} $1 == "refreshed" {r = $2} $1 == "longest-click" {l = $2}
    END {print (p ? p : "none"), (r ? r : "none"), (l ? l : "none")}'
}

# What the programs page shows, that the names measured are there: its rows named plain
# ("... renommé"), from the module's strings, and in all.
named_rows() {  # with|without
  local rows strings
  e2e_open_menu 20 1000 700 || { echo "no menu"; return 0; }
  rows=$(e2e_dump "Start - Kestrivalume" | awk -F'\t' '$2 == "KestrivalumeLink" {print $7}')
  e2e_screenshot "$1" >&2
  strings=$(python3 "$root/tests/e2e/pe_info.py" "$E2E_OUT/names.dll" | sed -n 's/^string [0-9]* //p')
  echo "$(grep -c ' renommé$' <<<"$rows" || true) plain, $(grep -cxF -f <(echo "$strings") <<<"$rows" || true) from the module, of $(wc -l <<<"$rows") rows"
}

# Both starts of one condition; appends "<condition> <measure> <ms>" lines to $figures.
measure() {  # with|without
  local first second a b c d e f
  log "$1 desktop.ini files: first start"
  set_desktop_inis "$1"
  rm -rf "$data" && mkdir -p "$data"
  printf 'ShowProgImmediate = 1\r\n' >"$data/Kestrivalume.prefs"
  first=$(start_figures)
  [ -n "${named[$1]:-}" ] || named[$1]=$(named_rows "$1")
  quit_program
  log "$1 desktop.ini files: second start"
  second=$(start_figures)
  (wine "$E2E_OUT/perfprobe.exe" click 9 || true) | tr -d '\r' | awk -v c="$1" '$1 == "click" {print c, "click", $2}' >>"$figures"
  quit_program
  e2e_run "$E2E_OUT/catalogueprobe.exe" names "$data_win" | tr -d '\r' |
    awk -v c="$1" '{print c, "names-first", $6; print c, "names-best", $8; print c, "names-shown", $4}' >>"$figures"
  read -r a b c <<<"$first"
  read -r d e f <<<"$second"
  printf '%s first-programs %s\n%s first-refresh %s\n%s first-click %s\n' "$1" "$a" "$1" "$b" "$1" "$c" >>"$figures"
  printf '%s second-programs %s\n%s second-refresh %s\n%s second-click %s\n' "$1" "$d" "$1" "$e" "$1" "$f" >>"$figures"
}

log "$arch: Start menu of $shortcuts shortcuts in $groups folders"
make_start_menu "$shortcuts" "$groups"
figures="$E2E_WORK/figures.txt"
declare -A named
: >"$figures"
started=$(date +%s)
for ((round = 1; round <= rounds; ++round)); do
  # In turn first, so that a machine growing busier weighs on both alike.
  if ((round % 2)); then measure without; measure with; else measure with; measure without; fi
done

cell() {  # condition, measure
  local numbers
  numbers=$(awk -v c="$1" -v m="$2" '$1 == c && $2 == m && $3 != "none" {print $3}' "$figures")
  echo "$(median_min_max <<<"$numbers") ms$( [ "$(wc -l <<<"$numbers")" -lt "$rounds" ] && echo ", some runs gave none")"
}
cell_count() {  # condition: the records named in its last round
  awk -v c="$1" '$1 == c && $2 == "names-shown" {n = $3} END {print n}' "$figures"
}
row() {  # what, measure
  echo "| $1 | $(cell without "$2") | $(cell with "$2") |"
}
echo "| $arch, $shortcuts shortcuts in $groups folders, $rounds rounds ($(($(date +%s) - started)) s) | without desktop.ini | with 150 desktop.ini of 14 names (7 indirect) |"
echo "|---|---|---|"
row "First start: button window to the first menu listing programs" first-programs
row "First start: button window to the first refresh ended (catalogue published)" first-refresh
row "First start: the longest click meanwhile (click to painted menu)" first-click
row "Second start: button window to the first menu listing programs (kept catalogue)" second-programs
row "Second start: the longest click meanwhile" second-click
row "Second start: button window to its refresh ended (listing with pauses)" second-refresh
row "Then: click to painted menu, programs expanded (9 clicks, all rounds)" click
row "Naming the kept catalogue alone, first pass (module read)" names-first
row "Naming the kept catalogue alone, best of 10" names-best
echo "| Rows of the programs page named by desktop.ini (first start) | ${named[without]} | ${named[with]} |"
echo "| Records given a shown name by the naming alone | $(cell_count without) | $(cell_count with) |"
