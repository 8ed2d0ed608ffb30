#!/bin/sh
# Draws every built-in image enlarged on a checkerboard, so that alpha and stray pixels
# show: icons 00-21 at 8x in rows of eight, the hue strip (30) at 4x below them, each
# labelled with its number (without labels, in that order, if no usable font exists).
#
#   contact_sheet.sh <montage> <images-dir> <out.png>
set -eu
montage=$1
images=$2
out=$3
work="$out.parts"
mkdir -p "$work"

font=""
if "$montage" -list font 2>/dev/null | grep -q "Font: DejaVu-Sans$"; then
  font="-font DejaVu-Sans -pointsize 12"
fi

label() {
  if [ -n "$font" ]; then echo "$1"; else echo ""; fi
}

set --
for icon in "$images"/image_[0-2][0-9].ico; do
  number=$(basename "$icon" .ico)
  set -- "$@" -label "$(label "${number#image_}")" "$icon"
done
# shellcheck disable=SC2086  # $font is a list of options
"$montage" $font "$@" -filter point -resize 800% -texture pattern:checkerboard \
  -background "#808080" -tile 8x -geometry +8+8 "$work/icons.png"
# shellcheck disable=SC2086
"$montage" $font -label "$(label 30)" "$images/image_30.bmp" -filter point -resize 400% \
  -background "#808080" -tile 1x -geometry +8+8 "$work/strip.png"
"$montage" "$work/icons.png" "$work/strip.png" -background "#808080" -tile 1x -geometry +0+0 "$out"
rm -rf "$work"
