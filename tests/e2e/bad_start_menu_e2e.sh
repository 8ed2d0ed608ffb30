#!/usr/bin/env bash
# Hostile Start menus under Wine, in one run of the program:
#   a console helper that hangs before its first line (catalogueprobe playing it): the program
#   ends it after the stall limit and the menu opens without programs;
#   the real helper killed while it scans a folder of 2,000 shortcuts: the next refresh recovers;
#   the 2,000 shortcuts then all reach the menu, which stays responsive;
#   a shortcut name of 250 characters (its path longer than 260), names outside Latin-1 (read
#   through the 8-bit API as "?"), a pair of shortcuts pointing at each other, one pointing at
#   itself and one on a missing drive: listed or left out sensibly, and clicking them launches or
#   shows the "no longer available" strip without hanging or crashing.
#   bad_start_menu_e2e.sh win32|win64
source "$(dirname "$0")/lib.sh"
case "${1:-}" in
  win32 | win64) e2e_start "bad_start_menu_$1" "$1" ;;
  *) echo "usage: bad_start_menu_e2e.sh win32|win64" >&2; exit 2 ;;
esac
menu_title="Start - Kestrivalume"
info_title="Information - Kestrivalume"
app_data=$(e2e_windows_variable APPDATA)
programs="$app_data\\Microsoft\\Windows\\Start Menu\\Programs"
data=$(e2e_unix_path "$app_data\\Kestrivalume")
top=$(e2e_unix_path "$programs")
long_stem="Long$(printf 'o%.0s' $(seq 242))"  # 246 characters, 250 with ".lnk"

# --- fixture: everything but one group sits in the Programs folder itself, so that the helper
# writes nothing before it has scanned all 2,000 shortcuts. No more: a group is written once it
# is scanned, and the reader gives up after 3 s without a line; 2,000 take well under a second
# here, so a machine several times slower (or this one loaded) still lists them. ---
mkdir -p "$top"/{Avant,Zeta} "$data"
e2e_tool lnk "$programs\\Avant\\Bloc-notes.lnk" 'C:\windows\system32\notepad.exe' >/dev/null
e2e_tool lnk "$programs\\Lecteur absent.lnk" 'Q:\nothing\prog.exe' >/dev/null
e2e_tool lnk "$programs\\Boucle A.lnk" "$programs\\Boucle B.lnk" >/dev/null
e2e_tool lnk "$programs\\Boucle B.lnk" "$programs\\Boucle A.lnk" >/dev/null
e2e_tool lnk "$programs\\Autoboucle.lnk" "$programs\\Autoboucle.lnk" >/dev/null
e2e_tool url "$programs\\Adresse.url" 'http://example.invalid/' >/dev/null
# Copies made in one process: a kvtool call per shortcut would take minutes.
python3 - "$top" "$long_stem" <<'EOF'
import os, shutil, sys
top, long_stem = sys.argv[1], sys.argv[2]
shortcut = os.path.join(top, "Avant", "Bloc-notes.lnk")
internet = os.path.join(top, "Adresse.url")
for number in range(1, 2001):
    shutil.copyfile(shortcut, os.path.join(top, "Prog %04d.lnk" % number))
shutil.copyfile(shortcut, os.path.join(top, long_stem + ".lnk"))
shutil.copyfile(shortcut, os.path.join(top, "Café.lnk"))
shutil.copyfile(shortcut, os.path.join(top, "Zeta", "Zeta.lnk"))
for stem in ("Кириллица", "Ελληνικά", "中文程序", "Emoji 😀"):
    shutil.copyfile(shortcut, os.path.join(top, stem + ".lnk"))
    shutil.copyfile(internet, os.path.join(top, stem + ".url"))
for folder in ("Папка", "文件夹"):
    os.mkdir(os.path.join(top, folder))
    shutil.copyfile(shortcut, os.path.join(top, folder, "Dedans.lnk"))
EOF
printf 'ShowProgImmediate = 1\r\n' >"$data/Kestrivalume.prefs"
data_mapped=$(readlink -f "$data")  # as a process's mappings name it

# Unix ids of the console helpers running in this test's prefix (other tests run their own).
# With "current", only those running the file that is in the data folder now: one replaced
# meanwhile shows as deleted in the process's mappings.
helper_pids() {
  local pid
  for pid in $(pgrep -f 'KestrivalumeConsole\.exe' || true); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    if [ "${1:-}" = current ]; then
      grep -q "$data_mapped/KestrivalumeConsole.exe\$" "/proc/$pid/maps" 2>/dev/null || continue
    fi
    echo "$pid"
  done
  return 0
}
wait_helper_start() {  # seconds, [current], [an id to ignore]; prints the id of a helper running now
  local pid
  for _ in $(seq $(($1 * 20))); do
    pid=$(helper_pids "${2:-}" | grep -vxF "${3:-none}" | head -n 1)
    [ -n "$pid" ] && { echo "$pid"; return 0; }
    sleep 0.05
  done
  return 1
}
wait_gone() {  # Unix id, seconds
  for _ in $(seq $(($2 * 20))); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.05
  done
  return 1
}

