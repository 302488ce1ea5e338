#!/bin/bash
# package_test.sh: builds the .deb, checks what it holds and needs, installs it with apt,
# starts the installed game under Xvfb, and removes it again.
# Usage: package_test.sh BUILD_DIR   (exits 77, "skipped", when not root)
set -euo pipefail
build=$(realpath "$1")
if [ "$(id -u)" != 0 ]; then
    echo "skipped: installing the package needs root"
    exit 77
fi
source "$(dirname "$0")/x_session.sh"
fail() { echo "FAILED: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/trebalune_*.deb)

echo "contents"
dpkg-deb -c "$deb" | awk '{print $NF}' >"$work/contents"
for path in ./usr/games/trebalune \
    ./usr/share/applications/org.trebalune.Trebalune.desktop \
    ./usr/share/metainfo/org.trebalune.Trebalune.metainfo.xml \
    ./usr/share/man/man6/trebalune.6.gz \
    ./usr/share/doc/trebalune/copyright \
    ./usr/share/icons/hicolor/16x16/apps/trebalune.png \
    ./usr/share/icons/hicolor/32x32/apps/trebalune.png \
    ./usr/share/icons/hicolor/48x48/apps/trebalune.png; do
    grep -qx "$path" "$work/contents" || fail "$path is not in the package"
done

echo "dependencies"
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6 fonts-comic-neue; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "no dependency on $package: $depends"
done

echo "lintian, appstream, desktop entry"
lintian --fail-on error,warning "$deb" 2>&1 | grep -v 'root privileges' || true
lintian --fail-on error,warning "$deb" >/dev/null 2>&1 || fail "lintian complains"
dpkg-deb -x "$deb" "$work/tree"
appstreamcli validate --no-net "$work/tree/usr/share/metainfo/org.trebalune.Trebalune.metainfo.xml" >/dev/null ||
    fail "appstream metadata not valid"
desktop-file-validate "$work/tree/usr/share/applications/org.trebalune.Trebalune.desktop" ||
    fail "desktop entry not valid"
zcat "$work/tree/usr/share/man/man6/trebalune.6.gz" | grep -q "record.txt" || fail "man page lacks the record file"

echo "install, start, remove"
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log"; fail "apt could not install the package"; }
trap 'cleanup; apt-get remove -y -q --purge trebalune >/dev/null 2>&1 || true' EXIT
[ -x /usr/games/trebalune ] || fail "no /usr/games/trebalune after install"

start_private_xvfb
mkdir "$work/play"
(cd "$work/play" && exec env PATH=/usr/games:/usr/bin:/bin trebalune 2>/dev/null) &
game_pid=$!
wait_for_window Trebalune >/dev/null || fail "the installed game shows no window"
kill "$game_pid"
wait "$game_pid" 2>/dev/null || true
game_pid=""

apt-get remove -y -q --purge trebalune >/dev/null
[ ! -e /usr/games/trebalune ] || fail "the game is still there after removal"
echo "1 passed, 0 failed"
