# A Wine prefix of its own for a display scale: a copy of the project's prefix (made once,
# again when the project's prefix is made anew) whose LogPixels is the DPI. With the fonts
# "wide", the prefix draws dialogs in a wide font instead of Tahoma (as Wine does where
# Tahoma is missing): Tahoma and MS Shell Dlg are replaced by DejaVu Sans. Sourced by
# tests/dpi/run_at_dpi.sh and scripts/screenshots.
# shellcheck shell=bash

# use_dpi_prefix DPI ROOT [FONTS]: points WINEPREFIX at the prefix of DPI (and FONTS: "wide"
# or empty), making it first if needed. Needs the display the programs will use; no
# wineserver of that prefix runs afterwards.
use_dpi_prefix() {
    local dpi=$1 root=$2 fonts=${3:-}
    local shared=${WINEPREFIX:-$root/build/wineprefix}
    export WINEPREFIX=${shared%/}-dpi$dpi${fonts:+-$fonts}
    export WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
    if [ -f "$WINEPREFIX/.tollan-dpi-ready" ] && ! [ "$shared/.tollan-ready" -nt "$WINEPREFIX/.tollan-dpi-ready" ]; then
        return 0
    fi
    # Wine processes get no pipe of the caller's: a Wine service holding one would keep a
    # reader of the caller's output (CTest) waiting.
    rm -rf "$WINEPREFIX"
    if [ -f "$shared/.tollan-ready" ]; then
        cp -a --reflink=auto "$shared" "$WINEPREFIX"
    else
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 </dev/null
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null
    fi
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 </dev/null
    if [ "$fonts" = wide ]; then
        local face
        for face in 'Tahoma' 'MS Shell Dlg' 'MS Shell Dlg 2' 'MS Sans Serif'; do
            wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d 'DejaVu Sans' /f \
                >/dev/null 2>&1 </dev/null
        done
    fi
    # The new DPI holds from the next start of the wineserver.
    wineserver -k >/dev/null 2>&1 </dev/null
    wineserver -w >/dev/null 2>&1 </dev/null
    touch "$WINEPREFIX/.tollan-dpi-ready"
}
