#!/usr/bin/env bash
# The Ivory skin the build puts into the game folder's Skins: chosen in
# Tolvane.ini with its second back, the board shows that back picture for
# picture, as kelvor-skin takes it out of the library.
set -euo pipefail
source "$(dirname "$0")/support/e2e_common.sh"
folder="$(dirname "$game")"

mkdir -p "$work/game/Skins"
cp "$folder/Skins/Ivory.dll" "$work/game/Skins/"
"$folder/kelvor-skin" extract "$work/game/Skins/Ivory.dll" "$work/ivory" >/dev/null || fail "kelvor-skin extract"
printf '[Tolvane...]\r\nLaunches=1\r\nSetPack=Ivory.dll\r\nBackSet=back002\r\n' >"$work/game/Tolvane.ini"

start_display 640x520
start_game
window=$(find_window 'Tolvane: Kelvor') || fail "no main window"
sleep 0.5
geometry=$(xwininfo -id "$window")
left=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$geometry")
top=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geometry")
import -window root "$work/shot.png"

# Tiles of the block's bottom row and of the top row, face down before F2.
for corner in 85:392 175:392 130:32; do
    IFS=: read -r x y <<<"$corner"
    convert "$work/shot.png" -crop "30x60+$((left + x))+$((top + y))" +repage "$work/tile.png"
    differing=$(compare -metric AE "$work/tile.png" "$work/ivory/back002.bmp" null: 2>&1 || true)
    [ "$differing" = 0 ] || fail "the tile at $x,$y differs from Ivory's back in $differing pixels"
done
echo "1 passed, 0 failed"
