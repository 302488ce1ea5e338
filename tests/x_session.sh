# x_session.sh: helpers for the scripts that run programs under a private X server.
# Sourcing it makes a scratch directory, $work, and arranges for it, the X server ($xvfb_pid)
# and the program under test ($game_pid, if the caller sets it) to go when the script ends.

work=$(mktemp -d)
xvfb_pid=""
game_pid=""
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A private X server on a free display, 96 dpi like a plain desktop screen. -noreset keeps it
# from resetting between one program closing and the next connecting.
start_private_xvfb() {
    exec 5>"$work/display"
    Xvfb -displayfd 5 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset \
        >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.05
    done
    export DISPLAY=":$(cat "$work/display")"
    exec 5>&-
}

# wait_for_window TITLE: prints the id of the shown window titled exactly TITLE; fails after 10 s.
wait_for_window() {
    local window=""
    for _ in $(seq 100); do
        window=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) || true
        if [ -n "$window" ]; then
            echo "$window"
            return 0
        fi
        sleep 0.1
    done
    return 1
}
