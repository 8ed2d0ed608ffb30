#!/usr/bin/env bash
# What the menu's openings and a screen reader's questions leave in the program's memory, beside
# a floor (figures only, nothing is asserted). The program with a Start menu of 60 shortcuts:
# its anonymous memory (/proc smaps_rollup, the pages that are its own) after a warm-up, after
# many openings and closings that nobody reads (perfprobe click), then after each batch of
# readings of the open menu from another process (kvtool accessible: AccessibleObjectFromWindow
# and every child's name, role, box and state), with the number of objects the program still
# holds for readers. Beside it the bare program tests/win/barerows, whose window answers with the
# system's standard object marshalled the same way: what COM's marshalling itself keeps per
# question. The first batch carries COM's start in each process.
#   scripts/reader_memory.sh [win32|win64] [openings] [readings per batch] [batches]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-win64}
openings=${2:-300}
readings=${3:-50}
batches=${4:-3}
log() { echo "[reader_memory $(date +%T)] $*" >&2; }
source "$root/tests/e2e/lib.sh"
source "$root/scripts/perf_lib.sh"
e2e_start reader_memory "$arch" >&2
menu_title="Start - Kestrivalume"

anonymous_kib() {  # pid; once the window titled Kestrivalume has taken every message sent before
  e2e_tool send Kestrivalume message 0 0 0 >/dev/null || log "no answer"
  memory_of "$1" | cut -d' ' -f2
}
readers_held() {
  e2e_tool number --class KestrivalumeWindow --title Kestrivalume Kestrivalume.Readers 2>/dev/null || echo "-"
}

# Lines "what | KiB | growth" for one process: the batches of readings of its open menu.
read_batches() {  # pid, KiB before, with the program's count of held objects (1) or not (0)
  local before=$2 now batch
  for batch in $(seq "$batches"); do
    for _ in $(seq "$readings"); do e2e_tool accessible "$menu_title" >/dev/null || log "a reading failed"; done
    now=$(anonymous_kib "$1")
    echo "| after $readings readings more (batch $batch) | $now | +$((now - before)) | $([ "$3" = 1 ] && readers_held) |"
    before=$now
  done
}

data=$(e2e_unix_path "$(e2e_windows_variable APPDATA)\\Kestrivalume")
mkdir -p "$data"
make_start_menu 60 9
e2e_launch program "$E2E_OUT/Kestrivalume.exe"
e2e_tool wait-window --class KestrivalumeWindow --title Kestrivalume 30000 >/dev/null
e2e_wait_done Refreshes 1 120 || log "no catalogue"
pid=$(pid_named kestrivalume.exe)
echo "| $arch, the program | anonymous KiB | growth | objects held for readers |"
echo "|---|---|---|---|"
wine "$E2E_OUT/perfprobe.exe" click 20 >/dev/null || true
wine "$E2E_OUT/perfprobe.exe" press 17 >/dev/null || true
warm=$(anonymous_kib "$pid")
echo "| after 20 openings (warm-up) | $warm | | |"
wine "$E2E_OUT/perfprobe.exe" click "$openings" >/dev/null || true
wine "$E2E_OUT/perfprobe.exe" press 17 >/dev/null || true
opened=$(anonymous_kib "$pid")
echo "| after $openings openings more, nobody reading | $opened | +$((opened - warm)) | |"
wine "$E2E_OUT/perfprobe.exe" click 1 >/dev/null || true
read_batches "$pid" "$opened" 1
e2e_tool post Kestrivalume close >/dev/null || true
e2e_tool wait-gone Kestrivalume 10000 >/dev/null || true
wineserver -w

e2e_launch floor "$E2E_OUT/barerows.exe" drawn 22
e2e_tool wait-window Kestrivalume 30000 >/dev/null
pid=$(pid_named barerows.exe)
wine "$E2E_OUT/perfprobe.exe" click 1 >/dev/null || true
echo
echo "| $arch, bare rows answering with the standard object | anonymous KiB | growth | |"
echo "|---|---|---|---|"
opened=$(anonymous_kib "$pid")
echo "| its window open | $opened | | |"
read_batches "$pid" "$opened" 0
e2e_tool post Kestrivalume close >/dev/null || true
wineserver -w
