#!/usr/bin/env bash
# Times the menu window under Wine on a virtual display (figures only, nothing is asserted).
#   scripts/bench_menu.sh [win32|win64] [repeats] [dpi]
# With a DPI other than 96 the menu is timed at that DPI on a 1920 x 1080 screen beside 96 DPI on
# a screen as large in 96-DPI units (1280 x 720 for 144), so both show the same rows; each run
# has the bare creation of as many controls, at its own DPI, as its floor.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tests/e2e/lib.sh"
dpi=${3:-96}
E2E_SCREEN=$((1920 * 96 / dpi))x$((1080 * 96 / dpi))x24 e2e_start bench_menu "${1:-win64}"
bench() { wine "$E2E_OUT/menubench.exe" "${1:-9}" | tr -d '\r'; }
bench "${2:-9}"
[ "$dpi" = 96 ] && exit 0
wineserver -k >/dev/null 2>&1 || true
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wineserver -w
kill "$E2E_XVFB_PID" 2>/dev/null || true
E2E_SCREEN=1920x1080x24 e2e_start_display
bench "${2:-9}"
