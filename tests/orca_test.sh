#!/bin/bash
# SPDX-FileCopyrightText: 2026 The Trebalune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# orca_test.sh GAME: one move played as a blind player plays it -- keys only, under the Orca
# screen reader, on a private X server -- and checked in what Orca says it said. The game is
# started from its menu entry where its folder cannot be made, so its record cannot be kept, and
# the desktop's notification server gets one word of it; the desktop is in high contrast from the
# start, then the switch goes off and on. Run it on a session bus of its own:
# dbus-run-session -- bash orca_test.sh GAME.
set -euo pipefail
game=$(realpath "$1") entry=$(realpath "$(dirname "$0")/../ui/org.trebalune.Trebalune.desktop")
pictures=$(realpath "$(dirname "$0")/../docs/look") out=$PWD
source "$(dirname "$0")/../tools/x_session.sh"
# Orca's own words in English, so that only the game's are French; settings of its own, the
# desktop's too (GSettings in a file there, which the settings portal reads).
export HOME=$work LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config
export GSETTINGS_BACKEND=keyfile
unset WAYLAND_DISPLAY QT_QPA_PLATFORM QT_SCALE_FACTOR
mkdir -m 700 "$XDG_RUNTIME_DIR"
cd "$work"
start_private_xvfb
# The accessibility bus and its registry, which makes the screen reader's clicks, and the settings
# portal start on demand.
dbus-update-activation-environment DISPLAY HOME XDG_RUNTIME_DIR XDG_CONFIG_HOME GSETTINGS_BACKEND
# A server for the length of the test.
serve() { "$@" & servers="$servers $!"; }
# Orca hears a window become active from the window manager.
serve openbox >openbox.log 2>&1
# Orca writes its log line by line only to a terminal: script gives it one and keeps the log.
# It logs all it says and brailles with no speech server or braille display, and none is
# started: one would outlive the test, and with no sound to play to it holds Orca's keys up.
export SPEECHD_CMD=/bin/false
serve script -qfc "orca --replace -e braille --debug-file=/dev/tty" orca.log >/dev/null
# The desktop's notification server, and what reaches it.
serve /usr/lib/notification-daemon/notification-daemon
serve dbus-monitor "interface=org.freedesktop.Notifications" >notify.log
gdbus wait --session --timeout 10 org.freedesktop.Notifications

# What Orca said from line $1 of its log on, one utterance a line: the game's own phrases,
# without Orca's role words (a notice's several phrases each on a line of their own).
said() {
    tr -d '\r' <orca.log | tail -n +"$1" | sed -n "s/.* SPEECH OUTPUT: '\(.*\)' *[[{].*/\1/p" |
        sed -E 's/^notification //; s/ (push )?button\.?$//; s/\.$//; s/\. /\n/g' |
        grep -E 'Trebalune|Trou|pion|Effacer|jeu' || true
}
# Presses KEY once Orca is quiet, and waits until Orca has said WANTED (all of it) and is
# quiet again, or 10 s; then compares what it said.
step() {
    local key=$1 wanted=$2 got
    from=$(($(wc -l <orca.log) + 1))
    xdotool key "$key"
    for _ in $(seq 100); do
        [ -z "$wanted" ] || [ "$(said "$from")" = "$wanted" ] && break || sleep 0.1
    done
    quiet
    got=$(said "$from")
    [ "$got" = "$wanted" ] || { printf 'After %s Orca said:\n%s\nwanted:\n%s\n' "$key" "$got" "$wanted"; failed=1; }
}
# What Orca put on the braille display in the last step, one line each.
braille() { tr -d '\r' <orca.log | tail -n +"$from" | sed -n "s/.* BRAILLE LINE:  '\(.*\)'$/\1/p"; }
# Waits until Orca's log has not grown for one second.
quiet() {
    local size=-1
    while [ "$size" != "$(stat -c %s orca.log)" ]; do
        size=$(stat -c %s orca.log)
        sleep 1
    done
}

