#!/usr/bin/env bash
# When the programs reach the menu, and what the program costs while nothing changes, under Wine
# with a Start menu of 2,000 shortcuts in 150 folders and the programs shown at every opening.
# Figures only, side by side with their floors; nothing is asserted. About 6 minutes.
#   scripts/catalogue_bench.sh [win32|win64] [idle seconds, at least 120]
# KV_BENCH_PROGRAMS=<folder> times the programs in that folder instead of out/<arch>/ (for a
# before-and-after comparison with a copy of an earlier build).
# Prints a Markdown table:
#   - button window to the first menu listing programs, on a first start (no data kept) and on a
#     second start, with the number of clicks it took and the longest click (click to painted
#     menu) meanwhile: perfprobe programs, a click every 200 ms;
#   - click to painted menu with the programs expanded, once the catalogue is there;
#   - CPU of every process of the program's prefix over the idle period (after the start-up
#     work has ended), beside a bare program polling every 200 ms (tests/win/idlefloor) run at
#     the same time in a prefix of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-win64}
idle_seconds=${2:-120}
shortcuts=2000
groups=150
log() { echo "[catalogue_bench $(date +%T)] $*" >&2; }
source "$root/tests/e2e/lib.sh"
source "$root/scripts/perf_lib.sh"
e2e_start catalogue_bench "$arch" >&2
E2E_OUT=${KV_BENCH_PROGRAMS:-$E2E_OUT}
KV_E2E_KEEP=1  # the work folder (perfprobe's output) stays for a look

app_data=$(e2e_windows_variable APPDATA)
data=$(e2e_unix_path "$app_data\\Kestrivalume")
program=$(winepath -w "$E2E_OUT/Kestrivalume.exe")

# Only the preferences: the programs shown at every opening, nothing else kept.
fresh_data_folder() {
  rm -rf "$data"
  mkdir -p "$data"
  printf 'ShowProgImmediate = 1\r\n' >"$data/Kestrivalume.prefs"
}

quit_program() {
  e2e_tool post Kestrivalume close >/dev/null || true
  e2e_tool wait-gone Kestrivalume 20000 >/dev/null || true
  wineserver -w
}

# Start-up work over: no console helper for a few seconds in a row.
wait_settled() {
  local quiet=0
  for _ in $(seq 600); do
    if helper_running; then quiet=0; else quiet=$((quiet + 1)); fi
    [ "$quiet" -ge 30 ] && return 0
    sleep 0.1
  done
  log "the console helper kept running"
}

programs_row() {  # what
  local out="$E2E_WORK/programs-$RANDOM.out" result
  # Into a file: the program perfprobe starts keeps its output open, a pipe would never end.
  wine "$E2E_OUT/perfprobe.exe" programs "$program" 120000 >"$out" 2>&1 &
  E2E_PIDS+=($!)
  e2e_wait_line "$out" '^longest-click' 180 || log "perfprobe programs did not finish"
  result=$(tr -d '\r' <"$out")
  echo "| $1 | $(awk '$1 == "programs" {print $2}' <<<"$result") ms after the button window ($(awk '$1 == "button" {print $2}' <<<"$result") ms to it) | $(awk '$1 == "clicks" {print $2}' <<<"$result") clicks, the longest $(awk '$1 == "longest-click" {print $2}' <<<"$result") ms |"
}

log "$arch: Start menu of $shortcuts shortcuts in $groups folders"
make_start_menu "$shortcuts" "$groups"
echo "| $arch, $shortcuts shortcuts in $groups folders | figure | beside it |"
echo "|---|---|---|"

log "first start"
fresh_data_folder
programs_row "Programs in the menu, first start"
wait_settled
quit_program

log "second start"
programs_row "Programs in the menu, second start"
wait_settled

log "clicks with the programs expanded"
clicks=$( (wine "$E2E_OUT/perfprobe.exe" click 9 || true) | tr -d '\r' | awk '$1 == "click" {print $2}' | median_min_max)
echo "| Click to painted menu, programs expanded | $clicks ms (median, min .. max of 9) | |"

log "idle for $idle_seconds s beside the floor"
floor_prefix="$E2E_WORK/floor-prefix"
e2e_copy_prefix "$("$root/scripts/wine_template.sh" "$arch")" "$floor_prefix"
WINEPREFIX="$floor_prefix" wine "$E2E_OUT/idlefloor.exe" >/dev/null 2>&1 &
E2E_PIDS+=($!)
sleep 10  # the floor's prefix started up
cpu_during sleep "$idle_seconds" >"$E2E_WORK/program.cpu" &
measuring=$!
WINEPREFIX="$floor_prefix" cpu_during sleep "$idle_seconds" >"$E2E_WORK/floor.cpu"
wait "$measuring"
total() { awk '{t += $2} END {printf "%.2f", t}' "$1"; }
per_process() { awk '{printf "%s%s %s s", sep, $1, $2; sep = ", "}' "$1"; }
program_cpu=$(total "$E2E_WORK/program.cpu")
floor_cpu=$(total "$E2E_WORK/floor.cpu")
ratio=$(awk -v p="$program_cpu" -v f="$floor_cpu" 'BEGIN {if (f > 0) printf "%.2f", p / f; else print "n/a"}')
echo "| Idle CPU over $idle_seconds s, every process of the prefix | $program_cpu s ($(per_process "$E2E_WORK/program.cpu")) | floor $floor_cpu s ($(per_process "$E2E_WORK/floor.cpu")): ratio $ratio |"
WINEPREFIX="$floor_prefix" wineserver -k >/dev/null 2>&1 || true
quit_program
