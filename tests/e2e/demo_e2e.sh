#!/usr/bin/env bash
# The demo without a desktop: scripts/demo.sh with DISPLAY unset, its prefix and pictures in a
# folder of its own. It succeeds and says the program ended with exit code 0; it saves the menu,
# the programs page and the settings window as three 1920x1080 pictures, each different from the
# others, none black, the programs page showing coloured icons (not one generic icon on every
# row); afterwards no process of its prefix is left.
#   demo_e2e.sh win32|win64
source "$(dirname "$0")/lib.sh"
case "${1:-}" in
  win32 | win64) ;;
  *) echo "usage: demo_e2e.sh win32|win64" >&2; exit 2 ;;
esac
E2E_NAME="demo_$1"
mkdir -p "$E2E_ROOT/out/e2e" "$E2E_ROOT/out/screenshots"
E2E_WORK=$(mktemp -d "$E2E_ROOT/out/e2e/$E2E_NAME.XXXX")
trap e2e_cleanup EXIT
prefix="$E2E_WORK/prefix-$1"
log="$E2E_WORK/demo.log"

env -u DISPLAY KV_DEMO_OUT="$E2E_WORK" KV_DEMO_ARCH="$1" timeout 200 bash "$E2E_ROOT/scripts/demo.sh" >"$log" 2>&1 &&
  status=0 || status=$?
sed 's/^/  | /' "$log"
e2e_expect_eq "demo.sh exit status" 0 "$status"
e2e_expect "it reports the program's own exit with code 0" grep -qx 'demo: the program ended with exit code 0' "$log"

# Any process still running with the demo prefix's environment: the program, notepad, wineserver.
left=$(grep -lxzF "WINEPREFIX=$prefix" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3 | tr '\n' ' ' || true)
e2e_expect_eq "no process of the demo prefix left" "" "$left"
export WINEPREFIX=$prefix  # from here on, for the cleanup only

names="1-menu 2-programs 3-settings"
e2e_expect_eq "the three screenshots it printed" \
  "$(for name in $names; do echo "demo: screenshot $E2E_WORK/demo-$1-$name.png"; done)" \
  "$(grep '^demo: screenshot ' "$log" || true)"
for name in $names; do
  shot="$E2E_WORK/demo-$1-$name.png"
  [ -f "$shot" ] || { e2e_fail "no $shot"; continue; }
  e2e_expect_eq "$name: the whole screen" "1920x1080" "$(identify -format '%wx%h' "$shot" 2>/dev/null)"
  # Mean brightness in thousandths: a black screen with the 16-pixel button is 0.
  e2e_expect "$name: not a black screen" test "$(identify -format '%[fx:int(mean*1000)]' "$shot" 2>/dev/null || echo 0)" -gt 50
  cp "$shot" "$E2E_ROOT/out/screenshots/$E2E_NAME-$name.png"
done

# Each picture shows something else: pixels that differ, pair by pair (compare may write the
# count as 1.2e+06; nothing when a picture is missing).
differing() {
  compare -metric AE "$E2E_WORK/demo-$1-$2.png" "$E2E_WORK/demo-$1-$3.png" null: 2>&1 |
    awk '$1 ~ /^[0-9.e+]+$/ {printf "%d\n", $1 + 0}' || true
}
for pair in "1-menu 2-programs" "2-programs 3-settings" "1-menu 3-settings"; do
  read -r a b <<<"$pair"
  count=$(differing "$1" "$a" "$b")
  e2e_expect "$a and $b differ in more than 20000 pixels (${count:-none})" test "${count:-0}" -gt 20000
done

# The programs page over the left of the screen: its icons bring warm colours (notepad, the
# picture, the games...) that neither the menu's own blue look nor the generic grey icon has.
warm=$(convert "$E2E_WORK/demo-$1-2-programs.png" -crop 600x1080+0+0 +repage \
  -fx '(r > 0.55 && b < 0.45 && r - b > 0.25) ? 1 : 0' -format '%[fx:int(mean*w*h)]' info: 2>/dev/null || true)
e2e_expect "the programs page shows coloured icons (${warm:-no} warm pixels)" test "${warm:-0}" -gt 100
e2e_finish
