#!/usr/bin/env bash
# The settings window under Wine: opened from the menu's "Paramètres" button; every control in
# its place with its text; sliders, lists and buttons driven with real input; Apply and the close
# box reach the preferences file; the skins folder (a complete skin, one without skininfo.txt,
# one with only background.jpg) listed in its order with previews; the skin description on the
# clipboard after Shift+"Appliquer"; the Shift+click transfer of a skin into the standard look;
# the preview following the window; a picture-only skin drawing the menu in black.
#   settings_window_e2e.sh win32|win64
source "$(dirname "$0")/lib.sh"
e2e_start "settings_window_$1" "$1"
title="Paramètres - Kestrivalume"
menu_title="Start - Kestrivalume"
utf8() { iconv -f CP1252 -t UTF-8; }

# --- fixture: the program in a folder of its own, with three skins ---
program_dir="$WINEPREFIX/drive_c/Programmes/Kestrivalume"
skins="$program_dir/Skins"
mkdir -p "$skins/Nuit" "$skins/Sans description" "$skins/Photo"
cp "$E2E_OUT/Kestrivalume.exe" "$program_dir/"
printf 'Courtesy = quelqu'"'"'un\r\nListingColor = #102030\r\nTitleBackColor = #a0b0c0\r\nLinkColor = 123\r\n' \
  >"$skins/Nuit/skininfo.txt"
convert -size 315x100 xc:'rgb(30,60,200)' "$skins/Nuit/preview.jpg"
convert -size 64x48 xc:'rgb(20,40,80)' "$skins/Nuit/background.jpg"
convert -size 100x50 xc:'rgb(200,60,30)' "$skins/Sans description/preview.jpg"
convert -size 64x48 xc:'rgb(250,250,0)' "$skins/Photo/background.jpg"
touch "$skins/lisez-moi.txt"
app_data=$(e2e_windows_variable APPDATA)
data=$(e2e_unix_path "$app_data\\Kestrivalume")
prefs="$data/Kestrivalume.prefs"
pref() { tr -d '\r' <"$prefs" | grep "^$1 = " | sed "s/^$1 = //" | utf8; }

