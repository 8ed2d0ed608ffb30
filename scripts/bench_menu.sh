#!/usr/bin/env bash
# Times the menu window under Wine on a virtual display (figures only, nothing is asserted).
#   scripts/bench_menu.sh [win32|win64] [repeats]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tests/e2e/lib.sh"
e2e_start bench_menu "${1:-win64}"
wine "$E2E_OUT/menubench.exe" "${2:-9}" | tr -d '\r'
