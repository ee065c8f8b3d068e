#!/usr/bin/env bash
# The real game under Xvfb with a window manager: minimizing the main window
# takes the statistics window with it and stops the clock, restoring brings
# both back and the clock goes on, and closing the window in the middle of a
# game saves the scores and ends the program cleanly.
set -euo pipefail
game="$1"
work="$(mktemp -d)"
pid_x="" pid_wm="" pid_game=""
cleanup() {
    for pid in "$pid_game" "$pid_wm" "$pid_x"; do
        [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; cat "$work/log" "$work/xwininfo.err" >&2 2>/dev/null; grep -E "Window id|Map State" "$work/xwininfo.log" | tail -6 >&2; exit 1; }

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pid_x=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -1 "$work/display")"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
pid_wm=$!
for _ in $(seq 50); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.1; done

mkdir -p "$work/game"
cp "$game" "$work/game/kelvor"
(cd "$work" && XDG_RUNTIME_DIR="$work" exec ./game/kelvor >"$work/log" 2>&1) &
pid_game=$!

find_window() {
    local name="$1" id=""
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null | head -1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
mapped() { xwininfo -id "$1" 2>>"$work/xwininfo.err" | tee -a "$work/xwininfo.log" | grep -q "IsViewable"; }
# The clock's panel, as pixels.
clock_shot() {
    local x y
    eval "$(xwininfo -id "$main" | awk '/Absolute upper-left X:/ {print "x=" $4} /Absolute upper-left Y:/ {print "y=" $4}')"
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
[ "$managed" = yes ] || fail "the window manager did not take the main window"
sleep 0.5
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key --window "$main" F2
sleep 0.3
xdotool key --window "$main" F5
stats=$(find_window 'Game statistics') || fail "F5 did not show the statistics window"

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

# Closing in the middle of a game: scores saved, program ended.
rm -f "$work/game/scores.ini"
wmctrl -i -c "$main"
for _ in $(seq 50); do kill -0 "$pid_game" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid_game" 2>/dev/null && fail "the program did not end when its window closed"
wait "$pid_game" || fail "the program ended with an error"
pid_game=""
[ -f "$work/game/scores.ini" ] || fail "closing did not save the scores"
grep -q $'^GamesEnd=0\r$' "$work/game/scores.ini" || fail "the running game was counted as finished"
echo "1 passed, 0 failed"