# --- helpers ---
dump() { e2e_dump "$1"; }  # a window of the program, once built -> the dump in UTF-8
field() { awk -F'\t' -v id="$2" -v f="$3" '$1 == id {print $f; exit}' <<<"$1"; }  # dump, id, field
origin() { awk -F'\t' '$1 == "origin" {print $2}' <<<"$1"; }
# Screen centre of a control of the settings window.
centre_of() {
  local d rect o
  d=$(dump "$title")
  rect=$(field "$d" "$1" 3)
  o=$(origin "$d")
  IFS=, read -r l t r b <<<"$rect"
  IFS=, read -r ox oy <<<"$o"
  echo "$((ox + (l + r) / 2)) $((oy + (t + b) / 2))"
}
click() {  # control [xdotool key modifier]
  local xy
  xy=$(centre_of "$1")
  if [ -n "${2:-}" ]; then
    xdotool mousemove $xy keydown "$2" click 1 keyup "$2"
  else
    xdotool mousemove $xy click 1
  fi
}
text_of() { field "$(dump "$title")" "$1" 7; }
# What the user's keys and clicks change in a control has no build to wait for: the control is
# read again until it shows the expected text, or a few seconds went by, and checked then.
expect_reading() {  # what, expected, command giving the text
  local actual
  for _ in $(seq 40); do
    actual=$("${@:3}")
    [ "$actual" = "$2" ] && break
    sleep 0.1
  done
  e2e_expect_eq "$1" "$2" "$actual"
}
# The text of a control once it differs from the one given; false when it stays.
changed_text() {  # control, text before
  local now
  for _ in $(seq 40); do
    now=$(text_of "$1")
    [ "$now" != "$2" ] && { printf '%s\n' "$now"; return 0; }
    sleep 0.1
  done
  return 1
}
# The program's thread answers a message: the handler it was in when asked is over.
program_answers() { e2e_tool send --class KestrivalumeWindow --title Kestrivalume message 0 0 0 >/dev/null; }
# A slider moved with the keyboard: a click gives it the focus, Home or End takes it to an end,
# then Right steps one unit at a time, each step reported to the program.
slide() {  # control, position from the minimum | end
  click "$1"
  if [ "$2" = end ]; then xdotool key End; else xdotool key Home; [ "$2" -gt 0 ] && xdotool key --repeat "$2" --delay 5 Right; fi
  return 0
}
# A list entry chosen with the keyboard: Home then Down, reported as the user's choice.
choose() {  # control, index
  click "$1"
  xdotool key Escape Home
  [ "$2" -gt 0 ] && xdotool key --repeat "$2" --delay 20 Down
  return 0
}
# A dialog is made hidden and shown once filled in; only its shown controls can be read.
wait_shown() {  # window selector
  for _ in $(seq 100); do
    e2e_tool state "$@" 2>/dev/null | grep -q '^visible.1' && return 0
    sleep 0.1
  done
  return 1
}
wait_box() { e2e_tool wait-window --class '#32770' --title "$1" 10000 >/dev/null && wait_shown --class '#32770' --title "$1"; }
box_text() { e2e_tool msgbox-text --class '#32770' --title "$1" | utf8 | awk -F'\t' '$1 == "static" {print $2}' | tail -n 1; }
# Presses a button of a box; once the box is gone and the thread answers, what the program does
# after the box has been done.
answer() {  # box title, button
  e2e_tool msgbox-click --class '#32770' --title "$1" "$2" >/dev/null || e2e_fail "cannot press $2 in $1"
  e2e_tool wait-gone --class '#32770' --title "$1" 10000 >/dev/null || e2e_fail "$1 still open after $2"
  program_answers || e2e_fail "no answer after $2 in $1"
}
open_from_menu() {
  e2e_open_menu 20 700 700 || { e2e_fail "no menu window"; return; }
  local rect before
  rect=$(field "$(dump "$menu_title")" 5 3)
  IFS=, read -r l t r b <<<"$rect"
  before=$(e2e_builds)
  xdotool mousemove $((16 + (l + r) / 2)) $(((t + b) / 2)) click 1
  e2e_wait_build "$title" "$before" 20 >/dev/null || e2e_fail "settings window not opened"
  e2e_tool wait-gone "$menu_title" 3000 >/dev/null || e2e_fail "menu window still open"
}
# Whether a screen pixel is within 16 of a colour in each channel (pictures are JPEG).
is_near() {  # "r,g,b" expected, "r,g,b" actual
  local er eg eb ar ag ab
  IFS=, read -r er eg eb <<<"$1"
  IFS=, read -r ar ag ab <<<"$2"
  [ -n "$ar" ] && [ $(( (er - ar) * (er - ar) < 256 && (eg - ag) * (eg - ag) < 256 && (eb - ab) * (eb - ab) < 256 )) = 1 ]
}
# Painting has no build to wait for: the pixel is read again until it is near, or a few seconds
# went by, and checked then.
near() {  # what, "r,g,b" expected, command giving "r,g,b"
  local actual
  for _ in $(seq 50); do
    actual=$("${@:3}")
    is_near "$2" "$actual" && break
    sleep 0.1
  done
  if is_near "$2" "$actual"; then
    e2e_log "ok: $1"
  else
    e2e_fail "$1: expected about $2, got '$actual'"
  fi
}
# The check mark area of a check box, as a checksum of its pixels.
check_mark() {  # control
  local rect o
  rect=$(field "$(dump "$title")" "$1" 3)
  o=$(origin "$(dump "$title")")
  IFS=, read -r l t r b <<<"$rect"
  IFS=, read -r ox oy <<<"$o"
  import -window root -crop "14x$((b - t))+$((ox + l))+$((oy + t))" -depth 8 rgb:- 2>/dev/null | md5sum
}

# --- start and open from the menu ---
e2e_launch program "$program_dir/Kestrivalume.exe"
e2e_wait_window Kestrivalume 30 >/dev/null || e2e_fail "no button window"
# The menu built before the first catalogue would be built again when it comes.
e2e_wait_done Refreshes 1 60 || e2e_fail "no first catalogue"
open_from_menu
window=$(dump "$title")

