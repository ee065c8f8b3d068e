#!/usr/bin/env bash
# Two copies of the real game share one game folder. Copy A starts and stays
# idle; copy B starts, opens "Game setup" with F3, picks another background
# colour, presses "Apply" and closes; then A closes. B's colour and both
# starts stay in Tolvane.ini, and so do the other game's settings.
set -euo pipefail
source "$(dirname "$0")/support/e2e_common.sh"

start_display 900x600
start_window_manager
mkdir -p "$work/game"
settings="$work/game/Tolvane.ini"
printf '[Tolvane...]\r\nLaunches=5\r\nPicture=*none*\r\nPosition=center\r\nBackColor=0\r\nLangPack=english\r\nBackSet=back001\r\nSetPack=*standart*\r\n[Ravendell]\r\nSpeed=3\r\n' >"$settings"
start_two_copies
sleep 0.5
grep -q $'^Launches=7\r$' "$settings" || fail "the two starts were not counted: $(cat "$settings")"

xdotool windowactivate --sync "$window_b" >/dev/null 2>&1 || true
xdotool key --window "$window_b" F3
dialog=$(find_window 'Game setup') || fail "F3 did not open the setup dialog"
sleep 0.5
window_box "$dialog" x y _ _
# The colour grid's third cell of its third row (index 10, green), below the
# page's tabs; then "Apply".
xdotool mousemove $((x + 8 + 48 * 2 + 24 + 4)) $((y + 192 + 17 * 2 + 8 + 25)) click 1
sleep 0.3
xdotool mousemove $((x + 256 + 37)) $((y + 304 + 12)) click 1
sleep 0.5
[ -z "$(xdotool search --onlyvisible --name '^Game setup$' 2>/dev/null)" ] || fail "\"Apply\" did not close the dialog"
grep -q $'^BackColor=10\r$' "$settings" || fail "\"Apply\" did not store the colour: $(cat "$settings")"

close_copy "$window_b" "$pid_b"
close_copy "$window_a" "$pid_a"

grep -q $'^BackColor=10\r$' "$settings" || fail "closing A undid B's colour: $(cat "$settings")"
grep -q $'^Launches=7\r$' "$settings" || fail "closing A lost B's start: $(cat "$settings")"
grep -q $'^Speed=3\r$' "$settings" || fail "the other game's settings were lost"
echo "1 passed, 0 failed"
