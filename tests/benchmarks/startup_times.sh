#!/usr/bin/env bash
# Start-up times of the real game under Xvfb, side by side with a bare Qt
# window that this script builds with the same Qt: the time from the start
# of the process to the splash window mapped and to the main window mapped,
# and the resident memory one second after the main window shows. Prints
# each run and the medians, and the goals they are held against.
#   tests/benchmarks/startup_times.sh [path/to/kelvor] [runs]
# A benchmark, not a test: it always exits 0 once it has measured.
set -euo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
game="$(realpath "${1:-$here/build/kelvor}")"
runs="${2:-7}"
work="$(mktemp -d)"
xvfb=""
cleanup() { [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

# The bare window: a QApplication and one shown QWidget of the game's size.
mkdir -p "$work/bare"
cat >"$work/bare/main.cpp" <<'CPP'
#include <QApplication>
#include <QWidget>
int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare Qt window"));
    window.resize(290, 470);
    window.show();
    return application.exec();
}
CPP
cat >"$work/bare/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(Bare LANGUAGES CXX)
set(CMAKE_CXX_STANDARD 20)
find_package(Qt6 REQUIRED COMPONENTS Widgets)
add_executable(bare main.cpp)
target_link_libraries(bare PRIVATE Qt6::Widgets)
CMAKE
cmake -S "$work/bare" -B "$work/bare/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$work/bare/build" >/dev/null

# A display number at random far above the usual ones, away from the
# displays that test runs of other checkouts take from 0 up.
for _ in 1 2 3 4 5; do
    export DISPLAY=":$((RANDOM % 900 + 100))"
    Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do
        kill -0 "$xvfb" 2>/dev/null || break
        xdpyinfo >/dev/null 2>&1 && break 2
        sleep 0.1
    done
    kill "$xvfb" 2>/dev/null || true
    xvfb=""
done
[ -n "$xvfb" ] || { echo "Xvfb did not start"; exit 1; }

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
# Milliseconds from $1 until a window titled exactly $2 is mapped, or
# "never" after ten seconds.
until_mapped() {
    local since="$1" name="$2"
    while [ $(( $(now_ms) - since )) -lt 10000 ]; do
        if xdotool search --onlyvisible --name "^$name\$" >/dev/null 2>&1; then
            echo $(( $(now_ms) - since ))
            return 0
        fi
    done
    echo "never"
}
rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status" 2>/dev/null || echo "gone"; }
end() { kill -TERM "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; }

# One game folder for every run: after a first start that is not counted,
# each run is a later start (no setup dialog).
mkdir -p "$work/game"
cp "$game" "$work/game/kelvor"
measure_game() {
    local start pid splash main rss
    start=$(now_ms)
    XDG_RUNTIME_DIR="$work" "$work/game/kelvor" >/dev/null 2>&1 &
    pid=$!
    splash=$(until_mapped "$start" 'Tolvane: Kelvor - hard')
    main=$(until_mapped "$start" 'Tolvane: Kelvor')
    sleep 1
    rss=$(rss_kb "$pid")
    end "$pid"
    echo "$splash $main $rss"
}
measure_bare() {
    local start pid shown rss
    start=$(now_ms)
    XDG_RUNTIME_DIR="$work" "$work/bare/build/bare" >/dev/null 2>&1 &
    pid=$!
    shown=$(until_mapped "$start" 'Bare Qt window')
    sleep 1
    rss=$(rss_kb "$pid")
    end "$pid"
    echo "$shown $rss"
}

measure_game >/dev/null
measure_bare >/dev/null
printf '%-5s %12s %12s %12s   %12s %12s\n' run "splash ms" "main ms" "RSS kB" "bare ms" "bare kB"
: >"$work/figures"
for run in $(seq "$runs"); do
    read -r splash main rss < <(measure_game)
    read -r bare bare_rss < <(measure_bare)
    printf '%-5s %12s %12s %12s   %12s %12s\n' "$run" "$splash" "$main" "$rss" "$bare" "$bare_rss"
    echo "$splash $main $rss $bare $bare_rss" >>"$work/figures"
done

# Runs in which a window never showed or the program was gone are left out.
grep -v -e never -e gone "$work/figures" >"$work/good" || true
[ -s "$work/good" ] || { echo "no run measured"; exit 1; }
mv "$work/good" "$work/figures"
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
m_splash=$(cut -d' ' -f1 "$work/figures" | median)
m_main=$(cut -d' ' -f2 "$work/figures" | median)
m_rss=$(cut -d' ' -f3 "$work/figures" | median)
m_bare=$(cut -d' ' -f4 "$work/figures" | median)
m_bare_rss=$(cut -d' ' -f5 "$work/figures" | median)
printf '%-5s %12s %12s %12s   %12s %12s\n' median "$m_splash" "$m_main" "$m_rss" "$m_bare" "$m_bare_rss"
echo
awk -v s="$m_splash" -v m="$m_main" -v r="$m_rss" -v b="$m_bare" -v br="$m_bare_rss" 'BEGIN {
    printf "splash mapped:  %d ms, goal within 1.3 x bare = %d ms: %s\n", s, 1.3 * b, (s <= 1.3 * b) ? "met" : "missed"
    printf "main mapped:    %d ms, goal within 2100 + 1.5 x bare = %d ms: %s\n", m, 2100 + 1.5 * b, (m <= 2100 + 1.5 * b) ? "met" : "missed"
    printf "resident:       %d kB, goal within 1.25 x bare = %d kB: %s\n", r, 1.25 * br, (r <= 1.25 * br) ? "met" : "missed"
}'
