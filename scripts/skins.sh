#!/usr/bin/env bash
# The skins shipped in Skins/: their background pictures (drawn here with ImageMagick) and
# their previews (cut from screenshots of the menu drawn with each skin).
#   scripts/skins.sh backgrounds     redraws Skins/*/background.jpg
#   scripts/skins.sh previews        takes fresh screenshots, writes Skins/*/preview.jpg
#   scripts/skins.sh check           every skin complete: twelve colours, pictures of the right size
# The pictures are committed; run the first two after changing a skin and look at the result.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
skins="$root/Skins"

# Backgrounds are stretched to the screen, so plain gradients survive any screen shape.
# A fixed seed keeps the noise of the textured ones the same from run to run.
backgrounds() {
  local size=1280x800 jpeg=(-strip -interlace none -sampling-factor 4:2:0 -quality 82)
  convert -size $size gradient:'#1E2A40'-'#070A12' \
    \( -size $size xc:black -seed 11 +noise Random -channel R -threshold 99.7% -separate +channel \
       -blur 0x0.6 -evaluate multiply 0.35 \) -compose screen -composite "${jpeg[@]}" "$skins/Nuit/background.jpg"
  convert -size $size gradient:'#FBF7EE'-'#EADFC6' \
    \( -size $size xc:gray50 -seed 7 +noise Gaussian -blur 0x1 +level 46%,54% \) \
    -compose overlay -composite "${jpeg[@]}" "$skins/Ivoire/background.jpg"
  convert -size $size xc:black "${jpeg[@]}" "$skins/Contraste/background.jpg"
  convert -size $size -define gradient:angle=135 gradient:'#0F7C7C'-'#123A6B' \
    \( -size $size radial-gradient:'#5EEAD4'-'#000000' -evaluate multiply 0.25 \) \
    -compose screen -composite "${jpeg[@]}" "$skins/Lagune/background.jpg"
  ls -l "$skins"/*/background.jpg
}

# preview.jpg: the top-left corner of the menu at full size (tool column, the first section, the
# start of the programs column) from a screenshot with the skin selected: exactly 315 x 100.
previews() {
  local shots="$root/out/docs/shots"
  "$root/scripts/screenshots.sh" "$shots"
  local dir name
  for dir in "$skins"/*/; do
    name=$(basename "$dir")
    [ -f "$shots/skin-$name.png" ] || { echo "skins: no screenshot for $name" >&2; exit 1; }
    convert "$shots/skin-$name.png" -crop 315x100+16+0 +repage \
      -strip -quality 88 "$dir/preview.jpg"
  done
  check
}

# Exits non-zero when a skin misses a file, a colour or the preview size.
check() {
  local keys=(ListingColor TitleColor TitleBackColor SubTitleColor SubTitleBackColor FontColor LinkColor
              LinkHiColor TooltipColor TooltipBackColor LineColorVertical LineColorHorizontal)
  local dir key bad=0 count=0
  for dir in "$skins"/*/; do
    count=$((count + 1))
    for key in "${keys[@]}"; do
      tr -d '\r' <"$dir/skininfo.txt" | grep -Eq "^$key = #[0-9A-F]{6}\$" || { echo "skins: $dir: $key" >&2; bad=1; }
    done
    grep -q '^Courtesy = ' "$dir/skininfo.txt" || { echo "skins: $dir: Courtesy" >&2; bad=1; }
    [ "$(identify -format '%m %wx%h' "$dir/preview.jpg" 2>/dev/null)" = "JPEG 315x100" ] \
      || { echo "skins: $dir: preview.jpg is not a 315 x 100 JPEG" >&2; bad=1; }
    [ "$(identify -format '%m' "$dir/background.jpg" 2>/dev/null)" = "JPEG" ] \
      || { echo "skins: $dir: background.jpg is not a JPEG" >&2; bad=1; }
  done
  [ "$count" -ge 4 ] || { echo "skins: only $count skins" >&2; bad=1; }
  return $bad
}

case "${1:-}" in
  backgrounds) backgrounds ;;
  previews) previews ;;
  check) check ;;
  *) echo "usage: scripts/skins.sh backgrounds|previews|check" >&2; exit 2 ;;
esac
