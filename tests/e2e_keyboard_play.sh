#!/usr/bin/env bash
# Whole games of the real game under Xvfb played by keys alone (F2, Tab,
# Shift+Tab, the arrows, Space, H for a hint; the name typed for a best
# result), first
# without a window manager, then under openbox. Every move is checked
# against the rules from the screen, and after each game the scores file
# (games played and won, the results in the best list).
set -euo pipefail
source "$(dirname "$0")/support/e2e_common.sh"
player="$(dirname "$0")/support/keyboard_player.py"
seed=${KELVOR_E2E_SEED:-$RANDOM}
echo "seed $seed"

start_display 640x520
start_game
main=$(find_window 'Tolvane: Kelvor') || fail "no main window"
sleep 0.5
python3 "$player" "$main" "$work/game/scores.ini" 5 0 "$seed" || fail "keyboard play without a window manager"

start_window_manager
sleep 0.5
python3 "$player" "$main" "$work/game/scores.ini" 5 1 "$((seed + 1))" || fail "keyboard play under openbox"
kill -0 "$pid_game" || fail "the game ended by itself"
echo "1 passed, 0 failed"
