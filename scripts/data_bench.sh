#!/usr/bin/env bash
# What the user's data costs the GUI thread, under Wine: the all-documents read of Windows'
# recent-documents index and the periodic save, with hostile data (the index full of traps, a
# 10 MB preferences file of random bytes, usage lists of 100,000 lines each: the fixture of
# tests/e2e/bad_settings_e2e.sh) beside the same with clean data (ten real documents, usage lists
# of ten lines), in one run. Prints a Markdown table; figures only, nothing is asserted.
#   scripts/data_bench.sh [win32|win64] [repeats]     (build first: scripts/build.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-win64}
repeats=${2:-9}
source "$root/tests/e2e/lib.sh"
e2e_start "data_bench_$arch" "$arch" >&2
make_input() { python3 "$root/tests/e2e/fixtures/bad_settings/make_inputs.py" "$@"; }
recent_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\RecentDocs'
app_data=$(e2e_windows_variable APPDATA)

# A data folder of its own for each kind of data; the index is the prefix's, imported before each.
hostile_data() {  # folder
  mkdir -p "$1"
  make_input random "$1/Kestrivalume.prefs" $((10 * 1024 * 1024)) 1729
  make_input usage "$1/Kestrivalume.mostused" 100000 Programme 'C:\windows\notepad.exe' 100000 1
  make_input usage "$1/Kestrivalume.lastused" 100000 Récent 'C:\windows\regedit.exe' 1700000000 7
  make_input recentdocs "$E2E_WORK/recentdocs.reg"
  wine reg import "$(winepath -w "$E2E_WORK/recentdocs.reg")" >/dev/null 2>&1
}

clean_data() {  # folder
  local n order=
  mkdir -p "$1"
  make_input usage "$1/Kestrivalume.mostused" 10 Programme 'C:\windows\notepad.exe' 100 1
  make_input usage "$1/Kestrivalume.lastused" 10 Récent 'C:\windows\regedit.exe' 1700000000 7
  e2e_tool regdel --missing-ok HKCU "${recent_key#HKCU\\}" >/dev/null
  for n in $(seq 0 9); do
    e2e_tool regset HKCU "${recent_key#HKCU\\}" "$n" recentdoc "lettre $n.txt" "lettre $n.txt.lnk" >/dev/null
    order+="${order:+,}$n"
  done
  e2e_tool regset HKCU "${recent_key#HKCU\\}" MRUListEx mruex "$order" >/dev/null
}

measure() {  # kind
  local folder="$app_data\\bench-$1\\"
  "${1}_data" "$(e2e_unix_path "$folder")"
  e2e_run "$E2E_OUT/dataprobe.exe" "$folder" "$repeats" | tr -d '\r' | sed "s/^/$1\t/"
}

figures=$( (measure hostile; measure clean) 2>/dev/null)
figure() { awk -F'\t' -v kind="$1" -v what="$2" '$1 == kind && $2 == what {printf "%s ms (%s .. %s)", $3, $4, $5}' <<<"$figures"; }
documents() { awk -F'\t' -v kind="$1" '$1 == kind && $2 == "documents" {print $3}' <<<"$figures"; }
echo "| $arch, median (min .. max) of $repeats | hostile data | clean data |"
echo "|---|---|---|"
echo "| All documents read ($(documents hostile) and $(documents clean) documents listed) | $(figure hostile documents-all) | $(figure clean documents-all) |"
echo "| Recent documents read, the usual first 16 | $(figure hostile documents-default) | $(figure clean documents-default) |"
echo "| Periodic save, nothing changed since the last | $(figure hostile save-unchanged) | $(figure clean save-unchanged) |"
echo "| Periodic save after a use was recorded (both lists written) | $(figure hostile save-changed) | $(figure clean save-changed) |"
