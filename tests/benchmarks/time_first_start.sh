#!/usr/bin/env bash
# How long a newcomer waits: from `./kelvor.sh run` on a fresh Debian 12 to
# the splash window on the screen, package installation included.
#
# Makes a fresh Debian 12 root with debootstrap (once, not counted: it stands
# for the newly installed machine, and is kept in WORK/base for later runs),
# copies it, gives it the machine's apt sources, clones the committed state
# of this repository into it (/root/kelvor) and runs `./kelvor.sh run` there
# as root under chroot, in a mount namespace of its own, on the display of
# an Xvfb this script starts. The clock starts with `./kelvor.sh run` and
# stops when a window titled "Tolvane: Kelvor - hard" (the splash) is
# mapped. Prints each line of kelvor.sh with its second, the phases and the
# load of the machine.
#   tests/benchmarks/time_first_start.sh [WORK]   as root; WORK defaults to
#                                                 /var/tmp/kelvor-first-start
# Needs debootstrap, xvfb, xdotool and x11-utils. A benchmark, not a test.
set -euo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
work="${1:-/var/tmp/kelvor-first-start}"
limit_s=900
[ "$(id -u)" -eq 0 ] || { echo "run as root (debootstrap and chroot)" >&2; exit 2; }
mkdir -p "$work"

if [ ! -x "$work/base/bin/bash" ]; then
    echo "Making a fresh Debian 12 in $work/base (not timed)"
    rm -rf "$work/base"
    debootstrap bookworm "$work/base" http://deb.debian.org/debian >"$work/debootstrap.log" 2>&1 ||
        { tail "$work/debootstrap.log"; exit 1; }
fi
root="$work/run"
rm -rf "$root" "$work/session"
cp -a "$work/base" "$root"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# The machine's apt sources (a fresh install has the updates and security
# suites too), in place of debootstrap's one line.
rm -f "$root/etc/apt/sources.list"
[ -f /etc/apt/sources.list ] && cp /etc/apt/sources.list "$root/etc/apt/sources.list"
find /etc/apt/sources.list.d -maxdepth 1 \( -name '*.sources' -o -name '*.list' \) \
    -exec cp {} "$root/etc/apt/sources.list.d/" \; 2>/dev/null || true
git clone --quiet "$here" "$root/root/kelvor"

xvfb=""
session=""
cleanup() {
    [ -n "$session" ] && kill -TERM -- "-$session" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    true
}
trap cleanup EXIT
for _ in 1 2 3 4 5; do
    display=$((RANDOM % 900 + 100))
    Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do
        kill -0 "$xvfb" 2>/dev/null || break
        DISPLAY=":$display" xdpyinfo >/dev/null 2>&1 && break 2
        sleep 0.1
    done
    kill "$xvfb" 2>/dev/null || true
    xvfb=""
done
[ -n "$xvfb" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display"

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
load() { cut -d' ' -f1-3 /proc/loadavg; }
echo "cores: $(nproc), load before: $(load)"
log="$work/kelvor-run.log"
start=$(now_ms)
# kelvor.sh's lines, each with the second it came at.
# The session of its own, whose number is noted, holds every process of the
# run, the game at the end among them.
setsid bash -c 'echo $$ >"$1/session"; shift; exec "$@"' _ "$work" \
    unshare --mount --propagation private bash -c '
    root="$1"; display="$2"
    mount -t proc proc "$root/proc"
    mount --rbind /dev "$root/dev"
    mkdir -p "$root/tmp/.X11-unix"
    mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
    exec chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb DISPLAY=":$display" \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        bash -c "cd /root/kelvor && ./kelvor.sh run"' _ "$root" "$display" 2>&1 </dev/null |
    while IFS= read -r line; do
        printf '%6.1f %s\n' "$(( $(now_ms) - start ))e-3" "$line"
    done >"$log" &
for _ in $(seq 50); do
    [ -s "$work/session" ] && break
    sleep 0.1
done
session=$(cat "$work/session")

splash=""
while [ $(( $(now_ms) - start )) -lt $((limit_s * 1000)) ]; do
    if xdotool search --onlyvisible --name '^Tolvane: Kelvor - hard$' >/dev/null 2>&1; then
        splash=$(( $(now_ms) - start ))
        break
    fi
    kill -0 "$session" 2>/dev/null || break
    sleep 0.2
done
echo "load after:  $(load)"
cat "$log"
[ -n "$splash" ] || { echo "the splash never showed (see above)"; exit 1; }
build_at=$(awk '/^ *[0-9.]+ \[ *[0-9]+%\]/ { print $1; exit }' "$log")
installed_at=$(awk '/^ *[0-9.]+ Kelvor is installed/ { print $1; exit }' "$log")
echo
printf 'packages and configure: %6.1f s\n' "${build_at:-0}"
printf 'build:                  %6.1f s\n' "$(awk -v a="${build_at:-0}" -v b="${installed_at:-0}" 'BEGIN { print b - a }')"
printf 'install and start:      %6.1f s\n' "$(awk -v a="${installed_at:-0}" -v s="$splash" 'BEGIN { print s / 1000 - a }')"
printf 'from ./kelvor.sh run to the splash: %d min %02d s (%d ms)\n' $((splash / 60000)) $((splash / 1000 % 60)) "$splash"
