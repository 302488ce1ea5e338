#!/bin/bash
# desktop_test.sh GAME: the real program on a private X server, played with real X clicks; the
# record it sets is still there when it starts again.
set -euo pipefail
game=$(realpath "$1")
source "$(dirname "$0")/../tools/x_session.sh"
fail() { echo "FAILED: $*" >&2; exit 1; }
start_private_xvfb
mkdir "$work/play"

# pixels W H X Y: the screen's bytes in that rectangle of the game window.
pixels() { import -window root -crop "$1x$2+$((x0 + $3))+$((y0 + $4))" -depth 8 rgb:- | od -An -tu1 | xargs; }
hole() { echo $((76 + 40 * (($1 - 1) % 7))) $((60 + 40 * (($1 - 1) / 7))); }
# shows HOLE R G B: waits up to 5 s for the hole's centre to show that colour.
shows() {
    for _ in $(seq 50); do
        [ "$(pixels 1 1 $(hole "$1"))" = "$2 $3 $4" ] && return 0
        sleep 0.1
    done
    fail "hole $1 shows $(pixels 1 1 $(hole "$1")), not $2 $3 $4"
}
click() { xdotool mousemove $((x0 + $(hole "$1" | cut -d' ' -f1))) $((y0 + $(hole "$1" | cut -d' ' -f2))) click 1; }
launch() {
    (cd "$work/play" && exec "$game") &
    game_pid=$!
    window=$(wait_for_window Trebalune) || fail "no game window"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    x0=$X y0=$Y
    shows 4 0 0 255 # the first frame is up
}
stop() { kill "$game_pid" && wait "$game_pid" || true; }

launch
record_at_start=$(pixels 17 17 224 416)
click 11
shows 11 255 0 255
click 25
shows 25 0 0 255
shows 18 255 192 128
[ "$(od -An -tx1 "$work/play/record.txt" | xargs)" = '33 31 0d 0a' ] || fail "record.txt: $(od -c "$work/play/record.txt")"
record_after_jump=$(pixels 17 17 224 416)
[ "$record_after_jump" != "$record_at_start" ] || fail "the record still shows 32"
stop
launch
[ "$(pixels 17 17 224 416)" = "$record_after_jump" ] || fail "after a new start the record shows another number"
stop
echo "1 passed, 0 failed"
