#!/usr/bin/env bash
# `cmake --install --strip` into a prefix whose name holds a space: a
# complete game folder with the tools, the commands, the menu entry and the
# AppStream metainfo (both valid), the icons, stripped programs; the
# installed game started by its command writes beside itself, and an
# install while it runs replaces it; installed
# where the player may not write, it names the file it could not write,
# once, and plays all the same. Then kelvor-uninstall leaves the prefix as
# it was, but for the scores the game folder keeps.
set -euo pipefail
source "$(dirname "$0")/support/e2e_common.sh"

prefix="$work/a prefix"
# What was there before: a folder of the install's that exists, empty, and
# another program's menu entry, both of which the uninstall leaves alone.
mkdir -p "$prefix/bin" "$prefix/share/applications"
echo "[Desktop Entry]" >"$prefix/share/applications/another game.desktop"
listing() { (cd "$prefix" && find . | LC_ALL=C sort); }
listing >"$work/before"
install_game() {
    cmake --install "$(dirname "$game")" --prefix "$prefix" --strip >"$work/install.log" 2>&1 ||
        { cat "$work/install.log"; fail "install"; }
}
install_game
folder="$prefix/lib/kelvor"
for path in "$folder/kelvor" "$folder/kelvor-skin" "$folder/kelvor-lngcheck" "$folder/Skins/Ivory.dll" \
            "$folder/GFX" "$folder/LNG/deutsch.lng" "$prefix/bin/kelvor" "$prefix/bin/kelvor-skin" \
            "$prefix/bin/kelvor-lngcheck" "$prefix/bin/kelvor-uninstall"; do
    [ -e "$path" ] || fail "$path was not installed"
done
for program in kelvor kelvor-skin kelvor-lngcheck; do
    ! readelf -S "$folder/$program" | grep -q '\.debug_\|\.symtab' || fail "$program is not stripped"
done
"$prefix/bin/kelvor-lngcheck" "$folder/LNG/deutsch.lng" >/dev/null || fail "kelvor-lngcheck does not run from bin"
"$prefix/bin/kelvor-skin" check "$folder/Skins/Ivory.dll" >/dev/null || fail "kelvor-skin does not run from bin"
app_id=com.example.brindlewick.kelvor
desktop="$prefix/share/applications/$app_id.desktop"
metainfo="$prefix/share/metainfo/$app_id.metainfo.xml"
grep -qx 'Name=Tolvane: Kelvor - hard' "$desktop" || fail "the menu entry's name"
grep -qx "Exec=\"$folder/kelvor\"" "$desktop" || fail "the menu entry does not start the installed game"
grep -qx 'Categories=Game;BoardGame;' "$desktop" || fail "the menu entry's categories"
for key in 'Name\[de\]' 'Name\[fr\]' 'Comment\[de\]' 'Comment\[fr\]' 'Keywords=domino;solitaire;patience'; do
    grep -q "^$key" "$desktop" || fail "the menu entry has no $key"
done
desktop-file-validate "$desktop" || fail "desktop-file-validate refuses the menu entry"
appstreamcli validate --no-net --pedantic "$metainfo" || fail "appstreamcli refuses the metainfo"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop<" "$metainfo" || fail "the metainfo names another menu entry"
grep -q '<release version="1.8"' "$metainfo" || fail "the metainfo does not name the release 1.8"
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
# Installed again while it runs, as after an update: the new program goes
# beside the running one.
touch -d 2000-01-01 "$folder/kelvor"
install_game
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

# Installed twice, then uninstalled: what the install put there goes, with
# the folders it made; the player's scores stay in the game folder.
install_game
echo "[Kelvor]" >"$folder/scores.ini"
"$prefix/bin/kelvor-uninstall" >"$work/uninstall.log" || { cat "$work/uninstall.log"; fail "kelvor-uninstall"; }
{ cat "$work/before"; printf '%s\n' ./lib ./lib/kelvor ./lib/kelvor/scores.ini; } | LC_ALL=C sort >"$work/expected"
listing >"$work/after"
diff "$work/expected" "$work/after" || fail "the uninstall left the prefix otherwise than it found it"
echo "1 passed, 0 failed"
