#!/usr/bin/env bash
# Runs a test program under Wine at another display scale, on the display of the test run,
# in a Wine prefix of its own whose LogPixels is DPI (tests/dpi/dpi_prefix.sh) with its own
# wineserver, so the tests in the project's prefix are not disturbed.
# Usage: run_at_dpi.sh DPI PROGRAM [ARGS...]
set -uo pipefail
dpi=$1
program=$2
shift 2

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/dpi_prefix.sh"
use_dpi_prefix "$dpi" "$(cd "$here/../.." && pwd)" "${TOLLAN_TEST_FONTS:-}"
export TOLLAN_TEST_DPI=$dpi

wineserver -p >/dev/null 2>&1 </dev/null
wine wineboot >/dev/null 2>&1 </dev/null
# Wine's services hold on to pipes: the output goes through a file.
output=$(mktemp)
wine "$program" "$@" >"$output" 2>&1 </dev/null
status=$?
cat "$output"
rm -f "$output"
wineserver -k >/dev/null 2>&1 </dev/null
exit $status
