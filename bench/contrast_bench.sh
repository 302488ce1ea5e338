#!/bin/bash
# SPDX-FileCopyrightText: 2026 The Trebalune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# contrast_bench.sh: the game's start where the desktop is in high contrast, in one private Xvfb
# (1280x1024, 96 dpi): with no session bus, then on a bus of its own each launch, with the
# settings portal (xdg-desktop-portal and its GTK backend) already running in the usual look and
# in high contrast, and with a portal that answers only after 5 s. Start to window (map_ms) must
# not depend on the portal; where it says high contrast, look_ms is when a peg took the
# high-contrast light blue. Median, min and max of LAUNCHES launches each (15 by default),
# interleaved.
# Usage: bench/contrast_bench.sh   (as root, or with sudo for the packages it needs)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-missing.sh cmake ninja-build g++ qt6-base-dev libxkbcommon-dev fonts-comic-neue \
    xvfb libx11-dev libxtst-dev dbus-daemon dbus-bin libglib2.0-bin python3-gi \
    xdg-desktop-portal xdg-desktop-portal-gtk gsettings-desktop-schemas
source tools/x_session.sh
cmake -S . -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$work/build" --target trebalune >/dev/null
gcc -O2 -o "$work/xprobe" bench/xprobe.c -lX11 -lXtst
slow=$PWD/bench/slow_services.py
start_private_xvfb
export HOME=$work XDG_CONFIG_HOME=$work/config GSETTINGS_BACKEND=keyfile
mkdir "$work/game" && cd "$work/game"
probe="$work/xprobe -t Trebalune -- $work/build/ui/trebalune"
look="$work/xprobe -t Trebalune -l 156,100,4080ff -- $work/build/ui/trebalune"
portal="gdbus wait --session --timeout 10 --activate org.freedesktop.portal.Desktop org.freedesktop.portal.Desktop"

# name | the command that launches the game
conditions=(
    "no session bus|env DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus $probe"
    "portal, usual look|dbus-run-session -- sh -c 'gsettings set org.gnome.desktop.a11y.interface high-contrast false; $portal; $probe'"
    "portal, high contrast|dbus-run-session -- sh -c 'gsettings set org.gnome.desktop.a11y.interface high-contrast true; $portal; $look'"
    "portal answering after 5 s|dbus-run-session -- sh -c '/usr/bin/python3 $slow settings & gdbus wait --session --timeout 10 org.freedesktop.portal.Desktop; $look'"
)
for round in $(seq "${LAUNCHES:-15}"); do
    for i in "${!conditions[@]}"; do
        eval "${conditions[$i]#*|}" 2>/dev/null >>"$work/$i" || echo failed >>"$work/$i"
    done
done

# "median (min, max)" of KEY in file $1, where it was measured
stats() {
    grep -o "$2=[0-9][0-9.]*" "$1" | cut -d= -f2 | sort -g |
        awk '{v[NR] = $1} END {if (NR) printf "%.1f (%.1f, %.1f)", v[int((NR + 1) / 2)], v[1], v[NR]; else printf "-"}'
}
echo "$(nproc) cores, $(date -u +%Y-%m-%d), ${LAUNCHES:-15} launches each; ms, median (min, max)"
printf '%-28s %-26s %s\n' "" "start to window" "start to high-contrast look"
for i in "${!conditions[@]}"; do
    printf '%-28s %-26s %s\n' "${conditions[$i]%%|*}" "$(stats "$work/$i" map_ms)" "$(stats "$work/$i" look_ms)"
done
