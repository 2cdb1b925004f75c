#!/usr/bin/env bash
# The x64 installer under Wine, silent mode: a fresh install, an upgrade, the uninstaller,
# installs where a foreign VUZoz.dll is (in the folder, or in the prefix's system folder),
# and installs in Russian. The panel settings under HKCU\Software\Brellow Group must come
# through all of it unchanged.
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
# Wine, and so NSIS, take the language from LC_ALL. Its file names are UTF-8 only when the
# locale exists, else ASCII: a Russian locale is compiled for the test where none is installed.
russian_environment=()
make_russian_locale() {
    local charmap="locale charmap 2>/dev/null | grep -qx UTF-8"
    if LC_ALL=ru_RU.UTF-8 bash -c "$charmap"; then
        russian_environment=(LC_ALL=ru_RU.UTF-8)
    elif mkdir -p "$work/locale" && localedef -i ru_RU -f UTF-8 "$work/locale/ru_RU.UTF-8" >/dev/null 2>&1 &&
        LOCPATH="$work/locale" LC_ALL=ru_RU.UTF-8 bash -c "$charmap"; then
        russian_environment=(LOCPATH="$work/locale" LC_ALL=ru_RU.UTF-8)
    else
        return 1
    fi
}
english() { env LC_ALL=C.UTF-8 "$@"; }
russian() { env "${russian_environment[@]}" "$@"; }
# Silent uninstall: the uninstaller copies itself away and returns at once.
uninstall() {  # uninstall <language: english|russian> <folder, Windows path> <the same, Unix path>
    "$1" wine "$2\\Uninstall.exe" /S
    for _ in $(seq 1 60); do
        [ -e "$3/Tollan.exe" ] || [ -e "$3/Uninstall.exe" ] || break
        sleep 0.5
    done
    sleep 1
}
# True when the settings file turns the virtual panel windows on.
ini_virtual_on() { tr -d '\r' <"$1" | awk '/^\[/ { inside = ($0 == "[Simulator]") } inside && $0 == "Virtual=1" { on = 1 } END { exit !on }'; }
# Runs the installed Tollan.exe as the Start menu does (no simulator variables) and prints how
# many virtual panel windows are on the screen within 30 s; then ends that Tollan.exe.
virtual_panel_windows() {  # virtual_panel_windows <Tollan.exe, Windows path>
    env -u VUZOZ_VIRTUAL -u VUZOZ_PANELS -u VUZOZ_LOG LC_ALL=C.UTF-8 wine "$1" >/dev/null 2>&1 </dev/null &
    local tollan=$! count=0
    for _ in $(seq 1 60); do
        count=$(xdotool search --onlyvisible --name '^Virtual panel [0-9]+: ' 2>/dev/null | wc -l)
        [ "$count" -ge 3 ] && break
        sleep 0.5
    done
    kill "$tollan" 2>/dev/null
    wait "$tollan" 2>/dev/null
    echo "$count"
}

rm -rf "$work"
mkdir -p "$work"
"$root/installer/make-installer" "$build" x64 1.0.0.1 "$setup" >/dev/null || { echo "FAILED: makensis"; exit 1; }

