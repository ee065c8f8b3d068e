#!/usr/bin/env bash
# A message box while the windows are being created or during the start-up,
# under a window manager: the box stands in front of the splash window, and
# once the player has answered it with Enter the start-up runs on to the
# main window and counts the start in the settings file.
set -euo pipefail
source "$(dirname "$0")/support/e2e_common.sh"
source "$(dirname "$0")/support/skin_library.sh"

start_display 800x600
start_window_manager
width() { xwininfo -id "$1" 2>/dev/null | awk '/Width:/ {print $2}'; }
# The program's windows titled "Tolvane: Kelvor - hard" other than the splash
# window (190 pixels wide): its message boxes.
boxes() {
    local id
    for id in $(xdotool search --onlyvisible --name '^Tolvane: Kelvor - hard$' 2>/dev/null || true); do
        [ "$(width "$id")" = 190 ] || echo "$id"
    done
}
splash_id() {
    local id
    for id in $(xdotool search --onlyvisible --name '^Tolvane: Kelvor - hard$' 2>/dev/null || true); do
        [ "$(width "$id")" = 190 ] && { echo "$id"; return; }
    done
}
# Whether window $1 stands above window $2 in the window manager's stacking.
above() {
    local stacking order=() id
    stacking=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g')
    for id in $stacking; do order+=($((id))); done
    local i a=-1 b=-1
    for i in "${!order[@]}"; do
        [ "${order[$i]}" = "$1" ] && a=$i
        [ "${order[$i]}" = "$2" ] && b=$i
    done
    [ "$a" -gt "$b" ]
}

# A skin whose marker is right but that has no back: an unfinished skin.
build_skin_without_back() {
    local skin="$work/skin"
    mkdir -p "$skin" "$work/game/Skins"
    convert -size 30x60 xc:'rgb(255,0,0)' -type TrueColor "BMP3:$skin/face.bmp"
    {
        printf 'STRINGTABLE\nBEGIN\n1 "Tolvane..."\n2 "1"\n3 "None yet"\n4 "0"\n5 "The tests"\n6 "Unfinished"\nEND\n'
        skin_face_lines face.bmp
    } >"$skin/skin.rc"
    build_skin_library "$skin/skin.rc" "$work/game/Skins/NoBack.dll"
}

for input in launches picture skin scores; do
    [ -n "${pid_game:-}" ] && kill -0 "$pid_game" 2>/dev/null && fail "a game of the last round still runs"
    rm -rf "$work/game"
    mkdir -p "$work/game/GFX"
    first_start=
    case "$input" in
    launches) printf '[Tolvane...]\r\nLaunches=abc\r\n' >"$work/game/Tolvane.ini" ;;
    picture)
        head -c 4096 /dev/urandom >"$work/game/GFX/Broken.bmp"
        printf '[Tolvane...]\r\nLaunches=3\r\nPicture=Broken.bmp\r\n' >"$work/game/Tolvane.ini" ;;
    skin)
        build_skin_without_back
        printf '[Tolvane...]\r\nLaunches=3\r\nSetPack=NoBack.dll\r\n' >"$work/game/Tolvane.ini" ;;
    scores)
        printf '[Kelvor]\r\nGamesWas=lots\r\n' >"$work/game/scores.ini"
        printf '[Tolvane...]\r\nLaunches=3\r\n' >"$work/game/Tolvane.ini" ;;
    esac
    start_game

    # Every box is answered with Enter, until the main window shows.
    answered=0 main=""
    for _ in $(seq 300); do
        main=$(xdotool search --onlyvisible --name '^Tolvane: Kelvor$' 2>/dev/null | head -1 || true)
        [ -n "$main" ] && break
        box=$(boxes | head -1)
        if [ -n "$box" ]; then
            sleep 0.3 # the window manager has stacked it
            splash=$(splash_id)
            [ -z "$splash" ] || above "$box" "$splash" || fail "$input: the message box stands behind the splash window"
            xdotool windowactivate --sync "$box" key Return 2>/dev/null || true
            answered=$((answered + 1))
            for _ in $(seq 50); do mapped "$box" || break; sleep 0.1; done
        fi
        sleep 0.1
    done
    [ "$answered" -ge 1 ] || fail "$input: no message box showed"
    [ -n "$main" ] || fail "$input: no main window after $answered answered message boxes"
    [ -z "$(splash_id)" ] || fail "$input: the splash window stayed with the main window"
    case "$input" in
    launches)
        [ "$(launches)" = 1 ] || fail "$input: the start was not counted as the first"
        setup=$(find_window 'Game setup') || fail "$input: the first start did not open the setup dialog"
        xdotool windowactivate --sync "$setup" key Escape 2>/dev/null || true ;;
    *) [ "$(launches)" = 4 ] || fail "$input: the start was not counted" ;;
    esac
    for _ in $(seq 50); do [ -z "$(xdotool search --onlyvisible --name '^Game setup$' 2>/dev/null)" ] && break; sleep 0.1; done
    wmctrl -i -c "$main"
    status=0
    wait "$pid_game" || status=$?
    [ "$status" = 0 ] || fail "$input: closing ended the program with status $status"
    echo "$input: $answered message box(es), then the main window"
done
echo "1 passed, 0 failed"
