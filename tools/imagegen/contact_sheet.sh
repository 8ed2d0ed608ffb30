#!/bin/sh
# Draws every built-in image enlarged on a checkerboard, so that alpha and stray pixels show.
# Each icon's sizes sit side by side (16, then those for 120, 144 and 192 DPI), all at 4x so
# they compare, two icons to a row; below them the hue strip (30) at each size, at 2x. Each
# picture is labelled with its number and real size (without labels, in that order, if no
# usable font exists).
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

# The number and the picture's own width x height, as montage reads it from the file.
label() {
  if [ -n "$font" ]; then echo "$1  %wx%h"; else echo ""; fi
}

dpis="120 144 192"

set --
for icon in "$images"/image_[0-2][0-9].ico; do
  base=${icon%.ico}
  number=${base##*/image_}
  set -- "$@" -label "$(label "$number")" "$icon"
  for dpi in $dpis; do
    set -- "$@" -label "$(label "$number")" "${base}_$dpi.ico"
  done
done
# shellcheck disable=SC2086  # $font is a list of options
"$montage" $font "$@" -filter point -resize 400% -texture pattern:checkerboard \
  -background "#808080" -tile 8x -geometry +8+8 "$work/icons.png"

set -- -label "$(label 30)" "$images/image_30.bmp"
for dpi in $dpis; do
  set -- "$@" -label "$(label 30)" "$images/image_30_$dpi.bmp"
done
# shellcheck disable=SC2086
"$montage" $font "$@" -filter point -resize 200% \
  -background "#808080" -tile 1x -geometry +8+8 "$work/strips.png"
"$montage" "$work/icons.png" "$work/strips.png" -background "#808080" -gravity West -tile 1x \
  -geometry +0+0 "$out"
rm -rf "$work"
