#!/bin/bash
# SPDX-FileCopyrightText: 2026 The Trebalune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# package_test.sh BUILD: the Debian package checked as a distribution would; its program run with
# no display, on Wayland and from the menu; and the package built again elsewhere, to the byte.
set -euo pipefail
tree=$(realpath "$(dirname "$0")/..") work=$(mktemp -d) weston=""
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$work/home" "$XDG_RUNTIME_DIR"
# What the test starts ends with it: the compositor, and the game launched from the menu.
ours() { grep -lzx "HOME=$work/home" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3; }
trap 'kill $weston $(ours) 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
# A desktop session has a UTF-8 locale; a bare machine or CI may have none, and Qt warns then.
[ "$(locale charmap 2>/dev/null)" = UTF-8 ] || export LC_ALL=C.UTF-8
(cd "$1" && umask 022 && cpack -G DEB -B "$work" >/dev/null)
deb=$(ls "$work"/trebalune_*.deb)
dpkg-deb -x "$deb" "$work/root"
share=$work/root/usr/share game=$work/root/usr/games/trebalune
icon=$(sed -n 's/^Icon=//p' "$share/applications/org.trebalune.Trebalune.desktop")
for file in "$share"/{doc/trebalune/copyright,icons/hicolor/{16x16,48x48,256x256}/apps/$icon.png}; do
    [ -f "$file" ] || fail "${file#"$work/root"} is not in the package"
done
[[ $(dpkg-deb -f "$deb" Depends) == fonts-comic-neue,*libqt6widgets6* ]] || fail "dependencies"
[[ $(dpkg-deb -f "$deb" Recommends) == *qt6-wayland* ]] || fail "qt6-wayland is not recommended"
tags=$(lintian -I --fail-on error,warning "$deb") || fail "lintian complains: $tags"
# Debian's C start files carry no CET mark, so no program shows control-flow integrity (nor does
# /usr/bin/ls); branch protection, asked by Debian 13's hardening-check everywhere, is arm64's.
ignore=--nocfprotection
[ "$(dpkg --print-architecture)" = arm64 ] || ! grep -q nobranch "$(command -v hardening-check)" ||
    ignore="$ignore --nobranchprotection"
hardening-check $ignore "$game" || fail "hardening-check failed"
metainfo=$(appstreamcli validate-tree --no-net "$work/root") ||
    fail "AppStream: $metainfo"
# Debian 12's AppStream 0.16 does not know yet the <developer> of AppStream 1.0; nothing else.
! grep -E '^[EWI]:' <<<"$metainfo" | grep -v 'unknown-tag developer' || fail "AppStream"
desktop-file-validate "$share/applications/org.trebalune.Trebalune.desktop" || fail "desktop entry"

cd "$work"
for display in "" ":4242"; do # none, or one that is gone: one French line and a plain exit
    said=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$display" "$game" 2>&1 || echo "=> $?")
    [ "$(echo $said)" = "Trebalune : ce jeu s'affiche dans une session graphique, et aucune n'est \
accessible ici. => 1" ] || fail "with DISPLAY=$display: $said"
done
# On Wayland: no warning, and a titled window with its desktop id draws its first frame.
weston --backend=headless-backend.so --socket=wayland-0 --idle-time=0 >weston.log 2>&1 &
weston=$!
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/wayland-0" ] && break || sleep 0.05; done
env -u DISPLAY XDG_SESSION_TYPE=wayland WAYLAND_DEBUG=client timeout 3 "$game" 2>wayland.log ||
    [ $? = 124 ] || fail "the game stopped on Wayland"
! grep -v '^\[' wayland.log || fail "warnings on Wayland"
for request in 'set_title("Trebalune")' 'set_app_id("org.trebalune.Trebalune")' 'attach(wl_buffer'; do
    grep -qF "$request" wayland.log || fail "no $request on Wayland"
done
# Started from the menu, the game comes up in a folder of its own for its record; when that cannot
# be made (under a file, as not even root can), in /sys, where no one can write, never at home.
for data in "" /dev/null/data; do
    env -i PATH="$work/root/usr/games:/usr/bin:/bin" HOME="$work/home" ${data:+XDG_DATA_HOME=$data} \
        QT_QPA_PLATFORM=offscreen gio launch "$share/applications/org.trebalune.Trebalune.desktop" \
        >launch.log 2>&1 || fail "gio cannot launch it: $(cat launch.log)"
    for _ in $(seq 50); do
        menu=$(ours) || true
        [[ $(readlink "/proc/$menu/exe") == */trebalune ]] && break || sleep 0.1
    done
    folder=${data:+/sys}
    [ "$(readlink "/proc/$menu/cwd")" = "${folder:-$work/home/.local/share/trebalune}" ] ||
        fail "not in its folder with XDG_DATA_HOME=$data"
    sleep 1 && kill "$menu" || fail "the game stopped with XDG_DATA_HOME=$data"
    while [ -n "$(ours)" ]; do sleep 0.1; done # so that the next one found is the next game
done

# The same sources, built by the README's commands in another folder, later, under another umask,
# locale and time zone, give the same package, byte for byte.
mkdir elsewhere
tar -C "$tree" --exclude='./build*' --exclude=./.git -cf - . | tar -C elsewhere -xf -
(cd elsewhere && umask 002 && export LC_ALL=C TZ=Pacific/Kiritimati &&
    cmake -S . -B build -G Ninja >/dev/null && cmake --build build >/dev/null &&
    cd build && umask 022 && cpack -G DEB >/dev/null)
again=$(ls elsewhere/build/trebalune_*.deb)
# Where they differ, diffoscope (when installed) says where.
cmp "$deb" "$again" || { diffoscope "$deb" "$again" 2>&1 | head -40 >&2
    fail "built again elsewhere, the package differs"; }
echo "1 passed, 0 failed"