# --- every control in its place with its exact text ---
expected_controls="24	10,10,346,201	Général
25	20,33,340,51	Lancer automatiquement au démarrage de Windows
26	20,56,340,74	Afficher le menu automatiquement sans cliquer sur l'icône
27	20,79,340,97	Afficher les info-bulles en fournissant plus d'information sur le lien
28	20,106,270,124	Afficher les 'programmes en cours d'exécution'
29	20,129,270,147	Afficher 'Programmes les plus utilisés'
30	275,128,335,148	Effacer
31	20,152,270,170	Afficher 'Programmes récents'
32	275,151,335,171	Effacer
87	20,177,270,195	'Documents récents' selon Windows
34	275,174,335,194	Effacer
44	10,206,346,506	Afficher
45	20,234,270,252	Largeur de la colonne  (190 pixels par défaut)
46	275,232,335,250	190
47	15,252,341,270	
48	20,285,270,303	Transparence  (10 % par défaut)
49	275,283,335,301	10
50	15,303,341,321	
51	20,341,335,359	Apparence (Standard ou Skin sélectionné)
55	20,360,335,381	Apparance standarde (voir à droite)
56	20,390,335,490	
57	357,9,690,506	Apparence standard
59	368,208,680,226	Sélectionnez l'élément et réglez la couleur ...
60	368,226,678,247	
61	430,252,640,262	
62	368,266,418,284	Couleur
63	420,264,650,282	
64	655,266,675,284	0
65	368,286,418,304	Saturation
66	420,284,650,302	
67	655,286,675,304	0
68	368,306,418,324	Luminosité
69	420,304,650,322	
70	655,306,675,324	0
71	368,340,418,358	Rouge
72	420,338,650,356	
73	655,340,675,358	0
74	368,360,418,378	Vert
75	420,357,650,375	
76	655,360,675,378	0
77	368,380,418,398	Bleue
78	420,377,650,395	
79	655,380,675,398	0
80	427,410,532,430	Sélecteur couleurs
88	539,410,644,430	Couleurs standards
81	368,455,481,473	Image de fond
83	486,452,546,472	Fichier
84	552,452,612,472	Bureau
85	618,452,678,472	Aucun
82	368,475,678,493	
86	520,515,680,543	Appliquer
58	368,34,678,200	"
e2e_expect_eq "controls: numbers, rectangles and texts" "$expected_controls" \
  "$(awk -F'\t' '$1 ~ /^[0-9]+$/ {print $1 "\t" $3 "\t" $7}' <<<"$window")"
e2e_expect_eq "client area" "700,552" "$(awk -F'\t' '$1 == "client" {print $2}' <<<"$window")"
# Centred: the outer rectangle has as much screen left as right.
IFS=, read -r l t r b <<<"$(awk -F'\t' '$1 == "rect" {print $2}' <<<"$window")"
e2e_expect_eq "centred" "$((1920 - r))" "$l"
e2e_expect_eq "layered" 1 "$(( $(awk -F'\t' '$1 == "exstyle" {print $2}' <<<"$window") >> 19 & 1 ))"
e2e_expect_eq "check boxes checked" "3 3 3 3 3 3" \
  "$(for id in 25 26 27 28 29 31; do printf '%s ' $(( $(field "$window" $id 4) & 0xf )); done | sed 's/ $//')"
preview=$(dump "Aperçu - Kestrivalume")
IFS=, read -r ox oy <<<"$(origin "$window")"
e2e_expect_eq "preview 1 pixel inside the hole" "$((ox + 369)),$((oy + 35))" "$(origin "$preview")"
e2e_expect_eq "preview size" "308,164" "$(awk -F'\t' '$1 == "client" {print $2}' <<<"$preview")"
e2e_expect_eq "preview texts" " Titre de la catégorie| Titre du groupe de programmes| Titre du sous-groupe de programmes| Lien vers programme ou document|Surbrillance|Info-bulles" \
  "$(awk -F'\t' '$1 ~ /^[0-9]+$/ && $7 != "" {print $7}' <<<"$preview" | paste -sd'|')"
