#!/usr/bin/env bash
# The real start-up under Xvfb with a window manager and real waits: the
# splash window comes first, borderless and centred, shows its logo and the
# three step texts in every one of ten starts, and the main window comes at
# least 2.1 s later with the splash gone; the start counter goes 1, 2; a
# SIGTERM saves the settings and the scores and ends the program cleanly.
set -euo pipefail
source "$(dirname "$0")/support/e2e_common.sh"

start_display 800x600
start_window_manager
now() { date +%s.%N; }
visible() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true; }

# What the splash window shows is watched from outside while it is on the
# screen (kelvor_splash_watch, one line per picture); shell screenshots come
# too slowly on a busy machine to see each 700 ms step.
watch="${KELVOR_SPLASH_WATCH:-$(dirname "$game")/tests/kelvor_splash_watch}"
[ -x "$watch" ] || fail "no $watch"

# Starts the game at once and watches start $1 until the main window shows.
# A window's time is taken when the search that first finds it starts: so a
# slow search on a busy machine moves both times alike.
watch_start() {
    coproc watcher { exec "$watch" 30 >"$work/splash$1.txt" 2>/dev/null; }
    pids+=("$watcher_PID")
    start_game now
    splash=""
    for _ in $(seq 1000); do
        splash_at=$(now)
        splash=$(visible 'Tolvane: Kelvor - hard')
        [ -n "$splash" ] && break
    done
    [ -n "$splash" ] || fail "start $1: no splash window"
    echo "$splash" >&"${watcher[1]}"
    main=$(visible 'Tolvane: Kelvor')
    [ -z "$main" ] || fail "start $1: the main window showed with the splash window"
    window_box "$splash" x y w h
    [ "$w x $h" = "190 x 120" ] || fail "start $1: the splash window is $w x $h"
    [ "$x,$y" = "305,240" ] || fail "start $1: the splash window stands at $x,$y, not centred"
    extents=$(xprop -id "$splash" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p')
    [ -z "$extents" ] || [ "$extents" = "0, 0, 0, 0" ] || fail "start $1: the splash window has a frame: $extents"
    for _ in $(seq 500); do
        main_at=$(now)
        main=$(visible 'Tolvane: Kelvor')
        [ -n "$main" ] && break
        sleep 0.05
    done
    [ -n "$main" ] || fail "start $1: no main window"
    kill "$watcher_PID" 2>/dev/null || true
    wait "$watcher_PID" 2>/dev/null || true
}

# What the splash window showed in start $1: its logo (the same picture in
# every start) and its three step texts, lime on black, one after the other
# and the same in every start. An unpainted window shows neither.
logo="" texts=""
check_shots() {
    local seen="$work/splash$1.txt" shown
    [ -n "$logo" ] || logo=$(awk '$2 > 1000 {print $1}' "$seen" | sort | uniq -c | sort -rn | awk 'NR == 1 {print $2}')
    [ -n "$logo" ] || fail "start 1: the splash window never showed its logo"
    awk -v logo="$logo" '$1 == logo {found = 1} END {exit !found}' "$seen" \
        || fail "start $1: the splash window never showed its logo"
    shown=$(step_texts_seen "$seen")
    [ "$(grep -c . <<<"$shown")" = 3 ] \
        || fail "start $1: the splash window showed $(grep -c . <<<"$shown") step texts, not 3"
    [ -n "$texts" ] || texts=$shown
    [ "$shown" = "$texts" ] || fail "start $1: the splash window showed other step texts than the first start"
}

first_start=1
watch_start 1

awk -v a="$splash_at" -v b="$main_at" 'BEGIN { exit !(b - a >= 2.1) }' \
    || fail "the main window came $(awk -v a="$splash_at" -v b="$main_at" 'BEGIN { print b - a }') s after the splash"
for _ in $(seq 50); do mapped "$splash" || break; sleep 0.1; done
mapped "$splash" && fail "the splash window stayed after the start-up"
check_shots 1
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
watch_start 2
check_shots 2
sleep 1
[ -z "$(visible 'Game setup')" ] || fail "the second start opened the setup dialog"
[ "$(launches)" = 2 ] || fail "the second start was not counted"

# The about window, at its first and second showing: a close box alone,
# centred frame and all, and closing it leaves the game running.
sleep 0.5
window_box "$main" mx my _ _
for round in first second; do
    xdotool mousemove $((mx + 115)) $((my + 15)) click 1
    about=$(find_window "About 'Tolvane...'") || fail "the About button did not open the about window"
    asks_close_box_only "$about" || fail "$round showing: the about window asks for more than a close box"
    sleep 0.3
    read -r left right top bottom <<<"$(xprop -id "$about" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
    window_box "$about" ax ay _ _
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

# Eight starts more: the splash window is painted in every one.
for start in $(seq 3 10); do
    watch_start "$start"
    check_shots "$start"
    wmctrl -i -c "$main"
    wait "$pid_game" || fail "start $start: closing ended the program with status $?"
done
echo "1 passed, 0 failed"
