#!/usr/bin/env bash
# The real game under Xvfb with "deutsch" as the language in Tolvane.ini:
# the main window and the statistics window carry their German titles, and
# F1 on the main window opens the German help at the main window's topic.
set -euo pipefail
source "$(dirname "$0")/support/e2e_common.sh"

start_display 800x600
mkdir -p "$work/game"
cp -r "$(dirname "$game")/LNG" "$work/game/LNG"
printf '[Tolvane...]\r\nLaunches=5\r\nLangPack=deutsch\r\n' >"$work/game/Tolvane.ini"
start_game

main=$(find_window 'Tolvane: Kelvor - Domino') || fail "no main window with the German title"
sleep 0.5
xdotool key --window "$main" F5
find_window 'Spielstatistik' >/dev/null || fail "F5 did not show the statistics window with its German title"

xdotool key --window "$main" F1
find_window 'Kelvor-Hilfe - Das Hauptfenster' >/dev/null || fail "F1 did not open the help at the main window's topic"
grep -q "Cannot find" "$work/log" && fail "the help file was not found"
echo "1 passed, 0 failed"
