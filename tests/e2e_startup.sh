#!/usr/bin/env bash
# The real start-up under Xvfb with a window manager and real waits: the
# splash window comes first, borderless and centred, the main window at
# least 2.1 s later with the splash gone; the start counter goes 1, 2; a
# SIGTERM saves the settings and the scores and ends the program cleanly.
set -euo pipefail
source "$(dirname "$0")/support/e2e_common.sh"

start_display 800x600
start_window_manager
now() { date +%s.%N; }
visible() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true; }
mapped() { xwininfo -id "$1" 2>/dev/null | grep -q "IsViewable"; }
launches() { tr -d '\r' <"$work/game/Tolvane.ini" | sed -n 's/^Launches=//p'; }

# A window's time is taken when the search that first finds it starts: so
# a slow search on a busy machine moves both times alike.
start_game
splash=""
for _ in $(seq 1000); do
    splash_at=$(now)
    splash=$(visible 'Tolvane: Kelvor - hard')
    [ -n "$splash" ] && break
done
[ -n "$splash" ] || fail "no splash window"
main=$(visible 'Tolvane: Kelvor')
[ -z "$main" ] || fail "the main window showed with the splash window"

eval "$(xwininfo -id "$splash" | awk '/Absolute upper-left X:/ {print "x=" $4} /Absolute upper-left Y:/ {print "y=" $4}
                                       /Width:/ {print "w=" $2} /Height:/ {print "h=" $2}')"
[ "$w x $h" = "190 x 120" ] || fail "the splash window is $w x $h"
[ "$x,$y" = "305,240" ] || fail "the splash window stands at $x,$y, not centred"
extents=$(xprop -id "$splash" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p')
[ -z "$extents" ] || [ "$extents" = "0, 0, 0, 0" ] || fail "the splash window has a frame: $extents"

# Meanwhile the step texts, as the screen shows them (the waits block the
# program: only a text painted at once shows).
shot=0
for _ in $(seq 500); do
    main_at=$(now)
    main=$(visible 'Tolvane: Kelvor')
    [ -n "$main" ] && break
    shot=$((shot + 1))
    import -window root -crop "190x16+$x+$((y + 90))" +repage "$work/info$shot.png" 2>/dev/null || true
done
[ -n "$main" ] || fail "no main window"
awk -v a="$splash_at" -v b="$main_at" 'BEGIN { exit !(b - a >= 2.1) }' \
    || fail "the main window came $(awk -v a="$splash_at" -v b="$main_at" 'BEGIN { print b - a }') s after the splash"
for _ in $(seq 50); do mapped "$splash" || break; sleep 0.1; done
mapped "$splash" && fail "the splash window stayed after the start-up"
texts=$(for f in "$work"/info*.png; do [ -s "$f" ] && identify -format '%#\n' "$f"; done 2>/dev/null | uniq | wc -l)
[ "$texts" -ge 3 ] || fail "the splash window showed $texts step texts, not 3"
[ "$(launches)" = 1 ] || fail "the first start was not counted"

# Ended from outside: the same saves as a close, and a clean end.
rm -f "$work/game/scores.ini"
kill -TERM "$pid_game"
status=0
wait "$pid_game" || status=$?
[ "$status" = 0 ] || fail "SIGTERM ended the program with status $status"
[ -f "$work/game/scores.ini" ] || fail "SIGTERM did not save the scores"
[ "$(launches)" = 1 ] || fail "SIGTERM lost the start counter"

# A later start counts on.
start_game
main=$(find_window 'Tolvane: Kelvor') || fail "no main window at the second start"
[ "$(launches)" = 2 ] || fail "the second start was not counted"
wmctrl -i -c "$main"
status=0
wait "$pid_game" || status=$?
[ "$status" = 0 ] || fail "closing ended the program with status $status"
echo "1 passed, 0 failed"