# Stops the real helper (SIGSTOP) at its first open of one of the 2,000 shortcuts (inotify),
# from this one process: the helper then writes nothing more, and its first line would come only
# after all of them. A watcher slower than the scan would let it write part of its listing, which
# the program rightly publishes. Writes "ready", then "stopped <Unix id>", to the file.
stop_helper_in_scan() {  # output file
  python3 - "$top" "$WINEPREFIX" "$data_mapped/KestrivalumeConsole.exe" >"$1" <<'PY' &
import ctypes, os, signal, struct, sys
top, prefix, helper = sys.argv[1], sys.argv[2], sys.argv[3]
libc = ctypes.CDLL(None, use_errno=True)
IN_OPEN = 0x20
fd = libc.inotify_init()
if fd < 0 or libc.inotify_add_watch(fd, os.fsencode(top), IN_OPEN) < 0:
    sys.exit("inotify: " + os.strerror(ctypes.get_errno()))

def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return b""

def real_helpers():
    for pid in filter(str.isdigit, os.listdir("/proc")):
        if b"KestrivalumeConsole.exe" not in read("/proc/%s/cmdline" % pid):
            continue
        if ("WINEPREFIX=" + prefix).encode() not in read("/proc/%s/environ" % pid).split(b"\0"):
            continue
        if any(line.endswith(helper.encode()) for line in read("/proc/%s/maps" % pid).splitlines()):
            yield int(pid)

print("ready", flush=True)
while True:
    data, pos = os.read(fd, 65536), 0
    while pos < len(data):
        _, _, _, length = struct.unpack_from("iIII", data, pos)
        name = os.fsdecode(data[pos + 16:pos + 16 + length].rstrip(b"\0"))
        pos += 16 + length
        if name.startswith("Prog ") and name.endswith(".lnk"):
            for pid in real_helpers():
                os.kill(pid, signal.SIGSTOP)
                print("stopped", pid, flush=True)
                sys.exit(0)
PY
  E2E_PIDS+=($!)
}

# The menu is opened by a click on the button and dumped once: dumping 10,000 controls is slow.
open_menu() {
  xdotool mousemove 8 8 click 1
  xdotool mousemove 1000 700
  e2e_wait_shown "$menu_title" 30 || e2e_fail "no menu window"
  listing=$(e2e_dump "$menu_title")
}
close_menu() {
  e2e_click_control_in "$listing" 2 "$menu_title"
  e2e_tool wait-gone "$menu_title" 5000 >/dev/null || e2e_fail "menu did not close"
}
rows() { awk -F'\t' '$1 ~ /^[0-9]+$/ && ($2 == "KestrivalumeLink" || $2 == "Static") {print $7}' <<<"$listing"; }
row_id() { awk -F'\t' -v text="$1" '$2 == "KestrivalumeLink" && $7 == text {print $1; exit}' <<<"$listing"; }
row_left() { awk -F'\t' -v text="$1" '$7 == text {split($3, r, ","); print r[1]; exit}' <<<"$listing"; }
responsive() { e2e_tool send --class KestrivalumeWindow --title Kestrivalume message 0 0 0 >/dev/null; }

# Clicks a row that cannot be started: the strip says so, goes after 2 s, the menu stays.
expect_not_available() {  # what, row text
  local id
  id=$(row_id "$2")
  [ -n "$id" ] || { e2e_fail "$1: no row '$2'"; return 0; }
  e2e_click_control_in "$listing" "$id" "$menu_title"
  if e2e_tool wait-window "$info_title" 8000 >/dev/null; then
    e2e_expect_eq "$1: information strip" "Cet objet n'est plus disponible." \
      "$(e2e_tool dump "$info_title" 2>/dev/null | awk -F'\t' '$1 == "15" {print $7}')"
    e2e_expect "$1: the strip goes" e2e_tool wait-gone "$info_title" 5000
  else
    e2e_fail "$1: no information strip"
  fi
  e2e_expect "$1: menu still open" e2e_tool wait-window "$menu_title" 1000
  e2e_expect "$1: program responsive" responsive
  xdotool mousemove 1000 700
}

# --- a helper that hangs before its first line ---
# The program writes its own helper at start; a folder in the way of its temporary file keeps
# catalogueprobe in its place.
cp "$E2E_OUT/catalogueprobe.exe" "$data/KestrivalumeConsole.exe"
mkdir "$data/KestrivalumeConsole.exe.tmp"
CATALOGUEPROBE_HELPER=silent e2e_launch program "$E2E_OUT/Kestrivalume.exe"
program_wine=$E2E_LAST_PID  # the exit code is read from it: the program may be gone in no time
e2e_tool wait-window --class KestrivalumeWindow --title Kestrivalume 30000 >/dev/null || e2e_fail "no button window"
hung=$(wait_helper_start 20) || e2e_fail "the hanging helper never started"
started=$(e2e_now_ms)
e2e_expect "the hanging helper is ended at the stall limit, not after its minute" wait_gone "$hung" 15
e2e_log "hanging helper ended after $(($(e2e_now_ms) - started)) ms"
open_menu
e2e_expect_eq "menu without programs" " Lancer les programmes" "$(rows | sed -n '/^ Lancer les programmes/,$p')"
e2e_expect "program responsive with a hung helper" responsive
close_menu

