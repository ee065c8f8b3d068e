#!/usr/bin/env bash
# Builds Kelvor and either installs and starts the game or runs every test.
#   ./kelvor.sh run        build the game alone (no tests), install it for
#                          this player under ~/.local (KELVOR_PREFIX) and
#                          start the installed game
#   ./kelvor.sh test       build everything, then run the whole test suite
#                          under ctest; then build the tests again with ASan
#                          and UBSan (build-asan) and run them with the fuzz
#                          corpus replays
#   ./kelvor.sh uninstall  remove what `run` installed (the scores and
#                          settings stay in the game folder)
#   ./kelvor.sh packages run|test   print the Debian packages each needs
# On a fresh Debian 12 machine it first installs the Debian packages it needs.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${KELVOR_BUILD_DIR:-$here/build}"
prefix="${KELVOR_PREFIX:-$HOME/.local}"

# Building and playing the game, with Qt's own texts in the desktop's language.
run_packages=(cmake g++ make qt6-base-dev libgl-dev fonts-liberation fonts-dejavu-core qt6-translations-l10n qt6-wayland)
# (qt6-wayland: the game runs in a Wayland session without XWayland, or
# natively when the player asks for it.)
# The tests besides: a virtual display and what drives and reads it, two window
# managers, a Wayland compositor with XWayland, the MinGW binutils for the
# test skins, clang for the checked build, the accessibility bus, and the
# validators of the installed files.
test_packages=("${run_packages[@]}"
               xvfb xauth xdotool imagemagick x11-utils openbox xfwm4 wmctrl weston xwayland
               binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
               clang-14 libclang-rt-14-dev
               python3 at-spi2-core python3-pyatspi dbus dbus-x11
               appstream desktop-file-utils)

# install_missing [apt-get options] -- packages...
install_missing() {
    local options=()
    while [ "$1" != "--" ]; do options+=("$1"); shift; done
    shift
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${options[@]}" "${missing[@]}"
}

# configure_and_build ON|OFF [cmake options]: with or without the tests and
# benchmarks.
configure_and_build() {
    local tests="$1"
    shift
    cmake -S "$here" -B "$build" "$@" -DKELVOR_TESTS="$tests" >/dev/null
    cmake --build "$build" --parallel "$(nproc)"
}

# The checked build: the tests again, built by clang with AddressSanitizer
# and UndefinedBehaviorSanitizer, plus the fuzz targets replaying their saved
# corpus. The end-to-end scripts run in the plain build only (they test the
# windows, not memory, and take long under the sanitizers).
checked_build_and_test() {
    local checked="${KELVOR_CHECKED_BUILD_DIR:-$build-asan}"
    CC=clang-14 CXX=clang++-14 cmake -S "$here" -B "$checked" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKELVOR_FUZZ=ON >/dev/null
    cmake --build "$checked" --parallel "$(nproc)"
    (cd "$checked" && ctest --output-on-failure --parallel "$(nproc)" --timeout 600 -LE e2e)
}

case "${1:-}" in
    run)
        # Only what the game needs, without the packages Debian merely
        # recommends beside them (a GTK theme, OpenGL headers, ...).
        install_missing --no-install-recommends -- "${run_packages[@]}"
        # A new build folder is built for playing: optimized as usual (-O2),
        # without debug information. One the tests configured keeps its
        # build type, so only what the game lacks is built.
        type=()
        [ -f "$build/CMakeCache.txt" ] ||
            type=(-DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG")
        configure_and_build OFF "${type[@]}"
        cmake --install "$build" --prefix "$prefix" --strip >/dev/null
        echo "Kelvor is installed in $prefix/lib/kelvor; its scores and settings are kept there."
        exec "$prefix/bin/kelvor"
        ;;
    test)
        install_missing -- "${test_packages[@]}"
        configure_and_build ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
        (cd "$build" && ctest --output-on-failure --parallel "$(nproc)" --timeout 600)
        checked_build_and_test
        ;;
    uninstall)
        exec "$prefix/bin/kelvor-uninstall"
        ;;
    packages)
        case "${2:-}" in
            run) echo "${run_packages[*]}" ;;
            test) echo "${test_packages[*]}" ;;
            *) echo "usage: $0 packages run|test" >&2; exit 2 ;;
        esac
        ;;
    *)
        echo "usage: $0 run|test|uninstall|packages run|test" >&2
        exit 2
        ;;
esac
