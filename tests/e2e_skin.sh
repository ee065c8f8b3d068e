#!/usr/bin/env bash
# A skin library built with windres and chosen in Tolvane.ini: the board
# shows its back from the start and its faces after F2; F3 hides the board
# behind the setup dialog, and Esc brings it back as it was.
set -euo pipefail
source "$(dirname "$0")/support/e2e_common.sh"
source "$(dirname "$0")/support/skin_library.sh"

# The skin: green backs, red faces, the family's marker.
skin="$work/skin"
mkdir -p "$skin" "$work/game/Skins"
convert -size 30x60 xc:'rgb(255,0,0)' -type TrueColor "BMP3:$skin/face.bmp"
convert -size 30x60 xc:'rgb(0,255,0)' -type TrueColor "BMP3:$skin/back.bmp"
{
    echo 'STRINGTABLE'
    echo 'BEGIN'
    echo '1 "Tolvane..."'
    echo '2 "1"'
    echo '3 "Green"'
    echo '4 "0"'
    echo '5 "The tests"'
    echo '6 "Red and green"'
    echo 'END'
    echo '"BACK001" BITMAP back.bmp'
    skin_face_lines face.bmp
} >"$skin/skin.rc"
build_skin_library "$skin/skin.rc" "$work/game/Skins/Green.DLL"
printf '[Tolvane...]\r\nLaunches=5\r\nSetPack=green.dll\r\nBackSet=back001\r\n' >"$work/game/Tolvane.ini"

start_display 640x520
start_game
window=$(find_window 'Tolvane: Kelvor') || fail "no main window"
sleep 0.5
window_box "$window" left top _ _

# The colour in the middle of the upper half of a slot's tile.
colour_at() {
    convert "$work/shot.png" -format "%[pixel:p{$((left + $1 + 15)),$((top + $2 + 15))}]" info:
}
slots=(1:85:392 4:175:392 13:85:212 17:100:152 24:130:32 25:85:302 28:175:302)
check_board() {
    local faces="$1" want
    import -window root "$work/shot.png"
    for entry in "${slots[@]}"; do
        IFS=: read -r slot x y <<<"$entry"
        want='srgb(0,255,0)'
        [[ " $faces " == *" $slot "* ]] && want='srgb(255,0,0)'
        [ "$(colour_at "$x" "$y")" = "$want" ] \
            || fail "slot $slot shows $(colour_at "$x" "$y"), not $want"
    done
}

check_board ""
xdotool key --window "$window" F2
sleep 1
check_board "24 25 28"

stored=$(cat "$work/game/Tolvane.ini")
xdotool key --window "$window" F3
dialog=$(find_window 'Game setup') || fail "F3 did not open the setup dialog"
sleep 0.5
import -window root "$work/shot.png"
[ "$(colour_at 85 392)" = "srgb(0,0,0)" ] || fail "the board shows while the dialog is open"
# The dialog closes on the key's press; its release finds no window.
xdotool key --window "$dialog" Escape 2>/dev/null || true
sleep 1
[ -z "$(xdotool search --onlyvisible --name '^Game setup$' 2>/dev/null)" ] || fail "Esc did not close the dialog"
check_board "24 25 28"
[ "$(cat "$work/game/Tolvane.ini")" = "$stored" ] || fail "Esc changed the settings file"
grep -qi $'^SetPack=green.dll\r$' "$work/game/Tolvane.ini" || fail "the skin was not kept"
echo "1 passed, 0 failed"
