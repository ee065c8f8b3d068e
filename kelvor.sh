#!/usr/bin/env bash
# Builds Kelvor and either starts the game or runs every test.
#   ./kelvor.sh run     build, then start the game from the build folder
#   ./kelvor.sh test    build, then run the whole test suite under ctest; then
#                       build the tests again with ASan and UBSan (build-asan)
#                       and run them with the fuzz corpus replays
# On a fresh Debian 12 machine it first installs the Debian packages it needs.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${KELVOR_BUILD_DIR:-$here/build}"
packages=(cmake g++ make qt6-base-dev libgl-dev fonts-dejavu-core fonts-liberation
          xvfb xauth xdotool imagemagick x11-utils openbox wmctrl
          binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
          clang-14 libclang-rt-14-dev)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

configure_and_build() {
    cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
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
        install_missing
        configure_and_build
        exec "$build/kelvor"
        ;;
    test)
        install_missing
        configure_and_build
        (cd "$build" && ctest --output-on-failure --parallel "$(nproc)" --timeout 600)
        checked_build_and_test
        ;;
    *)
        echo "usage: $0 run|test" >&2
        exit 2
        ;;
esac
