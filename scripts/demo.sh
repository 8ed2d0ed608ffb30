#!/usr/bin/env bash
# Shows the built program in a demo Wine prefix whose Start menu holds shortcuts to Wine's own
# programs. KV_DEMO_ARCH=win32 picks the 32-bit build (default win64).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${KV_DEMO_ARCH:-win64}
out="$root/out/$arch"
export WINEPREFIX="$root/out/demo/prefix-$arch" WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$root/out/demo" "$root/out/screenshots"

xvfb_pid=
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    break
  done
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  interactive=
else
  interactive=1
fi

if [ ! -f "$WINEPREFIX/.demo-ready" ]; then
  echo "demo: preparing $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  source "$root/tests/e2e/lib.sh"
  e2e_copy_prefix "$("$root/scripts/wine_template.sh" "$arch")" "$WINEPREFIX"
  tool() { wine "$out/kvtool.exe" "$@" >/dev/null; }
  user_menu="$(wine cmd /c echo %APPDATA% | tr -d '\r')"'\Microsoft\Windows\Start Menu\Programs'
  common_menu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs'
  sys='C:\windows\system32'
  mkdir -p "$(winepath -u "$user_menu")/Accessoires" "$(winepath -u "$common_menu")/Outils système" \
           "$(winepath -u "$user_menu")/Jeux"
  tool lnk "$user_menu\\Accessoires\\Bloc-notes.lnk" "$sys\\notepad.exe"
  tool lnk "$user_menu\\Accessoires\\WordPad.lnk" 'C:\Program Files\Windows NT\Accessories\wordpad.exe'
  tool lnk "$user_menu\\Jeux\\Démineur.lnk" "$sys\\winemine.exe"
  tool lnk "$user_menu\\Explorateur de fichiers.lnk" "$sys\\winefile.exe"
  tool lnk "$common_menu\\Outils système\\Éditeur du Registre.lnk" 'C:\windows\regedit.exe'
  tool lnk "$common_menu\\Outils système\\Invite de commandes.lnk" "$sys\\cmd.exe"
  tool lnk "$common_menu\\Outils système\\Panneau de configuration.lnk" "$sys\\control.exe"
  tool lnk "$common_menu\\Outils système\\Gestionnaire des tâches.lnk" "$sys\\taskmgr.exe"
  touch "$WINEPREFIX/.demo-ready"
fi

echo "demo: starting $arch/Kestrivalume.exe on $DISPLAY"
wine "$out/Kestrivalume.exe" &
program=$!
for _ in $(seq 100); do xdotool search --name '^Kestrivalume$' >/dev/null 2>&1 && break; sleep 0.2; done
sleep 1
shot="$root/out/screenshots/demo-$arch.png"
import -window root "$shot" && echo "demo: screenshot $shot"
if [ -n "$interactive" ]; then
  echo "demo: running; quit the program to end"
  wait "$program" || true
fi
