/* A Windows program that opens a skin library the way the family's Windows
 * games do, through Windows' own loader, and prints what it finds:
 *
 *     load_skin.exe NAME.dll BITMAP...
 *
 * prints "string N: TEXT" for the string table's first entries and
 * "BITMAP: W x H, B bits" for each bitmap named (as kelvor-skin list
 * prints them), and exits with 1 when the
 * library does not load, entry 1 is not the family's marker, or a bitmap is
 * missing. The family's games are 32-bit; a 64-bit program maps a 32-bit
 * library as an image resource, which checks the same section layout and
 * resource lookup. */
#include <stdio.h>
#include <string.h>
#include <windows.h>

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: load_skin NAME.dll BITMAP...\n");
        return 2;
    }
    HMODULE library =
        LoadLibraryExA(argv[1], NULL, LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE);
    if (!library) {
        printf("FAIL: %s does not load (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    int failed = 0;
    char text[256];
    for (UINT id = 1; id <= 64; ++id) {
        if (LoadStringA(library, id, text, sizeof text) > 0)
            printf("string %u: %s\n", id, text);
    }
    if (LoadStringA(library, 1, text, sizeof text) <= 0 || strcmp(text, "Tolvane...") != 0) {
        printf("FAIL: entry 1 is not \"Tolvane...\"\n");
        failed = 1;
    }
    for (int i = 2; i < argc; ++i) {
        const char *name = argv[i];
        HRSRC found = FindResourceA(library, name, (LPCSTR)RT_BITMAP);
        HBITMAP bitmap = (HBITMAP)LoadImageA(library, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
        BITMAP info;
        if (!found || !bitmap || !GetObjectA(bitmap, sizeof info, &info)) {
            printf("FAIL: bitmap %s: %s\n", name, found ? "LoadImageA failed" : "FindResourceA found none");
            failed = 1;
            continue;
        }
        printf("%s: %ld x %ld, %u bit%s\n", name, info.bmWidth, info.bmHeight, info.bmBitsPixel,
               info.bmBitsPixel == 1 ? "" : "s");
        DeleteObject(bitmap);
    }
    FreeLibrary(library);
    return failed;
}
