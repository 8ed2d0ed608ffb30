#!/usr/bin/env bash
# The Start-menu catalogue of the running program under Wine. The first start lists without
# pauses and keeps the listing in the data folder. Shortcuts and folders added, renamed, edited
# and deleted in both Start-menu trees while the program runs are in the menu after the next
# check; while nothing changes no console helper runs. The next start shows the kept programs
# at the first click and lists again with its pauses; a damaged kept file is ignored and made
# again.
#   catalogue_changes_e2e.sh win32|win64
source "$(dirname "$0")/lib.sh"
e2e_start "catalogue_changes_$1" "$1"
menu_title="Start - Kestrivalume"
app_data=$(e2e_windows_variable APPDATA)
all_users=$(e2e_windows_variable ALLUSERSPROFILE)
programs="$app_data\\Microsoft\\Windows\\Start Menu\\Programs"
common="$all_users\\Microsoft\\Windows\\Start Menu\\Programs"
data=$(e2e_unix_path "$app_data\\Kestrivalume")
kept="$data/Kestrivalume.catalogue"
lnk() { e2e_tool lnk "$@" >/dev/null; }
unix() { e2e_unix_path "$1"; }

# --- fixture: both trees; the programs shown at every opening ---
mkdir -p "$(unix "$programs")/Accessoires" "$(unix "$programs")/Jeux" "$(unix "$common")/Outils" \
  "$(unix "$common")/Ancien" "$data"
lnk "$programs\\Bloc-notes.lnk" 'C:\windows\system32\notepad.exe'
lnk "$programs\\Accessoires\\Registre.lnk" 'C:\windows\regedit.exe'
lnk "$programs\\Jeux\\Mines.lnk" 'C:\windows\system32\winemine.exe'
lnk "$common\\Outils\\Console.lnk" 'C:\windows\system32\cmd.exe'
lnk "$common\\Ancien\\Vieux.lnk" 'C:\windows\regedit.exe'
printf 'ShowProgImmediate = 1\r\n' >"$data/Kestrivalume.prefs"

# The options of every console helper the program started since the mark, from Wine's trace of
# process creation (a quick listing ends before any sampling could see it).
helper_mark=0
mark_helpers() { helper_mark=$(helper_lines | wc -l); }
helper_lines() {
  grep -a 'CreateProcessInternalW.*KestrivalumeConsole.exe' "$E2E_WORK"/program*.err 2>/dev/null || true
}
helper_runs() {
  helper_lines | tail -n +$((helper_mark + 1)) | sed -E 's/.*KestrivalumeConsole\.exe\\"? ?//; s/"$//'
}
# Unix ids of the console helpers running in this test's prefix (other tests run their own).
helpers_running() {
  local pid
  for pid in $(pgrep -f 'KestrivalumeConsole\.exe' || true); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$pid"
  done
  return 0
}

# The texts of the menu's rows, from a click on the button; the menu is closed again.
menu_texts() {
  e2e_open_menu 5 900 700 || { e2e_fail "no menu"; return; }
  # A menu opened before the catalogue came is built again once it is there (e2e_dump waits for
  # that build when it is under way).
  e2e_wait_done Refreshes 1 60 || e2e_fail "no catalogue from the first refresh"
  e2e_dump "$menu_title" | awk -F'\t' '$1 ~ /^[0-9]+$/ && ($2 == "KestrivalumeLink" || $2 == "Static") {print $7}'
  e2e_click_control "$menu_title" 17
  e2e_tool wait-gone "$menu_title" 5000 >/dev/null || e2e_fail "the menu did not close"
}

wait_kept() {  # what, seconds: until the kept listing differs from $E2E_WORK/kept.before
  local i
  for i in $(seq $(($2 * 5))); do
    [ -f "$kept" ] && ! cmp -s "$kept" "$E2E_WORK/kept.before" && return 0
    sleep 0.2
  done
  e2e_fail "$1: the kept listing did not change within $2 s"
}

starts=0
start_program() {
  starts=$((starts + 1))
  WINEDEBUG=-all,+process e2e_launch "program$starts" "$E2E_OUT/Kestrivalume.exe"
  e2e_wait_shown Kestrivalume 30 || e2e_fail "no button window"
}

quit_program() {
  e2e_tool post Kestrivalume close >/dev/null || true
  e2e_tool wait-gone Kestrivalume 20000 >/dev/null || true
  wineserver -w
}

