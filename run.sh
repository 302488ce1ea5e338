#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Trebalune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# run.sh: install what is missing, build, then start the game or run every test.
#   ./run.sh game    build and play
#   ./run.sh test    build and run the whole test suite
set -eu
cd "$(dirname "$0")"

mode=${1:-game}
game_packages="cmake ninja-build g++ qt6-base-dev libxkbcommon-dev fonts-comic-neue"
# clang and libclang-rt-dev follow the release's own clang, sanitizer runtime included.
test_packages="libgtest-dev librapidcheck-dev qt6-base-private-dev desktop-file-utils clang
               libclang-rt-dev dpkg-dev lintian appstream reuse devscripts libglib2.0-bin orca xvfb
               openbox xdotool dbus-daemon dbus-bin notification-daemon xdg-desktop-portal
               xdg-desktop-portal-gtk gsettings-desktop-schemas"
# diffoscope recommends a tool for every kind of file there is, a few gigabytes of them, and
# reprotest recommends diffoscope: these come without what they recommend.
lean_test_packages="reprotest faketime diffoscope-minimal imagemagick"

case "$mode" in
    game) wanted=$game_packages ;;
    test) wanted="$game_packages $test_packages" ;;
    *) echo "usage: $0 game|test" >&2; exit 2 ;;
esac

# shellcheck disable=SC2086 # the package lists split into words on purpose
tools/install-missing.sh $wanted
# shellcheck disable=SC2086
[ "$mode" = game ] || tools/install-missing.sh --no-install-recommends $lean_test_packages

# The game alone needs only the game's packages; the tests are built when asked for.
tests=OFF
[ "$mode" = test ] && tests=ON
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=$tests
cmake --build build

case "$mode" in
    game)
        # The record is kept in record.txt in the directory the game starts from: here.
        exec ./build/ui/trebalune ;;
    test)
        ctest --test-dir build --output-on-failure -j "$(nproc)"
        # The record and the window again, built by clang under AddressSanitizer and
        # UndefinedBehaviorSanitizer, and the record file's fuzz target. The package and
        # screen-reader checks run in the plain build only: the package is made from the plain
        # program.
        cmake -S . -B build-sanitize -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DBUILD_TESTING=ON \
            -DTREBALUNE_SANITIZE=ON
        cmake --build build-sanitize
        UBSAN_OPTIONS=print_stacktrace=1 \
            ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)" -LE slow ;;
esac