# --- the real helper killed while it scans the 2,000 shortcuts ---
stop_helper_in_scan "$E2E_WORK/stops.out"
e2e_wait_line "$E2E_WORK/stops.out" '^ready' 10 || e2e_fail "cannot watch the shortcuts being opened"
cp "$E2E_OUT/KestrivalumeConsole.exe" "$data/KestrivalumeConsole.new"
mv -f "$data/KestrivalumeConsole.new" "$data/KestrivalumeConsole.exe"
real=$(wait_helper_start 20 current) || e2e_fail "the real helper never started"
refreshes=$(e2e_done Refreshes)  # the refresh reading it still runs: not counted yet
e2e_wait_line "$E2E_WORK/stops.out" '^stopped' 20 || e2e_fail "the real helper opened none of the 2,000 shortcuts"
e2e_expect_eq "the helper stopped inside its scan is the real one" "stopped $real" "$(grep '^stopped' "$E2E_WORK/stops.out")"
kill -KILL "$real" 2>/dev/null || true  # the program may have ended it at the stall limit already
e2e_log "killed helper $real"
if recovered=$(wait_helper_start 20 current "$real"); then
  e2e_log "ok: the next refresh runs a new helper"
  wait_gone "$recovered" 60 || e2e_fail "the recovering helper did not end"
  # Its last lines read and the catalogue published: the killed helper's refresh and this one ended.
  e2e_wait_done Refreshes $((refreshes + 2)) 30 || e2e_fail "the recovering refresh did not end"
else
  e2e_fail "no refresh after the killed helper"
fi

# --- 2,000 shortcuts in one folder ---
started=$(e2e_now_ms)
open_menu
e2e_log "menu with the programs opened and dumped in $(($(e2e_now_ms) - started)) ms"
e2e_expect_eq "all 2,000 shortcuts listed, in order" "2000 Prog 0001 Prog 2000" \
  "$(rows | awk '/^Prog [0-9][0-9][0-9][0-9]$/ {n++; if (!first) first = $0; last = $0} END {print n, first, last}')"
# The big group starts a column of its own and runs past the bottom; the next groups follow
# in the column after it, and the fixed column closes the window.
e2e_expect_eq "the big group in column 2, the next groups in column 3" "240 411 240" \
  "$(row_left 'Prog 0001') $(row_left ' Avant') $(row_left 'Zeta' | awk '{print $1 - 190}')"
e2e_expect_eq "menu width: three columns and the fixed column" "622" \
  "$(awk -F'\t' '$1 == "client" {split($2, s, ","); print s[1]}' <<<"$listing")"
e2e_expect "program responsive with the big menu open" responsive
e2e_screenshot big

# --- a name of 250 characters ---
e2e_expect_eq "the 250-character name has its row" "1" "$(rows | grep -cxF "$long_stem" || true)"
# --- names outside Latin-1 ---
# Read through the 8-bit API they come back with "?": an Internet shortcut is listed under that
# name (its file is never opened), a shortcut or a folder cannot be opened by it and is left out.
e2e_expect_eq "names outside Latin-1: the Internet shortcuts listed with '?', once each" \
  "????|????????|?????????|Emoji ??" "$(rows | grep -F '?' | paste -sd '|')"
e2e_expect_eq "the shortcuts in folders with such names left out" "0" "$(rows | grep -cxF 'Dedans' || true)"
e2e_expect_eq "Latin-1 names unharmed" "1" "$(rows | grep -cxF 'Café' || true)"
e2e_expect_eq "groups after them intact" "1 1 1" \
  "$(rows | grep -cxF ' Avant') $(rows | grep -cxF 'Bloc-notes') $(rows | grep -cxF ' Zeta')"

# --- clicks that cannot start anything ---
expect_not_available "'?' name" "????"
expect_not_available "missing drive" "Lecteur absent"
expect_not_available "shortcuts pointing at each other" "Boucle A"
expect_not_available "shortcut pointing at itself" "Autoboucle"

# The console helper checks a single shortcut through the 8-bit API, which stops at 260
# characters: the shortcut of the long name cannot be checked, and is reported rather than opened.
expect_not_available "250-character name" "$long_stem"

# --- the end: no error report, a clean exit ---
e2e_expect_eq "no error report" "" "$(e2e_tool find --title ERROR 2>/dev/null || true)"
e2e_tool post --class KestrivalumeWindow --title Kestrivalume close >/dev/null
for _ in $(seq 200); do kill -0 "$program_wine" 2>/dev/null || break; sleep 0.1; done
status=timeout
kill -0 "$program_wine" 2>/dev/null || { wait "$program_wine" && status=0 || status=$?; }
e2e_expect_eq "Kestrivalume exit code" 0 "$status"
e2e_finish
