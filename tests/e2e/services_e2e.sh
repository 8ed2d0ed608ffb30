#!/usr/bin/env bash
# The Windows services under Wine, one servicesprobe.exe run per service, each result compared
# with what kvtool, Wine's own tools or Linux report: folders, program path, the 32-bit-on-64-bit
# check, screen size, pointers, top-level windows, process list, ending a process, registry,
# clipboard, local time and the named mutex.
#   services_e2e.sh win32|win64   the build in a prefix of its own architecture
#   services_e2e.sh wow64         the 32-bit build in a 64-bit prefix
source "$(dirname "$0")/lib.sh"
case "${1:-}" in
  win32 | win64) e2e_start "services_$1" "$1"; expect_wow64=false ;;
  wow64) e2e_start services_wow64 win32 win64; expect_wow64=true ;;
  *) echo "usage: services_e2e.sh win32|win64|wow64" >&2; exit 2 ;;
esac
probe() { e2e_run "$E2E_OUT/servicesprobe.exe" "$@" | tr -d '\r'; }
# Probe output and exit status on one line, for the services that fail by exit status.
probe_status() { local out; out=$(probe "$@") && echo "$out|0" || echo "$out|1"; }
utf8() { iconv -f CP1252 -t UTF-8; }

# --- folders and the program's path ---
appdata=$(probe folder 0x1A)
e2e_expect_eq "AppData folder ends with a backslash" '\' "${appdata: -1}"
e2e_expect "AppData folder $appdata exists" test -d "$(e2e_unix_path "$appdata")"
e2e_expect_eq "Windows folder" 'C:\windows\' "$(probe folder 0x24)"
e2e_expect_eq "unknown folder" "" "$(probe folder 0x7F)"
program=$(probe program)
e2e_expect_eq "program path ($program)" 'servicesprobe.exe' "${program##*\\}"
e2e_expect "program path names this file" test "$(e2e_unix_path "$program")" -ef "$E2E_OUT/servicesprobe.exe"
e2e_expect_eq "32-bit on 64-bit Windows" "$expect_wow64" "$(probe wow64)"

# --- screen and pointers ---
# Wine shows the 24-bit X display as 32 bits per pixel, as does the screen's device context.
read -r right bottom depth dc_depth < <(probe screen)
e2e_expect_eq "screen size" "1920 1080" "$right $bottom"
e2e_expect_eq "screen depth (device context says $dc_depth)" "$dc_depth" "$depth"
e2e_expect "screen depth $depth is 24 or 32" test "$depth" = 24 -o "$depth" = 32
e2e_expect_eq "pointers loaded" 1 "$(probe cursors)"

# --- windows and processes, against a notepad started for the test ---
# A notepad of the prefix's own architecture: plain "wine" starts the 32-bit one in both prefixes.
if [ "$WINEARCH" = win64 ]; then
  wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
  "$wine64" notepad >"$E2E_WORK/notepad.out" 2>"$E2E_WORK/notepad.err" &
  E2E_PIDS+=($!)
  E2E_LAST_PID=$!
else
  e2e_launch notepad notepad
fi
notepad_line=
for _ in $(seq 100); do
  notepad_line=$(probe windows | awk -F'\t' '$2 == 1 && $5 ~ /Notepad|Bloc-notes/' | head -n 1)
  [ -n "$notepad_line" ] && break
  sleep 0.2
done
IFS=$'\t' read -r hwnd visible tool pid title <<<"$notepad_line"
e2e_expect "notepad window listed: '$notepad_line'" test -n "$notepad_line"
e2e_expect_eq "notepad window flags" "1 0" "$visible $tool"
e2e_expect_eq "notepad window process" "$(e2e_tool pid --hwnd "$hwnd")" "$pid"
e2e_expect_eq "notepad window as kvtool sees it" "$hwnd $pid $title" \
  "$(e2e_tool windows | awk -F'\t' -v h="$hwnd" '$1 == h {print $1, $2, $5}')"
image=$(probe imagepath "$hwnd")
# Asked with the limited query right (QueryFullProcessImageName), which also names a 64-bit
# program to a 32-bit process; reading its modules, as before, could not.
e2e_expect_eq "notepad image path ($image)" 'C:\windows\system32\notepad.exe' "$image"
e2e_expect_eq "image path of no window" "" "$(probe imagepath 0)"

processes=$(probe processes)
self=$(echo "$processes" | sed -n 's/^self //p')
e2e_expect_eq "process list holds the probe itself" "$self servicesprobe.exe" \
  "$(echo "$processes" | awk -F'\t' -v id="$self" '$1 == id {print $1, $2}')"
e2e_expect_eq "process list holds notepad" notepad.exe "$(echo "$processes" | awk -F'\t' -v id="$pid" '$1 == id {print tolower($2)}')"
e2e_expect_eq "process names without folders" "" "$(echo "$processes" | awk -F'\t' 'NR > 1 && $2 ~ /\\/')"
e2e_expect "current process id differs between runs" test "$(probe pid)" != "$self"

e2e_expect_eq "terminate notepad" true "$(probe terminate "$pid" 7)"
wait "$E2E_LAST_PID" && status=0 || status=$?
e2e_expect_eq "notepad exit code" 7 "$status"
e2e_expect "notepad no longer alive" bash -c "! wine '$E2E_OUT/kvtool.exe' alive $pid 2>/dev/null"
# Wine, unlike Windows, reports success for a process that has ended but whose handles are still
# held (by its launcher, for a moment): ask until Wine has let the ended notepad go.
for _ in $(seq 25); do
  ended=$(probe terminate "$pid")
  [ "$ended" = false ] && break
  sleep 0.2
