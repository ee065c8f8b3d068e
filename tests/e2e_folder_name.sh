#!/usr/bin/env bash
# A game folder whose name is not UTF-8 (a name from an 8-bit system,
# "café" in Latin-1): the game, started from elsewhere, finds its pictures
# there and saves its settings and scores there, and writes nothing outside.
set -euo pipefail
source "$(dirname "$0")/support/e2e_common.sh"

folder="$work/caf"$'\xe9'
mkdir -p "$folder/GFX"
cp "$game" "$folder/kelvor"
convert -size 4x4 xc:red "BMP3:$folder/GFX/sea.bmp"
printf '[Tolvane...]\r\nLaunches=1\r\nPicture=sea.bmp\r\n' >"$folder/Tolvane.ini"

start_display 800x600
launch "$folder/kelvor"
pid=$pid_game
find_window 'Tolvane: Kelvor' >/dev/null || fail "the game did not start"
kill -TERM "$pid"
wait "$pid" || fail "the game did not end cleanly"

grep -q '^Launches=2' "$folder/Tolvane.ini" || fail "the start was not counted in the game folder"
grep -q '^Picture=sea.bmp' "$folder/Tolvane.ini" || fail "the picture in GFX was not found"
[ -f "$folder/scores.ini" ] || fail "the scores were not saved in the game folder"
leftover=$(find "$work" -maxdepth 1 -type f ! -name log ! -name '*.log' | head -1)
[ -z "$leftover" ] || fail "the game wrote $leftover outside its folder"
grep -q "Unable to write" "$work/log" && fail "a save failed"
echo "ok"
