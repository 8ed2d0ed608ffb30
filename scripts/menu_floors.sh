#!/usr/bin/env bash
# The menu's opening beside its two floors, measured in the same run (figures only, nothing is
# asserted): the running program clicked open with a Start menu of many shortcuts, programs
# expanded and with the default settings, beside a bare program (tests/win/barerows) that opens a
# window of the same size with as many rows of an icon and a label, once as a child window per
# icon and label and once painted by the window itself. Every opening is timed by perfprobe
# click from another process (click to painted), at 96 and 144 DPI. Then the program's private
# memory after 20 openings and closings beside a bare program polling every 200 ms
# (tests/win/idlefloor). Prints a Markdown table; takes about 4 minutes.
#   scripts/menu_floors.sh [win32|win64] [clicks] [shortcuts] [groups]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-win64}
clicks=${2:-7}
shortcuts=${3:-2000}
groups=${4:-150}
log() { echo "[menu_floors $(date +%T)] $*" >&2; }

median_of_clicks() {  # -> "median (min .. max) ms"
  local result
  result=$(wine "$E2E_OUT/perfprobe.exe" click "$clicks" | tr -d '\r') || log "perfprobe click failed: figures of the runs it made"
  awk '$1 == "click" {print $2}' <<<"$result" | median_min_max
}
median_value() { sed 's/ .*//'; }

private_kib() {  # pid
  awk '/^Private_(Clean|Dirty):/ {s += $2} END {print s}' "/proc/$1/smaps_rollup"
}

start_program() {  # prefs text
  printf '%b' "$1" >"$data/Kestrivalume.prefs"
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

floor_clicks() {  # windows|drawn, rows
  e2e_launch "floor-$1-$2" "$E2E_OUT/barerows.exe" "$1" "$2"
  e2e_tool wait-window Kestrivalume 30000 >/dev/null
  median_of_clicks
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
  log "$arch at $1 DPI: the program, programs expanded"
  start_program 'ShowProgImmediate = 1\r\n'
  local expanded expanded_rows default default_rows pid memory floor_memory
  expanded=$(median_of_clicks)
  expanded_rows=$(menu_rows)
  quit
  log "$arch at $1 DPI: the program, default settings; memory after 20 openings"
  start_program ''
  default=$(median_of_clicks)
  # The memory before anything is read as a screen reader reads it (COM would weigh on it).
  wine "$E2E_OUT/perfprobe.exe" click 20 >/dev/null || true
  wine "$E2E_OUT/perfprobe.exe" press 17 >/dev/null || true
  sleep 1
  pid=$(pid_named kestrivalume.exe)
  memory=$(private_kib "$pid")
  default_rows=$(menu_rows)
  quit
  log "$arch at $1 DPI: the floors"
  local windows_expanded drawn_expanded windows_default drawn_default
  windows_expanded=$(floor_clicks windows "$expanded_rows")
  drawn_expanded=$(floor_clicks drawn "$expanded_rows")
  windows_default=$(floor_clicks windows "$default_rows")
  drawn_default=$(floor_clicks drawn "$default_rows")
  e2e_launch idle "$E2E_OUT/idlefloor.exe"
  e2e_tool wait-window 'Idle floor' 30000 >/dev/null
  sleep 1
  floor_memory=$(private_kib "$(pid_named idlefloor.exe)")
  e2e_tool post 'Idle floor' close >/dev/null || true
  wineserver -w
  ratio() { awk -v a="$(median_value <<<"$1")" -v b="$(median_value <<<"$2")" 'BEGIN {printf "%.2f", (b > 0 ? a / b : 0)}'; }
  echo "| $arch | $1 | programs expanded ($expanded_rows rows) | $expanded | $windows_expanded | $drawn_expanded | $(ratio "$expanded" "$drawn_expanded") (target <= 1.5) |"
  echo "| $arch | $1 | default settings ($default_rows rows) | $default | $windows_default | $drawn_default | $(ratio "$default" "$drawn_default") (target <= 1.2) |"
  [ "$1" = 96 ] && echo "| $arch | $1 | private memory after 20 openings and closings | $((memory / 1024)) MiB | | bare polling program: $((floor_memory / 1024)) MiB | $(awk -v a="$memory" -v b="$floor_memory" 'BEGIN {printf "%.2f", (b > 0 ? a / b : 0)}') (target <= 1.5) |"
  true
)

echo "| Build | DPI | Opening | this program, ms | a window per icon and label, ms | rows drawn by one window, ms | program / drawn floor |"
echo "|---|---|---|---|---|---|---|"
for dpi in 96 144; do measure_at "$dpi"; done
