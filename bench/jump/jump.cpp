// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// jump.cpp: the time the window takes over the first jump of a game started in FOLDER, from the
// click to the end of its handler: the move, the tally, the save of the new record and, when
// that fails, the news passed to the desktop and to screen readers.
#include "form1.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Trebalune");
    QGuiApplication::setDesktopFileName("org.trebalune.Trebalune");
    if (argc != 2 || !QDir::setCurrent(argv[1])) {
        std::fputs("usage: jump FOLDER\n", stderr);
        return 2;
    }
    Form1 form;
    form.startUp();
    form.show();
    QCoreApplication::processEvents();
    form.clickHole(11);
    QElapsedTimer clock;
    clock.start();
    form.clickHole(25);
    std::printf("jump_ms=%.3f\n", static_cast<double>(clock.nsecsElapsed()) / 1e6);
    return 0;
}
