#!/usr/bin/env bash
# Prints the path of a ready Wine template prefix for win32 or win64, creating it once.
# Tests copy it into a prefix of their own; creating a prefix takes 10-20 s, copying ~1 s.
set -euo pipefail
arch=${1:?usage: wine_template.sh win32|win64}
case "$arch" in win32|win64) ;; *) echo "unknown architecture $arch" >&2; exit 2 ;; esac
cache=${KV_CACHE:-$HOME/.cache/kestrivalume}
version=$(wine --version 2>/dev/null | tr -c 'A-Za-z0-9.\n-' '_')
# Wine's own fonts come in a package of their own and are copied into each template: a
# template made before they were installed is made again.
fonts=$(ls /usr/share/wine/fonts/{marlett,tahoma,tahomabd}.ttf 2>/dev/null | md5sum | cut -c1-8)
template="$cache/wine/$version-$fonts-$arch"
mkdir -p "$cache/wine"
exec 9>"$cache/wine/.lock-$arch"
flock 9
if [ ! -f "$template/.ready" ]; then
  rm -rf "$template"
  # No display is needed to initialise a prefix; mono and gecko are not wanted (no network).
  WINEPREFIX="$template" WINEARCH="$arch" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    DISPLAY= wineboot -i >/dev/null 2>&1 || true
  WINEPREFIX="$template" wineserver -w
  [ -f "$template/system.reg" ] || { echo "wine_template: could not create the $arch prefix" >&2; exit 1; }
  # Wine reads fonts from the prefix's Fonts folder, where Windows keeps them. Its own symbol
  # font (the caption buttons' glyphs) and Tahoma (the system's dialog font) go there, so title
  # bars and dialogs draw as on Windows. Not its MS Sans Serif: the bitmap one has too few sizes
  # (text stops growing at 150 and 200 %), the outline one is wider than Windows' and cuts texts
  # laid out for it; without them the nearest system font stands in, as before.
  for font in marlett tahoma tahomabd; do
    cp "/usr/share/wine/fonts/$font.ttf" "$template/drive_c/windows/Fonts/" 2>/dev/null || true
  done
  touch "$template/.ready"
fi
echo "$template"
