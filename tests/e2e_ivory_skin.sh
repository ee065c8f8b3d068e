#!/usr/bin/env bash
# The Ivory skin the build puts into the game folder's Skins: chosen in
# Tolvane.ini with its second back, the board shows that back picture for
# picture, as kelvor-skin takes it out of the library. On a screen scaled
# by 2 it shows each of its pixels as a block of 2 x 2, and a click on a
# domino's outermost screen pixels picks that domino.
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
geometry=$(xwininfo -id "$window")
left=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$geometry")
top=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geometry")
import -window root "$work/shot.png"

# Tiles of the block's bottom row and of the top row, face down before F2,
# at a scale of $1: each pixel of the picture a block of $1 x $1.
check_backs() {
    local scale=$1 x y differing
    convert "$work/ivory/back002.bmp" -filter point -resize "$((scale * 100))%" "$work/back.png"
    import -window root "$work/shot.png"
    for corner in 85:392 175:392 130:32; do
        IFS=: read -r x y <<<"$corner"
        crop_tile "$work/shot.png" "$x" "$y" "$scale" "$work/tile.png"
        differing=$(compare -metric AE "$work/tile.png" "$work/back.png" null: 2>&1 || true)
        [ "$differing" = 0 ] || fail "at scale $scale the tile at $x,$y differs from Ivory's back in $differing pixels"
    done
}
# The tile whose corner is at X,Y in the window, from screenshot SHOT.
crop_tile() {
    convert "$1" -crop "$((30 * $4))x$((60 * $4))+$((left + $4 * $2))+$((top + $4 * $3))" +repage "$5"
}
check_backs 1

# Again on a screen the desktop scales by 2: the window is twice its size,
# the backs are drawn block for block, and a click on a domino's first or
# last column of screen pixels picks it, one just beside it does not.
kill "$pid_game"
wait "$pid_game" 2>/dev/null || true
QT_SCALE_FACTOR=2 start_game
window=$(find_window 'Tolvane: Kelvor') || fail "no main window at scale 2"
sleep 0.5
geometry=$(xwininfo -id "$window")
size="$(awk '/Width:/ {print $2}' <<<"$geometry")x$(awk '/Height:/ {print $2}' <<<"$geometry")"
[ "$size" = 580x940 ] || fail "at scale 2 the client area is $size, not 580x940"
left=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$geometry")
top=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geometry")
check_backs 2

# Slots 25 and 26 side by side in the top row of the block, face up after F2.
tile() { import -window root "$work/now.png"; crop_tile "$work/now.png" "$1" 302 2 "$work/$2.png"; }
same() { [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 || true)" = 0 ]; }
# Until tile $1 (its corner's x) shows like picture $2 (or not, with "!").
wait_tile() {
    for _ in $(seq 50); do
        tile "$1" now_tile
        if [ "${3:-}" = "!" ]; then same now_tile "$2" || return 0; else same now_tile "$2" && return 0; fi
        sleep 0.1
    done
    return 1
}
click() { xdotool mousemove "$((left + $1))" "$((top + 2 * 332))" click 1; }
xdotool key --window "$window" F2
wait_tile 85 back ! || fail "F2 did not turn the top dominoes face up"
sleep 1
tile 85 face25
tile 115 face26
# The face is drawn block for block too.
convert "$work/face25.png" -sample 50% -sample 200% "$work/blocks.png"
same face25 blocks || fail "at scale 2 a face is not drawn in blocks of 2 x 2"
# Just left of slot 25, then its first column: picked once, by the second.
click $((2 * 85 - 1))
click $((2 * 85))
wait_tile 85 face25 ! || fail "a click on the left edge of a domino did not pick it"
tile 115 now_tile
same now_tile face26 || fail "a click on the left edge of a domino picked its neighbour"
tile 85 marked
convert "$work/marked.png" -sample 50% -sample 200% "$work/blocks.png"
same marked blocks || fail "at scale 2 the selection mark is not drawn in blocks of 2 x 2"
# Its last column, beside slot 26, picks it again: the mark goes.
click $((2 * 115 - 1))
wait_tile 85 face25 || fail "a click on the right edge of a domino went elsewhere"
tile 115 now_tile
same now_tile face26 || fail "a click on the right edge of a domino picked its neighbour"
echo "1 passed, 0 failed"
