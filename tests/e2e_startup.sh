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
first_start=1
start_game now
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
find_window 'Game setup' >/dev/null || fail "the first start did not open the setup dialog"

# Ended from outside: the same saves as a close, and a clean end.
rm -f "$work/game/scores.ini"
kill -TERM "$pid_game"
status=0
wait "$pid_game" || status=$?
[ "$status" = 0 ] || fail "SIGTERM ended the program with status $status"
[ -f "$work/game/scores.ini" ] || fail "SIGTERM did not save the scores"
[ "$(launches)" = 1 ] || fail "SIGTERM lost the start counter"

# A later start counts on, and opens no dialog.
first_start=
start_game
main=$(find_window 'Tolvane: Kelvor') || fail "no main window at the second start"
sleep 1
[ -z "$(visible 'Game setup')" ] || fail "the second start opened the setup dialog"
[ "$(launches)" = 2 ] || fail "the second start was not counted"

# The about window, at its first and second showing: a close box alone,
# centred frame and all, and closing it leaves the game running.
sleep 0.5
eval "$(xwininfo -id "$main" | awk '/Absolute upper-left X:/ {print "mx=" $4} /Absolute upper-left Y:/ {print "my=" $4}')"
for round in first second; do
    xdotool mousemove $((mx + 115)) $((my + 15)) click 1
    about=$(find_window "About 'Tolvane...'") || fail "the About button did not open the about window"
    asks_close_box_only "$about" || fail "$round showing: the about window asks for more than a close box"
    sleep 0.3
    read -r left right top bottom <<<"$(xprop -id "$about" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
    eval "$(xwininfo -id "$about" | awk '/Absolute upper-left X:/ {print "ax=" $4} /Absolute upper-left Y:/ {print "ay=" $4}')"
    outer_w=$((329 + left + right)) outer_h=$((395 + top + bottom))
    frame_x=$((ax - left)) frame_y=$((ay - top))
    [ $((frame_x - (800 - outer_w) / 2)) -ge -1 ] && [ $((frame_x - (800 - outer_w) / 2)) -le 1 ] \
        && [ $((frame_y - (600 - outer_h) / 2)) -ge -1 ] && [ $((frame_y - (600 - outer_h) / 2)) -le 1 ] \
        || fail "$round showing: the about window's frame stands at $frame_x,$frame_y, not centred (frame $left $right $top $bottom)"
    wmctrl -i -c "$about"
    for _ in $(seq 50); do mapped "$about" || break; sleep 0.1; done
    mapped "$about" && fail "$round showing: the about window did not close"
done
kill -0 "$pid_game" 2>/dev/null || fail "closing the about window ended the game"

wmctrl -i -c "$main"
status=0
wait "$pid_game" || status=$?
[ "$status" = 0 ] || fail "closing ended the program with status $status"
echo "1 passed, 0 failed"
