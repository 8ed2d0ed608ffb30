#!/usr/bin/env bash
# Builds the help document out/docs/Kestrivalume.pdf from docs/Kestrivalume.ms (groff -ms,
# PostScript, then Ghostscript) with screenshots of the program taken under Wine.
#   scripts/help_document.sh            takes the screenshots again when the program, the skins
#                                       or the screenshot script changed, then builds if stale
#   scripts/help_document.sh --cached   never runs Wine: builds only from screenshots already
#                                       taken, and does nothing without them (for scripts/build.sh)
#   scripts/help_document.sh --readme-pictures   also renews docs/menu.png and docs/skins.jpg
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source_text="$root/docs/Kestrivalume.ms"
out="$root/out/docs"
shots="$out/shots"
pdf="$out/Kestrivalume.pdf"
cached_only=
[ "${1:-}" = --cached ] && cached_only=1
[ "${1:-}" = --readme-pictures ] && readme_pictures=1 || readme_pictures=

# What the pictures show depends on these; their digest is kept beside the pictures.
shots_digest() {
  cat "$root/out/win64/Kestrivalume.exe" "$root/scripts/screenshots.sh" "$root"/Skins/*/skininfo.txt \
    "$root"/Skins/*/background.jpg 2>/dev/null | md5sum | cut -c1-32
}

if [ -z "$cached_only" ]; then
  digest=$(shots_digest)
  if [ "$(cat "$shots/.digest" 2>/dev/null)" != "$digest" ]; then
    echo "help_document: taking screenshots under Wine"
    rm -rf "$shots"
    "$root/scripts/screenshots.sh" "$shots" >"$out.screenshots.log" 2>&1 ||
      { cat "$out.screenshots.log" >&2; exit 1; }
    echo "$digest" >"$shots/.digest"
  fi
fi
[ -f "$shots/.digest" ] || exit 0

# Up to date when nothing it is made from is newer.
if [ -z "$readme_pictures" ] && [ -f "$pdf" ] && [ -z "$(find "$source_text" "$0" "$shots" -newer "$pdf" -print -quit)" ]; then
  exit 0
fi

build="$out/build"
rm -rf "$build"
mkdir -p "$build"
# grops takes pictures as 7-bit text only: uncompressed; ps2pdf compresses them again.
for png in "$shots"/*.png; do
  convert "$png" -compress None eps3:"$build/$(basename "$png" .png).eps"
done
# The menu is as high as the screen; its lower part is empty in these pictures.
convert "$shots/menu.png" -crop 262x345+0+0 +repage -compress None eps3:"$build/menu.eps"
convert "$shots/programs.png" -crop 452x345+0+0 +repage -compress None eps3:"$build/programs.eps"
# The skins, two by two: the upper part of each menu.
montage=()
for png in "$shots"/skin-*.png; do montage+=("$png"); done
for png in "${montage[@]}"; do convert "$png" -crop 452x300+0+0 +repage "$build/top-$(basename "$png")"; done
montage "$build"/top-skin-*.png -tile 2x -geometry +6+6 -background white "$build/skins.png"
convert "$build/skins.png" -compress None eps3:"$build/skins.eps"

has_settings=0
[ -f "$shots/settings.png" ] && has_settings=1
(cd "$build" && groff -k -t -ms -Tps -dpaper=a4 -P-pa4 -rHASSETTINGS=$has_settings "$source_text" \
  >Kestrivalume.ps 2>groff.log) || { cat "$build/groff.log" >&2; exit 1; }
if grep -v '^$' "$build/groff.log" >&2; then echo "help_document: groff warnings above" >&2; exit 1; fi
# Lossless pictures: screenshots turn blurry with JPEG compression. The title and author
# come from a pdfmark after the document.
printf '[ /Title (Kestrivalume - Aide de l%sutilisateur) /Author (Varnholtiqa) /DOCINFO pdfmark\n' "'" \
  >"$build/docinfo.ps"
gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=pdfwrite -sPAPERSIZE=a4 -dAutoFilterColorImages=false \
  -dColorImageFilter=/FlateEncode -dDownsampleColorImages=false -sOutputFile="$pdf.tmp" \
  "$build/Kestrivalume.ps" "$build/docinfo.ps"
mv -f "$pdf.tmp" "$pdf"
if [ -n "$readme_pictures" ]; then
  # The README's pictures (committed): the menu, and the four skins.
  convert "$shots/programs.png" -crop 452x345+0+0 +repage -strip "$root/docs/menu.png"
  convert "${montage[@]}" -crop 452x220+0+0 +repage -bordercolor white -border 4 +append -resize 50% -strip -quality 85 \
    "$root/docs/skins.jpg"
fi
echo "help_document: $pdf ($(pdfinfo "$pdf" | awk '/^Pages:/{print $2}') pages)"
