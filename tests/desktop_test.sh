#!/bin/bash
# SPDX-FileCopyrightText: 2026 The Trebalune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# desktop_test.sh GAME: the real program with no display, on a Wayland compositor, and on a private
# X server, played through the accessibility bus and with real clicks, and started again.
set -euo pipefail
[ -n "${TREBALUNE_OWN_BUS:-}" ] || TREBALUNE_OWN_BUS=1 exec dbus-run-session -- bash "$0" "$@"
game=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
source "$here/../tools/x_session.sh"
fail() { echo "FAILED: $*" >&2; exit 1; }
# A desktop session has a UTF-8 locale; a bare machine or CI may have none, and Qt warns then.
[ "$(locale charmap 2>/dev/null)" = UTF-8 ] || export LC_ALL=C.UTF-8
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR" "$work/play"
cd "$work/play"

for display in "" ":4242"; do # none, or one that is gone: one French line and a plain exit
    said=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$display" "$game" 2>&1 || echo "=> $?")
    [ "$(echo $said)" = "Trebalune : ce jeu s'affiche dans une session graphique, et aucune n'est \
accessible ici. => 1" ] || fail "with DISPLAY=$display: $said"
done

# Wayland: no warning, and a titled window with its desktop id draws its first frame.
weston --backend=headless-backend.so --socket=wayland-0 --idle-time=0 >"$work/weston.log" 2>&1 &
servers="$servers $!"
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/wayland-0" ] && break || sleep 0.05; done
env -u DISPLAY XDG_SESSION_TYPE=wayland WAYLAND_DEBUG=client timeout 3 "$game" 2>wayland.log ||
    [ $? = 124 ] || fail "the game stopped on Wayland"
! grep -v '^\[' wayland.log || fail "warnings on Wayland"
for request in 'set_title("Trebalune")' 'set_app_id("org.trebalune.Trebalune")' 'attach(wl_buffer'; do
    grep -qF "$request" wayland.log || fail "no $request on Wayland"
done

start_private_xvfb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
launch() {
    "$game" & game_pid=$!
    eval "$(xdotool getwindowgeometry --shell "$(wait_for_window Trebalune || fail "no window")")"
}
stop() { kill "$game_pid" && wait "$game_pid" || true; }
click() { xdotool mousemove $((X + 76 + 40 * (($1 - 1) % 7))) $((Y + 60 + 40 * (($1 - 1) / 7))) click 1; }

# Assistive technology listens before the game starts, as on a desktop; then a restart.
/usr/bin/python3 "$here/atspi_play.py" shows Effacer shows "Trou, ligne 3, colonne 7 : pion" \
    press "Trou, ligne 2, colonne 4 : pion" shows "Trou, ligne 2, colonne 4 : pion sélectionné" \
    press "Trou, ligne 4, colonne 4 : vide" shows "Il vous reste 31 pion(s)" \
    heard "Trou, ligne 2, colonne 4 : vide" heard "Trou, ligne 3, colonne 4 : vide" \
    heard "Trou, ligne 4, colonne 4 : pion" heard "Record de ce jeu : 31 pion(s)" &
player=$!
sleep 0.5
launch
wait "$player" || fail "through the accessibility bus"
[ "$(od -An -tx1 record.txt | xargs)" = "33 31 0d 0a" ] || fail "record.txt: $(od -c record.txt)"
stop
launch
/usr/bin/python3 "$here/atspi_play.py" shows "Record de ce jeu : 31 pion(s)"
click 11
/usr/bin/python3 "$here/atspi_play.py" shows "Trou, ligne 2, colonne 4 : pion sélectionné"
click 25
/usr/bin/python3 "$here/atspi_play.py" shows "Trou, ligne 3, colonne 4 : vide"
stop
echo "1 passed, 0 failed"
