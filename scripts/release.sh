#!/usr/bin/env bash
# Builds the release into out/dist/: for win32 and win64 a zip and an installer.
#   Kestrivalume-<version>-<arch>.zip        Kestrivalume.exe, Kestrivalume.pdf, Skins\, LISEZMOI.txt
#   Kestrivalume-<version>-<arch>-setup.exe  the same files installed for the current user
#   manifests/winget/, manifests/scoop/      the installers and zips for the package managers,
#                                            with their SHA-256 (scripts/package_manifests.py)
#   scripts/release.sh              builds the program first (scripts/build.sh)
#   scripts/release.sh --no-build   uses the programs already in out/win32 and out/win64
# The help document is made by scripts/help_document.sh (screenshots under Wine when the program
# or the skins changed).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
[ "${1:-}" = --no-build ] || scripts/build.sh
scripts/help_document.sh
scripts/skins.sh check

dist="$root/out/dist"
work="$dist/build"
# The manifests are written last, from the files made now: none are left from an earlier run.
rm -rf "$work" "$dist/manifests"
mkdir -p "$work"

# The program's own texts, so that the packages say what the program says.
version=$(sed -n 's/.*kVersionText\[\] = "Version \([0-9.]*\)";.*/\1/p' shell/button_window.h)
wrong_architecture=$(grep -A1 'kWrongArchitectureText\[\] =' shell/startup.h | sed -n 's/^ *"\(.*\)";$/\1/p')
[ -n "$version" ] && [ -n "$wrong_architecture" ] || { echo "release: program texts not found" >&2; exit 1; }
version_quad=$(echo "$version" | awk -F. '{printf "%d.%d.%d.%d", $1, $2, $3, $4}')

# The emblem at the sizes Windows shows installers at.
for size in 16 32 48 256; do rsvg-convert -w $size -h $size art/icons/00-emblem.svg -o "$work/emblem-$size.png"; done
convert "$work"/emblem-{16,32,48,256}.png "$work/kestrivalume.ico"
printf '\xEF\xBB\xBF!define WRONG_ARCHITECTURE_TEXT "%s"\n' "$wrong_architecture" >"$work/texts.nsh"

# The files of one architecture, laid out as they are installed.
stage() {  # arch
  local arch=$1 target="$work/$1/stage" skin file
  mkdir -p "$target/Skins"
  cp "out/$arch/Kestrivalume.exe" out/docs/Kestrivalume.pdf "$target/"
  sed -e "s/@VERSION@/$version/" -e "s/@ARCHITECTURE@/$([ "$arch" = win64 ] && echo 64 || echo 32) bits/" \
    docs/LISEZMOI.txt | sed 's/$/\r/' | iconv -f UTF-8 -t CP1252 >"$target/LISEZMOI.txt"
  for skin in Skins/*/; do
    mkdir -p "$target/$skin"
    for file in skininfo.txt preview.jpg background.jpg; do cp "$skin$file" "$target/$skin"; done
  done
}

# NSIS lines for every staged file: File when installing, Delete (and RMDir of each skin
# folder, which stays when the user put more in it) when uninstalling.
nsis_file_lists() {  # arch
  local target="$work/$1/stage" path folder
  {
    echo '!macro INSTALL_FILES'
    (cd "$target" && find . -type f | sed 's|^\./||' | sort) | while read -r path; do
      folder=$(dirname "$path")
      [ "$folder" = . ] && folder= || folder="\\${folder//\//\\}"
      echo "  SetOutPath \"\$INSTDIR$folder\""
      echo "  File \"$target/$path\""
    done
    echo '  SetOutPath "$INSTDIR"'
    echo '!macroend'
    echo '!macro UNINSTALL_FILES'
    (cd "$target" && find . -type f | sed 's|^\./||' | sort) | while read -r path; do
      echo "  Delete \"\$INSTDIR\\${path//\//\\}\""
    done
    (cd "$target" && find . -mindepth 2 -type d | sed 's|^\./||' | sort -r) | while read -r path; do
      echo "  RMDir \"\$INSTDIR\\${path//\//\\}\""
    done
    echo '!macroend'
  } >"$work/$1/files.nsh"
}

mkdir -p "$dist"
for arch in win32 win64; do
  stage "$arch"
  zip_file="$dist/Kestrivalume-$version-$arch.zip"
  rm -f "$zip_file"
  (cd "$work/$arch/stage" && find . -type f | sed 's|^\./||' | sort | zip -q -X -D "$zip_file" -@)
  nsis_file_lists "$arch"
  cp "$work/texts.nsh" "$work/$arch/"
  makensis -V2 -INPUTCHARSET UTF8 -DARCH="$arch" -DVERSION="$version" -DVERSION_QUAD="$version_quad" \
    -DGENERATED="$work/$arch" -DICON="$work/kestrivalume.ico" \
    -DOUTFILE="$dist/Kestrivalume-$version-$arch-setup.exe" installer/kestrivalume.nsi >"$work/$arch/makensis.log" 2>&1 \
    || { cat "$work/$arch/makensis.log" >&2; exit 1; }
done
# Last, so that the hashes are those of the files as they stay.
python3 scripts/package_manifests.py "$version" "$dist"
echo "release: out/dist/"
ls -l "$dist"/*.zip "$dist"/*.exe | awk '{print "  " $5 "\t" $NF}' | sed "s|$dist/||"
(cd "$dist" && find manifests -type f | sort | sed 's/^/  /')
