#!/usr/bin/env bash
# Soak run under Wine: the program with a realistic Start menu goes through many menu and
# settings-window cycles in one session (tests/win/soakdriver), and what it holds (windows, GDI
# objects by kind, memory, handles; kvtool process-counts) is read at the start, after a warm-up
# that fills the caches, and at the end. Prints a TAB-separated table:
#   counter  start  warm-up  end  end-warm-up
#   scripts/soak.sh [win32|win64] [menu cycles] [settings cycles]     (defaults win64 1000 200)
# The warm-up is the first 20 menu and 5 settings cycles (at most half of each). Nothing is
# asserted here; tests/e2e/soak_e2e.sh checks a short run's table. KV_SOAK_HEAP_TRACE=1 adds
# what each of the program's heaps keeps (below).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tests/e2e/lib.sh"
arch=${1:-win64}
menu_cycles=${2:-1000}
settings_cycles=${3:-200}
warm_menu=$((menu_cycles / 2 < 20 ? menu_cycles / 2 : 20))
warm_settings=$((settings_cycles / 2 < 5 ? settings_cycles / 2 : 5))
e2e_start "soak_$arch" "$arch"

app_data=$(e2e_windows_variable APPDATA)
programs="$app_data\\Microsoft\\Windows\\Start Menu\\Programs"
recent="$app_data\\Microsoft\\Windows\\Recent"
data=$(e2e_unix_path "$app_data\\Kestrivalume")
explorer_key='Software\Microsoft\Windows\CurrentVersion\Explorer\RecentDocs'

# --- fixture: 60 shortcuts in 9 folders, a few Internet shortcuts, recent documents, usage ---
# A handful of real shortcuts made by kvtool, copied under many names (one kvtool start each
# would take a minute under Wine).
programs_unix=$(e2e_unix_path "$programs")
mkdir -p "$programs_unix" "$(e2e_unix_path "$recent")" "$data" "$E2E_WORK/links"
targets=('C:\windows\system32\notepad.exe' 'C:\windows\regedit.exe' 'C:\windows\system32\winemine.exe'
         'C:\windows\system32\cmd.exe' 'C:\windows\system32\taskmgr.exe')
for i in "${!targets[@]}"; do
  e2e_tool lnk "$(winepath -w "$E2E_WORK/links")\\model$i.lnk" "${targets[$i]}" >/dev/null
done
folders=('' 'Accessoires' 'Accessoires/Outils système' 'Bureautique' 'Graphisme' 'Internet' 'Jeux' 'Multimédia' 'Utilitaires')
for n in $(seq 0 59); do
  folder="$programs_unix/${folders[$((n % ${#folders[@]}))]}"
  mkdir -p "$folder"
  cp "$E2E_WORK/links/model$((n % ${#targets[@]})).lnk" "$folder/Programme $n.lnk"
done
for n in 1 2 3; do
  printf '[InternetShortcut]\r\nURL=https://exemple.invalid/page%s\r\n' "$n" >"$programs_unix/Internet/Site $n.url"
done
documents=$(e2e_unix_path 'C:\Documents')
mkdir -p "$documents"
mru=
for n in 0 1 2 3; do
  echo "document $n" >"$documents/note$n.txt"
  e2e_tool lnk "$recent\\note$n.txt.lnk" "C:\\Documents\\note$n.txt" >/dev/null
  e2e_tool regset HKCU "$explorer_key" "$n" recentdoc "note$n.txt" "note$n.txt.lnk" >/dev/null
  mru=${mru:+$mru,}$n
done
e2e_tool regset HKCU "$explorer_key" MRUListEx mruex "$mru" >/dev/null
: >"$data/Kestrivalume.mostused"
: >"$data/Kestrivalume.lastused"
for n in 0 1 2 3 4 5; do
  link="$programs\\${folders[$n]:+${folders[$n]//\//\\}\\}Programme $n.lnk"
  printf '%s\tProgramme %s\t%s\t%s\r\n' $((20 - n)) "$n" "$link" "${targets[$((n % ${#targets[@]}))]}" |
    iconv -f UTF-8 -t CP1252 >>"$data/Kestrivalume.mostused"
  printf '%s\tProgramme %s\t%s\t%s\r\n' $((1350000000 - n)) "$n" "$link" "${targets[$((n % ${#targets[@]}))]}" |
    iconv -f UTF-8 -t CP1252 >>"$data/Kestrivalume.lastused"
done
# A running program for the "running programs" column.
wine notepad >/dev/null 2>&1 &
E2E_PIDS+=($!)
e2e_tool wait-window --class Notepad 15000 >/dev/null || e2e_log "notepad did not start"

# Without a window manager (bare Xvfb) Wine waits 2 s for the withdrawn state of every managed
# window it hides, so each menu close would cost 2 s. Unmanaged windows are hidden at once; the
# program's windows, objects and memory are the same either way.
e2e_tool regset HKCU 'Software\Wine\X11 Driver' Managed sz N >/dev/null

