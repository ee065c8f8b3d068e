#!/usr/bin/env bash
# A family shares one installed game folder: it belongs to a group made for
# the test, is group-writable and setgid (chmod 2775), and two players made
# for the test are in that group. Everyone has the usual umask 022. The
# scores file is one that player A's other game of the family left there
# before, 644 as that umask made it. Root starts the game first (the setup
# dialog opens by itself) and ends it, which leaves the settings file and
# saves the scores; then player A and player B,
# each with the real game, deal a game, choose a background colour with
# "Apply" and close, and enter a best result through the game's own scores
# code; then A plays once more over B's files. No "Unable to write"
# anywhere, and every game, best result and setting is kept.
set -euo pipefail
source "$(dirname "$0")/support/e2e_common.sh"

if [ "$(id -u)" != 0 ] || ! command -v useradd >/dev/null; then
    echo "skipped: needs root and useradd to make two players"
    exit 77
fi
as_player=${KELVOR_AS_PLAYER:?the path of kelvor_as_player}
writer=${KELVOR_SCORES_WRITER:?the path of kelvor_scores_writer}
group=kelvor-test
players=(kelvor-test-a kelvor-test-b)
remove_players() {
    for player in "${players[@]}"; do userdel -f "$player" >/dev/null 2>&1 || true; done
    groupdel "$group" >/dev/null 2>&1 || true
}
trap 'cleanup; remove_players' EXIT
fail() {
    echo "FAIL: $*" >&2
    for log in "$work"/log*; do echo "--- $log" >&2; tail -n 20 "$log" >&2; done
    ls -ln "$work/game" >&2
    exit 1
}

remove_players # left by a run that was killed
groupadd "$group"
for player in "${players[@]}"; do
    useradd -M -N -g "$group" -d /nonexistent -s /usr/sbin/nologin "$player"
    mkdir -m 700 "$work/home-$player" "$work/run-$player"
    chown "$player:$group" "$work/home-$player" "$work/run-$player"
done
chmod 755 "$work"
mkdir -p "$work/game"
cp "$game" "$work/game/kelvor"
chgrp "$group" "$work/game"
chmod 2775 "$work/game"
printf '[Ravendell]\r\nGamesWas=7\r\n' >"$work/game/scores.ini"
chown "kelvor-test-a:$group" "$work/game/scores.ini"
chmod 644 "$work/game/scores.ini"

start_display 900x600
start_window_manager

# Starts the real game as `root` or a player, umask 022; its pid is
# $pid_game and its output goes to $work/log_<who>. A game that could not
# reach the display is started again, as launch() does.
start_as() {
    local who=$1
    for _ in 1 2 3; do
        if [ "$who" = root ]; then
            (cd "$work" && umask 022 && XDG_RUNTIME_DIR="$work" exec ./game/kelvor >>"$work/log_root" 2>&1) &
        else
            # No session bus of the player's own is started for the game
            # (it would outlive the test's players).
            (cd "$work" && HOME="$work/home-$who" XDG_RUNTIME_DIR="$work/run-$who" DBUS_SESSION_BUS_ADDRESS=disabled: \
                exec "$as_player" "$who" 022 ./game/kelvor >>"$work/log_$who" 2>&1) &
        fi
        pid_game=$!
        pids=("$pid_game" "${pids[@]}")
        sleep 0.3
        kill -0 "$pid_game" 2>/dev/null || ! grep -q "could not connect to display" "$work/log_$who" && return 0
        wait "$pid_game" 2>/dev/null || true
    done
}

# No message box ("Unable to write to ...") stands on the screen of $1.
no_message() {
    [ -z "$(xdotool search --onlyvisible --name '^Tolvane: Kelvor - hard$' 2>/dev/null)" ] \
        || fail "$1 was shown a message (\"Unable to write\")"
}

