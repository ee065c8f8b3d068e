#!/usr/bin/env bash
# The real game under Xvfb with the X server's own key repeat: F2 held for
# two seconds deals one game, and F2 with Alt none. Without a window manager,
# under openbox and under xfwm4: each window's frame hints, one taskbar
# button reading the program's title, F5 four times while the board keeps
# the keyboard, F2 and F4 acting after it and with Ctrl or Shift held.
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
# Whether the board's tiles look as in shot $1 (a pause hides them).
board_as() {
    import -window "$main" -crop 140x420+80+30 +repage "$work/now.png"
    [ "$(compare -metric AE "$work/$1.png" "$work/now.png" null: 2>&1 || true)" = 0 ]
}
# The window titled $1 shows with its frame hints: its window type $2 (a
# tool window is a toolbar first, without a window menu), a close box
# alone, off the taskbar.
stats_shown() { xdotool search --onlyvisible --name '^Game statistics$' >/dev/null 2>&1; }
check_side_window() {
    local id
    id=$(find_window "$1") || fail "$where: no window \"$1\""
    xprop -id "$id" _NET_WM_WINDOW_TYPE | grep -q "= _NET_WM_WINDOW_TYPE_$2" || fail "$where: \"$1\" is no $2"
    asks_close_box_only "$id" && xprop -id "$id" _NET_WM_STATE | grep -q SKIP_TASKBAR \
        && { [ "$2" != TOOLBAR ] || (( ($(xprop -id "$id" _MOTIF_WM_HINTS | cut -d, -f3) & 0x10) == 0 )); } \
        || fail "$where: \"$1\" has the wrong frame hints or is on the taskbar"
}

check_desktop() {
    where="$1"
    local games functions decorations
    to_main
    # Close and minimize, no maximize; the one taskbar button, with the title.
    read -r _ functions decorations _ <<<"$(xprop -id "$main" _MOTIF_WM_HINTS | sed 's/.*= //; s/,//g')"
    (( (functions & 0x38) == 0x28 && (decorations & 0x70) == 0x30 )) || fail "$where: main window's buttons"
    xprop -id "$main" _NET_WM_STATE | grep -q SKIP_TASKBAR && fail "$where: the main window is off the taskbar"
    [ "$(xprop -id "$main" WM_ICON_NAME _NET_WM_ICON_NAME | grep -c '= "Tolvane: Kelvor - hard"$')" = 2 ] \
        || fail "$where: the icon name is not the program's title"
    for showing in true false true false; do
        xdotool key F5
        poll "$showing" stats_shown || fail "$where: F5 did not toggle the statistics window"
        $showing && check_side_window 'Game statistics' TOOLBAR
        sleep 0.3
        [ "$(keyboard_window)" = "$main" ] || fail "$where: F5 took the keyboard from the board"
    done
    games=$(games_played)
    xdotool key F2
    expect_games $((games + 1)) "$where: F2 after F5"
    board_as now && cp "$work/now.png" "$work/dealt.png"
    xdotool key shift+F4
    poll false board_as dealt || fail "$where: Shift+F4 did not pause"
    xdotool key F4
    poll true board_as dealt || fail "$where: F4 did not resume"
    # Xfce keeps Ctrl+F1 to F12 for its workspaces.
    [ "$where" = xfwm4 ] || { xdotool key ctrl+F2; expect_games $((games + 2)) "$where: Ctrl+F2"; }
    xdotool key F3
    check_side_window 'Game setup' DIALOG
    escape 'Game setup'
    to_main
    xdotool mousemove --window "$main" 115 15 click 1
    check_side_window "About 'Tolvane...'" TOOLBAR
    escape "About 'Tolvane...'"
}
# Esc in the dialog titled $1 closes it.
escape() {
    local id
    id=$(find_window "$1")
    xdotool windowactivate --sync "$id" >/dev/null 2>&1 || xdotool windowfocus --sync "$id"
    xdotool key Escape
    poll false xdotool search --onlyvisible --name "^$1\$" || fail "$where: Esc did not close \"$1\""
}

start_display 800x600
start_game
main=$(find_window 'Tolvane: Kelvor') || fail "no main window"
sleep 0.5

hold_f2
expect_games 1 "F2 held without a window manager"
to_main
# F2 let go before Alt, as a player does (xdotool's "alt+F2" lets go of Alt first).
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
