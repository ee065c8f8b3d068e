#!/usr/bin/env bash
# A skin library that kelvor-skin writes loads in Windows' own loader: a small
# Windows program (wine/load_skin.c), built with the mingw compiler and run
# under Wine, reads the texts and every bitmap of the shipped Ivory skin and
# of one rebuilt from it with a two-colour face, and finds what
# `kelvor-skin list` finds. Optional: without the compiler or Wine it says it
# is skipped (status 77).
# Arguments: the kelvor-skin program and the game folder's Skins folder.
set -euo pipefail
tool="$1"
skins="$2"
program="$(dirname "$0")/wine/load_skin.c"
source "$(dirname "$0")/support/skip.sh"

compiler=$(command -v x86_64-w64-mingw32-gcc || true)
wine=$(command -v wine64 || command -v /usr/lib/wine/wine64 || command -v wine || true)
if [ -z "$compiler" ] || [ -z "$wine" ]; then
    skip "needs x86_64-w64-mingw32-gcc (package gcc-mingw-w64-x86-64) and Wine (package wine64)"
fi
wineserver=$(command -v wineserver || command -v "$(dirname "$wine")/wineserver64" || true)

work="$(mktemp -d)"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
cleanup() {
    # Wine's server of this prefix lingers a few seconds after the program.
    [ -n "$wineserver" ] && "$wineserver" -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$compiler" -O1 -Wall -o "$work/load_skin.exe" "$program" -lgdi32 || fail "mingw could not build the checker"

# The library as Windows sees it against what `kelvor-skin list` reads.
check() {
    local library="$1" listed pictures seen texts
    listed=$("$tool" list "$library") || fail "kelvor-skin list $library"
    pictures=$(sed -n 's/^  \([0-9A-Z]*: [0-9]* x .*\)/\1/p' <<<"$listed")
    [ "$(wc -l <<<"$pictures")" -ge 29 ] || fail "kelvor-skin lists too few bitmaps in $library"
    seen=$("$wine" "$work/load_skin.exe" "Z:$library" $(cut -d: -f1 <<<"$pictures") | tr -d '\r') \
        || { echo "$seen"; fail "Windows' loader refused $library"; }
    echo "$seen"
    diff <(echo "$pictures") <(grep -v '^string ' <<<"$seen") \
        || fail "the bitmaps differ between kelvor-skin and Windows' loader"
    texts=$(sed -n 's/^string [0-9]*: //p' <<<"$seen")
    [ "$(sed -n 2p <<<"$texts")" = "$(sed -n 's/^backs: //p' <<<"$listed")" ] || fail "entry 2 is not the number of backs"
    while IFS= read -r text; do
        grep -Fqx -- "$text" <<<"$texts" || fail "Windows' loader finds no text \"$text\""
    done < <(sed -n 's/^  back [0-9]*: //p; s/^author: //p; s/^description: //p' <<<"$listed")
}

check "$skins/Ivory.dll"
"$tool" extract "$skins/Ivory.dll" "$work/two" >/dev/null || fail "kelvor-skin extract"
rm "$work/two/00bmp.bmp"
convert -size 30x60 xc:white +antialias -fill black -draw 'rectangle 10,10 19,49' "PNG24:$work/two/00bmp.png"
"$tool" build "$work/two" -o "$work/Two.dll" || fail "kelvor-skin build"
check "$work/Two.dll"
grep -qx '  00BMP: 30 x 60, 1 bit' <<<"$("$tool" list "$work/Two.dll")" || fail "the two-colour face was not written with 1 bit"
echo "1 passed, 0 failed"
