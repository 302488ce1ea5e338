#!/bin/bash
# SPDX-FileCopyrightText: 2026 The Trebalune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# package_test.sh BUILD: the Debian package checked as a distribution would -- what it holds
# and needs, lintian, hardening, AppStream, the desktop entry --, launched from the menu, and
# built again elsewhere to the same bytes.
set -euo pipefail
work=$(mktemp -d)
# Whatever the test starts carries its HOME, and ends with the test, however the test ends.
ours() { grep -lzx "HOME=$work/home" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3; }
trap 'kill $(ours) 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
(cd "$1" && umask 022 && cpack -G DEB -B "$work" >/dev/null)
deb=$(ls "$work"/trebalune_*.deb)
dpkg-deb -x "$deb" "$work/root"
share=$work/root/usr/share
for file in "$share"/{doc/trebalune/copyright,icons/hicolor/{16x16,48x48,256x256}/apps/trebalune.png}; do
    [ -f "$file" ] || fail "${file#"$work/root"} is not in the package"
done
[[ $(dpkg-deb -f "$deb" Depends) == fonts-comic-neue,*libqt6widgets6* ]] || fail "dependencies"
[[ $(dpkg-deb -f "$deb" Recommends) == *qt6-wayland* ]] || fail "qt6-wayland is not recommended"
tags=$(lintian -I --fail-on error,warning "$deb") || fail "lintian complains: $tags"
! grep ': hardening-' <<<"$tags" || fail "lintian finds the hardening incomplete"
# No program of Debian 12 or 13 shows control-flow integrity: their C start files carry no CET
# mark (/usr/bin/ls fails it too). Branch protection, which Debian 13's hardening-check asks of
# every architecture, is an arm64 feature.
ignore=--nocfprotection
[ "$(dpkg --print-architecture)" = arm64 ] || ignore="$ignore --nobranchprotection"
grep -q nobranch "$(command -v hardening-check)" || ignore=--nocfprotection # Debian 12's knows none
hardening-check $ignore "$work/root/usr/games/trebalune" || fail "hardening-check failed"
metainfo=$(appstreamcli validate --no-net "$share/metainfo/org.trebalune.Trebalune.metainfo.xml") ||
    fail "AppStream: $metainfo"
# Debian 12's AppStream 0.16 does not know yet the <developer> of AppStream 1.0; nothing else.
! grep -E '^[EWI]:' <<<"$metainfo" | grep -v 'unknown-tag developer' || fail "AppStream"
desktop-file-validate "$share/applications/org.trebalune.Trebalune.desktop" || fail "desktop entry"
zcat "$share/man/man6/trebalune.6.gz" | grep -q record.txt || fail "the manual page lacks record.txt"

# Started from the menu, the unpacked game comes up in a folder of its own for its record.
mkdir "$work/home"
env -i PATH="$work/root/usr/games:/usr/bin:/bin" HOME="$work/home" QT_QPA_PLATFORM=offscreen \
    gio launch "$share/applications/org.trebalune.Trebalune.desktop" >"$work/launch.log" 2>&1 ||
    fail "gio cannot launch it: $(cat "$work/launch.log")"
for _ in $(seq 50); do
    game=$(ours) || true
    [[ $(readlink "/proc/$game/exe") == */trebalune ]] && break || sleep 0.1
done
[ "$(readlink "/proc/$game/cwd")" = "$work/home/.local/share/trebalune" ] || fail "not in its folder"
sleep 1 && kill "$game" || fail "the game stopped"

# The same sources, built by the README's commands in another folder, later, under another umask,
# locale and time zone, give the same package, byte for byte.
mkdir -p "$work/elsewhere"
tar -C "$(dirname "$0")/.." --exclude='./build*' --exclude=./.git -cf - . | tar -C "$work/elsewhere" -xf -
(cd "$work/elsewhere" && umask 002 && export LC_ALL=C TZ=Pacific/Kiritimati &&
    cmake -S . -B build -G Ninja >/dev/null && cmake --build build >/dev/null &&
    cd build && umask 022 && cpack -G DEB >/dev/null)
again=$(ls "$work"/elsewhere/build/trebalune_*.deb)
if ! cmp "$deb" "$again"; then
    if command -v diffoscope >/dev/null; then
        diffoscope "$deb" "$again" | head -40 >&2 || true
    else
        for d in "$deb" "$again"; do dpkg-deb -R "$d" "$d.tree" && dpkg-deb -c "$d" >"$d.list"; done
        diff -rq "$deb.tree" "$again.tree" >&2 || diff "$deb.list" "$again.list" >&2 || true
    fi
    fail "built again elsewhere, the package differs"
fi
echo "1 passed, 0 failed"
