# Shared by scripts/run and scripts/test: packages, build, Wine prefix.
# shellcheck shell=bash

TOLLAN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# ./scripts/run keeps the settings of the user's panels in build/wineprefix; the tests, the
# screenshots and the benchmarks name a prefix of their own (TOLLAN_PREFIX), so nothing they
# write or delete can touch those settings.
export WINEPREFIX=${WINEPREFIX:-$TOLLAN_ROOT/build/${TOLLAN_PREFIX:-wineprefix}}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

TOLLAN_PACKAGES=(cmake ninja-build locales g++-mingw-w64-x86-64 g++-mingw-w64-i686 googletest wine wine64 fonts-wine fonts-dejavu-core xvfb xauth imagemagick xdotool nsis zip ccache)

# Installs the Debian packages that are missing (as root, or through sudo).
ensure_packages() {
    local missing=()
    for package in "${TOLLAN_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Compiler cache: paths are taken relative to the checkout, so another clone of the same
# sources on this machine reuses what an earlier build compiled.
export CCACHE_BASEDIR=$TOLLAN_ROOT
export CCACHE_NOHASHDIR=1
if command -v ccache >/dev/null 2>&1; then
    export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
    export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
fi

build_tollan() {
    cd "$TOLLAN_ROOT" || exit 1
    cmake --preset windows >/dev/null
    cmake --build --preset windows "$@"
}

# Creates the project's Wine prefix once, without prompts, with the settings that keep
# runs quick and crashes visible (must run on the display the tests will use). Dialogs get
# Tahoma, as on Windows: see install_wine_fonts.
ensure_wine_prefix() {
    if [ ! -f "$WINEPREFIX/.tollan-ready" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.tollan-ready"
    fi
    install_wine_fonts
}

# The fonts of fonts-wine (Tahoma among them) in the prefix's Fonts folder. Debian's Wine 8
# does not look in /usr/share/wine/fonts, so without them its dialogs fall back to a font
# wider than any Windows user has. A prefix made before they were there is marked changed,
# so the copies of it (tests/dpi/dpi_prefix.sh) are made again.
install_wine_fonts() {
    local fonts=$WINEPREFIX/drive_c/windows/Fonts added=0 font
    [ -d "$fonts" ] || return 0
    for font in /usr/share/wine/fonts/*.ttf; do
        [ -f "$font" ] || continue
        [ -f "$fonts/$(basename "$font")" ] && continue
        cp "$font" "$fonts/" && added=1
    done
    if [ $added -eq 1 ]; then
        touch "$WINEPREFIX/.tollan-ready"
    fi
}
