#!/bin/bash
# desktop_test.sh GAME: the real program where players meet it. With no display at all; on a
# Wayland compositor; on a private X server, played through the accessibility bus as switch
# access or a screen reader does and with real clicks, the record still there after a restart.
set -euo pipefail
[ -n "${TREBALUNE_OWN_BUS:-}" ] || TREBALUNE_OWN_BUS=1 exec dbus-run-session -- bash "$0" "$@"
game=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
source "$here/../tools/x_session.sh"
fail() { echo "FAILED: $*" >&2; exit 1; }
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR" "$work/play"
cd "$work/play"

echo "no display, or one that is gone: one French line and a plain exit"
for display in "" ":4242"; do
    status=0
    said=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$display" "$game" 2>&1) || status=$?
    [ "$status" = 1 ] && [ "$said" = "Trebalune : ce jeu s'affiche dans une session graphique, et \
aucune n'est accessible ici." ] || fail "with DISPLAY=$display: status $status, said: $said"
done

echo "Wayland: no warning, and a titled window with its desktop id draws its first frame"
weston --backend=headless-backend.so --socket=wayland-test --idle-time=0 >"$work/weston.log" 2>&1 &
servers="$servers $!"
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/wayland-test" ] && break || sleep 0.05; done
status=0
env -u DISPLAY WAYLAND_DISPLAY=wayland-test XDG_SESSION_TYPE=wayland WAYLAND_DEBUG=client \
    timeout 3 "$game" 2>"$work/wayland.log" || status=$?
[ "$status" = 124 ] || fail "the game stopped on Wayland with status $status"
! grep -v '^\[' "$work/wayland.log" || fail "warnings on Wayland"
for request in 'set_title("Trebalune")' 'set_app_id("org.trebalune.Trebalune")' 'attach(wl_buffer'; do
    grep -qF "$request" "$work/wayland.log" || fail "no $request on Wayland"
done

echo "X: the first jump through the accessibility bus, then real clicks after a restart"
start_private_xvfb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
pixels() { import -window root -crop "1x1+$((x0 + $1))+$((y0 + $2))" -depth 8 rgb:- | od -An -tu1 | xargs; }
hole() { echo $((76 + 40 * (($1 - 1) % 7))) $((60 + 40 * (($1 - 1) / 7))); }
shows() { # shows HOLE R G B: waits up to 5 s for the hole's centre to show that colour
    for _ in $(seq 50); do
        [ "$(pixels $(hole "$1"))" = "$2 $3 $4" ] && return 0
        sleep 0.1
    done
    fail "hole $1 shows $(pixels $(hole "$1")), not $2 $3 $4"
}
click() { read -r x y <<<"$(hole "$1")" && xdotool mousemove $((x0 + x)) $((y0 + y)) click 1; }
launch() {
    "$game" &
    game_pid=$!
    eval "$(xdotool getwindowgeometry --shell "$(wait_for_window Trebalune || fail "no window")")"
    x0=$X y0=$Y
    shows 4 0 0 255 # the first frame is up
}
stop() { kill "$game_pid" && wait "$game_pid" || true; }
record_is() { [ "$(od -An -tx1 record.txt | xargs)" = "$1" ] || fail "record.txt: $(od -c record.txt)"; }

launch
/usr/bin/python3 "$here/atspi_play.py" \
    press "Trou, ligne 2, colonne 4 : pion" press "Trou, ligne 4, colonne 4 : vide" \
    shows "Il vous reste 31 pion(s)" shows "Record de ce jeu : 31 pion(s)" \
    heard "Trou, ligne 2, colonne 4 : vide" heard "Trou, ligne 3, colonne 4 : vide" \
    heard "Trou, ligne 4, colonne 4 : pion" heard "Il vous reste 31 pion(s)" \
    heard "Record de ce jeu : 31 pion(s)"
record_is "33 31 0d 0a"
stop
launch
/usr/bin/python3 "$here/atspi_play.py" shows "Record de ce jeu : 31 pion(s)"
click 11
shows 11 255 0 255
click 25
shows 25 0 0 255
shows 18 255 192 128
record_is "33 31 0d 0a"
stop
echo "1 passed, 0 failed"
