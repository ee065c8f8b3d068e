#!/usr/bin/env bash
# The Ivory skin the build puts into the game folder's Skins: chosen in
# Tolvane.ini with its second back, the board shows that back picture for
# picture, as kelvor-skin takes it out of the library. On a screen scaled
# by 2 each of its pixels is a block of 2 x 2, and a click on a domino's
# outermost screen pixels picks that domino, one beside it does not.
set -euo pipefail
source "$(dirname "$0")/support/e2e_common.sh"
folder="$(dirname "$game")"

mkdir -p "$work/game/Skins"
cp "$folder/Skins/Ivory.dll" "$work/game/Skins/"
"$folder/kelvor-skin" extract "$work/game/Skins/Ivory.dll" "$work/ivory" >/dev/null || fail "kelvor-skin extract"
printf '[Tolvane...]\r\nLaunches=1\r\nSetPack=Ivory.dll\r\nBackSet=back002\r\n' >"$work/game/Tolvane.ini"

start_display 1280x1024
start_game
window=$(find_window 'Tolvane: Kelvor') || fail "no main window"
sleep 0.5
# The main window's corner on the screen and its size.
measure() {
    local width height
    window_box "$window" left top width height
    size="${width}x${height}"
}
measure

# The tile at X,Y of the window, at a scale of S, from the screen: $work/NAME.png.
tile() { import -window root -crop "$((30 * $3))x$((60 * $3))+$((left + $3 * $1))+$((top + $3 * $2))" +repage "$work/$4.png"; }
differing() { compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 || true; }
# Tiles of the block's bottom row and of the top row, face down before F2.
check_backs() {
    convert "$work/ivory/back002.bmp" -filter point -resize "$(($1 * 100))%" "$work/back.png"
    for corner in 85:392 175:392 130:32; do
        IFS=: read -r x y <<<"$corner"
        tile "$x" "$y" "$1" shot
        [ "$(differing shot back)" = 0 ] || fail "at scale $1 the tile at $x,$y differs from Ivory's back"
    done
}
check_backs 1

kill "$pid_game"
wait "$pid_game" 2>/dev/null || true
QT_SCALE_FACTOR=2 start_game
window=$(find_window 'Tolvane: Kelvor') || fail "no main window at scale 2"
sleep 0.5
measure
[ "$size" = 580x940 ] || fail "at scale 2 the client area is $size, not twice 290x470"
check_backs 2
# Until slot 25, in the top row of the block, shows as picture $2 does (=) or not (!=).
wait_25() {
    for _ in $(seq 50); do tile 85 302 2 now && [ "$(differing now "$2")" $1 0 ] && return 0; sleep 0.1; done
    return 1
}
click() { xdotool mousemove "$((left + $1))" "$((top + 2 * (302 + 30)))" click 1; }
xdotool key --window "$window" F2
wait_25 != back || fail "F2 did not turn the top dominoes face up"
sleep 1
tile 85 302 2 face25
tile 115 302 2 face26
click $((2 * 85 - 1)) # just left of slot 25, then its first column: picked once
click $((2 * 85))
wait_25 != face25 || fail "a click on a domino's left edge did not pick it, or one left of it did"
click $((2 * 115 - 1)) # its last column, beside slot 26: picked again, the mark goes
wait_25 = face25 || fail "a click on a domino's right edge did not pick it"
tile 115 302 2 now
[ "$(differing now face26)" = 0 ] || fail "a click on a domino's right edge picked its neighbour"
echo "1 passed, 0 failed"