e2e_screenshot standard
# Wine draws the caption buttons with its own symbol font; without it the close box shows "r".
e2e_expect "the close box shows the close glyph" python3 "$(dirname "$0")/caption_glyph.py" \
  "$E2E_SHOTS/$E2E_NAME-standard.png" "$(awk -F'\t' '$1 == "rect" {print $2; exit}' <<<"$window")"

# --- skins: listing order, the standard entry, previews ---
# The entries read one by one, each chosen with the Down key as the user does, down to the last
# one, which End shows first (each key's effect is waited for as a change of the shown entry).
choose 55 0
previous=$(text_of 55)
names="$previous|"
xdotool key End
last=$(changed_text 55 "$previous") || e2e_fail "End did not choose another skin"
xdotool key Home
changed_text 55 "$last" >/dev/null || e2e_fail "Home did not choose another skin"
for _ in 1 2 3 4 5 6; do
  [ "$previous" = "$last" ] && break
  xdotool key Down
  name=$(changed_text 55 "$previous") || break
  names+="$name|"
  previous=$name
done
listing="$(wine cmd /c dir /b /a:d 'C:\Programmes\Kestrivalume\Skins' | tr -d '\r' | utf8 | paste -sd'|')|"
e2e_expect_eq "skins in listing order after the standard look" "Apparance standarde (voir à droite)|$listing" "$names"

# The last entry is "Sans description": its preview shows; "Photo" has none; "Nuit" has one.
read -r px py <<<"$(centre_of 56)"
near "preview of a skin without skininfo.txt" "200,60,30" e2e_pixel "$px" "$py"
choose 55 2
expect_reading "picture-only skin chosen" "Photo" text_of 55
# Without a preview the picture's place shows what lies below it.
for _ in $(seq 50); do
  [ "$(e2e_pixel "$px" "$py")" = "$(e2e_pixel "$px" $((py + 60)))" ] && break
  sleep 0.1
done
no_preview=$(e2e_pixel "$px" "$py")
[ "$no_preview" = "$(e2e_pixel "$px" $((py + 60)))" ] &&
  e2e_log "ok: no preview for a skin without preview.jpg" || e2e_fail "a preview is shown for Photo: $no_preview"
choose 55 1
near "preview of Nuit stretched over the image" "30,60,200" e2e_pixel "$px" "$py"

# --- sliders and check boxes with real input; the value texts follow ---
slide 47 end
expect_reading "column width text follows its slider" "300" text_of 46
slide 50 0
expect_reading "transparency text follows its slider" "0" text_of 49
click 28
e2e_expect_eq "check box 28 cleared" 0 "$(( $(field "$(dump "$title")" 28 4) & 0 ))"

# --- colour editor: the default title background, then red, then hue 120 ---
editor() { local d; d=$(dump "$title"); for id in 64 67 70 73 76 79; do printf '%s ' "$(field "$d" $id 7)"; done; }
choose 60 1
expect_reading "element chosen" "Titre de la catégorie: Fond" text_of 60
expect_reading "default TitleBackColor in the editor" "212 83 48 20 117 229 " editor
slide 72 end
slide 75 0
slide 78 0
expect_reading "red" "0 100 50 255 0 0 " editor
slide 63 120
expect_reading "hue 120 gives green" "120 100 50 0 255 0 " editor

# --- Apply ---
click 86
e2e_tool wait-gone "$title" 5000 >/dev/null || e2e_fail "Appliquer did not close the window"
e2e_expect_eq "preview closed too" "" "$(e2e_tool find 'Aperçu - Kestrivalume' 2>/dev/null || true)"
# Applying saves before it closes the window.
e2e_expect_eq "applied values in the preferences file" \
  "DisplayColumnWidth=300 Transparency=255 WindowsTransparency=0 ShowActiveTasks=0 SelectedSkin=Nuit TitleBackColor=65280" \
  "$(for key in DisplayColumnWidth Transparency WindowsTransparency ShowActiveTasks SelectedSkin TitleBackColor; do printf '%s=%s ' $key "$(pref $key)"; done | sed 's/ $//')"

# --- opened again with the skin selected ---
open_from_menu
e2e_expect_eq "the applied skin is selected" "Nuit" "$(text_of 55)"
e2e_expect_eq "column width shown" "300" "$(text_of 46)"
read -r px py <<<"$(centre_of 56)"
near "its preview" "30,60,200" e2e_pixel "$px" "$py"
e2e_screenshot skin