# --- the program ---
# KV_SOAK_HEAP_TRACE=1 runs the program under Wine's heap trace and ends with what each of its
# heaps holds after the warm-up and at the end (scripts/heap_live.py). Slow, and the trace
# changes the memory figures; it shows which heap keeps what.
if [ -n "${KV_SOAK_HEAP_TRACE:-}" ]; then
  WINEDEBUG=trace+heap e2e_launch program "$E2E_OUT/Kestrivalume.exe"
else
  e2e_launch program "$E2E_OUT/Kestrivalume.exe"
fi
e2e_wait_window Kestrivalume 30 >/dev/null || { e2e_fail "no button window"; e2e_finish; }
e2e_wait_done Refreshes 1 60 || { e2e_fail "no catalogue from the console helper"; e2e_finish; }
pid=$(e2e_tool pid --class KestrivalumeWindow --title Kestrivalume)

# kvtool's counts. Under Wine private_bytes is the resident anonymous memory and working_set the
# resident set of the Wine process (/proc/<pid>/status RssAnon and VmRSS); handles and gui_* are
# stubs there (always 0) and are shown only for completeness.
# Read again, a second apart, while private memory still falls (at most 8 times): the buffer of
# the menu that just closed (about 1 MB) is released a moment later, later still on a busy
# machine, and would otherwise be counted or not by chance.
private_of() { awk -F'\t' '$1 == "private_bytes" {print $2}' <<<"$1"; }
counts() {
  local now before scans
  # Deferred work (tooltips, repaints, what a closed window leaves to do) is done once the program
  # has gone idle: a window scan runs only in an idle pass, with no event waiting. Two scans: one
  # may have been under way as the count was read.
  scans=$(e2e_done Scans)
  e2e_wait_done Scans $((scans + 2)) 30 || e2e_fail "the program did not go idle"
  now=$(e2e_tool process-counts "$pid")
  for _ in 1 2 3 4 5 6 7 8; do
    sleep 1
    before=$now
    now=$(e2e_tool process-counts "$pid")
    [ "$(private_of "$now")" -lt "$(private_of "$before")" ] || break
  done
  echo "$now"
}
drive() {
  e2e_run "$E2E_OUT/soakdriver.exe" "$1" "$2" | tr -d '\r' | tee "$E2E_WORK/drive.log" | sed "s/^/[$E2E_NAME] /"
}

counts >"$E2E_WORK/start.counts"
drive "$warm_menu" "$warm_settings" || { e2e_fail "warm-up cycles"; e2e_finish; }
counts >"$E2E_WORK/warm.counts"
trace_mark=$(wc -l <"$E2E_WORK/program.err")
drive $((menu_cycles - warm_menu)) $((settings_cycles - warm_settings)) || { e2e_fail "soak cycles"; e2e_finish; }
counts >"$E2E_WORK/end.counts"
statics=$(grep -o '[0-9]* standard static controls shown' "$E2E_WORK/drive.log" | awk '{n += $1} END {print n + 0}')
e2e_expect "program still running" e2e_tool alive "$pid"

e2e_log "$arch: $menu_cycles menu cycles, $settings_cycles settings cycles (warm-up $warm_menu + $warm_settings)"
# Wine's static control (common controls version 6) allocates a 24-byte block for its font and
# never frees it, so private memory grows with every static control with text destroyed, the
# program's or not (tests/win/churnprobe windows, with and without a program's manifest, shows
# such growth without the program). Containers get no font and keep nothing.
e2e_log "$statics standard static controls shown and destroyed after the warm-up (Wine keeps a 24-byte block of each with text)"
printf 'counter\tstart\twarm-up\tend\tend-warm-up\n'
join -t $'\t' -j 1 -o 0,1.2,2.2 <(sort "$E2E_WORK/start.counts") <(sort "$E2E_WORK/warm.counts") |
  join -t $'\t' -j 1 -o 0,1.2,1.3,2.2 - <(sort "$E2E_WORK/end.counts") |
  awk -F'\t' -v OFS='\t' '{print $1, $2, $3, $4, $4 - $3}' |
  awk -F'\t' -v OFS='\t' \
    'BEGIN {n = split("windows top_level visible_top_level child_windows gdi gdi_dc gdi_region gdi_bitmap gdi_palette gdi_font gdi_brush gdi_pen gdi_other handles private_bytes working_set gui_gdi gui_user", order, " ")}
     {row[$1] = $0}
     END {for (i = 1; i <= n; ++i) if (order[i] in row) print row[order[i]]}'
if [ -n "${KV_SOAK_HEAP_TRACE:-}" ]; then
  e2e_log "heaps of the program after the warm-up and at the end (heap 1 the system's, heap 2 the program's own):"
  python3 "$root/scripts/heap_live.py" "$E2E_WORK/program.err" "$trace_mark"
fi
e2e_tool post --class KestrivalumeWindow --title Kestrivalume close >/dev/null
e2e_finish
