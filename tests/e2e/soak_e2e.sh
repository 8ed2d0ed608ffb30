#!/usr/bin/env bash
# A short soak run (scripts/soak.sh): 40 menu and 10 settings-window cycles in one session. After
# the warm-up (20 + 5 cycles) nothing the program holds may grow: windows and GDI objects of
# every kind are exact counts, so the end must not exceed the warm-up. Memory is only printed.
#   soak_e2e.sh win32|win64
source "$(dirname "$0")/lib.sh"
E2E_NAME="soak_e2e_$1"
E2E_WORK="the soak run's folder named above"  # the run keeps its own work folder on failure
table=$(bash "$E2E_ROOT/scripts/soak.sh" "$1" 40 10) && status=0 || status=$?
echo "$table"
e2e_expect_eq "soak run finished" 0 "$status"
rows=$(awk -F'\t' '$1 ~ /^(windows|top_level|child_windows|gdi.*)$/' <<<"$table")
e2e_expect_eq "window and GDI rows present" 12 "$(wc -l <<<"$rows" | tr -d ' ')"
while IFS=$'\t' read -r counter start warm end growth; do
  if [ "$end" -le "$warm" ]; then
    e2e_log "ok: $counter $warm after the warm-up, $end at the end"
  else
    e2e_fail "$counter grew from $warm after the warm-up to $end at the end (+$growth)"
  fi
done <<<"$rows"
e2e_finish
