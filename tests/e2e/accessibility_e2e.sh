#!/usr/bin/env bash
# The menu read as a screen reader reads it, from another process (AccessibleObjectFromWindow):
# every child's name, role and box are the build's (the tool and fixed columns as the program
# lays them out, the section title and the entries of the fixture; the same list as the dump,
# row icons and separators left out); the hit test finds the entry; the link under the pointer
# reads hot and focused, and its tooltip comes (screenshot "hover"); an entry's default action
# starts its program and closes the menu, and the object the reader still holds then answers
# "disconnected"; once the readers let go, the program holds none of their objects.
#   accessibility_e2e.sh win32|win64
source "$(dirname "$0")/lib.sh"
e2e_start "accessibility_$1" "$1"
menu_title="Start - Kestrivalume"
app_data=$(e2e_windows_variable APPDATA)
programs="$app_data\\Microsoft\\Windows\\Start Menu\\Programs"
data=$(e2e_unix_path "$app_data\\Kestrivalume")
kv=$(e2e_unix_path 'C:\kvtest')

# --- fixture: one entry, the other sections off, the programs shown ---
mkdir -p "$(e2e_unix_path "$programs")" "$data" "$kv"
cp "$E2E_OUT/tracer.exe" "$kv/tracer.exe"
e2e_tool lnk "$programs\\Traceur.lnk" 'C:\kvtest\tracer.exe' '--trace C:\kvtest\launch.log' 'C:\kvtest' >/dev/null
printf 'ShowActiveTasks = 0\r\nShowMostUsed = 0\r\nShowLastUsed = 0\r\nShowDocsImmediate = 0\r\nShowProgImmediate = 1\r\n' \
  >"$data/Kestrivalume.prefs"

e2e_launch program "$E2E_OUT/Kestrivalume.exe"
e2e_wait_window Kestrivalume 30 >/dev/null || e2e_fail "no button window"
e2e_wait_done Refreshes 1 60 || e2e_fail "no first catalogue"
e2e_open_menu 20 1900 1060 || e2e_fail_now "no menu window"
dump=$(e2e_dump "$menu_title")
read_menu() { e2e_tool accessible "$menu_title" | iconv -f CP1252 -t UTF-8; }
reading=$(read_menu) || e2e_fail_now "the menu could not be read through AccessibleObjectFromWindow"
echo "$reading" >"$E2E_WORK/reading.txt"
IFS=, read -r ox oy <<<"$(awk -F'\t' '$1 == "origin" {print $2}' <<<"$dump")"
IFS=, read -r width _ <<<"$(awk -F'\t' '$1 == "client" {print $2}' <<<"$dump")"
child() { awk -F'\t' -v id="$(($1 + 1))" '$1 == id' <<<"$reading"; }
box() { echo "$((ox + $1)),$((oy + $2)),$((ox + $1 + $3)),$((oy + $2 + $4))"; }

# --- the tool and fixed columns: names, roles and boxes as laid out (96 DPI) ---
fixed_x=$((width - 26 + 5))
while IFS='|' read -r control x y name; do
  e2e_expect_eq "button $control" "pushbutton|$(box "$x" "$y" 16 16)|$name" \
    "$(child "$control" | awk -F'\t' '{print $2 "|" $3 "|" $5}')"
done <<EOF
2|5|5|Fermer la fenêtre
3|5|47|Page suivante du programme
9|5|68|Afficher et masquer 'Documents récents'
10|5|89|Afficher et masquer 'Lancer des programmes'
6|5|131|Inclure/exclure des applications
7|5|152|Inclure/exclure des fichiers d'aide
8|5|173|Inclure/exclure d'autres fichiers
5|5|215|Paramètres
1|5|236|Aide
17|$fixed_x|5|Fermer la fenêtre
18|$fixed_x|47|Explorateur Windows
19|$fixed_x|68|Panneau de configuration
21|$fixed_x|89|Imprimantes
20|$fixed_x|131|Gestionnaire de Tâches
22|$fixed_x|152|Exécuter...
23|$fixed_x|194|Arrêter l'ordinateurr
EOF