# The game of player $1 deals a game with F2, sets the background colour of
# grid cell $2 (4 to a row) with "Apply" in "Game setup", and closes.
play_as() {
    local who=$1 cell=$2 window dialog x y
    start_as "$who"
    window=$(main_window_of "$pid_game") || fail "$who: the game shows no window"
    sleep 0.5
    xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
    no_message "$who"
    xdotool key --window "$window" F2
    sleep 0.5
    no_message "$who"
    xdotool key --window "$window" F3
    dialog=$(find_window 'Game setup') || fail "$who: F3 did not open the setup dialog"
    sleep 0.5
    window_box "$dialog" x y _ _
    xdotool mousemove $((x + 8 + 48 * (cell % 4) + 24 + 4)) $((y + 192 + 17 * (cell / 4) + 8 + 25)) click 1
    sleep 0.3
    xdotool mousemove $((x + 256 + 37)) $((y + 304 + 12)) click 1
    sleep 0.5
    [ -z "$(xdotool search --onlyvisible --name '^Game setup$' 2>/dev/null)" ] \
        || fail "$who: \"Apply\" did not close the dialog"
    no_message "$who"
    grep -q "^BackColor=$cell"$'\r$' "$settings" || fail "$who: \"Apply\" did not store the colour"
    close_copy "$window" "$pid_game"
}

settings="$work/game/Tolvane.ini"
scores="$work/game/scores.ini"

# Root's first start, ended from outside as a session's end would.
start_as root
main_window_of "$pid_game" >/dev/null || fail "root: the game shows no window"
find_window 'Game setup' >/dev/null || fail "root: the first start did not open the setup dialog"
no_message root
kill -TERM "$pid_game"
wait "$pid_game" || fail "root: the game ended with an error"
[ -f "$settings" ] || fail "root's first start left no settings file"
grep -q $'^GamesWas=0\r$' "$scores" || fail "root's first start did not save the scores"

play_as kelvor-test-a 10
"$as_player" kelvor-test-a 022 "$writer" --best Ann 3 100 "$scores" 2>>"$work/log_kelvor-test-a" \
    || fail "A's best result was not saved"
play_as kelvor-test-b 9
"$as_player" kelvor-test-b 022 "$writer" --best Bob 5 200 "$scores" 2>>"$work/log_kelvor-test-b" \
    || fail "B's best result was not saved"
# A again, over the files B wrote last: a start and a close.
start_as kelvor-test-a
window=$(main_window_of "$pid_game") || fail "A's second start shows no window"
sleep 0.5
no_message kelvor-test-a
close_copy "$window" "$pid_game"

! grep -q "Unable to write" "$work"/log* || fail "a player was told \"Unable to write\""
grep -q $'^Launches=4\r$' "$settings" || fail "not every start was counted: $(tr -d '\r' <"$settings")"
grep -q $'^BackColor=9\r$' "$settings" || fail "A's start undid B's colour"
[ "$(grep -c $'^GamesWas=4\r$' "$scores")" = 2 ] || fail "a player's games were lost: $(tr -d '\r' <"$scores")"
[ "$(grep -c $'^GamesSucc=2\r$' "$scores")" = 2 ] || fail "a best result was not counted"
grep -q $'^1Name=Ann\r$' "$scores" && grep -q $'^2Name=Bob\r$' "$scores" || fail "a best result was lost"
grep -q $'^GamesWas=7\r$' "$scores" || fail "the other game's scores were lost"
# What stays in the folder is the group's to write, whoever wrote it last.
for file in "$settings" "$scores"; do
    [ "$(stat -c '%a %G' "$file")" = "664 $group" ] || fail "$(basename "$file") is $(stat -c '%a %U:%G' "$file")"
done
[ "$(ls -A "$work/game" | LC_ALL=C sort | tr '\n' ' ')" = "Tolvane.ini kelvor scores.ini " ] \
    || fail "the folder holds more than the game's files: $(ls -A "$work/game")"
echo "1 passed, 0 failed"
