#!/usr/bin/env bash
# Runs a test program under Wine at another display scale, on the display of the test run:
# in a Wine prefix of its own (a copy of the project's prefix, made once) whose LogPixels
# is DPI, with its own wineserver, so the tests in the project's prefix are not disturbed.
# Usage: run_at_dpi.sh DPI PROGRAM [ARGS...]
set -uo pipefail
dpi=$1
program=$2
shift 2

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
shared=${WINEPREFIX:-$root/build/wineprefix}
export WINEPREFIX=$root/build/wineprefix-dpi$dpi
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export TOLLAN_TEST_DPI=$dpi

# Every Wine process of this prefix gets no pipe of CTest's: a Wine service that holds one
# would keep CTest waiting after the test ended.
quiet() { "$@" >/dev/null 2>&1 </dev/null; }

if [ ! -f "$WINEPREFIX/.tollan-dpi-ready" ] || [ "$shared/.tollan-ready" -nt "$WINEPREFIX/.tollan-dpi-ready" ]; then
    rm -rf "$WINEPREFIX"
    if [ -f "$shared/.tollan-ready" ]; then
        cp -a "$shared" "$WINEPREFIX"
    else
        mkdir -p "$WINEPREFIX"
        quiet wineboot -i
        quiet wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
        quiet wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    fi
    quiet wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
    # The new DPI holds from the next start of the wineserver.
    quiet wineserver -k
    quiet wineserver -w
    touch "$WINEPREFIX/.tollan-dpi-ready"
fi

quiet wineserver -p
quiet wine wineboot
output=$(mktemp)
wine "$program" "$@" >"$output" 2>&1 </dev/null
status=$?
cat "$output"
rm -f "$output"
quiet wineserver -k
exit $status
