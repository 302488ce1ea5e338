#!/bin/bash
# SPDX-FileCopyrightText: 2026 The Trebalune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# run_bench.sh: Trebalune against a bare Qt 6 window and the peg games Debian offers, all
# measured the same way in one private Xvfb (1280x1024, 96 dpi):
#   - start to window mapped (MapNotify on the root window), median/min/max over LAUNCHES;
#   - VmRSS and VmHWM one second after the start;
#   - CPU time and wake-ups (context switches) over IDLE seconds after that;
#   - click-to-repaint latency of CLICKS real XTest clicks (this game and the bare window).
# Usage: bench/run_bench.sh   (as root, or with sudo for the packages it needs)
set -euo pipefail
cd "$(dirname "$0")/.."
launches=${LAUNCHES:-10}
clicks=${CLICKS:-50}
idle=${IDLE:-10}

packages="cmake ninja-build g++ qt6-base-dev fonts-comic-neue xvfb libx11-dev libxtst-dev locales
          sgt-puzzles peg-solitaire pegsolitaire"
# shellcheck disable=SC2086 # the package list splits into words on purpose
tools/install-missing.sh $packages
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
# peg-solitaire wants an English UTF-8 locale (under C.UTF-8 its game list is empty).
if ! locale -a | grep -qx 'en_US.utf8'; then
    $sudo sed -i 's/^# *en_US.UTF-8 UTF-8/en_US.UTF-8 UTF-8/' /etc/locale.gen
    $sudo locale-gen >/dev/null
fi

source tools/x_session.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake --build build --target trebalune >/dev/null
cmake -S bench/bare -B "$work/bare" -G Ninja >/dev/null
cmake --build "$work/bare" >/dev/null
gcc -O2 -o "$work/xprobe" bench/xprobe.c -lX11 -lXtst

start_private_xvfb

# name | window title | command
programs=(
    "trebalune|Trebalune|$PWD/build/ui/trebalune"
    "bare-qt6|Bare|$work/bare/bare"
    "sgt-pegs|Pegs|/usr/games/sgt-pegs"
    "peg-solitaire|Peg-solitaire|/usr/games/peg-solitaire"
    "pegsolitaire|Peg Solitaire|/usr/games/pegsolitaire"
)

# launch NAME TITLE COMMAND [XPROBE OPTIONS...]: one run in a fresh home and working directory.
launch() {
    local name=$1 title=$2 command=$3
    shift 3
    local home
    home=$(mktemp -d "$work/home.XXXXXX")
    (cd "$home" && env HOME="$home" LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 \
        "$work/xprobe" -t "$title" "$@" -- "$command" 2>/dev/null) || echo "failed"
    # The program is gone, but what it started may still write its settings there (a D-Bus
    # session it launched, say): end everything that carries this HOME before removing it.
    local pids
    for _ in $(seq 50); do
        pids=$(grep -lzx "HOME=$home" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3) || true
        [ -n "$pids" ] || break
        kill $pids 2>/dev/null || true
        sleep 0.1
    done
    rm -rf "$home"
}

echo "warming the caches: one untimed launch each"
for entry in "${programs[@]}"; do
    IFS='|' read -r name title command <<<"$entry"
    launch "$name" "$title" "$command" >/dev/null
done

echo "$launches timed launches each, interleaved"
for round in $(seq "$launches"); do
    for entry in "${programs[@]}"; do
        IFS='|' read -r name title command <<<"$entry"
        launch "$name" "$title" "$command" >>"$work/$name.launches"
    done
done

echo "idle CPU over ${idle}s each; click latency over $clicks clicks (this game and the bare window)"
for entry in "${programs[@]}"; do
    IFS='|' read -r name title command <<<"$entry"
    options=(-i "$idle")
    # Hole 10 (row 2, column 3) of the game; the bare window has its square at the same spot.
    case $name in trebalune | bare-qt6) options+=(-c "156,100,$clicks") ;; esac
    launch "$name" "$title" "$command" "${options[@]}" >"$work/$name.extra"
done

# stats FILE KEY: "median min max" of KEY over the lines of FILE
stats() {
    grep -o "$2=[0-9.]*" "$1" | cut -d= -f2 | sort -g |
        awk '{v[NR]=$1} END {m = NR % 2 ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2;
                              printf "%.1f %.1f %.1f", m, v[1], v[NR]}'
}
value() { grep -o "$2=[0-9.]*" "$1" | cut -d= -f2; }

echo
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo "date: $(date -u +%Y-%m-%d)"
printf "%-14s %-24s %-24s %-24s %-14s %-8s %s\n" program "map ms (med min max)" \
    "VmRSS kB (med min max)" "VmHWM kB (med min max)" "idle CPU ms" wakeups \
    "click ms (med min max)"
for entry in "${programs[@]}"; do
    IFS='|' read -r name _ _ <<<"$entry"
    click="-"
    grep -q click_ms "$work/$name.extra" &&
        click="$(value "$work/$name.extra" click_ms_median) $(value "$work/$name.extra" click_ms_min) $(value "$work/$name.extra" click_ms_max)"
    printf "%-14s %-24s %-24s %-24s %-14s %-8s %s\n" "$name" \
        "$(stats "$work/$name.launches" map_ms)" "$(stats "$work/$name.launches" rss_kb)" \
        "$(stats "$work/$name.launches" hwm_kb)" "$(value "$work/$name.extra" idle_cpu_ms)" \
        "$(value "$work/$name.extra" idle_wakeups)" "$click"
done

echo
echo "ratios, this game / other program (medians of this run):"
ours_map=$(stats "$work/trebalune.launches" map_ms | cut -d' ' -f1)
ours_rss=$(stats "$work/trebalune.launches" rss_kb | cut -d' ' -f1)
ours_click=$(value "$work/trebalune.extra" click_ms_median)
for entry in "${programs[@]:1}"; do
    IFS='|' read -r name _ _ <<<"$entry"
    map=$(stats "$work/$name.launches" map_ms | cut -d' ' -f1)
    rss=$(stats "$work/$name.launches" rss_kb | cut -d' ' -f1)
    line=$(awk -v a="$ours_map" -v b="$map" -v c="$ours_rss" -v d="$rss" \
        'BEGIN {printf "start-to-window %.2f, resident memory %.2f", a / b, c / d}')
    if grep -q click_ms "$work/$name.extra"; then
        line="$line$(awk -v a="$ours_click" -v b="$(value "$work/$name.extra" click_ms_median)" \
            'BEGIN {printf ", click-to-repaint %.2f", a / b}')"
    fi
    printf "  vs %-14s %s\n" "$name" "$line"
done
