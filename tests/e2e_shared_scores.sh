#!/usr/bin/env bash
# Two copies of the real game share one game folder. Copy A starts, deals a
# game and stays idle; copy B deals and plays until a result enters the best list, names it
# "Bee" in a name entry whose title bar has no button, and closes; then A closes. Nothing of B's may be lost: its games, its
# result and its successful game, in both sections of the scores file.
set -euo pipefail
source "$(dirname "$0")/support/e2e_common.sh"

start_display 900x600
start_window_manager

# A best list that any ended game beats, so that B's first game that ends,
# however the deal falls, asks for a name.
mkdir -p "$work/game"
{
    printf '[Kelvor]\r\n'
    for entry in $(seq 13); do printf '%dName=Somebody\r\n%dDomLeft=28\r\n%dTime=9999\r\n' "$entry" "$entry" "$entry"; done
} >"$work/game/scores.ini"
start_game
pid_a=$pid_game
window_a=$(main_window_of "$pid_a") || fail "copy A shows no window"
sleep 0.5
xdotool key --window "$window_a" F2 # A deals a game and leaves it
sleep 0.5
grep -q $'^GamesWas=1\r$' "$work/game/scores.ini" || fail "copy A did not count its game"
start_second_copy
window_b=$(main_window_of "$pid_b") || fail "copy B shows no window"
sleep 0.5
xdotool windowmove --sync "$window_b" 400 0 >/dev/null 2>&1 || true
xdotool windowactivate --sync "$window_b" >/dev/null 2>&1 || true
sleep 0.3

# Face-up slots of B's board: a tile's divider row is white on a face.
slots=(1:85:392 2:115:392 3:145:392 4:175:392 13:85:212 14:115:212 15:145:212 16:175:212
       17:100:152 18:130:152 19:160:152 20:115:92 21:145:92 22:110:32 23:160:32
       24:130:32 25:85:302 26:115:302 27:145:302 28:175:302)
faces() {
    window_box "$window_b" left top _ _
    import -window root "$work/shot.png"
    local points=() format="" entry slot x y
    for entry in "${slots[@]}"; do
        IFS=: read -r slot x y <<<"$entry"
        points+=("$((left + x + 7)),$((top + y + 30))")
        format+="%[pixel:p{${points[-1]}}]\n"
    done
    # One pass over the picture for all points.
    local values i=0
    mapfile -t values < <(convert "$work/shot.png" -format "$format" info:)
    for ((i = 0; i < ${#points[@]}; i++)); do
        [[ "${values[i]}" == "white" || "${values[i]}" == "srgb(255,255,255)" || "${values[i]}" == "gray(255)" ]] \
            && echo "${points[i]}"
    done | sort -u
}
congratulated() { xdotool search --onlyvisible --name '^Congratulations!!!$' >/dev/null 2>&1; }

entered=no
for game in $(seq 8); do
    xdotool key --window "$window_b" F2
    sleep 0.5
    still=0
    for _ in $(seq 40); do
        mapfile -t up < <(faces)
        # Every pair of face-up dominoes, clicked one after the other: a
        # pair of 12 leaves the board.
        for ((i = 0; i < ${#up[@]}; i++)); do
            for ((j = i + 1; j < ${#up[@]}; j++)); do
                congratulated && break 3
                xdotool mousemove ${up[i]/,/ } click 1 mousemove ${up[j]/,/ } click 1
            done
        done
        sleep 0.5
        congratulated && break
        mapfile -t now < <(faces)
        # Twice no change: no pair left, the game is over.
        if [ "${now[*]}" = "${up[*]}" ]; then
            still=$((still + 1))
            [ "$still" -ge 2 ] && break
        else
            still=0
        fi
    done
    sleep 0.3
    if congratulated; then
        dialog=$(xdotool search --onlyvisible --name '^Congratulations!!!$' | head -1)
        asks_no_buttons "$dialog" || fail "the name entry asks for title-bar buttons"
        xdotool windowactivate --sync "$dialog" >/dev/null 2>&1 || true
        sleep 0.3
        xdotool type --delay 50 Bee
        xdotool key Return
        entered=yes
        break
    fi
done
[ "$entered" = yes ] || fail "copy B never reached a best result"
games=$game
xdotool mousemove 880 580
sleep 1

close_copy "$window_b" "$pid_b"
grep -q $'Name=Bee\r$' "$work/game/scores.ini" || fail "B's result is not in the file after B closed"
close_copy "$window_a" "$pid_a"

scores="$work/game/scores.ini"
grep -q $'Name=Bee\r$' "$scores" || fail "closing A lost B's result"
[ "$(grep -c $'^GamesSucc=1\r$' "$scores")" = 2 ] || fail "closing A lost B's successful game"
[ "$(grep -c "^GamesWas=$((games + 1))"$'\r$' "$scores")" = 2 ] || fail "closing A lost B's $games games"
echo "1 passed, 0 failed"