done
e2e_expect_eq "terminate the ended notepad" false "$ended"
e2e_expect_eq "terminate process 0" false "$(probe terminate 0)"

# --- registry ---
key='Software\Kestrivalume\ServicesE2E'
e2e_expect_eq "HKCU value written" "|0" "$(probe_status regwrite "$key" Dossier 'Documents récents')"
e2e_expect_eq "HKCU value as kvtool reads it" 'Documents récents' "$(e2e_tool regget HKCU "$key" Dossier | utf8)"
e2e_expect_eq "HKCU value read back" 'Documents récents|0' "$(probe_status regread hkcu "$key" Dossier | utf8)"
e2e_expect_eq "default value written" "|0" "$(probe_status regwrite "$key" @ 'par défaut')"
e2e_expect_eq "default value read back" 'par défaut' "$(e2e_tool regget HKCU "$key" @ | utf8)"
e2e_expect_eq "empty text written" "|0" "$(probe_status regwrite "$key" Vide '')"
e2e_expect_eq "empty text read back" "|0" "$(probe_status regread hkcu "$key" Vide)"
e2e_tool regset HKCU "$key" Chemin expand_sz '%WINDIR%\notepad.exe'
e2e_expect_eq "expandable text read unexpanded" '%WINDIR%\notepad.exe|0' "$(probe_status regread hkcu "$key" Chemin)"
e2e_tool regset HKCU "$key" Nombre dword 42
e2e_expect_eq "number value is no text" "|1" "$(probe_status regread hkcu "$key" Nombre)"
long254=$(printf 'a%.0s' $(seq 254))
e2e_tool regset HKCU "$key" Long sz "$long254"
e2e_expect_eq "254-character text read whole" "$long254|0" "$(probe_status regread hkcu "$key" Long)"
# Longer texts do not fit the 255-byte buffer and count as missing.
e2e_tool regset HKCU "$key" Long sz "${long254}b"
e2e_expect_eq "255-character text refused" "|1" "$(probe_status regread hkcu "$key" Long)"
e2e_expect_eq "value deleted" "|0" "$(probe_status regdelete "$key" Dossier)"
e2e_expect "deleted value gone for kvtool" bash -c "! wine '$E2E_OUT/kvtool.exe' regget HKCU '$key' Dossier 2>/dev/null"
e2e_expect_eq "deleted value missing" "|1" "$(probe_status regread hkcu "$key" Dossier)"
e2e_expect_eq "deleting it again fails" "|1" "$(probe_status regdelete "$key" Dossier)"
e2e_expect_eq "missing key" "|1" "$(probe_status regread hkcu 'Software\Kestrivalume\Absent' Dossier)"
e2e_expect_eq "deleting under a missing key fails" "|1" "$(probe_status regdelete 'Software\Kestrivalume\Absent' x)"
# Default values of classes, compared with Wine's reg tool ("missing" for both when absent).
for class in .txt .ini txtfile; do
  expected=$(wine reg query "HKCR\\$class" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^ *(Default) *REG_\(EXPAND_\)\{0,1\}SZ *//p') ||
    expected=missing
  actual=$(probe regread hkcr "$class" @) || actual=missing
  e2e_expect_eq "HKCR\\$class default value" "$expected" "$actual"
done

# --- clipboard and clock ---
e2e_expect_eq "clipboard set" "|0" "$(probe_status clipboard 'Copié depuis le menu')"
e2e_expect_eq "clipboard text" 'Copié depuis le menu' "$(e2e_tool clipboard | utf8)"
e2e_expect_eq "clipboard set to an empty text" "|0" "$(probe_status clipboard '')"
e2e_expect_eq "clipboard text empty" "" "$(e2e_tool clipboard)"
seconds=$(probe seconds)
linux_local=$(TZ=UTC date -d "$(date '+%Y-%m-%d %H:%M:%S')" +%s)
difference=$((seconds - linux_local))
e2e_expect "local seconds $seconds within 5 s of Linux local time $linux_local" test "${difference#-}" -le 5

# --- named mutex ---
mutex="Kestrivalume-E2E-$$"
e2e_expect_eq "mutex absent before" false "$(probe mutexexists "$mutex")"
e2e_launch mutex "$E2E_OUT/servicesprobe.exe" mutex "$mutex"
e2e_expect "mutex holder started" e2e_wait_line "$E2E_WORK/mutex.out" '^held' 20
e2e_expect_eq "mutex exists while held" true "$(probe mutexexists "$mutex")"
wait "$E2E_LAST_PID" || true
e2e_expect_eq "mutex gone with its process" false "$(probe mutexexists "$mutex")"

# --- string tables of other modules, mapped as data ---
e2e_expect_eq "strings of a system module, its folder from a variable, one missing" "Size Type -" \
  "$(probe strings '%SystemRoot%\system32\shell32.dll' 8 9 65000 | tr '\n' ' ' | sed 's/ $//')"
e2e_expect_eq "no strings of a missing module" "- -" "$(probe strings 'C:\nowhere.dll' 8 9 | tr '\n' ' ' | sed 's/ $//')"
e2e_finish
