# Where Tollan's windows are on the X screen of a screenshot session (xdotool, Wine's
# top-level windows are X windows; its controls are not). Sourced by scripts/screenshots.
# shellcheck shell=bash

# The rectangle around every visible window of Tollan (the main window, an open list or
# menu, the About box, the virtual panels), as WIDTHxHEIGHT+X+Y for import's -crop.
tollan_crop() {
    local id left=100000 top=100000 right=0 bottom=0 X Y WIDTH HEIGHT SCREEN WINDOW
    for id in $(xdotool search --onlyvisible --class 'tollan.exe' 2>/dev/null); do
        WIDTH=""
        eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)" || continue
        [ -n "${WIDTH:-}" ] || continue
        [ "$WIDTH" -gt 1 ] && [ "$HEIGHT" -gt 1 ] || continue
        [ "$X" -lt "$left" ] && left=$X
        [ "$Y" -lt "$top" ] && top=$Y
        [ $((X + WIDTH)) -gt "$right" ] && right=$((X + WIDTH))
        [ $((Y + HEIGHT)) -gt "$bottom" ] && bottom=$((Y + HEIGHT))
    done
    [ "$right" -gt 0 ] || { echo "640x480+0+0"; return; }
    echo "$((right - left))x$((bottom - top))+$left+$top"
}

# The screen point of a point of the main window's client area given in dialog units
# (expressions such as 98+24): Tahoma 8 at the screen's DPI, as the dialog is drawn.
dialog_point() {
    local x=$(($1)) y=$(($2)) id X Y WIDTH HEIGHT SCREEN WINDOW
    id=$(xdotool search --onlyvisible --name '^(BG Brellow Config|Настройка конфигурации)$' 2>/dev/null | head -1)
    eval "$(xdotool getwindowgeometry --shell "$id")"
    # The dialog frame and caption Wine draws around the client area.
    local frame=${TOLLAN_FRAME:-3} caption=${TOLLAN_CAPTION:-19}
    echo "$((X + frame + (x * 6 + 2) / 4)) $((Y + frame + caption + (y * 13 + 4) / 8))"
}
