#!/bin/bash
# SPDX-FileCopyrightText: 2026 The Trebalune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# package_test.sh BUILD: the Debian package checked as a distribution checks it, with Debian's
# own tools; its program run with no display and from its menu entry; and the package built again
# under reprotest, which must give it back to the byte.
set -euo pipefail
tree=$(realpath "$(dirname "$0")/..") work=$(mktemp -d)
# What the test starts ends with it: the game launched from the menu carries the test's HOME.
ours() { grep -lzx "HOME=$work/home" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3; }
trap 'kill $(ours) 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
# A desktop session has a UTF-8 locale; a bare machine or CI may have none, and Qt warns then.
[ "$(locale charmap 2>/dev/null)" = UTF-8 ] || export LC_ALL=C.UTF-8
(cd "$1" && umask 022 && cpack -G DEB -B "$work" >/dev/null)
cd "$work"
deb=$(ls trebalune_*.deb)
dpkg-deb -x "$deb" root
share=root/usr/share game=$work/root/usr/games/trebalune
icon=$(sed -n 's/^Icon=//p' "$share/applications/org.trebalune.Trebalune.desktop")
for file in "$share"/{doc/trebalune/copyright,icons/hicolor/{16x16,48x48,256x256}/apps/$icon.png}; do
    [ -f "$file" ] || fail "${file#root} is not in the package"
done
[[ $(dpkg-deb -f "$deb" Depends) == fonts-comic-neue,*libqt6widgets6* ]] || fail "dependencies"
[[ $(dpkg-deb -f "$deb" Recommends) == *qt6-wayland* ]] || fail "qt6-wayland is not recommended"
# AppStream is checked below, where what is allowed can be told apart (Debian 12's lintian does
# not know the tag, so it cannot be suppressed by name).
tags=$(lintian -I "$deb" | grep -E '^[EW]:' | grep -v appstream-metadata-validation-failed || true)
[ -z "$tags" ] || fail "lintian complains: $tags"
# Debian's C start files carry no CET mark, so no program shows control-flow integrity (nor does
# /usr/bin/ls); branch protection, asked by Debian 13's hardening-check everywhere, is arm64's.
ignore=--nocfprotection
[ "$(dpkg --print-architecture)" = arm64 ] || ! grep -q nobranch "$(command -v hardening-check)" ||
    ignore="$ignore --nobranchprotection"
hardening-check $ignore "$game" || fail "hardening-check failed"
metainfo=$(appstreamcli validate-tree --no-net root) || grep -q url-homepage-missing <<<"$metainfo" ||
    fail "AppStream: $metainfo"
# Debian 12's AppStream 0.16 does not know yet the <developer> of AppStream 1.0, and AppStream 1.0
# asks for a homepage, which the project has none of (naming one it does not hold would mislead).
! grep -E '^[EWI]:' <<<"$metainfo" | grep -vE 'unknown-tag developer|url-homepage-missing' || fail "AppStream"
desktop-file-validate "$share/applications/org.trebalune.Trebalune.desktop" || fail "desktop entry"

# With no display: one French line and a plain exit.
said=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$game" 2>&1 || echo "=> $?")
[ "$(echo $said)" = "Trebalune : ce jeu s'affiche dans une session graphique, et aucune n'est \
accessible ici. => 1" ] || fail "with no display: $said"
# Started from the menu, the game comes up in a folder of its own for its record (the
# screen-reader test starts it where that folder cannot be made).
mkdir home
env -i PATH="$work/root/usr/games:/usr/bin:/bin" HOME="$work/home" QT_QPA_PLATFORM=offscreen \
    gio launch "$share/applications/org.trebalune.Trebalune.desktop" >launch.log 2>&1 ||
    fail "gio cannot launch it: $(cat launch.log)"
for _ in $(seq 50); do
    menu=$(ours) || true
    [[ $(readlink "/proc/$menu/exe") == */trebalune ]] && break || sleep 0.1
done
[ "$(readlink "/proc/$menu/cwd")" = "$work/home/.local/share/trebalune" ] || fail "not in its folder"

# The same sources built again by the README's commands in another folder, later, under another
# umask, locale, time zone and more give the same package; where not, diffoscope says where.
mkdir src && tar -C "$tree" --exclude='./build*' --exclude=./.git -cf - . | tar -C src -xf -
install -D -t control/source-root/build "$deb"
reprotest --vary=-user_group,-domain_host,-fileordering --control-build control -s src \
    'cmake -S . -B build -G Ninja && cmake --build build && cd build && umask 022 && cpack -G DEB' \
    'build/trebalune_*.deb' >reprotest.log 2>&1 || { tail -40 reprotest.log; fail "built again, it differs"; }
echo "1 passed, 0 failed"
