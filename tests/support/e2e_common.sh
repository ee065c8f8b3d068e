# Shared by the end-to-end scripts: a virtual display of their own, the real
# game started from a fresh game folder, and waiting for its windows.
# Source it after `set -euo pipefail`, with the executable's path in $1.
game="$1"
work="$(mktemp -d)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    # The game saves its files as it ends on the signal: the folder goes
    # once it has ended.
    for _ in $(seq 50); do
        local running=no
        for pid in "${pids[@]}"; do
            grep -qs '^State:[[:space:]]*[^Z]' "/proc/$pid/status" && running=yes
        done
        [ "$running" = no ] && break
        sleep 0.1
    done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; cat "$work/log" >&2 2>/dev/null || true; exit 1; }

# A display of our own, WIDTHxHEIGHT.
start_display() {
    # A display number picked at random far above the usual ones: Xvfb's own
    # pick (-displayfd) starts at 0, where test runs of other checkouts on a
    # shared /tmp take each other's sockets.
    local pid
    for _ in 1 2 3 4 5; do
        export DISPLAY=":$((RANDOM % 900 + 100))"
        Xvfb "$DISPLAY" -screen 0 "$1x24" -nolisten tcp >/dev/null 2>&1 &
        pid=$!
        # Ours once its lock names our Xvfb: a server going away on that
        # number from a run before would answer xdpyinfo a moment longer.
        for _ in $(seq 50); do
            kill -0 "$pid" 2>/dev/null || break
            [ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X${DISPLAY#:}-lock")" = "$pid" ] && xdpyinfo >/dev/null 2>&1 \
                && { pids+=("$pid"); return 0; }
            sleep 0.1
        done
        kill "$pid" 2>/dev/null || true
    done
    fail "Xvfb did not start"
}

# A window manager, openbox unless named (xfwm4 wants a session bus), taking
# over from any that runs; now and then one does not come up on a new
# display at the first try, so it gets three.
start_window_manager() {
    local wm="${1:-openbox}" up=no run=("${1:-openbox}" --replace)
    [ "$wm" = xfwm4 ] && run=(dbus-run-session -- xfwm4 --compositor=off --replace)
    for _ in 1 2 3; do
        "${run[@]}" >>"$work/$wm.log" 2>&1 &
        pids+=($!)
        for _ in $(seq 300); do
            wmctrl -m 2>/dev/null | grep -qi "^Name: $wm" && { up=yes; break; }
            kill -0 "${pids[-1]}" 2>/dev/null || break
            sleep 0.1
        done
        [ "$up" = yes ] && return 0
    done
    cat "$work/$wm.log" >&2
    fail "the window manager $wm did not start"
}

# Runs COMMAND... in $work with its output in $work/log; its pid is
# $pid_game. Now and then an X server on this machine refuses a connection
# (about one in a hundred, on an idle display too); a game that could not
# connect is started again, up to three times.
launch() {
    for _ in 1 2 3; do
        launch_now "$@"
        sleep 0.3
        kill -0 "$pid_game" 2>/dev/null || ! grep -q "could not connect to display" "$work/log" && return 0
        wait "$pid_game" 2>/dev/null || true
    done
}

# The same, once and without waiting, for a script that times the start.
launch_now() {
    (cd "$work" && XDG_RUNTIME_DIR="$work" exec "$@" >"$work/log" 2>&1) &
    pid_game=$!
    pids=("$pid_game" "${pids[@]}")
}

# The program folder is the folder of the executable: a fresh one, $work/game.
# With "now", the game is started once and at once.
# Any start but the very first: with no settings file of its own the game
# would open the setup dialog by itself. Set first_start=1 for that one.
start_game() {
    mkdir -p "$work/game"
    cp "$game" "$work/game/kelvor"
    if [ -z "${first_start:-}" ] && [ ! -e "$work/game/Tolvane.ini" ]; then
        printf '[Tolvane...]\r\nLaunches=1\r\n' >"$work/game/Tolvane.ini"
    fi
    if [ "${1:-}" = now ]; then launch_now ./game/kelvor; else launch ./game/kelvor; fi
}

# Another copy of the game in the same folder, started now; its output goes
# to $work/log_b and its pid is $pid_b.
start_second_copy() {
    (cd "$work" && XDG_RUNTIME_DIR="$work" exec ./game/kelvor >"$work/log_b" 2>&1) &
    pid_b=$!
    pids=("$pid_b" "${pids[@]}")
}

# Copy A ($pid_a, $window_a), then copy B ($pid_b, $window_b) beside it,
# each once its main window shows.
start_two_copies() {
    start_game
    pid_a=$pid_game
    window_a=$(main_window_of "$pid_a") || fail "copy A shows no window"
    start_second_copy
    window_b=$(main_window_of "$pid_b") || fail "copy B shows no window"
}

# The main window of the copy with process id $1, within ten seconds.
main_window_of() {
    local id=""
    for _ in $(seq 100); do
        id=$(xdotool search --all --onlyvisible --pid "$1" --name '^Tolvane: Kelvor$' 2>/dev/null | head -1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Closes main window $1 through the window manager; the copy with process
# id $2 must save its files and end cleanly within ten seconds.
close_copy() {
    wmctrl -i -c "$1"
    for _ in $(seq 100); do kill -0 "$2" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$2" 2>/dev/null && fail "the program did not end when its window closed"
    wait "$2" || fail "the program ended with an error"
}

# Waits up to five seconds until COMMAND... succeeds ($1 true) or fails ($1 false).
poll() {
    local want="$1" _; shift
    for _ in $(seq 50); do if "$@"; then $want && return 0; else $want || return 0; fi; sleep 0.1; done
    return 1
}

# Whether window $1 is on the screen.
# Where the client area of window $1 lies on the screen, and its size:
# into the variables named X Y WIDTH HEIGHT (_ for one not needed).
window_box() {
    read -r "$2" "$3" "$4" "$5" <<<"$(xwininfo -id "$1" | awk '/Absolute upper-left X:/ {x = $4}
        /Absolute upper-left Y:/ {y = $4} /Width:/ {w = $2} /Height:/ {h = $2} END {print x, y, w, h}')"
}

mapped() { xwininfo -id "$1" 2>/dev/null | grep -q "IsViewable"; }

# The start counter in the game folder's settings file.
launches() { tr -d '\r' <"$work/game/Tolvane.ini" | sed -n 's/^Launches=//p'; }

# The id of the visible window titled exactly NAME, within ten seconds.
find_window() {
    local name="$1" id=""
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null | head -1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Whether window $1 asks the window manager for a close box alone: its Motif
# hints give neither minimize nor maximize, as function or decoration.
asks_close_box_only() {
    local functions decorations
    read -r _ functions decorations _ <<<"$(xprop -id "$1" _MOTIF_WM_HINTS | sed 's/.*= //; s/,//g')"
    (( (functions & 0x18) == 0 && (decorations & 0x60) == 0 && (functions & 0x20) != 0 ))
}

# Whether window $1 asks for a title bar without any button or window menu.
asks_no_buttons() {
    local functions decorations
    read -r _ functions decorations _ <<<"$(xprop -id "$1" _MOTIF_WM_HINTS | sed 's/.*= //; s/,//g')"
    (( (functions & 0x39) == 0 && (decorations & 0x79) == 0x08 ))
}

# A Wayland compositor, weston, of WIDTHxHEIGHT in a window of our display,
# with XWayland. Real key and pointer events reach it from our display
# (xdotool) through its own seat, as a player's do, and its pictures are
# those of its window here, on a plain grey background. Sets
# $wayland_socket, $compositor (its window here), $compositor_size and
# $xwayland (the X display of its XWayland). Says "skipped" (77) when the
# compositor cannot start on this machine at all.
start_compositor() {
    compositor_size="$1"
    cat >"$work/weston.ini" <<'INI'
[core]
idle-time=0
[shell]
background-color=0xff808080
panel-position=none
locking=false
animation=none
startup-animation=none
close-animation=none
focus-animation=none
INI
    local pid
    compositor=""
    # Now and then weston gives up on its backend at once: three tries.
    for _ in 1 2 3; do
        wayland_socket="kelvor-$$-$RANDOM"
        rm -f "$work/weston.log"
        XDG_RUNTIME_DIR="$work" weston --backend=x11-backend.so --use-pixman --width="${1%x*}" --height="${1#*x}" \
            --socket="$wayland_socket" --config="$work/weston.ini" --xwayland --log="$work/weston.log" \
            >"$work/weston.out" 2>&1 &
        pid=$!
        pids+=("$pid")
        for _ in $(seq 150); do
            kill -0 "$pid" 2>/dev/null || break
            compositor=$(xdotool search --classname '^weston-' 2>/dev/null | head -1 || true)
            [ -n "$compositor" ] && [ -S "$work/$wayland_socket" ] \
                && grep -q 'launching.*desktop-shell' "$work/weston.log" && break 2
            compositor=""
            sleep 0.1
        done
        kill "$pid" 2>/dev/null || true
    done
    if [ -z "$compositor" ]; then
        cat "$work/weston.log" "$work/weston.out" >&2 2>/dev/null || true
        echo "skipped: the Wayland compositor did not start"
        exit 77
    fi
    xwayland=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log" | head -1)
    # The desktop's own client draws the background.
    sleep 1
}

# The compositor's picture, into FILE.
compositor_shot() { import -window "$compositor" "$1"; }

# The pointer rests in the compositor's bottom-right corner, where no window
# of the game stands; it comes in from outside, as the compositor follows a
# pointer only once it has come into its window.
park_pointer() {
    xdotool mousemove $((${compositor_size%x*} + 5)) $((${compositor_size#*x} + 5)) sleep 0.1 \
        mousemove $((${compositor_size%x*} - 1)) $((${compositor_size#*x} - 1)) sleep 0.1
}

# The box (WxH+X+Y) of all that is not background in picture FILE, leaving
# out the corner where the pointer rests.
windows_box() {
    convert "$1" -crop "$((${compositor_size%x*} - 4))x$((${compositor_size#*x} - 4))+0+0" +repage \
        -format '%@' info: 2>/dev/null
}

# How many pixels differ between pictures A and B, within box GEOMETRY
# (WxH+X+Y) or in the whole picture.
pixels_changed() {
    if [ -n "${3:-}" ]; then
        convert "$1" -crop "$3" +repage "$work/changed_a.png"
        convert "$2" -crop "$3" +repage "$work/changed_b.png"
        set -- "$work/changed_a.png" "$work/changed_b.png"
    fi
    compare -metric AE "$1" "$2" null: 2>&1 || true
}

# The distinct step texts a splash watch (kelvor_splash_watch) saw in file
# $1, one signature a line: lime texts on black with nothing else.
step_texts_seen() { awk '$4 > 20 && $5 == 0 {print $3}' "$1" | awk '!seen[$0]++'; }
