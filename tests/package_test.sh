#!/bin/bash
# package_test.sh BUILD: the Debian package checked as a distribution would -- what it holds
# and needs, lintian, hardening, AppStream, the desktop entry -- and launched from the menu.
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
(cd "$1" && cpack -G DEB -B "$work" >/dev/null)
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
# Debian 12's C start files carry no CET mark, so no program there can show control-flow checks.
hardening-check --nocfprotection "$work/root/usr/games/trebalune" || fail "hardening-check failed"
appstreamcli validate --no-net "$share/metainfo/org.trebalune.Trebalune.metainfo.xml" || fail "AppStream"
desktop-file-validate "$share/applications/org.trebalune.Trebalune.desktop" || fail "desktop entry"
zcat "$share/man/man6/trebalune.6.gz" | grep -q record.txt || fail "the manual page lacks record.txt"

# Started from the menu, the unpacked game comes up in a folder of its own for its record.
mkdir "$work/home"
env -i PATH="$work/root/usr/games:/usr/bin:/bin" HOME="$work/home" QT_QPA_PLATFORM=offscreen \
    gio launch "$share/applications/org.trebalune.Trebalune.desktop" || fail "gio cannot launch it"
for _ in $(seq 50); do
    game=$(grep -lzx "HOME=$work/home" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3) || true
    [[ $(readlink "/proc/$game/exe") == */trebalune ]] && break || sleep 0.1
done
[ "$(readlink "/proc/$game/cwd")" = "$work/home/.local/share/trebalune" ] || fail "not in its folder"
sleep 1 && kill "$game" || fail "the game stopped"
echo "1 passed, 0 failed"