# The desktop is in high contrast before the game starts, as a player with low vision leaves it,
# with its settings portal (xdg-desktop-portal and its GTK backend) already running.
gsettings set org.gnome.desktop.a11y.interface high-contrast true
gdbus wait --session --activate org.freedesktop.portal.Desktop --timeout 10 org.freedesktop.portal.Desktop
for _ in $(seq 300); do grep -qs "SPEECH OUTPUT: 'Screen reader on" orca.log && break || sleep 0.1; done
PATH=$(dirname "$game"):$PATH XDG_DATA_HOME=/dev/null/data gio launch "$entry" >game.log 2>&1
until window=$(xdotool search --onlyvisible --name '^Trebalune$'); do sleep 0.02; done
failed=0
# Whether the window, as ImageMagick's import takes it from the X server, looks as the reviewed
# picture $1 within $2 ms (RENEW_PICTURES=1 rewrites the picture from the screen first).
shows() {
    [ -z "${RENEW_PICTURES:-}" ] || { sleep 1 && import -window "$window" "$pictures/$1.png"; }
    local until=$((${EPOCHREALTIME/./} + $2 * 1000))
    while [ "${EPOCHREALTIME/./}" -lt "$until" ]; do
        import -window "$window" "$out/$1-on-x.png"
        compare -metric AE "$out/$1-on-x.png" "$pictures/$1.png" "$out/$1-on-x-diff.png" 2>/dev/null && return
    done
    echo "Within $2 ms the window is not as $1.png: see $out/$1-on-x*.png"; failed=1
}
# It takes the high-contrast look as soon as it is up, Effacer holding the focus: a player sees
# the usual look for a moment at most (bench/contrast_bench.sh measures how long).
shows high-contrast-start 500
for _ in $(seq 300); do [ -n "$(said 1)" ] && break || sleep 0.1; done
quiet
[ "$(said 1)" = $'Trebalune\nEffacer' ] || { echo "At the start Orca said: $(said 1)"; failed=1; }
hole() { printf 'Trou, ligne %d, colonne %d : %s' "$@"; }
# Whether the screen's lightest and darkest pixels in the boxes WxH+X+Y are $1:1 apart, or more.
apart() {
    for box in "${@:2}"; do import -window "$window" -crop "$box" -depth 8 txt:-; done |
        awk -F'[(,)]' -v least="$1" -v boxes="${*:2}" '
        function lin(c) { c /= 255; return c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ^ 2.4 }
        /^[0-9]/ { l = 0.2126 * lin($3) + 0.7152 * lin($4) + 0.0722 * lin($5)
                   lo = n && lo < l ? lo : l; hi = n++ && hi > l ? hi : l }
        END { r = (hi + 0.05) / (lo + 0.05); if (r < least) print boxes ": " r ":1"; exit r < least }' || failed=1
}
# Whether the pixels X+Y:X+Y of each pair are 3:1 apart, or more.
pairs() { for pair in "$@"; do apart 3 "1x1+${pair%:*}" "1x1+${pair#*:}"; done; }
step Tab "$(hole 1 3 pion)"
pairs 139+60:140+60 141+60:142+60 # the focus ring on a peg, against the hole outside and inside
step Right "$(hole 1 4 pion)"
step Down "$(hole 2 4 pion)"
step KP_Divide "$(hole 2 4 'pion sélectionné')"  # Orca's click on the focused hole
braille | grep -qx " *$(hole 2 4 'pion sélectionné') .*button" || { echo "Braille: $(braille)"; failed=1; }
# Put back, the peg reads "pion" again on the braille line, and still does once what Orca said
# at once has left the display (after 5 s).
step KP_Divide "$(hole 2 4 pion)"
sleep 5 && quiet
braille | tail -1 | grep -qxE " *$(hole 2 4 pion) (push )?button" ||
    { echo "Braille after the put-back: $(braille)"; failed=1; }
step KP_Divide "$(hole 2 4 'pion sélectionné')"

# The desktop's high-contrast switch, flipped as the game runs, repaints it in the usual look and
# in the high-contrast one again.
gsettings set org.gnome.desktop.a11y.interface high-contrast false && shows picked-up 5000
gsettings set org.gnome.desktop.a11y.interface high-contrast true && shows high-contrast 5000
# By WCAG 2.2: the texts of the two rows and of Effacer; empty hole, peg, peg picked up, its mark;
# the focus ring on the peg picked up; a line and the button against the ground.
for text in 230x25+48+368 260x25+48+416 40x12+325+378; do apart 7 "$text"; done
pairs 196+180:156+100 156+100:184+100 196+180:184+100 188+100:184+100 179+100:180+100 \
    181+100:182+100 0+360:5+5 316+380:5+5
step Down "$(hole 3 4 pion)"
step Down "$(hole 4 4 vide)"
pairs 179+180:180+180 181+180:182+180 # the focus ring in an empty hole
# The game says at once that the record is not kept, then Orca reads the desktop's notification.
unkept="Le record de 31 pion(s) n'a pas pu être enregistré : le dossier du jeu « /dev/null/data/trebalune » n'a pas pu être créé"
step KP_Divide "$(hole 4 4 pion)
Il vous reste 31 pion(s)
Record de ce jeu : 31 pion(s)
$unkept
Il sera perdu à la fermeture du jeu
Notification Record non enregistré $unkept
Il sera perdu à la fermeture du jeu"
braille | grep -qF "Il vous reste 31 pion(s). Record de ce jeu : 31 pion(s)" || { echo "Braille: $(braille)"; failed=1; }
# The one notification came as Trebalune's, with its icon and desktop entry.
notes=$(tr -s ' \n' ' ' <notify.log)
[[ $notes == *'member=Notify string "Trebalune" uint32 0 string "trebalune"'*'"desktop-entry" variant string "org.trebalune.Trebalune"'* && $notes != *member=Notify*member=Notify* ]] ||
    { echo "The notification server got: $notes"; failed=1; }
[ "$failed" = 0 ] || { tr -d '\r' <orca.log | grep -E "SPEECH OUTPUT|BRAILLE LINE"; echo FAILED; exit 1; }
echo "1 passed, 0 failed"