# --- Shift+"Appliquer": the standard look on the clipboard, nothing applied ---
click 86 shift
wait_box "Skin Information -> Clipboard" || e2e_fail "no skin information box"
expected_clipboard=$(printf '%s\r\n' "Courtesy = " "ListingColor = #EAF3FC" "TitleColor = #FFFFFF" "TitleBackColor = #00FF00" \
  "SubTitleColor = #000000" "SubTitleBackColor = #B8CAF5" "FontColor = #000000" "LinkColor = #202020" \
  "LinkHiColor = #808080" "TooltipColor = #000000" "TooltipBackColor = #E1FFFF" "LineColorVertical = #FFFFFF" \
  "LineColorHorizontal = #FFFFFF" | od -An -c)
e2e_expect_eq "clipboard holds the skin information" "$expected_clipboard" "$(e2e_run "$E2E_OUT/kvtool.exe" clipboard | od -An -c)"
answer "Skin Information -> Clipboard" OK
e2e_expect "still open after Shift+Appliquer" e2e_tool wait-window "$title" 1000

# --- "Effacer" asks ---
click 30
wait_box Information || e2e_fail "no question for Effacer"
e2e_expect_eq "question of Effacer" "Supprimer toutes les entrées de 'Les plus utilisés'?" "$(box_text Information)"
answer Information No

# --- Shift+click on the preview: the skin becomes the standard look ---
before=$(e2e_builds)
click 56 shift
wait_box Information || e2e_fail "no transfer question"
e2e_expect_eq "transfer question" "Transférer les paramètres de ce skin à l'apparence standard?" "$(box_text Information)"
answer Information Yes
e2e_wait_build "$title" "$before" 20 >/dev/null || e2e_fail "settings window not opened again"
e2e_expect_eq "transferred skin in the preferences file" \
  "SelectedSkin= BackgroundFile=C:\\Programmes\\Kestrivalume\\Skins\\Nuit\\background.jpg ListingColor=3153936 TitleBackColor=12628128 LinkColor=0 TitleColor=16777215" \
  "$(for key in SelectedSkin BackgroundFile ListingColor TitleBackColor LinkColor TitleColor; do printf '%s=%s ' $key "$(pref $key)"; done | sed 's/ $//')"
e2e_expect_eq "standard look chosen after the transfer" "Apparance standarde (voir à droite)" "$(text_of 55)"
e2e_expect_eq "background picture shown" "background.jpg" "$(text_of 82)"

# --- "Fenêtre: Fond" is refused while a picture is in use; "Aucun" lifts it ---
choose 60 0
wait_box Information || e2e_fail "no refusal"
e2e_expect_eq "refusal" "La couleur de fond ne peut pas être réglée si une image de fond est active" "$(box_text Information)"
answer Information OK
e2e_expect_eq "no element chosen after the refusal" "" "$(text_of 60)"
before=$(e2e_builds)
click 85
e2e_wait_build "$title" "$before" 20 >/dev/null || e2e_fail "settings window not opened again"
e2e_expect_eq "Aucun empties BackgroundFile" "" "$(pref BackgroundFile)"
choose 60 0
expect_reading "window background editable without a picture" "Fenêtre: Fond" text_of 60
rgb_of_editor() { editor | cut -d' ' -f4-; }
expect_reading "its colour (the transferred ListingColor)" "16 32 48 " rgb_of_editor

# --- the preview follows the window ---
unmoved=$(origin "$(dump "$title")")
xdotool windowmove "$(e2e_wait_window "$title" 5)" 100 120
for _ in $(seq 50); do
  [ "$(origin "$(dump "$title")")" != "$unmoved" ] && break
  sleep 0.1
done
window=$(dump "$title")
IFS=, read -r ox oy <<<"$(origin "$window")"
preview_origin() { origin "$(dump 'Aperçu - Kestrivalume')"; }
expect_reading "preview follows the moved window" "$((ox + 369)),$((oy + 35))" preview_origin

