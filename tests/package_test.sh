#!/bin/bash
# package_test.sh BUILD: the Debian package checked as a distribution would -- what it holds
# and needs, lintian, AppStream, the desktop entry -- and the unpacked game starting up.
set -euo pipefail
build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work" >/dev/null)
deb=$(ls "$work"/trebalune_*.deb)
dpkg-deb -x "$deb" "$work/root"
share=$work/root/usr/share
for file in "$work/root/usr/games/trebalune" "$share/doc/trebalune/copyright" \
    "$share"/icons/hicolor/{16x16,32x32,48x48,256x256}/apps/trebalune.png; do
    [ -f "$file" ] || fail "${file#"$work/root"} is not in the package"
done
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libc6 fonts-comic-neue; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "no dependency on $package: $depends"
done
tags=$(lintian -I --fail-on error,warning "$deb") || fail "lintian complains: $tags"
! grep ': hardening-' <<<"$tags" || fail "lintian finds the hardening incomplete"
# Debian 12's C start files carry no CET mark, so no program there can show control-flow checks.
hardening-check --nocfprotection "$work/root/usr/games/trebalune" || fail "hardening-check failed"
[[ $(dpkg-deb -f "$deb" Recommends) == *qt6-wayland* ]] || fail "qt6-wayland is not recommended"
appstreamcli validate --no-net "$share/metainfo/org.trebalune.Trebalune.metainfo.xml" ||
    fail "AppStream metadata not valid"
desktop-file-validate "$share/applications/org.trebalune.Trebalune.desktop" || fail "desktop entry"
zcat "$share/man/man6/trebalune.6.gz" | grep -q record.txt || fail "the manual page lacks record.txt"

# The unpacked game comes up and keeps running (on Qt's offscreen screen: no display needed).
status=0
(cd "$work" && QT_QPA_PLATFORM=offscreen timeout 2 "$work/root/usr/games/trebalune") || status=$?
[ "$status" = 124 ] || fail "the unpacked game stopped with status $status"
echo "1 passed, 0 failed"
