#!/usr/bin/env bash
# The real game under Xvfb with the X server's own key repeat and real key
# events: F2 held for two seconds deals one game, without and then with a
# window manager, and F2 with Alt deals none. Without a window manager, under
# openbox and under xfwm4: each window asks for the frame it is designed
# with, only the main window has a taskbar button and it reads the program's
# title, F5 shows and hides the statistics window four times while the board
# keeps the keyboard, so that F2 and F4 still act, and F2 and F4 act with
# Ctrl or Shift held.
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
to_main() { xdotool windowactivate --sync "$main" >/dev/null 2>&1 || xdotool windowfocus --sync "$main"; }
hold_f2() {
    to_main
    xdotool keydown F2
    sleep 2
    xdotool keyup F2
}

# The window that has the keyboard: the active one, or without a window
# manager the focused one.
keyboard_window() { xdotool getactivewindow 2>/dev/null || xdotool getwindowfocus; }
# The board's tiles, as pixels: a pause hides them.
board_shot() { import -window "$main" -crop 140x420+80+30 +repage "$work/$1.png"; }
same() { [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 || true)" = 0 ]; }
# Waits for the board to look like shot $1 ("same") or not ("other").
expect_board() {
    for _ in $(seq 50); do
        board_shot now
        if same "$1" now; then [ "$2" = same ] && return 0; else [ "$2" = other ] && return 0; fi
        sleep 0.1
    done
    fail "$3"
}
# The window titled $1 once it shows, and its frame hints: its window type
# ($2: a tool window is a toolbar first), a close box alone (on a tool
# window without a window menu), off the taskbar.
check_side_window() {
    local id
    id=$(find_window "$1") || fail "$where: no window \"$1\""
    xprop -id "$id" _NET_WM_WINDOW_TYPE | grep -q "= _NET_WM_WINDOW_TYPE_$2" || fail "$where: \"$1\" is not a $2 window"
    asks_close_box_only "$id" || fail "$where: \"$1\" asks for more than a close box"
    # A tool window's title bar has no window menu.
    if [ "$2" = TOOLBAR ]; then
        (( ($(xprop -id "$id" _MOTIF_WM_HINTS | sed 's/.*= //' | cut -d, -f3) & 0x10) == 0 )) \
            || fail "$where: \"$1\" asks for a window menu"
    fi
    xprop -id "$id" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "$where: \"$1\" is on the taskbar"
}

check_desktop() {
    where="$1"
    local games
    to_main
    # Close and minimize, no maximize; the one taskbar button.
    local functions decorations
    read -r _ functions decorations _ <<<"$(xprop -id "$main" _MOTIF_WM_HINTS | sed 's/.*= //; s/,//g')"
    (( (functions & 0x38) == 0x28 && (decorations & 0x70) == 0x30 )) \
        || fail "$where: the main window asks for the wrong buttons ($functions, $decorations)"
    xprop -id "$main" _NET_WM_STATE | grep -q SKIP_TASKBAR && fail "$where: the main window is off the taskbar"
    for name in WM_ICON_NAME _NET_WM_ICON_NAME; do
        xprop -id "$main" "$name" | grep -q '= "Tolvane: Kelvor - hard"$' || fail "$where: $name is not the title"
    done

    for showing in yes no yes no; do
        xdotool key F5
        for _ in $(seq 50); do
            xdotool search --onlyvisible --name '^Game statistics$' >/dev/null 2>&1 && now=yes || now=no
            [ "$now" = "$showing" ] && break
            sleep 0.1
        done
        [ "$now" = "$showing" ] || fail "$where: F5 did not toggle the statistics window"
        [ "$showing" = yes ] && check_side_window 'Game statistics' TOOLBAR
        sleep 0.3
        [ "$(keyboard_window)" = "$main" ] || fail "$where: F5 took the keyboard from the board"
    done

    games=$(games_played)
    xdotool key F2
    expect_games $((games + 1)) "$where: F2 after F5"
    board_shot dealt
    xdotool key shift+F4
    expect_board dealt other "$where: Shift+F4 did not pause"
    xdotool key F4
    expect_board dealt same "$where: F4 did not resume"
    # Xfce keeps Ctrl+F1 to F12 for its workspaces.
    if [ "$where" != xfwm4 ]; then
        xdotool key ctrl+F2
        expect_games $((games + 2)) "$where: Ctrl+F2"
    fi

    xdotool key F3
    check_side_window 'Game setup' DIALOG
    xdotool key Escape
    to_main
    xdotool mousemove --window "$main" 115 15 click 1
    check_side_window "About 'Tolvane...'" TOOLBAR
    xdotool key Escape
    sleep 0.5
}

start_display 800x600
start_game
main=$(find_window 'Tolvane: Kelvor') || fail "no main window"
sleep 0.5

hold_f2
expect_games 1 "F2 held without a window manager"
to_main
# Let go in the order a player lets go, F2 first (xdotool's "alt+F2" lets
# go of Alt first, and F2 then comes up bare).
xdotool keydown alt key F2 keyup alt
sleep 0.5
expect_games 1 "Alt+F2"
check_desktop "no window manager"

start_window_manager
sleep 0.5
games=$(games_played)
hold_f2
expect_games $((games + 1)) "F2 held with a window manager"
check_desktop openbox
start_window_manager xfwm4
sleep 1
check_desktop xfwm4
echo "1 passed, 0 failed"
