# SPDX-FileCopyrightText: 2026 The Trebalune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# x_session.sh: a private X server for the benchmarks and the screen-reader test, which run
# programs on a real display.
# Sourcing it makes a scratch directory, $work, and arranges for the servers started for it
# ($servers) and then $work to go when the script ends -- each server waited for, so that none
# still writes in $work while it is removed.

work=$(mktemp -d)
servers=""
cleanup() {
    for pid in $servers; do
        { kill "$pid" && wait "$pid"; } 2>/dev/null || true
    done
    # A desktop portal started on the session's bus mounts its document store in $work.
    fusermount3 -uz "$work/run/doc" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Starts Xvfb on a free display, 96 dpi like a plain desktop screen, and exports DISPLAY.
# -noreset keeps it from resetting between one program closing and the next connecting.
start_private_xvfb() {
    exec 5>"$work/display"
    Xvfb -displayfd 5 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset \
        >"$work/xvfb.log" 2>&1 &
    servers="$servers $!"
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.05
    done
    export DISPLAY=":$(cat "$work/display")"
    exec 5>&-
}
