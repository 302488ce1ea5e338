#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Trebalune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# install-missing.sh [APT-OPTION...] PACKAGE...: installs, with apt, the Debian packages not yet
# installed. Runs apt only when something is missing; uses sudo unless already root.
set -eu
options=""
while [ "${1#-}" != "$1" ]; do
    options="$options $1"
    shift
done
missing=""
for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing="$missing $package"
done
[ -n "$missing" ] || exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing:$missing"
$sudo apt-get update -q
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q $options $missing
