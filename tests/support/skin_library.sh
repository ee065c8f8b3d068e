# Shared by the end-to-end scripts that build a skin library of their own.
# Source it after support/e2e_common.sh, whose fail it uses.

# The script lines of the 28 faces, "00BMP" to "66BMP", all of the picture $1.
skin_face_lines() {
    local a b
    for a in 0 1 2 3 4 5 6; do
        for b in $(seq "$a" 6); do echo "\"$a${b}BMP\" BITMAP $1"; done
    done
}

# Builds the skin library $2 (a full path) from the resource script $1, whose
# pictures lie beside it, with the mingw windres and ld, as a skin's author
# on Windows builds one.
build_skin_library() {
    (cd "$(dirname "$1")" && x86_64-w64-mingw32-windres --preprocessor=cpp "$(basename "$1")" -O coff -o skin.o \
        && x86_64-w64-mingw32-ld -shared --entry=0 -o "$2" skin.o) \
        || fail "windres or ld could not build the skin"
}
