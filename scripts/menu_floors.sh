#!/usr/bin/env bash
# The menu's opening beside its two floors, measured in the same run (figures only, nothing is
# asserted): the running program clicked open with a Start menu of many shortcuts, programs
# expanded and with the default settings, beside a bare program (tests/win/barerows) that opens a
# window of the same size with as many rows of an icon and a label, once as a child window per
# icon and label and once painted by the window itself. Every opening is timed by perfprobe
# click from another process (click to painted), at 96 and 144 DPI, in rounds that take the
# program and its drawn floor in turn (this machine's speed drifts within minutes). Then the program's private
# memory after 20 openings and closings beside a bare program polling every 200 ms
# (tests/win/idlefloor) and beside the bare program drawing the default menu's rows, opened and
# closed as often; and the program's own with an empty Start menu (what the shortcuts weigh).
# Prints a Markdown table; takes about 8 minutes.
#   scripts/menu_floors.sh [win32|win64] [clicks] [rounds] [shortcuts] [groups]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-win64}
clicks=${2:-7}
rounds=${3:-3}
shortcuts=${4:-2000}
groups=${5:-150}
log() { echo "[menu_floors $(date +%T)] $*" >&2; }

# The figures of one run of clicks are added to a series; a series' figure is the median (min ..
# max) of all its runs' clicks.
clicks_into() {  # series
  local result
  result=$(wine "$E2E_OUT/perfprobe.exe" click "$clicks" | tr -d '\r') || log "perfprobe click failed: figures of the runs it made"
  awk '$1 == "click" {print $2}' <<<"$result" >>"$E2E_WORK/$1.clicks"
}
series() { median_min_max <"$E2E_WORK/$1.clicks"; }
median_value() { sed 's/ .*//'; }

# The memory of a program of the prefix (its executable's name) once its menu window was
# opened and closed 20 times, its close button pressed and its window gone. Read before
# anything is asked as a screen reader asks (COM would weigh on it).
memory_after_openings() {  # executable name
  wine "$E2E_OUT/perfprobe.exe" click 20 >/dev/null || true
  wine "$E2E_OUT/perfprobe.exe" press 17 >/dev/null || true
  e2e_tool wait-gone "Start - Kestrivalume" 10000 >/dev/null || log "the menu window stayed"
  answered Kestrivalume
  memory_of "$(pid_named "$1")"
}

# The window's thread has taken every message sent before (nothing left to free or draw).
answered() {  # window title
  e2e_tool send "$1" message 0 0 0 >/dev/null || log "$1 did not answer"
}

start_program() {  # prefs text: every start a first start (no kept catalogue), the quickest
  printf '%b' "$1" >"$data/Kestrivalume.prefs"
  rm -f "$data/Kestrivalume.catalogue"
  e2e_launch program "$E2E_OUT/Kestrivalume.exe"
  e2e_tool wait-window --class KestrivalumeWindow --title Kestrivalume 30000 >/dev/null
  wait_catalogue
  e2e_wait_done Refreshes 1 120 || log "no catalogue from the first refresh"
}

quit() {  # a window of the program or floor titled Kestrivalume
  e2e_tool post Kestrivalume close >/dev/null || true
  e2e_tool wait-gone Kestrivalume 10000 >/dev/null || true
  wineserver -w
}

# Rows of the open menu: its children for a screen reader (titles, links, buttons).
menu_rows() {
  wine "$E2E_OUT/perfprobe.exe" click 1 >/dev/null || true
  e2e_tool accessible "Start - Kestrivalume" | wc -l
}

floor_clicks() {  # windows|drawn, rows, series
  e2e_launch "floor-$1-$2" "$E2E_OUT/barerows.exe" "$1" "$2"
  e2e_tool wait-window Kestrivalume 30000 >/dev/null
  clicks_into "$3"
  quit
}