# --- first start: a quick listing, kept ---
: >"$E2E_WORK/kept.before"
start_program
wait_kept "first start" 30
e2e_expect_eq "the first listing without pauses" "-startmenu -nopause" "$(helper_runs | head -n 1)"
texts=$(menu_texts | iconv -f CP1252 -t UTF-8)
for name in Bloc-notes Registre Mines Console Vieux; do
  e2e_expect "first start: $name in the menu" grep -qx "$name" <<<"$texts"
done
e2e_expect "the kept listing is the helper's own" bash -c "tr -d '\r' <'$kept' | grep -q '^>'"

# --- changes in both trees while it runs ---
cp "$kept" "$E2E_WORK/kept.before"
mark_helpers
# Made aside first, then moved in at once: a check falling among them would see half of them.
staging=$(unix 'C:\staging')
mkdir -p "$staging/Bureautique"
lnk 'C:\staging\Calculatrice.lnk' 'C:\windows\system32\winemine.exe'
lnk 'C:\staging\Bloc-notes.lnk' 'C:\windows\regedit.exe'
lnk 'C:\staging\Bureautique\Texte.lnk' 'C:\windows\system32\notepad.exe'
mv "$staging/Calculatrice.lnk" "$(unix "$programs")/Accessoires/"          # added, user tree
mv "$(unix "$common")/Outils/Console.lnk" "$(unix "$common")/Outils/Invite.lnk"  # renamed, common tree
mv -f "$staging/Bloc-notes.lnk" "$(unix "$programs")/Bloc-notes.lnk"       # edited: a new target
rm -r "$(unix "$programs")/Jeux"                                           # a folder deleted
mv "$staging/Bureautique" "$(unix "$common")/"                             # a folder added
rm "$(unix "$common")/Ancien/Vieux.lnk"                                    # a shortcut deleted
changed_at=$(date +%s)
wait_kept "after the changes" 60
e2e_log "changes found $(( $(date +%s) - changed_at )) s after they were made (a check every 45 s)"
texts=$(menu_texts | iconv -f CP1252 -t UTF-8)
for name in Calculatrice Invite " Bureautique" Texte Bloc-notes Registre; do
  e2e_expect "after the changes: '$name' in the menu" grep -qx "$name" <<<"$texts"
done
for name in Console Mines " Jeux" Vieux; do
  e2e_expect "after the changes: '$name' gone" bash -c "! grep -qx '$name' <<<'$texts'"
done
e2e_expect "the edited shortcut's new target" grep -q $'^Bloc-notes.lnk\t.*\tC:\\\\windows\\\\regedit.exe\texe' "$kept"
e2e_expect_eq "one listing, with its pauses" "-startmenu" "$(helper_runs)"

# --- nothing changes: a check passes without a listing ---
mark_helpers
# A due check of the Start menu (every 45 s) after the listing above; a helper it would have
# started is waited for, so that its start is in the trace.
checks=$(e2e_done RefreshChecks)
e2e_wait_done RefreshChecks $((checks + 1)) 90 || e2e_fail "no check of the Start menu within 90 s"
for _ in $(seq 600); do [ -z "$(helpers_running)" ] && break; sleep 0.1; done
e2e_expect_eq "no console helper ran while nothing changed" "" "$(helper_runs)"

# --- the next start: the kept programs at the first click ---
quit_program
mark_helpers
start_program
texts=$(menu_texts | iconv -f CP1252 -t UTF-8)
e2e_expect "next start: the kept programs at the first click" grep -qx Calculatrice <<<"$texts"
e2e_wait_done Refreshes 1 60 || e2e_fail "the next start's first refresh did not end"
e2e_expect_eq "next start: the listing runs with its pauses" "-startmenu" "$(helper_runs | head -n 1)"

# --- a damaged kept file: ignored, listed quickly, kept whole again ---
quit_program
head -c 100 "$E2E_WORK/kept.before" >"$kept"
cp "$kept" "$E2E_WORK/kept.before"
mark_helpers
start_program
wait_kept "after a damaged kept file" 30
e2e_expect_eq "a damaged kept file: the first listing without pauses" "-startmenu -nopause" "$(helper_runs | head -n 1)"
e2e_expect "a damaged kept file is made whole again" bash -c "tr -d '\r' <'$kept' | grep -q '^Texte.lnk'"
quit_program
e2e_finish