# --- background buttons and dialogs ---
click 83
file_dialog="Choisissez l'image de fond pour apparence standard"
wait_box "$file_dialog" || e2e_fail "no file dialog"
e2e_expect "file dialog offers Image (JPG,BMP)" grep -q 'Image (JPG,BMP)' <(e2e_tool dump "$file_dialog" | utf8)
e2e_tool post --class '#32770' --title "$file_dialog" close >/dev/null
e2e_tool wait-gone --class '#32770' --title "$file_dialog" 10000 >/dev/null || e2e_fail "the file dialog stayed"
program_answers || e2e_fail "no answer after the file dialog"
e2e_expect "a cancelled file dialog changes nothing" test "$(pref BackgroundFile)" = ""
e2e_tool wallpaper 'C:\Programmes\Kestrivalume\Skins\Photo\background.jpg' >/dev/null
before=$(e2e_builds)
click 84
e2e_wait_build "$title" "$before" 20 >/dev/null || e2e_fail "settings window not opened again"
e2e_expect_eq "Bureau takes the wallpaper" 'C:\Programmes\Kestrivalume\Skins\Photo\background.jpg' "$(pref BackgroundFile)"
before=$(e2e_builds)
click 88
wait_box Information || e2e_fail "no question for Couleurs standards"
answer Information Yes
e2e_wait_build "$title" "$before" 20 >/dev/null || e2e_fail "settings window not opened again"
e2e_expect_eq "Couleurs standards: defaults and no picture" "ListingColor=16577514 TitleBackColor=15037716 BackgroundFile=" \
  "$(for key in ListingColor TitleBackColor BackgroundFile; do printf '%s=%s ' $key "$(pref $key)"; done | sed 's/ $//')"

# --- the system colour dialog: confirming it keeps the element's colour ---
choose 60 2
click 80
e2e_tool wait-window --class '#32770' 10000 >/dev/null && wait_shown --class '#32770' || e2e_fail "no colour dialog"
e2e_tool msgbox-click --class '#32770' OK >/dev/null || e2e_fail "cannot confirm the colour dialog"
e2e_tool wait-gone --class '#32770' 10000 >/dev/null || e2e_fail "the colour dialog stayed"
program_answers || e2e_fail "no answer after the colour dialog"
e2e_expect_eq "colour dialog confirmed with the preselected colour" "0 0 100 255 255 255 " "$(editor)"

# --- the close box applies like "Appliquer" ---
# A close request is taken before input still queued: the click must have cleared the box first,
# which then looks like box 28, cleared earlier.
click 26
unchecked=$(check_mark 28)
for _ in $(seq 50); do
  [ "$(check_mark 26)" = "$unchecked" ] && break
  sleep 0.1
done
e2e_tool post --title "$title" close >/dev/null
e2e_tool wait-gone "$title" 5000 >/dev/null || e2e_fail "the close box did not close the window"
e2e_expect_eq "the close box applied" 0 "$(pref NoMouseClickNeeded)"

# --- a picture-only skin selected at start: black colours over its picture ---
e2e_tool post --class KestrivalumeWindow --title Kestrivalume close >/dev/null
wait "$E2E_LAST_PID" || true
sed -i 's/^SelectedSkin = .*/SelectedSkin = Photo\r/' "$prefs"
e2e_launch program2 "$program_dir/Kestrivalume.exe"
e2e_wait_window Kestrivalume 30 >/dev/null || e2e_fail "no button window after the restart"
e2e_wait_done Refreshes 1 60 || e2e_fail "no first catalogue after the restart"
e2e_open_menu 20 700 700 || e2e_fail "no menu window"
menu=$(dump "$menu_title")
IFS=, read -r mx my <<<"$(origin "$menu")"
near "menu background is the skin's picture" "250,250,0" e2e_pixel $((mx + 100)) $((my + 900))
title_rect=$(awk -F'\t' '$2 == "Static" && $7 ~ /^ / {print $3; exit}' <<<"$menu")
IFS=, read -r l t r b <<<"$title_rect"
near "section titles are black" "0,0,0" e2e_pixel $((mx + r - 3)) $((my + (t + b) / 2))
e2e_screenshot photo_skin
e2e_finish
