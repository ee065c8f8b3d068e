#!/usr/bin/env bash
# The real game in a Wayland session (weston, with XWayland), started as a
# player's desktop starts it: once with XWayland there, where it chooses to
# run as an X11 program, and once with Wayland alone, where it runs
# natively. In both, in the compositor's pictures: the splash window's logo,
# its three step texts and its version line; F5 shows the statistics window
# and a second F5 (the keyboard still the main window's) takes it away; a
# signal to end ends it cleanly. Natively besides: the statistics window
# stands beside the board, not over it; minimized with the frame's button,
# the board takes the statistics window along and its clock stands still
# until the player brings it back (Super+Tab, weston's window switcher),
# then goes on.
set -euo pipefail
source "$(dirname "$0")/support/e2e_common.sh"

watch="${KELVOR_SPLASH_WATCH:-$(dirname "$game")/tests/kelvor_splash_watch}"
[ -x "$watch" ] || fail "no $watch"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
start_display 1024x768
start_compositor 1000x700
width=${compositor_size%x*}

shot() { compositor_shot "$work/$1.png"; }
# The box of the game's windows in picture $1, as "w h x y".
box_of() { windows_box "$work/$1.png" | tr 'x+' '  '; }

# Waits until picture $1, taken again and again, differs from picture $2
# (or, with "same", equals it) in box $3; within ten seconds.
shot_until() {
    local name="$1" other="$2" box="$3" want="$4"
    for _ in $(seq 50); do
        shot "$name"
        local changed
        changed=$(pixels_changed "$work/$name.png" "$work/$other.png" "$box")
        if [ "$want" = same ]; then [ "$changed" = 0 ] && return 0; else [ "$changed" != 0 ] && return 0; fi
        sleep 0.2
    done
    return 1
}

# Starts the game as session $1 starts it (native: Wayland alone;
# xwayland: Wayland with XWayland) and checks what the splash window showed.
start_in_session() {
    park_pointer
    # Now and then the display refuses the watch its connection: it gets
    # three tries, before the game starts.
    local watcher
    for _ in 1 2 3; do
        echo "$compositor" | "$watch" 60 find >"$work/splash_$1.txt" 2>>"$work/watch.log" &
        watcher=$!
        pids+=("$watcher")
        sleep 0.5
        kill -0 "$watcher" 2>/dev/null && break
    done
    if [ "$1" = native ]; then
        WAYLAND_DISPLAY="$wayland_socket" XDG_SESSION_TYPE=wayland DISPLAY='' start_game
    else
        WAYLAND_DISPLAY="$wayland_socket" XDG_SESSION_TYPE=wayland DISPLAY="$xwayland" start_game
    fi
    for _ in $(seq 600); do kill -0 "$watcher" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$watcher" 2>/dev/null && fail "$1: the splash window did not go"
    local seen="$work/splash_$1.txt"
    awk '$2 > 1000 {found = 1} END {exit !found}' "$seen" || fail "$1: the splash window never showed its logo"
    [ "$(step_texts_seen "$seen" | grep -c .)" = 3 ] \
        || fail "$1: the splash window showed $(step_texts_seen "$seen" | grep -c .) step texts, not 3"
    awk '$6 > 20 {found = 1} END {exit !found}' "$seen" || fail "$1: the splash window never showed its version line"

    # The main window alone on the screen, its picture settled.
    local settled=no
    shot main
    for _ in $(seq 40); do
        sleep 1
        cp "$work/main.png" "$work/main_before.png"
        shot main
        read -r w h x y <<<"$(box_of main)"
        [ "$w" -ge 290 ] && [ "$h" -ge 470 ] && [ "$(pixels_changed "$work/main.png" "$work/main_before.png")" = 0 ] \
            && { settled=yes; break; }
    done
    [ "$settled" = yes ] || fail "$1: no main window on the screen"
}

# The main window moved by its title bar (the player's pointer) to the left
# edge, when the statistics window would not fit beside it.
make_room() {
    (( x + w + 330 <= width )) && return 0
    xdotool mousemove $((x + w / 3)) $((y + 8)) mousedown 1
    for step in 1 2 3 4 5; do xdotool mousemove $((x + w / 3 - step * x / 5)) $((y + 8)); sleep 0.1; done
    xdotool mouseup 1
    park_pointer
    sleep 0.5
    shot main
    read -r w h x y <<<"$(box_of main)"
    (( x + w + 330 <= width )) || fail "$1: the main window could not be moved to make room (at $x,$y)"
}