drive_c=$(unix_path 'C:\')
target_win='C:\tollan-installer-test\Tollan'
target=$drive_c/tollan-installer-test/Tollan
foreign_win='C:\tollan-installer-test\Foreign'
foreign=$drive_c/tollan-installer-test/Foreign
beside_system_win='C:\tollan-installer-test\BesideSystem'
beside_system=$drive_c/tollan-installer-test/BesideSystem
russian_win='C:\tollan-installer-test\Russian'
russian_target=$drive_c/tollan-installer-test/Russian
rm -rf "$drive_c/tollan-installer-test"

# The maker's library in the system folder is put there by this test alone, and taken away
# again whatever happens.
system_library=$drive_c/windows/system32/VUZoz.dll
planted=""
remove_planted() {
    if [ -n "$planted" ]; then
        rm -f "$planted"
        planted=""
    fi
}
trap remove_planted EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
system_clean=yes
[ -e "$system_library" ] && system_clean=no
check "the prefix's system folder has no VUZoz.dll of its own" test "$system_clean" = yes
settings='HKCU\Software\Brellow Group\Settings\Hardware\INSTALLER-TEST-PANEL'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tollan'
wine reg delete "$uninstall_key" /f >/dev/null 2>&1
wine reg add "$settings" /v Brightness /t REG_DWORD /d 77 /f >/dev/null 2>&1
wine reg add "$settings" /v Type /t REG_SZ /d "kept across installs" /f >/dev/null 2>&1
settings_before=$(reg_query 'HKCU\Software\Brellow Group' /s)
check "the test's settings are written" grep -q "kept across installs" <<<"$settings_before"
programs=$(unix_path "$(wine cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')\\Microsoft\\Windows\\Start Menu\\Programs")
test_entry_en="$programs/Tollan (test mode).lnk"
test_entry_ru="$programs/Tollan (режим проверки).lnk"

# A fresh install where no VUZoz.dll is: the simulator, set to show its virtual panels.
english wine "$setup" /S "/D=$target_win"
for file in Tollan.exe VUZoz.dll VUZoz.ini Uninstall.exe help/en/index.html help/ru/index.html help/images/test-b88-en.png; do
    check "installed $file" test -f "$target/$file"
done
check "the simulator installed is the one built" cmp "$build/VUZoz.dll" "$target/VUZoz.dll"
check "VUZoz.ini turns the virtual panels on" ini_virtual_on "$target/VUZoz.ini"
check "Start-menu entry Tollan" test -f "$programs/Tollan.lnk"
check "Start-menu entry Tollan (test mode)" test -f "$test_entry_en"
check "no Russian test-mode entry from an English install" test ! -e "$test_entry_ru"
check "Tollan.lnk points at the installed Tollan.exe" \
    bash -c "(strings -a -el '$programs/Tollan.lnk'; strings -a '$programs/Tollan.lnk') | grep -qi 'tollan-installer-test.Tollan.Tollan.exe'"
check "the test-mode entry passes test" bash -c "strings -a -el '$test_entry_en' | grep -qx test"
check "uninstall entry version 1.0.0.1" bash -c "wine reg query '$uninstall_key' /v DisplayVersion | grep -q '1\.0\.0\.1'"
check "uninstall entry publisher" bash -c "wine reg query '$uninstall_key' /v Publisher | grep -q 'Brellow Group'"
check "uninstall entry size" bash -c "wine reg query '$uninstall_key' /v EstimatedSize | grep -q '0x[1-9a-f]'"
check "uninstall entry icon" bash -c "wine reg query '$uninstall_key' /v DisplayIcon | grep -qi 'Tollan.exe'"
# The installed program starts with the simulator beside it, shows its window and closes.
check "the installed Tollan.exe shows its window over the simulator" \
    env TOLLAN_EXE="$target_win\\Tollan.exe" wine "$process_tests" \
    --gtest_filter=TollanProcess.ClosingSwitchesOffThe8x8PanelsAndTerminates
check "the installed Tollan.exe opens the three virtual panels" test "$(virtual_panel_windows "$target_win\\Tollan.exe")" -eq 3

# An upgrade over the simulator: it stays chosen and is replaced (a byte added to the one in
# the folder, which is still ours by its version), and the user's VUZoz.ini is kept.
printf 'x' >>"$target/VUZoz.dll"
printf '[Simulator]\r\nPanels=1\r\nVirtual=0\r\n' >"$target/VUZoz.ini"
cp "$target/VUZoz.ini" "$work/edited.ini"
english wine "$setup" /S "/D=$target_win"
check "upgrade keeps Tollan.exe" test -f "$target/Tollan.exe"
check "upgrade over the simulator installs the simulator again" cmp "$build/VUZoz.dll" "$target/VUZoz.dll"
check "upgrade keeps the user's VUZoz.ini byte for byte" cmp "$work/edited.ini" "$target/VUZoz.ini"
check "settings unchanged by the upgrade" test "$settings_before" = "$(reg_query 'HKCU\Software\Brellow Group' /s)"

uninstall english "$target_win" "$target"
check "uninstall removes the simulator" test ! -e "$target/VUZoz.dll"
check "uninstall removes VUZoz.ini with the simulator" test ! -e "$target/VUZoz.ini"
check "uninstall removes the folder" test ! -e "$target"
check "uninstall removes Tollan.lnk" test ! -e "$programs/Tollan.lnk"
check "uninstall removes the test-mode entry" test ! -e "$test_entry_en"
check "uninstall removes the uninstall entry" bash -c "! wine reg query '$uninstall_key' >/dev/null 2>&1"
check "settings unchanged by uninstalling" test "$settings_before" = "$(reg_query 'HKCU\Software\Brellow Group' /s)"

# A folder with the maker's library in it (any DLL that is not the simulator).
mkdir -p "$foreign"
cp "$drive_c/windows/system32/version.dll" "$foreign/VUZoz.dll"
cp "$foreign/VUZoz.dll" "$work/foreign-original.dll"
english wine "$setup" /S "/D=$foreign_win"
check "installed beside a foreign VUZoz.dll" test -f "$foreign/Tollan.exe"
check "the foreign VUZoz.dll is kept byte for byte" cmp "$work/foreign-original.dll" "$foreign/VUZoz.dll"
check "no VUZoz.ini beside a foreign VUZoz.dll" test ! -e "$foreign/VUZoz.ini"
english wine "$setup" /S "/D=$foreign_win"
check "an upgrade keeps the foreign VUZoz.dll" cmp "$work/foreign-original.dll" "$foreign/VUZoz.dll"
printf '[Simulator]\r\nVirtual=1\r\n' >"$foreign/VUZoz.ini"
uninstall english "$foreign_win" "$foreign"
check "uninstalling leaves the foreign VUZoz.dll" cmp "$work/foreign-original.dll" "$foreign/VUZoz.dll"
check "uninstalling leaves a VUZoz.ini beside a foreign VUZoz.dll" test -f "$foreign/VUZoz.ini"

# The maker's library in the system folder only: Tollan would load it from there, so the
# simulator, which would hide it, is not chosen.
if [ "$system_clean" = yes ]; then
    planted=$system_library
    cp "$work/foreign-original.dll" "$system_library"
    english wine "$setup" /S "/D=$beside_system_win"
    remove_planted
    check "installed while the system folder holds a foreign VUZoz.dll" test -f "$beside_system/Tollan.exe"
    check "no simulator while the system folder holds a foreign VUZoz.dll" test ! -e "$beside_system/VUZoz.dll"
    check "no VUZoz.ini while the system folder holds a foreign VUZoz.dll" test ! -e "$beside_system/VUZoz.ini"
    check "the test took its VUZoz.dll out of the system folder" test ! -e "$system_library"
    # Installed with the simulator while the system folder had no library, then upgraded once
    # the maker's library is there: the simulator goes, so the real panels show.
    english wine "$setup" /S "/D=$beside_system_win"
    check "the simulator once the system folder has no VUZoz.dll" cmp "$build/VUZoz.dll" "$beside_system/VUZoz.dll"
    planted=$system_library
    cp "$work/foreign-original.dll" "$system_library"
    english wine "$setup" /S "/D=$beside_system_win"
    remove_planted
    check "an upgrade after the maker's library came removes the simulator" test ! -e "$beside_system/VUZoz.dll"
    check "an upgrade after the maker's library came removes VUZoz.ini" test ! -e "$beside_system/VUZoz.ini"
    check "the upgrade keeps Tollan" test -f "$beside_system/Tollan.exe"
    uninstall english "$beside_system_win" "$beside_system"
    check "uninstall removes the folder installed without the simulator" test ! -e "$beside_system"
fi

# In Russian: the test-mode entry has a Russian name; an upgrade in the other language
# replaces it, and an uninstaller in either language removes the one there is.
check "a Russian UTF-8 locale (installed, or made from the package locales)" make_russian_locale
[ ${#russian_environment[@]} -gt 0 ] || russian_environment=(LC_ALL=ru_RU.UTF-8)
russian wine "$setup" /S "/D=$russian_win"
check "Russian install: Start-menu entry Tollan (режим проверки)" test -f "$test_entry_ru"
check "Russian install: no English test-mode entry" test ! -e "$test_entry_en"
check "Russian install: the test-mode entry passes test" bash -c "strings -a -el '$test_entry_ru' | grep -qx test"
check "Russian install: the test-mode entry points at the installed Tollan.exe" \
    bash -c "strings -a -el '$test_entry_ru' | grep -qi 'tollan-installer-test.Russian.Tollan.exe'"
check "Russian install: the simulator, virtual panels on" ini_virtual_on "$russian_target/VUZoz.ini"
english wine "$setup" /S "/D=$russian_win"
check "English upgrade of a Russian install: the English test-mode entry" test -f "$test_entry_en"
check "English upgrade of a Russian install: no Russian test-mode entry left" test ! -e "$test_entry_ru"
russian wine "$setup" /S "/D=$russian_win"
check "Russian upgrade of it: the Russian test-mode entry" test -f "$test_entry_ru"
check "Russian upgrade of it: no English test-mode entry left" test ! -e "$test_entry_en"
uninstall english "$russian_win" "$russian_target"
check "English uninstall removes the Russian test-mode entry" test ! -e "$test_entry_ru"
check "English uninstall of a Russian install removes the folder" test ! -e "$russian_target"
check "settings unchanged by the installs in Russian" test "$settings_before" = "$(reg_query 'HKCU\Software\Brellow Group' /s)"

wine reg delete 'HKCU\Software\Brellow Group\Settings\Hardware\INSTALLER-TEST-PANEL' /f >/dev/null 2>&1
rm -rf "$drive_c/tollan-installer-test" "$work"
echo "$failures failed"
[ "$failures" -eq 0 ]
