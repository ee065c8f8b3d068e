#!/usr/bin/env bash
# The real game under Xvfb with a window manager: minimizing the main window
# takes the statistics window with it and stops the clock, restoring brings
# both back and the clock goes on, F5 brings back a statistics window the
# window manager minimized, and closing the window in the middle of a
# game saves the scores and ends the program cleanly.
set -euo pipefail
source "$(dirname "$0")/support/e2e_common.sh"

start_display 800x600
start_window_manager
start_game

# The clock's panel, as pixels.
clock_shot() {
    local x y
    window_box "$main" x y _ _
    import -window root -crop "29x16+$((x + 147))+$((y + 454))" +repage "$work/$1.png"
}
same() { [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 || true)" = 0 ]; }

main=$(find_window 'Tolvane: Kelvor') || fail "no main window"
# Wait until the window manager has taken the window in hand.
managed=no
for _ in $(seq 100); do
    xprop -id "$main" WM_STATE 2>/dev/null | grep -q 'Normal' && xprop -id "$main" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '=' \
        && { managed=yes; break; }
    sleep 0.1
done
[ "$managed" = yes ] || { cat "$work/openbox.log" >&2; fail "the window manager did not take the main window"; }
sleep 0.5
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key --window "$main" F2
sleep 0.3
xdotool key --window "$main" F5
stats=$(find_window 'Game statistics') || fail "F5 did not show the statistics window"
asks_close_box_only "$stats" || fail "the statistics window asks for more than a close box"

# Just after a tick, so that the next one is a second away.
clock_shot tick_before
for _ in $(seq 40); do
    clock_shot tick_after
    same tick_before tick_after || break
    sleep 0.05
done
xdotool windowminimize --sync "$main"
gone=no
for _ in $(seq 50); do mapped "$stats" || { gone=yes; break; }; sleep 0.1; done
[ "$gone" = yes ] || fail "the statistics window stayed on screen"
sleep 2.5

wmctrl -i -a "$main"
back=no
for _ in $(seq 50); do mapped "$main" && mapped "$stats" && { back=yes; break; }; sleep 0.1; done
[ "$back" = yes ] || fail "the windows did not come back"
sleep 0.2
clock_shot restored_before
same tick_after restored_before || fail "the clock ran while minimized"
sleep 2.2
clock_shot restored_after
same restored_before restored_after && fail "the clock stood still after restoring"

# The statistics window minimized by the window manager: F5 brings it back.
xdotool windowminimize --sync "$stats"
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key --window "$main" F5
back=no
for _ in $(seq 50); do mapped "$stats" && { back=yes; break; }; sleep 0.1; done
[ "$back" = yes ] || fail "F5 did not bring back the minimized statistics window"

# Closing in the middle of a game: scores saved, program ended.
rm -f "$work/game/scores.ini"
close_copy "$main" "$pid_game"
[ -f "$work/game/scores.ini" ] || fail "closing did not save the scores"
grep -q $'^GamesEnd=0\r$' "$work/game/scores.ini" || fail "the running game was counted as finished"
echo "1 passed, 0 failed"
