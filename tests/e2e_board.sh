#!/usr/bin/env bash
# Starts the real game under Xvfb from a game folder of its own, checks the
# window, presses F2 and checks from a screenshot that exactly the five top
# dominoes show their faces, that the game was counted in the scores file,
# and that F5 brings up the statistics window beside the board.
set -euo pipefail
source "$(dirname "$0")/support/e2e_common.sh"

start_display 640x520
start_game
window=$(find_window 'Tolvane: Kelvor') || fail "no main window"
sleep 0.5

window_box "$window" left top width height
[ "$width" = 290 ] && [ "$height" = 470 ] || fail "client area ${width}x${height}, not 290x470"

# The pixel of a tile's divider row (row 30) at column 7: white on a face.
is_face() {
    local slot_x=$1 slot_y=$2
    local value
    value=$(convert "$work/shot.png" -format "%[pixel:p{$((left + slot_x + 7)),$((top + slot_y + 30))}]" info:)
    [[ "$value" == "white" || "$value" == "srgb(255,255,255)" || "$value" == "gray(255)" ]]
}
# Slots and their corners, with the part of 22 and 23 that 24 leaves open.
slots=(1:85:392 2:115:392 3:145:392 4:175:392 13:85:212 14:115:212 15:145:212 16:175:212
       17:100:152 18:130:152 19:160:152 20:115:92 21:145:92 22:110:32 23:160:32
       24:130:32 25:85:302 26:115:302 27:145:302 28:175:302)

check_board() {
    local expect_faces="$1"
    import -window root "$work/shot.png"
    for entry in "${slots[@]}"; do
        IFS=: read -r slot x y <<<"$entry"
        local face=no
        is_face "$x" "$y" && face=yes
        local want=no
        [[ " $expect_faces " == *" $slot "* ]] && want=yes
        [ "$face" = "$want" ] || fail "slot $slot shows face=$face, expected $want"
    done
}

check_board ""
xdotool key --window "$window" F2
sleep 1
check_board "24 25 26 27 28"
kill -0 "$pid_game" || fail "the game ended by itself"

scores="$work/game/scores.ini"
[ -f "$scores" ] || fail "no scores.ini after the first game"
[ "$(grep -c '^GamesWas=1' "$scores")" = 2 ] || fail "the game was not counted in both sections"
grep -q $'^13Time=999\r$' "$scores" || fail "scores.ini lacks the spare entry or its CRLF line ends"

xdotool key --window "$window" F5
stats=$(find_window 'Game statistics') || fail "F5 did not show the statistics window"
window_box "$stats" stats_left _ stats_width _
[ "$stats_width" = 323 ] || fail "statistics window is not 323 wide"
[ "$stats_left" -ge $((left + 290)) ] \
    || fail "statistics window does not stand right of the board"
echo "1 passed, 0 failed"
