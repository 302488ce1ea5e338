#!/bin/bash
# SPDX-FileCopyrightText: 2026 The Trebalune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# notify_bench.sh: how long the window takes over the jump that sets a new record, where the
# record is kept and where it cannot be (a folder in record.txt's place), so that the player is
# told by a notification: with no session bus, with a bus and no notification server, and with a
# server that answers only after 5 s. The notification is sent without waiting for its answer,
# so none of these may hold the jump up. Median, min and max of RUNS runs each (15 by default).
# Usage: bench/notify_bench.sh   (as root, or with sudo for the packages it needs)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-missing.sh cmake ninja-build g++ qt6-base-dev libxkbcommon-dev fonts-comic-neue \
    dbus-daemon dbus-bin libglib2.0-bin python3-gi
source tools/x_session.sh # for $work and its clean-up
cmake -S bench/jump -B "$work/build" -G Ninja >/dev/null
cmake --build "$work/build" --target jump >/dev/null
mkdir -p "$work/kept" "$work/unkept/record.txt"
export QT_QPA_PLATFORM=offscreen

# measure COMMAND...: "median (min, max)" of the jump's time over RUNS runs of COMMAND.
measure() {
    for _ in $(seq "${RUNS:-15}"); do
        rm -f "$work"/kept/record.txt*
        "$@" 2>/dev/null | sed -n 's/^jump_ms=//p'
    done | sort -g | awk '{v[NR] = $1} END {printf "%.2f ms (%.2f, %.2f)\n", v[int((NR + 1) / 2)], v[1], v[NR]}'
}
jump=$work/build/jump
nobus=unix:path=$work/no-bus
slow="/usr/bin/python3 bench/slow_services.py notifications & gdbus wait --session org.freedesktop.Notifications"
echo "record kept, no session bus:                  $(DBUS_SESSION_BUS_ADDRESS=$nobus measure "$jump" "$work/kept")"
echo "record not kept, no session bus:              $(DBUS_SESSION_BUS_ADDRESS=$nobus measure "$jump" "$work/unkept")"
echo "record not kept, no notification server:      $(measure dbus-run-session -- "$jump" "$work/unkept")"
echo "record not kept, a server answering after 5 s: $(measure dbus-run-session -- sh -c "$slow; exec $jump $work/unkept")"
