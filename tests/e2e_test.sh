#!/bin/bash
# e2e_test.sh: the real game in its own X server, played with real X mouse and key events.
# Usage: e2e_test.sh PATH_TO_GAME
set -euo pipefail
game=$(realpath "$1")
source "$(dirname "$0")/x_session.sh"
fail() {
    echo "FAILED: $*" >&2
    echo "the game said:" >&2
    cat "$work/stderr" >&2
    exit 1
}

start_private_xvfb

origin_x=0
origin_y=0
start_game() { # start_game DIR
    (cd "$1" && exec "$game" 2>>"$work/stderr") &
    game_pid=$!
    local window
    window=$(wait_for_window Trebalune) || fail "no game window"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    origin_x=$X
    origin_y=$Y
    [ "$WIDTH" = 385 ] && [ "$HEIGHT" = 444 ] || fail "window is ${WIDTH}x$HEIGHT, not 385x444"
    game_window=$window
    # Mapped is not yet painted: wait for the first frame (a peg in hole 4, Line1 orange).
    for _ in $(seq 100); do
        shot
        [ "$(hole_colour 4)" = "$peg" ] &&
            [ "$(colour_at "$((origin_x + 100))" "$((origin_y + 361))")" = "255,128,0" ] && return 0
        sleep 0.1
    done
    fail "the window was never painted"
}
stop_game() {
    kill "$game_pid"
    wait "$game_pid" 2>/dev/null || true
    game_pid=""
}

# Screen position of the centre of hole N (rows and columns of the 7 x 7 grid, 40 px apart).
hole_x() { echo $((origin_x + 56 + 40 * (($1 - 1) % 7) + 20)); }
hole_y() { echo $((origin_y + 40 + 40 * (($1 - 1) / 7) + 20)); }
click_hole() {
    xdotool mousemove "$(hole_x "$1")" "$(hole_y "$1")" mousedown 1 mouseup 1
}

shot() { import -window root "$work/shot.png"; }
colour_at() { # colour_at X Y -> "r,g,b" from the last shot
    convert "$work/shot.png" -format \
        "%[fx:int(255*p{$1,$2}.r+.5)],%[fx:int(255*p{$1,$2}.g+.5)],%[fx:int(255*p{$1,$2}.b+.5)]" info:
}
crop() { # crop X Y W H NAME: a region of the window from the last shot
    convert "$work/shot.png" -crop "$3x$4+$((origin_x + $1))+$((origin_y + $2))" +repage \
        "$work/$5.png"
}
same_image() { [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1)" = 0 ]; }
hole_colour() { colour_at "$(hole_x "$1")" "$(hole_y "$1")"; }
peg="0,0,255"
empty="255,192,128"
magenta="255,0,255"
# Waits until hole N shows COLOUR (the game repaints after each event).
expect_hole() {
    for _ in $(seq 50); do
        shot
        [ "$(hole_colour "$1")" = "$2" ] && return 0
        sleep 0.1
    done
    fail "hole $1 is $(hole_colour "$1"), expected $2"
}
record_is() { [ "$(od -An -c "$1/record.txt" | tr -d ' \n')" = "$2" ] || fail "record.txt holds $(od -An -c "$1/record.txt")"; }

echo "first jump, then a relaunch showing the record"
mkdir "$work/first"
start_game "$work/first"
crop 184 368 33 25 pegs-at-start
click_hole 11
expect_hole 11 "$magenta"
click_hole 25
expect_hole 25 "$peg"
[ "$(hole_colour 11)" = "$empty" ] || fail "hole 11 not emptied"
[ "$(hole_colour 18)" = "$empty" ] || fail "hole 18 not emptied"
[ "$(colour_at "$((origin_x + 100))" "$((origin_y + 360))")" = "255,128,0" ] || fail "Line1 is not orange"
crop 184 368 33 25 pegs-after-jump
crop 224 416 17 17 record-after-jump
same_image pegs-at-start pegs-after-jump && fail "the pegs-left number did not change"
record_is "$work/first" '31\r\n'
stop_game
start_game "$work/first"
crop 224 416 17 17 record-on-relaunch
same_image record-after-jump record-on-relaunch || fail "relaunch does not show the record 31"
crop 184 368 33 25 pegs-on-relaunch
same_image pegs-at-start pegs-on-relaunch || fail "relaunch does not start at 32 pegs"

echo "Space and Enter press Effacer"
xdotool windowfocus "$game_window"
sleep 0.2
click_hole 11
expect_hole 11 "$magenta"
xdotool key space
expect_hole 11 "$peg"
click_hole 32
expect_hole 32 "$magenta"
xdotool key Return
expect_hole 32 "$peg"
record_is "$work/first" '31\r\n'
stop_game

echo "dragging a peg onto an empty hole jumps"
mkdir "$work/drag"
start_game "$work/drag"
xdotool mousemove "$(hole_x 11)" "$(hole_y 11)" mousedown 1
xdotool mousemove "$(hole_x 18)" "$(hole_y 18)"
xdotool mousemove "$(hole_x 25)" "$(hole_y 25)" mouseup 1
expect_hole 25 "$peg"
[ "$(hole_colour 11)" = "$empty" ] || fail "hole 11 not emptied by the drag"
[ "$(hole_colour 18)" = "$empty" ] || fail "hole 18 not emptied by the drag"
record_is "$work/drag" '31\r\n'
stop_game

echo "a whole game along a known solution"
mkdir "$work/whole"
start_game "$work/whole"
for move in 11:25 16:18 3:17 5:3 18:16 15:17 19:5 21:19 24:10 3:17 22:24 24:10 26:24 28:26 \
    26:12 5:19 31:17 10:24 29:31 32:30 40:26 35:33 45:31 24:38 47:45 45:31 30:32 32:34 \
    19:33 34:32 39:25; do
    click_hole "${move%:*}"
    click_hole "${move#*:}"
done
expect_hole 25 "$peg"
for hole in 3 4 5 10 11 12 $(seq 15 24) $(seq 26 35) 38 39 40 45 46 47; do
    [ "$(hole_colour "$hole")" = "$empty" ] || fail "hole $hole not empty at the end"
done
record_is "$work/whole" '1\r\n'
stop_game

echo "a record file that cannot be written leaves the game playable"
mkdir -p "$work/blocked/record.txt"
: >"$work/stderr"
start_game "$work/blocked"
click_hole 11
click_hole 25
expect_hole 25 "$peg"
click_hole 32
expect_hole 32 "$magenta"
kill -0 "$game_pid" || fail "the game stopped"
[ -d "$work/blocked/record.txt" ] || fail "record.txt directory replaced"
grep -q "impossible d'enregistrer le record" "$work/stderr" || fail "no message on standard error"
stop_game

echo "5 passed, 0 failed"
