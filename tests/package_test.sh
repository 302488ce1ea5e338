#!/bin/bash
# SPDX-FileCopyrightText: 2026 The Trebalune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# package_test.sh BUILD: the Debian package checked as a distribution checks it, with Debian's
# own tools, and built again under reprotest, which must give it back to the byte.
set -euo pipefail
tree=$(realpath "$(dirname "$0")/..") work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
(cd "$1" && umask 022 && cpack -G DEB -B "$work" >/dev/null)
cd "$work"
deb=$(ls trebalune_*.deb)
dpkg-deb -x "$deb" root
tags=$(lintian -I --fail-on error,warning "$deb") || fail "lintian complains: $tags"
# Debian's C start files carry no CET mark, so no program shows control-flow integrity (nor does
# /usr/bin/ls); branch protection, asked by Debian 13's hardening-check everywhere, is arm64's.
ignore=--nocfprotection
[ "$(dpkg --print-architecture)" = arm64 ] || ! grep -q nobranch "$(command -v hardening-check)" ||
    ignore="$ignore --nobranchprotection"
hardening-check $ignore root/usr/games/trebalune || fail "hardening-check failed"
metainfo=$(appstreamcli validate-tree --no-net root) || fail "AppStream: $metainfo"
# Debian 12's AppStream 0.16 does not know yet the <developer> of AppStream 1.0; nothing else.
! grep -E '^[EWI]:' <<<"$metainfo" | grep -v 'unknown-tag developer' || fail "AppStream"
desktop-file-validate root/usr/share/applications/org.trebalune.Trebalune.desktop || fail "desktop entry"
# The same sources built again by the README's commands in another folder, later, under another
# umask, locale, time zone and more give the same package; where not, diffoscope says where.
mkdir src && tar -C "$tree" --exclude='./build*' --exclude=./.git -cf - . | tar -C src -xf -
install -D -t control/source-root/build "$deb"
reprotest --vary=-user_group,-domain_host,-fileordering --control-build control -s src \
    'cmake -S . -B build -G Ninja && cmake --build build && cd build && umask 022 && cpack -G DEB' \
    'build/trebalune_*.deb' >reprotest.log 2>&1 || { tail -40 reprotest.log; fail "built again, it differs"; }
echo "1 passed, 0 failed"
