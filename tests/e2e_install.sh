#!/usr/bin/env bash
# `cmake --install` into a fresh prefix: a complete game folder with the
# command, the menu entry and the icons; the installed game started by its
# command writes beside itself; installed where the player may not write,
# it names the file it could not write, once, and plays all the same.
set -euo pipefail
source "$(dirname "$0")/support/e2e_common.sh"

prefix="$work/prefix"
cmake --install "$(dirname "$game")" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "install"; }
folder="$prefix/lib/kelvor"
for path in "$folder/kelvor" "$folder/GFX" "$folder/Skins" "$folder/LNG" "$prefix/bin/kelvor"; do
    [ -e "$path" ] || fail "$path was not installed"
done
desktop="$prefix/share/applications/kelvor.desktop"
grep -qx 'Name=Tolvane: Kelvor - hard' "$desktop" || fail "the menu entry's name"
grep -qx "Exec=\"$folder/kelvor\"" "$desktop" || fail "the menu entry does not start the installed game"
for size in 16 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/kelvor.png"
    [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}" ] || fail "no ${size}x${size} icon"
done

start_display 800x600
count_titled() { { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true; } | wc -l; }

# Started by its command in bin, the game keeps its files in its own folder.
launch "$prefix/bin/kelvor"
pid=$pid_game
find_window 'Tolvane: Kelvor' >/dev/null || fail "the installed game did not start"
kill -TERM "$pid"
wait "$pid" || fail "the installed game did not end cleanly"
[ -f "$folder/Tolvane.ini" ] && [ -f "$folder/scores.ini" ] || fail "the game did not write beside itself"

# A player who may not write the game folder.
rm -f "$folder/Tolvane.ini" "$folder/scores.ini"
chmod 755 "$work"
mkdir -m 700 "$work/run" && chown nobody "$work/run"
launch runuser -u nobody -- env XDG_RUNTIME_DIR="$work/run" "$prefix/bin/kelvor"
pid=$pid_game
# The message stands over the splash window, both titled as the program.
boxes=0
for _ in $(seq 100); do
    boxes=$(count_titled 'Tolvane: Kelvor - hard')
    [ "$boxes" -ge 2 ] && break
    sleep 0.1
done
[ "$boxes" -ge 2 ] || fail "no message about the settings file"
xdotool key Return
main=$(find_window 'Tolvane: Kelvor') || fail "the game did not go on after the message"
sleep 0.3
[ "$(count_titled 'Tolvane: Kelvor - hard')" = 0 ] || fail "a second message at the start"
# The game itself is the child of runuser.
kill -TERM "$(pgrep -P "$pid" | head -1)"
wait "$pid" || fail "the game did not end cleanly"
[ ! -e "$folder/Tolvane.ini" ] || fail "a settings file appeared where the player may not write"
grep -q "Unable to write to $folder/scores.ini" "$work/log" || fail "the failed save at the end was not told"
echo "1 passed, 0 failed"
