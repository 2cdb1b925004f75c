#!/usr/bin/env bash
# The x64 installer under Wine, silent mode: a fresh install, an upgrade, the uninstaller,
# and an install over a folder that holds a foreign VUZoz.dll. The panel settings under
# HKCU\Software\Brellow Group must come through all of it unchanged.
#   installer_test.sh <build folder> <tollan_process_tests.exe>
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "$1" && pwd)
process_tests=$2
work=$build/installer-test
setup=$work/TollanSetup-test-x64.exe
failures=0

check() {  # check <description> <command...>
    local what=$1
    shift
    if "$@" >/dev/null 2>&1; then
        echo "ok: $what"
    else
        echo "FAILED: $what"
        failures=$((failures + 1))
    fi
}
unix_path() { winepath -u "$1" 2>/dev/null; }
reg_query() { wine reg query "$@" 2>/dev/null | tr -d '\r'; }

rm -rf "$work"
mkdir -p "$work"
"$root/installer/make-installer" "$build" x64 1.0.0.1 "$setup" >/dev/null || { echo "FAILED: makensis"; exit 1; }

drive_c=$(unix_path 'C:\')
target_win='C:\tollan-installer-test\Tollan'
target=$drive_c/tollan-installer-test/Tollan
foreign_win='C:\tollan-installer-test\Foreign'
foreign=$drive_c/tollan-installer-test/Foreign
rm -rf "$drive_c/tollan-installer-test"
settings='HKCU\Software\Brellow Group\Settings\Hardware\INSTALLER-TEST-PANEL'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tollan'
wine reg delete "$uninstall_key" /f >/dev/null 2>&1
wine reg add "$settings" /v Brightness /t REG_DWORD /d 77 /f >/dev/null 2>&1
wine reg add "$settings" /v Type /t REG_SZ /d "kept across installs" /f >/dev/null 2>&1
settings_before=$(reg_query 'HKCU\Software\Brellow Group' /s)
check "the test's settings are written" grep -q "kept across installs" <<<"$settings_before"
programs=$(unix_path "$(wine cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')\\Microsoft\\Windows\\Start Menu\\Programs")

# A fresh install.
wine "$setup" /S "/D=$target_win"
for file in Tollan.exe VUZoz.dll Uninstall.exe help/en/index.html help/ru/index.html help/images/test-b88-en.png; do
    check "installed $file" test -f "$target/$file"
done
check "the simulator installed is the one built" cmp "$build/VUZoz.dll" "$target/VUZoz.dll"
check "Start-menu entry Tollan" test -f "$programs/Tollan.lnk"
check "Start-menu entry Tollan (test mode)" test -f "$programs/Tollan (test mode).lnk"
check "Tollan.lnk points at the installed Tollan.exe" \
    bash -c "(strings -a -el '$programs/Tollan.lnk'; strings -a '$programs/Tollan.lnk') | grep -qi 'tollan-installer-test.Tollan.Tollan.exe'"
check "the test-mode entry passes test" bash -c "strings -a -el '$programs/Tollan (test mode).lnk' | grep -qx test"
check "uninstall entry version 1.0.0.1" bash -c "wine reg query '$uninstall_key' /v DisplayVersion | grep -q '1\.0\.0\.1'"
check "uninstall entry publisher" bash -c "wine reg query '$uninstall_key' /v Publisher | grep -q 'Brellow Group'"
check "uninstall entry size" bash -c "wine reg query '$uninstall_key' /v EstimatedSize | grep -q '0x[1-9a-f]'"
check "uninstall entry icon" bash -c "wine reg query '$uninstall_key' /v DisplayIcon | grep -qi 'Tollan.exe'"
# The installed program starts with the simulator beside it, shows its window and closes.
check "the installed Tollan.exe shows its window over the simulator" \
    env TOLLAN_EXE="$target_win\\Tollan.exe" wine "$process_tests" \
    --gtest_filter=TollanProcess.ClosingSwitchesOffThe8x8PanelsAndTerminates

# An upgrade over it.
wine "$setup" /S "/D=$target_win"
check "upgrade keeps Tollan.exe" test -f "$target/Tollan.exe"
check "settings unchanged by the upgrade" test "$settings_before" = "$(reg_query 'HKCU\Software\Brellow Group' /s)"

# Silent uninstall: the uninstaller copies itself away and returns at once.
wine "$target_win\\Uninstall.exe" /S
for _ in $(seq 1 60); do
    [ -e "$target/Tollan.exe" ] || [ -e "$target/Uninstall.exe" ] || break
    sleep 0.5
done
sleep 1
check "uninstall removes the folder" test ! -e "$target"
check "uninstall removes Tollan.lnk" test ! -e "$programs/Tollan.lnk"
check "uninstall removes the test-mode entry" test ! -e "$programs/Tollan (test mode).lnk"
check "uninstall removes the uninstall entry" bash -c "! wine reg query '$uninstall_key' >/dev/null 2>&1"
check "settings unchanged by uninstalling" test "$settings_before" = "$(reg_query 'HKCU\Software\Brellow Group' /s)"

# A folder with the maker's library in it (any DLL that is not the simulator).
mkdir -p "$foreign"
cp "$drive_c/windows/system32/version.dll" "$foreign/VUZoz.dll"
cp "$foreign/VUZoz.dll" "$work/foreign-original.dll"
wine "$setup" /S "/D=$foreign_win"
check "installed beside a foreign VUZoz.dll" test -f "$foreign/Tollan.exe"
check "the foreign VUZoz.dll is kept byte for byte" cmp "$work/foreign-original.dll" "$foreign/VUZoz.dll"
wine "$setup" /S "/D=$foreign_win"
check "an upgrade keeps the foreign VUZoz.dll" cmp "$work/foreign-original.dll" "$foreign/VUZoz.dll"
wine "$foreign_win\\Uninstall.exe" /S
for _ in $(seq 1 60); do
    [ -e "$foreign/Tollan.exe" ] || [ -e "$foreign/Uninstall.exe" ] || break
    sleep 0.5
done
check "uninstalling leaves the foreign VUZoz.dll" cmp "$work/foreign-original.dll" "$foreign/VUZoz.dll"

wine reg delete 'HKCU\Software\Brellow Group\Settings\Hardware\INSTALLER-TEST-PANEL' /f >/dev/null 2>&1
rm -rf "$drive_c/tollan-installer-test" "$work"
echo "$failures failed"
[ "$failures" -eq 0 ]
