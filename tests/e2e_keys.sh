#!/usr/bin/env bash
# The real game under Xvfb with the X server's own key repeat: F2 held for
# two seconds deals one game, without and then with a window manager, and
# F2 with Alt deals none.
set -euo pipefail
source "$(dirname "$0")/support/e2e_common.sh"

# Games played as the scores file counts them for this game.
games_played() {
    awk -F= '/^\[/ { section = $0 } section ~ /^\[Kelvor\]/ && $1 == "GamesWas" { sub(/\r$/, "", $2); print $2 }' \
        "$work/game/scores.ini" 2>/dev/null || true
}
expect_games() {
    local want="$1" why="$2" got=""
    for _ in $(seq 30); do
        got=$(games_played)
        [ "$got" = "$want" ] && break
        sleep 0.1
    done
    sleep 0.5
    got=$(games_played)
    [ "$got" = "$want" ] || fail "$why: GamesWas is '${got}', not $want"
}
hold_f2() {
    xdotool windowactivate --sync "$main" >/dev/null 2>&1 || xdotool windowfocus --sync "$main"
    xdotool keydown F2
    sleep 2
    xdotool keyup F2
}

start_display 800x600
start_game
main=$(find_window 'Tolvane: Kelvor') || fail "no main window"
sleep 0.5

hold_f2
expect_games 1 "F2 held without a window manager"

xdotool key --window "$main" alt+F2
sleep 0.5
expect_games 1 "Alt+F2"

start_window_manager
sleep 0.5
hold_f2
expect_games 2 "F2 held with a window manager"
echo "1 passed, 0 failed"
