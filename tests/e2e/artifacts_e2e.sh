#!/usr/bin/env bash
# The shipped executables: architecture, subsystem, static runtime, resources and versions.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
failures=0
check() {  # file, expected line
  local info
  info=$(python3 "$root/tests/e2e/pe_info.py" "$1" || true)
  if grep -qx -- "$2" <<<"$info"; then
    echo "ok: $(basename "$(dirname "$1")")/$(basename "$1"): $2"
  else
    echo "FAIL: $1: expected '$2'; got:" >&2
    python3 "$root/tests/e2e/pe_info.py" "$1" >&2 || true
    failures=$((failures + 1))
  fi
}
for arch in win32 win64; do
  machine=$([ "$arch" = win32 ] && echo i386 || echo x86_64)
  main="$root/out/$arch/Kestrivalume.exe"
  console="$root/out/$arch/KestrivalumeConsole.exe"
  for exe in "$main" "$console"; do
    check "$exe" "machine $machine"
    # A static runtime: nothing but system DLLs is imported.
    imports=$(python3 "$root/tests/e2e/pe_info.py" "$exe" | grep '^imports' || true)
    if grep -qiE 'libstdc|libgcc|libwinpthread|mingw' <<<"$imports"; then
      echo "FAIL: $exe imports a MinGW runtime DLL" >&2; failures=$((failures + 1))
    else
      echo "ok: $arch/$(basename "$exe") imports no MinGW runtime DLL"
    fi
  done
  check "$main" "subsystem gui"
  check "$main" "version 1.12.6.5"
  check "$main" "resource manifest 1"
  check "$main" "resource group_icon 1"
  grep -q 'Microsoft.Windows.Common-Controls' "$main" && grep -q '"6.0.0.0"' "$main" \
    && echo "ok: $arch manifest asks for Common Controls 6" \
    || { echo "FAIL: $arch manifest lacks Common Controls 6" >&2; failures=$((failures + 1)); }
  # Per-monitor DPI awareness (v2, then v1, then system-wide) and Windows 7 to 11 as supported.
  grep -q '<dpiAwareness[^>]*>PerMonitorV2, PerMonitor</dpiAwareness>' "$main" && grep -q '>true/pm</dpiAware>' "$main" \
    && [ "$(grep -ao 'supportedOS Id="{[0-9a-f-]*}"' "$main" | sort -u | wc -l)" = 4 ] \
    && echo "ok: $arch manifest declares per-monitor DPI awareness and Windows 7 to 11" \
    || { echo "FAIL: $arch manifest lacks DPI awareness or supported systems" >&2; failures=$((failures + 1)); }
  check "$console" "subsystem console"
  check "$console" "version 1.12.1.1"
done
[ "$failures" = 0 ] || exit 1
