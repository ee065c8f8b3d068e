#!/usr/bin/env bash
# A blind player's games: on a session bus and an accessibility bus of its
# own, the real game under Xvfb is played through the accessibility tree
# alone (python3-pyatspi), five whole games: the dominoes' names and
# states read, pairs pressed until "Game over", each move checked against
# the rules, the pairs and the messages heard as they change, and a name
# entered for a best result through the name entry's field and button;
# then the scores file. Says "skipped" (exit 77) where the buses can't start.
set -euo pipefail

python=/usr/bin/python3
source "$(dirname "$0")/support/skip.sh"
if [ -z "${KELVOR_A11Y_SESSION:-}" ]; then
    command -v dbus-run-session >/dev/null || skip "needs dbus-run-session (package dbus-daemon)"
    [ -x /usr/libexec/at-spi-bus-launcher ] || skip "needs the accessibility bus (package at-spi2-core)"
    "$python" -c 'import pyatspi' 2>/dev/null || skip "needs python3-pyatspi"
    dbus-run-session -- true 2>/dev/null || skip "the session bus did not start"
    KELVOR_A11Y_SESSION=1 exec dbus-run-session -- bash "$0" "$@"
fi
# The accessibility bus starts on the session bus's demand.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 \
    || skip "the accessibility bus did not start"

source "$(dirname "$0")/support/e2e_common.sh"
start_display 640x520
mkdir -p "$work/game"
# A best list whose last place any finished game beats, so that the first
# game asks for a name; later ones beat it or not, as they come.
printf '[Kelvor]\r\n12DomLeft=28\r\n' >"$work/game/scores.ini"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
start_game
"$python" "$(dirname "$0")/support/screen_reader_player.py" "$pid_game" "$work/game/scores.ini" 5 \
    || fail "the games through the accessibility tree"
kill -0 "$pid_game" || fail "the game ended by itself"
echo "1 passed, 0 failed"