# --- the column: the collapsed documents link, the section title, the fixture's entry ---
# Columns of one row: role, x, width and height of the box, name.
shape() { awk -F'\t' '{split($3, b, ","); print $2 "|" b[1] - '"$ox"' "|" b[3] - b[1] "|" b[4] - b[2] "|" $5}'; }
e2e_expect_eq "collapsed documents link" "link|50|162|18|Document récents ..." "$(child 13 | shape)"
e2e_expect_eq "section title" "text|31|180|18| Lancer les programmes" \
  "$(awk -F'\t' '$5 == " Lancer les programmes"' <<<"$reading" | shape)"
traceur=$(awk -F'\t' '$2 == "link" && $5 == "Traceur" {print $1}' <<<"$reading")
e2e_expect_eq "the entry" "link|50|162|18|Traceur" "$(awk -F'\t' -v id="$traceur" '$1 == id' <<<"$reading" | shape)"
e2e_expect_eq "no row icon or separator is a child" "" "$(awk -F'\t' '$2 != "link" && $2 != "text" && $2 != "pushbutton"' <<<"$reading")"
# The dump (the window's own object, asked directly) lists the same elements in the same order.
e2e_expect_eq "the reading is the dump's list" \
  "$(awk -F'\t' '$1 ~ /^[0-9]+$/ {split($3, b, ","); print $1 + 1, b[1] + '"$ox"' "," b[2] + '"$oy"' "," b[3] + '"$ox"' "," b[4] + '"$oy"', $7}' <<<"$dump")" \
  "$(awk -F'\t' '{print $1, $3, $5}' <<<"$reading")"
e2e_expect_eq "states: visible, buttons and links focusable, links linked" "" \
  "$(awk -F'\t' '($2 == "link" && $4 != "0x00500000") || ($2 == "pushbutton" && $4 != "0x00100000") || ($2 == "text" && $4 != "0x00000000")' <<<"$reading")"

# --- hit test: the entry at its middle, the window itself over the entry's icon ---
IFS=, read -r l t r b <<<"$(awk -F'\t' -v id="$traceur" '$1 == id {print $3}' <<<"$reading")"
e2e_expect_eq "hit test on the entry" "$traceur" "$(e2e_tool accessible-at "$menu_title" $(((l + r) / 2)) $(((t + b) / 2)))"
e2e_expect_eq "hit test on its icon: the window" 0 "$(e2e_tool accessible-at "$menu_title" $((l - 10)) $(((t + b) / 2)))"
e2e_expect_eq "hit test outside the menu" -1 "$(e2e_tool accessible-at "$menu_title" 1900 1000)"

# --- the link under the pointer is hot: hot-tracked and focused ---
xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2))
hot=""
for _ in $(seq 50); do
  hot=$(read_menu | awk -F'\t' -v id="$traceur" '$1 == id {print $4}')
  [ "$hot" = "0x00500084" ] && break
  sleep 0.1
done
e2e_expect_eq "the entry under the pointer reads hot and focused" "0x00500084" "$hot"
# The pointer resting on the entry brings its tooltip: the screenshot shows it with the hover colour.
tip=""
for _ in $(seq 50); do
  tip=$(e2e_tool windows | awk -F'\t' '$3 == "tooltips_class32" {print $1}')
  [ -n "$tip" ] && break
  sleep 0.1
done
e2e_expect "the entry's tooltip shown" test -n "$tip"
e2e_screenshot hover
xdotool mousemove 1900 1060

# --- the default action launches; the object held is then disconnected ---
after=$(e2e_tool accessible-do "$menu_title" "$traceur" --after-close) || e2e_fail "accDoDefaultAction failed"
e2e_expect "the entry's program started" e2e_wait_line "$kv/launch.log" 'tracer' 20
e2e_expect_eq "the menu closed and its object answers RPC_E_DISCONNECTED" "after-close	0x80010108" "$after"
e2e_screenshot after
# Every object the readers (each kvtool run) let go was freed by the program.
readers_held() { e2e_tool number --class KestrivalumeWindow --title Kestrivalume Kestrivalume.Readers; }
for _ in $(seq 50); do [ "$(readers_held)" = 0 ] && break; sleep 0.1; done
e2e_expect_eq "objects held by readers once they let go" 0 "$(readers_held)"
e2e_tool post --class KestrivalumeWindow --title Kestrivalume close >/dev/null
wait "$E2E_LAST_PID" && status=0 || status=$?
e2e_expect_eq "exit code" 0 "$status"
e2e_finish