# F5 shows the statistics window (beside the board, not over it, where the
# game places it: "placed") and leaves the keyboard to the main window; F5
# again takes it away.
check_statistics_key() {
    local main_box="${w}x${h}+${x}+${y}" inside outside
    xdotool key F5
    shot_until stats main "${width}x${compositor_size#*x}+0+0" differs || fail "$1: F5 showed nothing"
    sleep 0.5
    shot stats
    inside=$(pixels_changed "$work/main.png" "$work/stats.png" "$main_box")
    outside=$(( $(pixels_changed "$work/main.png" "$work/stats.png") - inside ))
    if [ "${2:-}" = placed ]; then
        # The pressed Stats button is all that changes on the main window.
        (( inside < 2000 )) || fail "$1: the statistics window came over the board ($inside pixels changed)"
        (( outside > 50000 )) || fail "$1: no statistics window beside the board ($outside pixels)"
    else
        (( inside + outside > 50000 )) || fail "$1: no statistics window ($((inside + outside)) pixels)"
    fi
    xdotool key F5
    shot_until back main "${width}x${compositor_size#*x}+0+0" same \
        || fail "$1: a second F5 did not take the statistics window away"
}

# Minimized, the clock stands still; brought back, it goes on. A picture
# tells only if it was taken within a second of the tick before it (the
# minimize) and of the clock's restart (the return): on a busy machine a
# round that took longer is played again, up to three times.
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
check_minimize() {
    local main_box="${w}x${h}+${x}+${y}" before shot_at back_at
    xdotool key F2
    sleep 1
    for round in 1 2 3; do
        before=$(now_ms)
        shot tick_before
        for _ in $(seq 50); do
            shot_at=$(now_ms)
            shot tick_after
            [ "$(pixels_changed "$work/tick_before.png" "$work/tick_after.png" "$main_box")" != 0 ] && break
            before=$shot_at
        done
        [ "$(pixels_changed "$work/tick_before.png" "$work/tick_after.png" "$main_box")" != 0 ] \
            || fail "$1: the clock did not run"
        "minimize_$1"
        local timely=yes
        (( $(now_ms) - before < 850 )) || timely=no
        park_pointer
        gone=no
        for _ in $(seq 50); do
            shot minimized
            [ "$(box_of minimized)" = "0 0 $((width - 4)) $((${compositor_size#*x} - 4))" ] && { gone=yes; break; }
            sleep 0.1
        done
        [ "$gone" = yes ] || fail "$1: the minimize button did not take the windows away ($(box_of minimized))"
        sleep 2.5
        back_at=$(now_ms)
        xdotool keydown super key Tab keyup super
        for _ in $(seq 50); do
            shot_at=$(now_ms)
            shot restored
            [ "$(pixels_changed "$work/minimized.png" "$work/restored.png")" != 0 ] && break
        done
        [ "$(pixels_changed "$work/minimized.png" "$work/restored.png")" != 0 ] \
            || fail "$1: Super+Tab did not bring the board back"
        (( shot_at - back_at < 850 )) || timely=no
        [ "$timely" = yes ] || [ "$round" = 3 ] || continue
        [ "$(pixels_changed "$work/tick_after.png" "$work/restored.png" "$main_box")" = 0 ] \
            || fail "$1: the clock ran while the board was minimized"
        sleep 2.2
        shot restored_later
        [ "$(pixels_changed "$work/restored.png" "$work/restored_later.png" "$main_box")" != 0 ] \
            || fail "$1: the clock stood still after the board came back"
        return 0
    done
}

end_game() {
    kill -TERM "$pid_game"
    local status=0
    wait "$pid_game" || status=$?
    [ "$status" = 0 ] || fail "$1: the signal to end ended the program with status $status"
}

# Wayland with XWayland: the game is an X11 program there. Weston places a
# new X11 window itself, where it likes, as it does a Wayland one (KDE's and
# GNOME's compositors put it where the program asks): the statistics window
# may stand over the board here.
start_in_session xwayland
DISPLAY="$xwayland" xdotool search --name '^Tolvane: Kelvor$' >/dev/null 2>&1 \
    || fail "xwayland: the game did not choose XWayland"
make_room xwayland
check_statistics_key xwayland
# Weston gives an X11 window no way to be minimized (no button in the frame
# it draws, no answer to a taskbar's request): the X11 minimize is
# e2e_windows.sh's, under openbox.
end_game xwayland

# Wayland alone: a native Wayland client.
start_in_session native
make_room native
check_statistics_key native placed
# The minimize button of the frame Qt draws, the third from its right.
minimize_native() { xdotool mousemove $((x + w - 61)) $((y + 17)) click 1; }
check_minimize native
end_game native
echo "1 passed, 0 failed"