measure_at() (  # dpi: one prefix, program and floors
  source "$root/tests/e2e/lib.sh"
  source "$root/scripts/perf_lib.sh"
  e2e_start "menu_floors_$1" "$arch" >&2
  if [ "$1" != 96 ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    wineserver -w
  fi
  data=$(e2e_unix_path "$(e2e_windows_variable APPDATA)\\Kestrivalume")
  mkdir -p "$data"
  make_start_menu "$shortcuts" "$groups"
  local expanded_rows default_rows memory empty_memory rows_memory floor_memory round
  log "$arch at $1 DPI: round 1 of $rounds; the rows; the memory after 20 openings"
  start_program 'ShowProgImmediate = 1\r\n'
  clicks_into program-expanded
  expanded_rows=$(menu_rows)
  quit
  start_program ''
  clicks_into program-default
  memory=$(memory_after_openings kestrivalume.exe)
  default_rows=$(menu_rows)
  quit
  floor_clicks windows "$expanded_rows" windows-expanded
  floor_clicks windows "$default_rows" windows-default
  for round in $(seq "$rounds"); do
    if [ "$round" -gt 1 ]; then
      log "$arch at $1 DPI: round $round of $rounds"
      start_program 'ShowProgImmediate = 1\r\n'
      clicks_into program-expanded
      quit
      start_program ''
      clicks_into program-default
      quit
    fi
    floor_clicks drawn "$expanded_rows" drawn-expanded
    floor_clicks drawn "$default_rows" drawn-default
  done
  if [ "$1" = 96 ]; then
    e2e_launch floor-memory "$E2E_OUT/barerows.exe" drawn "$default_rows"
    e2e_tool wait-window Kestrivalume 30000 >/dev/null
    rows_memory=$(memory_after_openings barerows.exe)
    quit
    e2e_launch idle "$E2E_OUT/idlefloor.exe"
    e2e_tool wait-window 'Idle floor' 30000 >/dev/null
    answered 'Idle floor'
    floor_memory=$(memory_of "$(pid_named idlefloor.exe)")
    e2e_tool post 'Idle floor' close >/dev/null || true
    wineserver -w
    log "$arch at $1 DPI: the program's memory with an empty Start menu"
    rm -rf "$(e2e_unix_path "$(e2e_windows_variable APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs")"/Groupe\ *
    start_program ''
    empty_memory=$(memory_after_openings kestrivalume.exe)
    quit
  fi
  local expanded default
  expanded=$(series program-expanded)
  default=$(series program-default)
  ratio() { awk -v a="$(median_value <<<"$1")" -v b="$(median_value <<<"$2")" 'BEGIN {printf "%.2f", (b > 0 ? a / b : 0)}'; }
  echo "| $arch | $1 | programs expanded ($expanded_rows rows) | $expanded | $(series windows-expanded) | $(series drawn-expanded) | $(ratio "$expanded" "$(series drawn-expanded)") (target <= 1.5) |"
  echo "| $arch | $1 | default settings ($default_rows rows) | $default | $(series windows-default) | $(series drawn-default) | $(ratio "$default" "$(series drawn-default)") (target <= 1.2) |"
  if [ "$1" = 96 ]; then
    memory_row private 1 "$memory" "$empty_memory" "$rows_memory" "$floor_memory"
    memory_row anonymous 2 "$memory" "$empty_memory" "$rows_memory" "$floor_memory"
  fi
  true
)

# One line of the memory table: the program (with the empty Start menu's figure beside it),
# the bare rows program and the bare polling program, as MiB and the ratio to the poller.
memory_row() {  # measure, field (1 private, 2 anonymous), program, program empty, rows, poller
  local field=$2
  mib() { awk -v f="$field" '{printf "%.1f", $f / 1024}' <<<"$1"; }
  echo "| $arch | 96 | $1 memory after 20 openings and closings | $(mib "$3") MiB ($(mib "$4") MiB with an empty Start menu) | | drawn rows: $(mib "$5") MiB; bare polling program: $(mib "$6") MiB | $(awk -v f="$field" -v a="$3" -v b="$6" 'BEGIN {split(a, x, " "); split(b, y, " "); printf "%.2f", (y[f] > 0 ? x[f] / y[f] : 0)}') (target <= 1.5) |"
}

echo "| Build | DPI | Opening | this program, ms | a window per icon and label, ms | rows drawn by one window, ms | program / drawn floor |"
echo "|---|---|---|---|---|---|---|"
for dpi in 96 144; do measure_at "$dpi"; done
