# Shared by scripts/performance.sh and scripts/catalogue_bench.sh: the processes of a running
# test's Wine prefix and their CPU time read from /proc, a Start menu of many shortcuts, the
# machine a run was made on. Source it after tests/e2e/lib.sh; it uses $root and log.

ticks_per_second=${ticks_per_second:-$(getconf CLK_TCK)}
load_at_start=${load_at_start:-$(cut -d' ' -f1-3 /proc/loadavg)}

median_min_max() {  # numbers on stdin -> "median (min .. max)"
  sort -g | awk '{v[NR] = $1} END {if (NR == 0) {print "n/a"; exit} printf "%.1f (%.1f .. %.1f)", v[int((NR + 1) / 2)], v[1], v[NR]}'
}

# --- the processes of the running test's Wine prefix, read from /proc ---

prefix_pids() {
  grep -lsxzF "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ | cut -d/ -f3 || true
}

# A short name: the Windows executable's file name, or wineserver.
process_name() {
  local command
  command=$(tr '\0' ' ' 2>/dev/null <"/proc/$1/cmdline") || return 0
  case "$command" in
    *wineserver*) echo wineserver ;;
    *) sed -E 's/^([^ ]*[\\/])?([^\\/ ]+\.exe).*/\2/I; s/ .*//' <<<"$command" | tr 'A-Z' 'a-z' ;;
  esac
}

cpu_ticks() {  # utime + stime; the command name in parentheses may hold blanks; "" once it ended
  { sed -E 's/^.*\) //' "/proc/$1/stat" 2>/dev/null || true; } | awk '{print $12 + $13}'
}

# "private anonymous" in KiB: anonymous pages are the process's own (its heaps and stacks, the
# pages of a mapped file it wrote), as Windows counts private bytes; private also counts the
# pages of files only this process maps (its libraries' code).
memory_of() {  # pid
  awk '/^Private_(Clean|Dirty):/ {p += $2} /^Anonymous:/ {a = $2} END {print p, a}' "/proc/$1/smaps_rollup"
}

pid_named() {  # name -> the first process of the prefix of that name
  local pid
  for pid in $(prefix_pids); do
    [ "$(process_name "$pid")" = "$1" ] && { echo "$pid"; return 0; }
  done
  return 1
}

helper_running() { pid_named kestrivalumeconsole.exe >/dev/null; }

# The catalogue has arrived once the console helper the program started has ended.
wait_catalogue() {
  local i
  for i in $(seq 100); do helper_running && break; sleep 0.1; done
  for i in $(seq 1200); do helper_running || return 0; sleep 0.1; done
  log "the console helper did not end"
}

# CPU seconds of the prefix's Wine processes, by executable name, while a command runs;
# processes that start meanwhile (a catalogue refresh's helper) count from zero, those that
# end count up to their last sample (every 0.5 s).
cpu_during() {  # command... -> lines "name seconds"
  local pid ticks waited
  declare -A first last name
  for pid in $(prefix_pids); do first[$pid]=$(cpu_ticks "$pid"); name[$pid]=$(process_name "$pid"); done
  "$@" &
  waited=$!
  while :; do
    for pid in $(prefix_pids); do
      ticks=$(cpu_ticks "$pid")
      [ -n "$ticks" ] || continue
      last[$pid]=$ticks
      [ -n "${name[$pid]:-}" ] || name[$pid]=$(process_name "$pid")
    done
    kill -0 "$waited" 2>/dev/null || break
    sleep 0.5
  done
  wait "$waited" || true
  for pid in "${!last[@]}"; do echo "${name[$pid]} $((${last[$pid]} - ${first[$pid]:-0}))"; done |
    awk -v hz="$ticks_per_second" '$1 ~ /\.exe$/ || $1 == "wineserver" {t[$1] += $2}
      END {for (n in t) printf "%s %.2f\n", n, t[n] / hz}' | sort
}

# --- the machine ---

machine_lines() {
  local commit
  commit=$(git -C "$root" rev-parse --short HEAD)
  [ -z "$(git -C "$root" status --porcelain --untracked-files=no)" ] || commit="$commit with uncommitted changes"
  echo "| CPU | $(lscpu | sed -n 's/^Model name: *//p' | head -n 1) |"
  echo "| Cores | $(nproc) |"
  echo "| Memory | $(awk '/^MemTotal:/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo) |"
  echo "| Load average at start (1, 5, 15 min) | $load_at_start |"
  echo "| Kernel | $(uname -sr) |"
  echo "| Wine | $(wine --version 2>/dev/null) |"
  echo "| MinGW compilers | $(x86_64-w64-mingw32-g++ --version | head -n 1); $(i686-w64-mingw32-g++ --version | head -n 1) |"
  echo "| Native compiler | $(g++ --version | head -n 1) |"
  echo "| Date | $(date -u '+%Y-%m-%d %H:%M UTC') |"
  echo "| Commit | $commit |"
}

# --- a large Start menu ---

make_start_menu() {  # count, groups: shortcuts copied from a few made with kvtool
  local programs unix i g targets=('C:\windows\system32\notepad.exe' 'C:\windows\regedit.exe' \
    'C:\windows\system32\winemine.exe' 'C:\windows\system32\cmd.exe' 'C:\windows\win.ini')
  programs=$(e2e_unix_path "$(e2e_windows_variable APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs")
  unix="$E2E_WORK/lnk"
  mkdir -p "$unix"
  for i in "${!targets[@]}"; do e2e_tool lnk "C:\\kvperf$i.lnk" "${targets[$i]}" >/dev/null; done
  for i in "${!targets[@]}"; do mv "$(e2e_unix_path "C:\\kvperf$i.lnk")" "$unix/$i.lnk"; done
  for ((i = 0; i < $1; ++i)); do
    g=$((i % $2))
    mkdir -p "$programs/Groupe $g"
    cp "$unix/$((i % ${#targets[@]})).lnk" "$programs/Groupe $g/Programme $i.lnk"
  done
}

