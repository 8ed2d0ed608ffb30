#!/usr/bin/env bash
# Recent documents and running programs under Wine. kvtool writes Windows' RecentDocs index
# (order value and items in Windows' own layout, a UTF-16-only item, a folder, items just at and
# just over the 4096-byte read limit, a missing one); recentprobe.exe reads it through the
# program's own code in normal, limited and all-documents mode. Then the running programs: a
# notepad and the probe's own visible, hidden, untitled and tool windows.
#   recent_documents_e2e.sh win32|win64
source "$(dirname "$0")/lib.sh"
case "${1:-}" in
  win32 | win64) e2e_start "recent_documents_$1" "$1" ;;
  *) echo "usage: recent_documents_e2e.sh win32|win64" >&2; exit 2 ;;
esac
probe() { e2e_run "$E2E_OUT/recentprobe.exe" "$@" | iconv -f CP1252 -t UTF-8; }
key='Software\Microsoft\Windows\CurrentVersion\Explorer\RecentDocs'

# Hex text of an 8-bit name, and of the same name as UTF-16LE.
hex() { printf '%s' "$1" | iconv -f UTF-8 -t CP1252 | od -An -v -tx1 | tr -d ' \n'; }
wide_hex() { printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx1 | tr -d ' \n'; }
# An item of exactly `size` bytes: zeros, then the 8-bit shortcut name, zeros to the end.
sized_item() {  # size, shortcut name
  local name
  name=$(hex "$2")
  printf '%0*d%s%0*d' 32 0 "$name" $((2 * $1 - 32 - ${#name})) 0
}

# --- Windows' index ---
e2e_tool regdel --missing-ok HKCU "$key" >/dev/null
e2e_tool regset HKCU "$key" MRUListEx mruex 2,0,3,6,1,5,8,4 >/dev/null
e2e_tool regset HKCU "$key" 0 recentdoc 'Café.txt' 'Café.txt.lnk' >/dev/null
e2e_tool regset HKCU "$key" 1 recentdoc 'rapport.txt' 'rapport.txt (2).lnk' >/dev/null
e2e_tool regset HKCU "$key" 2 recentdoc 'Notes.PDF' 'Notes.PDF.lnk' >/dev/null
e2e_tool regset HKCU "$key" 3 recentdoc 'Photos' 'Photos.lnk' >/dev/null
e2e_tool regset HKCU "$key" 4 binary-hex "$(sized_item 4096 'grand.txt.lnk')" >/dev/null
e2e_tool regset HKCU "$key" 5 binary-hex "0000$(wide_hex 'lettre.odt.lnk')0000" >/dev/null
e2e_tool regset HKCU "$key" 6 binary-hex "$(sized_item 4097 'trop.txt.lnk')" >/dev/null
e2e_tool regset HKCU "$key" 9 recentdoc 'absent.txt' 'absent.txt.lnk' >/dev/null  # not in the order

row() { printf 'document\t%s\t%s\t%s\n' "$@"; }
notes=$(row Notes.PDF Notes.PDF.lnk pdf)
cafe=$(row Café.txt Café.txt.lnk txt)
rapport=$(row rapport.txt 'rapport.txt (2).lnk' txt)
lettre=$(row lettre.odt lettre.odt.lnk odt)
grand=$(row grand.txt grand.txt.lnk txt)
e2e_expect_eq "documents in Windows' order" "$(printf '%s\n' "$notes" "$cafe" "$rapport" "$lettre" "$grand")" \
  "$(probe documents)"
e2e_expect_eq "maximum 1 lists two documents" "$(printf '%s\n' "$notes" "$cafe")" "$(probe maximum 1 documents)"
e2e_expect_eq "all documents, sorted ignoring case" \
  "$(printf '%s\n' "$cafe" "$grand" "$lettre" "$notes" "$rapport")" "$(probe maximum 1 all documents)"

e2e_tool regdel HKCU "$key" MRUListEx >/dev/null
e2e_expect_eq "no order value: no documents" "" "$(probe documents)"
e2e_tool regdel HKCU "$key" >/dev/null
e2e_expect_eq "no key: no documents" "" "$(probe documents)"

# --- running programs ---
e2e_launch notepad notepad
notepad=
for _ in $(seq 100); do
  notepad=$(e2e_tool windows | awk -F'\t' '$5 ~ /Notepad|Bloc-notes/ {print $1 "\t" $5}' | head -n 1)
  [ -n "$notepad" ] && break
  sleep 0.2
done
e2e_expect "notepad started" test -n "$notepad"
windows=$(probe windows)
e2e_log "listed: $(echo "$windows" | cut -f3 | tr '\n' '|')"
e2e_expect_eq "notepad listed once, with its handle and title" "window	$notepad" \
  "$(echo "$windows" | grep -F "	${notepad#*	}" || true)"
e2e_expect_eq "the probe's visible windows, the upper first" "recentprobe second|recentprobe first|" \
  "$(echo "$windows" | cut -f3 | grep '^recentprobe' | tr '\n' '|')"
e2e_expect_eq "no window without title" "" "$(echo "$windows" | awk -F'\t' 'NF < 3 || $3 == ""')"
e2e_finish
